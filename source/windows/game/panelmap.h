#pragma once
#include "windows/toolkit/panellist.h"

class Panel;

// The minimap panel window: a view that does not move yet, the least its callers need.
class Panelmap : public Panellist {
public:
    Panelmap(Core* core, Panel* column);
    void CenterOnPlayer();
};
