#include "windows/dialogs/attribute.h"

#include "windows/toolkit/windowtypes.h"

Attribute::Attribute(Core* core) : Window(core) { typeId = WindowType::Attribute; }
