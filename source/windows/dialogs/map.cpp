#include "windows/dialogs/map.h"

void Map::UpdateView() {}
