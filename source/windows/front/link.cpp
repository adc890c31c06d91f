#include "windows/front/link.h"

#include "windows/toolkit/windowtypes.h"

Link::Link(Core* core) : Window(core) { typeId = WindowType::Link; }
