#include "windows/game/channellist.h"

#include "core.h"
#include "render.h"
#include "windows/game/chatbox.h"
#include "windows/game/console.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/list.h"
#include "windows/toolkit/windowtypes.h"

namespace {

constexpr int32_t ListWidth = 176, ListHeight = 249;
constexpr WindowRect NamesRect{38, 57, 100, 128};

}  // namespace

Channellist::Channellist(Core* core, uint8_t left) : Window(core), left(left) { Build(); }

Channellist::~Channellist() { delete list; }

void Channellist::Build() {
    ResetLayout();
    typeId = WindowType::Channellist;
    modal = 1;
    font = core->GetFont(2);
    width = ListWidth;
    height = ListHeight;
    if (core->options.widescreen) name = "Channels";
    else name = left ? "Left Channels" : "Right Channels";
    delete list;
    list = new List(core, this, NamesRect.x, NamesRect.y, NamesRect.w, NamesRect.h);
    Place(int32_t(core->clientWidth), int32_t(core->clientHeight));
    CreateSurface();
    AddPushButton(width - 66, height - 28, JoinButton, "join");
    AddButton(width - 21, 3, ButtonId::Close, 0, 80, 18, 80, 36, 80, 18, 16, {1, 1, 16, 14}, "", 0,
              0);
}

void Channellist::Place(int32_t screenWidth, int32_t screenHeight) {
    PlaceCentred(screenWidth, screenHeight);
    if (list) list->Place(0, 0);
}

Chatbox* Channellist::Target() const {
    const auto* console = dynamic_cast<const Console*>(core->consoleWindow);
    if (!console) return nullptr;
    return left ? console->mainChatbox : console->secondChatbox;
}

void Channellist::OnOpen() {
    Chatbox* box = Target();
    if (!box) return;
    static const char* const WideCandidates[] = {"Console", "Help", "Trade", "World", "NPC"};
    static const char* const LeftCandidates[] = {"Console", "Help", "Trade", "World"};
    static const char* const RightCandidates[] = {"NPC"};
    const auto offer = [&](auto& candidates) {
        for (const char* candidate : candidates)
            if (!box->FindChannelByName(candidate)) list->AddItem(candidate);
    };
    if (core->options.widescreen) offer(WideCandidates);
    else if (left) offer(LeftCandidates);
    else offer(RightCandidates);
}

void Channellist::OnCommand(Button* button) {
    // The list's scroll bar arrows fire on the bar.
    if (button->owner != this) {
        Window::OnCommand(button);
        return;
    }
    if (button->id == ButtonId::Close) {
        core->RemoveWindow(this);
        return;
    }
    if (button->id != JoinButton) return;
    const int32_t row = list->selected;
    if (row < 0 || size_t(row) >= list->items.size()) return;
    const std::string channel = list->items[size_t(row)];
    Chatbox* box = Target();
    core->RemoveWindow(this);
    if (box) box->JoinStandardChannel(channel);
}

void Channellist::PaintContent() { PaintBoxBackground(); }

void Channellist::Paint() {
    PaintCached([this] { PaintContent(); });
    list->Paint();
}

void Channellist::Draw() {
    DrawFrame();
    DrawCached([this] { PaintContent(); });
    DrawButtons();
    list->Draw();
}
