#include "support/chatconsole.h"

#include "core.h"
#include "windows/game/channel.h"
#include "windows/game/console.h"

Console* OpenConsole(Core* core) {
    auto* console = new Console(core);
    core->consoleWindow = core->AddWindow(console);
    console->OnOpen();
    return console;
}

Channel* ChannelOf(Core* core, unsigned id) {
    auto* console = dynamic_cast<Console*>(core->consoleWindow);
    return console ? console->FindChannel(id) : nullptr;
}
