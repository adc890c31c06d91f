#include "support/storemessages.h"

#include "core.h"
#include "driver/gfxcore.h"
#include "render.h"
#include "support/hexbytes.h"
#include "support/recordingdriver.h"
#include "support/testcore.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/window.h"

namespace StoreHex {

std::string Str(const std::string& text) {
    std::vector<uint8_t> bytes{uint8_t(text.size())};
    bytes.insert(bytes.end(), text.begin(), text.end());
    return ToHex(bytes);
}

std::string U16(uint16_t value) { return ToHex({uint8_t(value), uint8_t(value >> 8)}); }

std::string U32(uint32_t value) {
    return ToHex({uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16), uint8_t(value >> 24)});
}

std::string Varint(uint32_t value) {
    std::vector<uint8_t> bytes;
    while (value >= 128) {
        bytes.push_back(uint8_t(value | 128));
        value >>= 7;
    }
    bytes.push_back(uint8_t(value));
    return ToHex(bytes);
}

std::string Goods(uint16_t shapeId, uint16_t stock, uint32_t price, const std::string& name) {
    return U16(shapeId) + U16(stock) + U32(price) + Str(name);
}

std::string Offer(uint16_t shapeId, uint32_t amount, uint32_t price, const std::string& name) {
    return U16(shapeId) + Varint(amount) + Varint(price) + Str(name);
}

std::string ShopOpen(const std::string& title, const std::vector<std::string>& goods,
                     const std::vector<std::string>& offers) {
    std::string hex = "db" + Str(title) + ToHex({uint8_t(goods.size())});
    for (const std::string& entry : goods) hex += entry;
    hex += Varint(uint32_t(offers.size()));
    for (const std::string& entry : offers) hex += entry;
    return hex;
}

}  // namespace StoreHex

void StoreWindows::Click(Window* window, int32_t px, int32_t py) {
    core->inputModes[InputDrop] = core->inputModes[InputDragArmed] = 0;
    window->OnMouseDown(px, py);
    window->OnMouseUp(px, py);
    core->inputModes[InputDrop] = core->inputModes[InputDragArmed] = 0;
}

void StoreWindows::DragTo(Window* from, int32_t fromX, int32_t fromY, Window* to, int32_t toX,
                          int32_t toY) {
    core->inputModes[InputDrop] = core->inputModes[InputDragArmed] = 0;
    from->OnMouseDown(fromX, fromY);
    core->inputModes[InputDrop] = 1;
    to->OnMouseUp(toX, toY);
    core->inputModes[InputDrop] = core->inputModes[InputDragArmed] = 0;
}

void StoreWindows::Press(Window* window, uint32_t id, const std::string& caption) {
    for (Button* button : std::vector<Button*>(window->buttons)) {
        if (button->id == id && (caption.empty() || button->caption == caption)) {
            window->OnCommand(button);
            return;
        }
    }
    ADD_FAILURE() << "no button " << id << " " << caption;
}

StoreWindows::Requests StoreWindows::Sent() { return connection->SentSinceLastCall(); }

std::vector<std::string> StoreWindows::DrawnCalls(Window* window, bool repaint) {
    RecordingDriver::Install();
    GfxImage*& atlas = core->render->images[SkinAtlasId];
    if (!atlas) atlas = GFX_CreateImage(1024, 512, nullptr, 0, 0, SkinAtlasId);
    GFX_BeginFrame(nullptr);
    if (repaint) {
        window->dirty = 1;
        window->Paint();
    } else {
        window->Draw();
    }
    GFX_EndFrame();
    std::vector<std::string> calls = RecordingDriver::Take();
    UseNullDriver();
    return calls;
}
