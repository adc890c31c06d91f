#include "windows/dialogs/questlog.h"

#include <algorithm>
#include <string>

#include "core.h"
#include "font.h"
#include "mouse.h"
#include "render.h"
#include "screen.h"
#include "windows/game/action.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/list.h"
#include "windows/toolkit/windowtypes.h"

namespace {

constexpr int32_t WindowWidth = 630, WindowHeight = 504;
constexpr WindowRect ListRect = {38, 99, 235, 341};
constexpr uint32_t UnfinishedColour = 0xC0E0A078, UnfinishedSelectedColour = 0xFFE0A078;
constexpr uint32_t LabelColour = 0xCEFFFFFF, White = 0xFFFFFFFF;
constexpr uint32_t HeadingColour = 0xE0FFFFFF, FilterHoverColour = 0x20FFFFFF;
constexpr uint16_t MarkerIconImage = 10, SkinImage = 1;
constexpr int32_t IconSize = 16, MarkSize = 14, LineHeight = 12;
constexpr int32_t PageTextWidth = 300;
constexpr int32_t BarWidth = 270, BarHeight = 12;
constexpr uint32_t BarEdge = 0x60000000, BarFill = 0x40000000, BarFilled = 0xA0E0A078;
constexpr uint32_t BarText = 0xE0FFFFFF, CompletedFill = 0x40000000;
constexpr uint32_t HeadingFont = 11;

// The names of the filters, by number.
const char* const FilterNames[] = {"All topics",  "Quests",   "Treasures",
                                   "Discoveries", "Finished", "Unfinished"};

using namespace QuestState;

uint32_t CategoryNumber(const QuestLine& entry) { return entry.values[2]; }
bool IsCompleted(uint32_t state) { return state == Completed || state == FinishedCompleted; }

// Bytes below 32 would break the settings file's line.
std::string PrintableOnly(const std::string& text) {
    std::string out;
    for (char c : text)
        if (uint8_t(c) >= 32) out += c;
    return out;
}

}  // namespace

Questlog::Questlog(Core* core) : Window(core) { Build(); }

Questlog::~Questlog() { delete list; }

void Questlog::Build() {
    ResetLayout();
    width = WindowWidth;
    height = WindowHeight;
    Place(int32_t(core->clientWidth), int32_t(core->clientHeight));
    movable = 1;
    modal = 1;
    CreateSurface();
    name = "Journal";
    typeId = WindowType::Questlog;
    filter = uint8_t(core->journalFilter <= Unfinished ? core->journalFilter : AllTopics);
    font = core->GetFont(2);
    list = new List(core, this, ListRect.x, ListRect.y, ListRect.w, ListRect.h);
    list->markColour = UnfinishedColour;
    list->markSelectedColour = UnfinishedSelectedColour;
    AddPushButton(width - 66, height - 28, ButtonId::Ok, "ok");
    AddCloseButton();
    Rebuild();
    Select();
    if (shown.empty()) SelectTab(AllTopics);
}

uint8_t Questlog::CategoryOf(const QuestLine& last) {
    const uint32_t category = CategoryNumber(last);
    if (category >= 10 && category <= 19) return Discoveries;
    if (category >= 20 && category <= 24) return Quests;
    if (category >= 30 && category <= 39) return Treasures;
    return AllTopics;
}

bool Questlog::IsFinished(const QuestLine& last) {
    return last.State() == FinishedCompleted || last.State() == FinishedPlain;
}

uint32_t Questlog::IconOf(const QuestLine& last) {
    switch (CategoryNumber(last)) {
        case 10: return 20;
        case 11: return 21;
        case 12: return 22;
        case 13:
        case 14: return 12;
        case 15: return 3;
        case 16: return 1;
        case 17: return 0;
        case 18: return 4;
        case 19: return 5;
        case 20:
        case 21: return 7;
        case 22: return 15;
        case 23: return 8;
        case 24:
        case 36: return 14;
        case 30: return 24;
        case 31:
        case 33: return 6;
        case 32: return 23;
        case 34: return 10;
        case 35: return 18;
        default: return 0;
    }
}

