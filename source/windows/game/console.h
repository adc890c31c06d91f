#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "windows/game/channel.h"
#include "windows/toolkit/window.h"

// The console (Core::consoleWindow): only its chat pages, the least its callers need.
class Console : public Window {
public:
    explicit Console(Core* core);
    Channel* FindChannel(uint8_t id);

    std::vector<std::unique_ptr<Channel>> channels;
};
