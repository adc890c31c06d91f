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

std::string Chatbox::GetChannelNames() {
    std::string names;
    for (const auto& [id, channel] : channels) {
        if (id == ChannelId::Main || id == ChannelId::Info || id >= ChannelId::Private) continue;
        names += (names.empty() ? "" : ",") + channel.name;
    }
    return names;
}
