#include "windows/game/console.h"

#include "windows/toolkit/windowtypes.h"

Console::Console(Core* core) : Window(core) { typeId = WindowType::Console; }

Channel* Console::FindChannel(uint8_t id) {
    for (const auto& channel : channels)
        if (channel->id == id) return channel.get();
    return nullptr;
}
