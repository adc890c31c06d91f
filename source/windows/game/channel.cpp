#include "windows/game/channel.h"

#include "windows/toolkit/windowtypes.h"

Channel::Channel(uint8_t id, Core* core) : Window(core), id(id) { typeId = WindowType::Channel; }

void Channel::AddLine(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha,
                      const std::string& text) {
    lines.push_back(
        {text, uint32_t(alpha) << 24 | uint32_t(red) << 16 | uint32_t(green) << 8 | blue, ""});
}

void Channel::AddNamedLine(const std::string& text, Creature*) { lines.push_back({text, 0, ""}); }

void Channel::AddSpeakerText(const std::string& speaker, const std::string& text) {
    lines.push_back({text, 0, speaker});
}

void Channel::SetTabMark(uint8_t mark) { tabMark = mark; }

void Channel::Clear() { lines.clear(); }

void Channel::EnableLogging() { logging = 1; }

void Channel::DisableLogging() { logging = 0; }
