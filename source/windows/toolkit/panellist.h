#pragma once
#include <cstdint>
#include <string>

#include "windows/toolkit/window.h"

class Panel;

// A window of a side column: what the saved layout records of it, the least its callers need.
class Panellist : public Window {
public:
    explicit Panellist(Core* core);

    // The window's layout entry: type id, window id, pin (0 none, 1 top, 2 bottom), collapsed
    // and full height, in decimal and joined by ",".
    virtual std::string Serialize();

    Panel* panel = nullptr;
    // The window's identifier inside the layout; a container's is the server's container number.
    uint8_t windowId = 0xFF;
    uint8_t pinned = 0;
    // Set on the windows pinned to the column's bottom just before the layout is saved.
    uint8_t pinnedBottom = 0;
};
