#include "windows/toolkit/panellist.h"

#include "windows/toolkit/windowtypes.h"

Panellist::Panellist(Core* core) : Window(core) { typeId = WindowType::Panellist; }

std::string Panellist::Serialize() {
    const char* pin = !pinned ? "0" : pinnedBottom ? "2" : "1";
    return std::to_string(typeId) + "," + std::to_string(windowId) + "," + pin + "," +
           (collapsed ? "1" : "0") + "," + std::to_string(GetRect().h);
}
