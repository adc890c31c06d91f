#include "windows/game/chatbox.h"

#include <algorithm>

Chatbox::Chatbox(Core* core) : Window(core) {}

Channel* Chatbox::FindChannel(uint32_t id) {
    auto found = channels.find(id);
    return found == channels.end() ? nullptr : &found->second;
}

Channel* Chatbox::FindChannelByName(const std::string& name) {
    for (auto& [id, channel] : channels)
        if (channel.name == name) return &channel;
    return nullptr;
}

bool Chatbox::OpenChannel(uint32_t id, const std::string& name, uint8_t tabMark) {
    if (FindChannelByName(name)) return false;
    if (id >= ChannelId::Private)
        for (id = ChannelId::Private; channels.count(id);) ++id;
    const uint8_t pageId = uint8_t(std::min<uint32_t>(id, ChannelId::Private));
    Channel& channel = channels.try_emplace(id, pageId, core).first->second;
    channel.id = pageId;
    channel.name = name;
    channel.SetTabMark(tabMark);
    return true;
}

void Chatbox::SelectChannelByName(const std::string& name) {
    size_t index = 0;
    for (const auto& [id, channel] : channels) {
        if (channel.name == name) {
            selectedTab = index;
            return;
        }
        ++index;
    }
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