// A goal of 0 fills nothing and counts 0 %.
std::string Questlog::ProgressText(const QuestLine& entry) {
    if (entry.State() == CountOfGoal)
        return std::to_string(entry.count) + " / " + std::to_string(entry.span);
    const uint64_t percent = entry.span ? uint64_t(entry.count) * 100 / entry.span : 0;
    return std::to_string(percent) + " %";
}

int32_t Questlog::ProgressFill(const QuestLine& entry) {
    if (!entry.span) return 0;
    return int32_t(std::min<uint64_t>(BarWidth, uint64_t(entry.count) * BarWidth / entry.span));
}

void Questlog::Rebuild() {
    shown.clear();
    questCount = discoveryCount = treasureCount = finishedCount = unfinishedCount = 0;
    topics = core->quests;
    for (const QuestRecord& topic : topics) {
        if (topic.lines.empty()) continue;
        const QuestLine& last = topic.lines.back();
        const uint8_t category = CategoryOf(last);
        if (category == Discoveries) ++discoveryCount;
        if (category == Quests) ++questCount;
        if (category == Treasures) ++treasureCount;
        const bool finished = IsFinished(last);
        if (finished) ++finishedCount;
        const bool passes = filter == AllTopics || (category != AllTopics && filter == category) ||
                            (filter == Finished && finished) || (filter == Unfinished && !finished);
        if (!passes) continue;
        list->AddItemValue(topic.title, finished ? 0 : 1);
        shown.push_back(topic);
    }
    totalCount = int32_t(topics.size());
    unfinishedCount = totalCount - finishedCount;
}

void Questlog::Select() {
    const auto found = std::find(list->items.begin(), list->items.end(), core->journalSelection);
    list->Select(found != list->items.end() ? int32_t(found - list->items.begin())
                                            : totalCount - 1);
}

void Questlog::SelectTab(uint8_t index) {
    filter = index <= Unfinished ? index : AllTopics;
    list->Clear();
    Rebuild();
    Select();
    list->dirty = 1;
    dirty = 1;
    Refresh();
}

bool Questlog::OverFilterBox(int32_t mx, int32_t my) const {
    return mx >= x + filterBox.x && mx < x + filterBox.x + filterBox.w && my >= y + filterBox.y &&
           my < y + filterBox.y + filterBox.h;
}

void Questlog::OnMouseUp(int32_t mx, int32_t my) {
    Window::OnMouseUp(mx, my);
    if (!OverFilterBox(mx, my)) return;
    auto* menu = new Action(core, this, "", 0);
    menu->AddEntryWithHint(ActionCode::AllTopics + Quests, "Quests", std::to_string(questCount));
    menu->AddEntryWithHint(ActionCode::AllTopics + Treasures, "Treasures",
                           std::to_string(treasureCount));
    menu->AddEntryWithHint(ActionCode::AllTopics + Discoveries, "Discoveries",
                           std::to_string(discoveryCount));
    menu->AddEntry(0, "-");
    menu->AddEntryWithHint(ActionCode::AllTopics + Finished, "Finished",
                           std::to_string(finishedCount));
    const std::string unfinished = std::to_string(unfinishedCount);
    menu->AddEntryWithHint(ActionCode::AllTopics + Unfinished, "Unfinished",
                           unfinishedCount >= 1 ? MakeColorCode(0xE0, 0xA0, 0x78, 0xFF) + unfinished
                                                : unfinished);
    menu->AddEntry(0, "-");
    menu->AddEntryWithHint(ActionCode::AllTopics, "All topics", std::to_string(totalCount));
    menu->Open(mx, my);
    core->AddWindow(menu);
}

std::string Questlog::SelectedTitle() const {
    const int32_t index = list->selected;
    if (index < 0 || size_t(index) >= list->items.size()) return "";
    return list->items[size_t(index)];
}

void Questlog::OnSubmit() {
    if (!shown.empty()) {
        core->journalFilter = filter;
        core->journalSelection = PrintableOnly(SelectedTitle());
    }
    core->RemoveWindow(this);
}

void Questlog::OnCommand(Button* button) {
    if (button->id == ButtonId::Close || button->id == ButtonId::Ok) OnSubmit();
}

