#include "paragraphs.h"

void Paragraphs::Add(const std::string& text, Creature*) { texts.push_back(text); }

void Paragraphs::Draw(int32_t, int32_t, int32_t, int32_t) {}
