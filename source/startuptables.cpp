#include "startuptables.h"

std::string MarkerIconName(int32_t cell) {
    if (cell < 0 || uint32_t(cell) >= MarkerIconCount) return "";
    return MarkerKindNames[MarkerIconOrder[cell]];
}
