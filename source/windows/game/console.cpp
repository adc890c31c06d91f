#include "windows/game/console.h"

#include "core.h"
#include "creature.h"
#include "protocol.h"
#include "windows/toolkit/input.h"
#include "windows/toolkit/windowtypes.h"

namespace {

// Typing marks the player as typing and tells the server; emptying the line ends it.
void SendTypingNotice(Core* core, const std::string& text) {
    Creature* player = core->player;
    if (!player || !core->activeConnection) return;
    if (!player->typing && !text.empty()) {
        player->typing = 1;
        player->StampTime();
        core->activeConnection->SendTyping(true);
    } else if (player->typing && text.empty()) {
        player->typing = 0;
        core->activeConnection->SendTyping(false);
    }
}

}  // namespace

Console::Console(Core* core) : Window(core) { typeId = WindowType::Console; }

void Console::SetHeight(int32_t newHeight) { height = newHeight; }

Channel* Console::FindChannel(uint8_t id) {
    for (const auto& channel : channels)
        if (channel->id == id) return channel.get();
    return nullptr;
}

void Console::AttachChatLine(Input* line) {
    line->onTextChanged = [](Input& changed) { SendTypingNotice(changed.core, changed.text); };
}
