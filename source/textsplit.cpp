#include "textsplit.h"

std::vector<std::string> SplitText(const std::string& text, char separator) {
    std::vector<std::string> pieces;
    size_t start = 0;
    size_t end;
    while ((end = text.find(separator, start)) != std::string::npos) {
        pieces.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    pieces.push_back(text.substr(start));
    return pieces;
}
