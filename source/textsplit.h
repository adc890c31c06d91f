#pragma once
#include <string>
#include <vector>

// The pieces of a text between its separators, empty ones included: "a;;b" gives "a", "", "b"
// and "" gives one empty piece.
std::vector<std::string> SplitText(const std::string& text, char separator);
