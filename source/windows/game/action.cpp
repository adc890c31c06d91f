#include "windows/game/action.h"

Action::Action(Core* core, Window* owner, std::string title, uint32_t context)
    : Window(core), title(std::move(title)), context(context) {
    this->owner = owner;
}

void Action::AddEntry(uint32_t code, const std::string& label) {
    entries.push_back({code, label, ""});
}

void Action::AddEntryWithHint(uint32_t code, const std::string& label, const std::string& hint) {
    entries.push_back({code, label, hint});
}

void Action::Open(int32_t screenX, int32_t screenY) {
    x = screenX;
    y = screenY;
}
