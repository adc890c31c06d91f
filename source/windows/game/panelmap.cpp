#include "windows/game/panelmap.h"

void Panelmap::CenterOnPlayer() {}
