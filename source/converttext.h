#pragma once
#include <string>

// Turns UTF-8 text into the client's one byte per character, in place: each sequence becomes the
// low 8 bits of its code point; a sequence that is not valid UTF-8 becomes one "?".
void ConvertText(std::string& text);