void Questlog::Place(int32_t screenWidth, int32_t screenHeight) {
    PlaceCentred(screenWidth, screenHeight);
    if (list) list->Place(0, 0);
}

void Questlog::PaintContent() {
    PaintBoxBackground();
    render->DrawFrame1(filterBox.x, filterBox.y, filterBox.w, filterBox.h);
    if (!font) return;
    font->DrawText(43, 66, "Show", LabelColour);
    font->DrawText(92, 66, FilterNames[filter <= Unfinished ? filter : AllTopics], White);
}

void Questlog::Paint() {
    PaintCached([this] { PaintContent(); });
    if (list) list->Paint();
}

void Questlog::Draw() {
    DrawFrame();
    DrawCached([this] { PaintContent(); });
    DrawPage();
    DrawButtons();
    const Mouse* mouse = core->screen ? core->screen->mouse : nullptr;
    if (mouse && OverFilterBox(mouse->x, mouse->y))
        render->DrawRect(x + filterBox.x, y + filterBox.y, filterBox.w, filterBox.h,
                         FilterHoverColour);
    if (list) list->Draw();
}

void Questlog::DrawPage() {
    if (!list || shown.empty()) return;
    const int32_t index = list->selected;
    if (index < 0 || size_t(index) >= shown.size()) return;
    core->journalSelection = PrintableOnly(SelectedTitle());
    const QuestRecord& topic = shown[size_t(index)];
    if (topic.lines.empty()) return;
    render->DrawSkinPart(x + 290, y + 62, int32_t(IconOf(topic.lines.back())) * IconSize, 0,
                         IconSize, IconSize, MarkerIconImage);
    if (Font* heading = core->GetFont(HeadingFont))
        heading->DrawText(x + 305, y + 51, topic.title, HeadingColour);
    const bool unfinished = !IsFinished(topic.lines.back());
    int32_t top = y + 104;
    for (size_t i = 0; i < topic.lines.size(); ++i) {
        const bool last = i + 1 == topic.lines.size();
        top = DrawEntry(topic.lines[i], last && unfinished, top);
    }
}

int32_t Questlog::DrawEntry(const QuestLine& entry, bool current, int32_t top) {
    const int32_t x0 = x + 313;
    const uint32_t state = entry.State();
    std::string text = entry.text;
    for (size_t at = text.find("\\n"); at != std::string::npos; at = text.find("\\n", at + 1))
        text.replace(at, 2, "\n");
    if (IsCompleted(state)) text = MakeColorCode(0xFF, 0xC0, 0x60, 0xB4) + text;
    if (state == Greyed) text = MakeColorCode(0xE0, 0xE0, 0xE0, 0xA0) + text;
    const std::vector<std::string> lines =
        font ? font->LayoutParagraph2(text, PageTextWidth) : std::vector<std::string>{};
    const int32_t textHeight = int32_t(lines.size()) * LineHeight;
    if (IsCompleted(state)) {
        render->DrawBox(x0 - 22, top - 12, 310, textHeight + 24, 0);
        render->FillRect(x0 - 22, top - 12, 310, textHeight + 24, CompletedFill);
    } else if (state != Greyed) {
        const bool mark = current && state != NoCurrentMark;
        render->DrawSkinPart(x0 - 22, top - 3, mark ? 65 : 79, 236, MarkSize, MarkSize, SkinImage);
    }
    for (size_t i = 0; i < lines.size(); ++i)
        font->DrawTextSmileys(x0, top + int32_t(i) * LineHeight, lines[i]);
    int32_t next = top + textHeight;
    if (state == Percent || state == CountOfGoal) {
        render->DrawBoxStyle2(x0, next + 2, BarWidth, BarHeight, BarEdge, BarFill);
        render->FillRect(x0, next + 2, ProgressFill(entry), BarHeight, BarFilled);
        if (font) font->DrawTextCentered(x0 + 136, next + 2, ProgressText(entry), BarText);
        return next + BarHeight + 2 * LineHeight;
    }
    return next + (IsCompleted(state) ? 2 * LineHeight : LineHeight);
}
