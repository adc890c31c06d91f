#pragma once
// Server messages of the shops, the bank and the item windows written as hexadecimal text, and
// the pointer actions a player makes on a window.
#include <cstdint>
#include <string>
#include <vector>

#include "support/gamemessages.h"

class Window;

namespace StoreHex {
// A u8-counted string.
std::string Str(const std::string& text);
std::string U16(uint16_t value);
std::string U32(uint32_t value);
std::string Varint(uint32_t value);
// Goods and offer entries of a shape that is neither stackable nor of several palettes.
std::string Goods(uint16_t shapeId, uint16_t stock, uint32_t price, const std::string& name);
std::string Offer(uint16_t shapeId, uint32_t amount, uint32_t price, const std::string& name);
// Op 219 with the entries as written.
std::string ShopOpen(const std::string& title, const std::vector<std::string>& goods,
                     const std::vector<std::string>& offers);
}  // namespace StoreHex

class StoreWindows : public GameMessages {
protected:
    using Requests = std::vector<std::vector<uint8_t>>;

    // A press and release at a screen point, with no drag between them.
    void Click(Window* window, int32_t px, int32_t py);
    // A press on one window and a release, as a drop, on another.
    void DragTo(Window* from, int32_t fromX, int32_t fromY, Window* to, int32_t toX, int32_t toY);
    // Fires a window's button whose id and caption match.
    void Press(Window* window, uint32_t id, const std::string& caption = "");
    // The requests sent since the last call.
    Requests Sent();
    // The driver calls of one frame that draws the window through the recording driver; with
    // `repaint` its cached surface is painted afresh (as when it is dirty) instead. The skin
    // atlas is there to draw from.
    std::vector<std::string> DrawnCalls(Window* window, bool repaint);
    template <typename T>
    T* Find(uint32_t type) const {
        return dynamic_cast<T*>(core->FindWindow(type));
    }
};
