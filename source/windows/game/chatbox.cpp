#include "windows/game/chatbox.h"

Chatbox::Chatbox(Core* core) : Window(core) {}

Channel* Chatbox::FindChannel(uint32_t id) {
    auto found = channels.find(id);
    return found == channels.end() ? nullptr : &found->second;
}

void Chatbox::SelectNextTab() {
    if (!channels.empty()) selectedTab = (selectedTab + 1) % channels.size();
}

void Chatbox::SelectPreviousTab() {
    if (!channels.empty()) selectedTab = (selectedTab + channels.size() - 1) % channels.size();
}
