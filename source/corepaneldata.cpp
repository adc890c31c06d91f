// Per-avatar side-panel layouts. The settings value "panel_data" holds one record per avatar,
// records joined by "|": the avatar name, ";", the number of right-panel entries, ";", then
// every right-panel entry and every left-panel entry, each followed by ";" ("Ann;1;R;L;").
// An entry is one window's layout as the side panels write it, a list of numbers.
#include <algorithm>
#include <charconv>

#include "core.h"
#include "creature.h"
#include "textsplit.h"
#include "windows/toolkit/panel.h"
#include "windows/toolkit/panellist.h"
#include "windows/toolkit/windowtypes.h"

namespace {

// A place that is empty or one to four blanks holds no entry, though it is still counted.
bool IsBlankEntry(const std::string& entry) {
    return entry.size() <= 4 && entry.find_first_not_of(' ') == std::string::npos;
}

// The count as it is written: decimal digits only, nothing else.
bool ReadCount(const std::string& text, uint32_t& count) {
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, count);
    return error == std::errc() && stop == end;
}

const std::vector<std::string>& Side(const PanelRecord& record, bool left) {
    return left ? record.left : record.right;
}

std::vector<Panellist*> PanelWindows(Window* panel) {
    auto* column = dynamic_cast<Panel*>(panel);
    return column ? column->AllWindows() : std::vector<Panellist*>{};
}

// The containers of both columns are numbered 1, 2, 3 ... in the order of their numbers.
void RenumberContainers(const std::vector<Panellist*>& right, const std::vector<Panellist*>& left) {
    std::vector<Panellist*> containers;
    for (const auto* side : {&right, &left})
        for (Panellist* window : *side)
            if (window->typeId == WindowType::Container) containers.push_back(window);
    std::stable_sort(containers.begin(), containers.end(),
                     [](const Panellist* a, const Panellist* b) {
                         return a->windowId < b->windowId;
                     });
    for (size_t i = 0; i < containers.size(); ++i) containers[i]->windowId = uint8_t(i + 1);
}

std::vector<std::string> Serialize(const std::vector<Panellist*>& windows) {
    std::vector<std::string> entries;
    for (Panellist* window : windows) entries.push_back(window->Serialize());
    return entries;
}

}  // namespace

// Replaces the records with those of Core::panelDataLayout. The value comes from a file the
// player may edit, so a record without a readable count is skipped rather than guessed at: its
// avatar then gets the fallback layout of Core::GetPanelData.
void Core::ParsePanelData() {
    panelRecords.clear();
    for (const std::string& text : SplitText(panelDataLayout, '|')) {
        const std::vector<std::string> fields = SplitText(text, ';');
        uint32_t rightCount;
        if (fields.size() < 2 || !ReadCount(fields[1], rightCount)) continue;
        PanelRecord record{fields[0], {}, {}};
        for (size_t place = 0; place + 2 < fields.size(); ++place) {
            const std::string& entry = fields[place + 2];
            if (IsBlankEntry(entry)) continue;
            (place < rightCount ? record.right : record.left).push_back(entry);
        }
        panelRecords.push_back(std::move(record));
    }
}

// The player's layout of both columns replaces the record of the player's name, which goes last.
void Core::SavePanelLayout() {
    if (!player) return;
    const std::vector<Panellist*> right = PanelWindows(rightPanel);
    const std::vector<Panellist*> left = PanelWindows(leftPanel);
    RenumberContainers(right, left);
    const std::string& name = player->GetName();
    panelRecords.erase(
        std::remove_if(panelRecords.begin(), panelRecords.end(),
                       [&](const PanelRecord& record) { return record.name == name; }),
        panelRecords.end());
    panelRecords.push_back({name, Serialize(right), Serialize(left)});
    BuildPanelData();
}

void Core::BuildPanelData() {
    std::string text;
    for (size_t i = 0; i < panelRecords.size(); ++i) {
        const PanelRecord& record = panelRecords[i];
        if (i > 0) text += '|';
        text += record.name + ';' + std::to_string(record.right.size()) + ';';
        for (const std::string& entry : record.right) text += entry + ';';
        for (const std::string& entry : record.left) text += entry + ';';
    }
    panelDataLayout = text;
}

// The entering avatar's own layout of the side, else the last record's; with neither, the
// side's settings key. The fallback byte tells the panels that the layout is not the avatar's.
std::string Core::GetPanelData(bool left) {
    auto own = std::find_if(panelRecords.begin(), panelRecords.end(),
                            [&](const PanelRecord& record) { return record.name == avatarName; });
    const std::vector<std::string>* entries = nullptr;
    if (own != panelRecords.end() && !Side(*own, left).empty()) {
        panelLayoutFallback = 0;
        entries = &Side(*own, left);
    } else {
        panelLayoutFallback = 1;
        if (panelRecords.empty() || Side(panelRecords.back(), left).empty())
            return left ? panelLeftLayout : panelRightLayout;
        entries = &Side(panelRecords.back(), left);
    }
    std::string text;
    for (const std::string& entry : *entries) text += entry + ';';
    return text;
}
