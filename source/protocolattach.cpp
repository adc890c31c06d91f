// Entering the game (op 16), the least of it until the game screen is built: the game is entered
// without its screen, and only empty equipment slots can be read.
#include "core.h"
#include "protocol.h"

namespace {

constexpr int EquipmentSlots = 15;

}  // namespace

void Protocol::attach() {
    inBuffer.GetU32();
    for (int slot = 0; slot < EquipmentSlots; ++slot) {
        const uint16_t shapeId = inBuffer.GetU16();
        if (inBuffer.Failed()) return;
        if (shapeId != 0) {
            FailFatally("attach: unknown shape id. (item)");
            return;
        }
    }
    core->EnterGame();
}

void Core::EnterGame() {
    ClearSessionLists();
    inGame = 1;
}
