#include "mappage.h"

#include "driver/gfxcore.h"

MapPage::~MapPage() { GFX_DeleteImage(texture); }
