#pragma once
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

#include "windows/game/channel.h"
#include "windows/toolkit/window.h"

// The chat box: its channels by id and the selected tab, the least its callers need.
class Chatbox : public Window {
public:
    explicit Chatbox(Core* core);
    // The channel of an id, or null.
    Channel* FindChannel(uint32_t id);
    // Tab and Shift+Tab with no other input to focus: the next or previous tab, wrapping around.
    void SelectNextTab();
    void SelectPreviousTab();
    // The names of the open chat channels in tab order, joined by ","; Main, Info and the private
    // conversations are left out.
    std::string GetChannelNames();

    std::map<uint32_t, Channel> channels;
    size_t selectedTab = 0;  // index into the channels in id order
};
