#pragma once
#include "windows/toolkit/panellist.h"

class Panel;

// The status panel window: a plain panel window with its type id, the least its callers need.
class Paneltop : public Panellist {
public:
    Paneltop(Core* core, Panel* column);
};
