#include "paragraphs.h"

void Paragraphs::Add(const std::string& text, Creature*) { texts.push_back(text); }
