#include "windows/dialogs/look.h"

#include "core.h"
#include "windows/toolkit/windowtypes.h"

Look::Look(Core* core, std::string title, std::string text, int32_t x, int32_t y, uint8_t hintStyle)
    : Window(core),
      openedAt(core->frameTimeMs),
      title(std::move(title)),
      text(std::move(text)),
      hintStyle(hintStyle) {
    this->x = x;
    this->y = y;
    typeId = WindowType::Look;
}

void Look::Draw() {
    if (core->frameTimeMs - openedAt >= static_cast<uint64_t>(lifetimeMs)) state = 3;
}
