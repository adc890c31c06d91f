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
    // The first page with exactly that name, or null.
    Channel* FindChannelByName(const std::string& name);
    // Opens a page; false when a channel of that name is already open. A private conversation
    // (id 255) takes the lowest free id from 255 up.
    bool OpenChannel(uint32_t id, const std::string& name, uint8_t tabMark);
    // Makes the page of exactly that name the current one; nothing when there is none.
    void SelectChannelByName(const std::string& name);
    // Tab and Shift+Tab with no other input to focus: the next or previous tab, wrapping around.
    void SelectNextTab();
    void SelectPreviousTab();
    // The names of the open chat channels in tab order, joined by ","; Main, Info and the private
    // conversations are left out.
    std::string GetChannelNames();

    std::map<uint32_t, Channel> channels;
    size_t selectedTab = 0;  // index into the channels in id order
};
