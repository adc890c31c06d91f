#include "windows/game/action.h"

Action::Action(Core* core, uint32_t, std::string title, uint32_t subjectId)
    : Window(core), title(std::move(title)), subjectId(subjectId) {}

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
