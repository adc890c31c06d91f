#include "windows/game/equipment.h"

#include "core.h"
#include "windows/toolkit/panel.h"
#include "windows/toolkit/windowtypes.h"

namespace {

constexpr int32_t HudHeight = 239;

}  // namespace

Equipment::Equipment(Core* core, Window* owner) : Panellist(core, owner) {
    Build();
    typeId = WindowType::Equipment;
}

void Equipment::Place(int32_t screenWidth, int32_t screenHeight) {
    if (panel) {
        Panellist::Place(screenWidth, screenHeight);
        return;
    }
    if (core->options.widescreen && core->options.inventory) {
        x = screenWidth - Panel::ColumnWidth;
        y = screenHeight - HudHeight;
        height = HudHeight;
    } else if (owner) {
        x = owner->x + owner->width - Panel::ColumnWidth;
        y = owner->y;
        height = owner->height;
    }
    Refresh();
}
