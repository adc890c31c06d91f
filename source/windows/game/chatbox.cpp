#include "windows/game/chatbox.h"

#include <algorithm>
#include <utility>

#include "control.h"
#include "core.h"
#include "driver/gfxcore.h"
#include "font.h"
#include "protocol.h"
#include "render.h"
#include "screen.h"
#include "textsplit.h"
#include "windows/game/action.h"
#include "windows/game/channellist.h"
#include "windows/game/console.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/scrollbar.h"
#include "windows/toolkit/windowtypes.h"

namespace {

constexpr uint32_t CaptionFontId = 1, BoxFontId = 2;
constexpr int32_t ButtonWidth = 18, ButtonHeight = 16;
constexpr int32_t TabWidth = 54, TabHeight = 16;
constexpr int32_t FirstTabX = 36;
// A caption fits this width, or is cut to the narrower one and ends in "..".
constexpr int32_t CaptionRoom = 48, CutCaptionRoom = 42;
constexpr uint32_t UnreadTint = 0xC080F580;
constexpr uint32_t HintColour = 0xE0E0E0;
constexpr uint64_t HintPeriod = 1500;
constexpr uint32_t HintFloor = 0x80, HintPulse = 64;
constexpr int32_t HintLines = 14;

struct StandardChannel {
    const char* name;
    uint32_t id;
    bool joinRequest;
    const char* welcome;
    const char* about;  // second line in grey, or null
};

const StandardChannel StandardChannels[] = {
    {"World", ChannelId::World, true, "Welcome to the world channel!",
     "Say \"hello\" and feel free to use this channel to discuss anything regarding Veltor with "
     "players all across the world. Be friendly! Please use only English in this channel."},
    {"Help", ChannelId::Help, true, "Welcome to the help channel!",
     "Use this channel to ask questions regarding Veltor controls, gameplay and any technical "
     "problems you may be having. This is NOT the place to ask questions regarding in-game "
     "content (quests, NPCs, creatures, items, etc.); please use the world chat channel for such "
     "discussions. Please use only English in this channel."},
    {"Trade", ChannelId::Trade, true, "Welcome to the trade channel!",
     "Use this channel to advertise any items you are buying or selling, and to see what other "
     "people are offering. If another player's advert interests you, private message them. "
     "Please use only English in this channel."},
    {"Console", ChannelId::Console, false,
     "Type \"help\" to see what commands you may use in this channel.", nullptr},
    {"NPC", ChannelId::Npc, true, "All your NPC conversations will be displayed here.", nullptr},
    {"Report", ChannelId::Report, false, "Please report bugs on Discord.", nullptr},
};

// The channels that have no leave request.
bool LeavesSilently(uint32_t id) {
    return id == ChannelId::Main || id == ChannelId::Report || id == ChannelId::Info ||
           id == ChannelId::Console || id >= ChannelId::Private;
}

bool InWindowList(const Core* core, const Window* window) {
    return std::find(core->windows.begin(), core->windows.end(), window) != core->windows.end();
}

}  // namespace

Chatbox::Chatbox(Core* core, Window* owner, int32_t kind) : Window(core), kind(kind) {
    this->owner = owner;
    Build();
}

Chatbox::~Chatbox() {
    // A page deleted here must not look for itself in the registry any more.
    const std::vector<Channel*> pages = std::exchange(channels, {});
    current = nullptr;
    for (Channel* page : pages) {
        core->DetachWindow(page);
        delete page;
    }
    if (partner && partner->partner == this) partner->partner = nullptr;
    if (core->chatBox == this) core->chatBox = nullptr;
}

bool Chatbox::WideLayout() const { return core->options.widescreen != 0; }

void Chatbox::Build() {
    ResetLayout();
    const WindowRect console = owner ? owner->GetRect() : WindowRect{0, 0, 0, 0};
    const int32_t boxHeight = console.h - (core->options.bar ? 97 : 49);
    WindowRect rect{console.w - 222, console.y + 73, TabWidth, boxHeight};
    if (WideLayout()) rect = {console.x + 4, console.y + 4, console.w, console.h};
    else if (kind == MainKind) rect = {console.x + 4, console.y + 73, console.w - 230, boxHeight};
    x = rect.x;
    y = rect.y;
    width = std::max(rect.w, 0);
    height = std::max(rect.h, 0);
    CreateSurface();
    partner = nullptr;
    tabOffset = 0;
    name.clear();
    typeId = WindowType::Chatbox;
    captionFont = core->GetFont(CaptionFontId);
    font = core->GetFont(BoxFontId);
    const WindowRect hit{1, 1, 16, 14};
    const auto fixedButton = [&](int32_t bx, int32_t by, uint32_t id, int32_t lookY) {
        return AddButton(bx, by, id, 0, lookY, 18, lookY, 36, lookY, ButtonWidth, ButtonHeight, hit,
                         "", 0, 0);
    };
    listButton = fixedButton(0, 0, ListButton, 64);
    if (!WideLayout()) jumpButton = fixedButton(0, height - ButtonHeight, JumpButton, 30);
    leftButton = fixedButton(18, 0, LeftButton, 144);
    leftButton->SetGeometry(SkinAtlasId, 54, 144, ButtonWidth, ButtonHeight, 0);
    rightButton = fixedButton(width - TabWidth, 0, RightButton, 128);
    rightButton->SetGeometry(SkinAtlasId, 54, 128, ButtonWidth, ButtonHeight, 0);
    closeButton = fixedButton(width - 18, 0, CloseButton, 80);
    closeButton->visible = 0;
    if (!WideLayout()) collapseButton = fixedButton(width - 36, 0, CollapseButton, 96);
}

void Chatbox::Place(int32_t screenWidth, int32_t) {
    const WindowRect console = owner ? owner->GetRect() : WindowRect{0, 0, 0, 0};
    const int32_t oldWidth = width, oldHeight = height;
    const bool bar = core->options.bar != 0;
    if (WideLayout()) {
        x = console.x + 4;
        y = console.y + 4;
        width = console.w;
        height = console.h;
    } else {
        height = console.h - (bar ? 97 : 49);
        y = console.y + (bar ? 73 : 25);
        if (kind == MainKind) {
            x = console.x + 4;
            if (collapsed) width = TabWidth;
            else if (!partner || partner->collapsed) width = console.w - 218;
            else width = (screenWidth - 2 * console.x) / 2 - 5;
        } else {
            x = partner ? partner->x + partner->width + 2 : console.x + 4;
            width = console.x + console.w - 157 - x;
        }
    }
    width = std::max(width, 0);
    height = std::max(height, 0);
    const int32_t pages = int32_t(channels.size());
    if (jumpButton) jumpButton->y = height - ButtonHeight;
    rightButton->x = WideLayout() ? FirstTabX + TabWidth * pages : width - TabWidth;
    if (collapseButton) collapseButton->x = width - 36;
    closeButton->x = WideLayout() ? 52 + TabWidth * pages : width - 18;
    LayoutTabs();
    if (width != oldWidth || height != oldHeight) Refresh();
    // The page shown follows the box; the others are placed when they are selected.
    if (current) current->Place(screenWidth, 0);
}

void Chatbox::PlacePair() {
    const int32_t screenWidth = int32_t(core->clientWidth);
    Chatbox* first = kind == MainKind || !partner ? this : partner;
    first->Place(screenWidth, 0);
    if (Chatbox* second = first == this ? partner : this) second->Place(screenWidth, 0);
}

// --- The registry ---------------------------------------------------------------------------

Button* Chatbox::TabOf(const Channel* page) const {
    for (Button* button : buttons)
        if (page && button->id == TabBase + page->id) return button;
    return nullptr;
}

Channel* Chatbox::ChannelOfTab(const Button* tab) const {
    if (!tab || tab->id < TabBase) return nullptr;
    return FindChannel(tab->id - TabBase);
}

Channel* Chatbox::FindChannel(uint32_t id) const {
    for (Channel* page : channels)
        if (page->id == id) return page;
    return nullptr;
}

Channel* Chatbox::FindChannelByIdAndName(uint32_t id, const std::string& name) const {
    for (Channel* page : channels) {
        const bool idMatches =
            page->id == id || (id == ChannelId::Private && page->id >= ChannelId::Private);
        if (idMatches && page->name == name) return page;
    }
    return nullptr;
}

Channel* Chatbox::FindChannelByName(const std::string& name) const {
    for (Channel* page : channels)
        if (page->name == name) return page;
    return nullptr;
}

bool Chatbox::OpenChannel(uint32_t id, const std::string& name, uint8_t tabMark) {
    // A private conversation is told apart from a standard page by its id: a player may be
    // called "Trade".
    for (const Channel* page : channels)
        if (page->name == name && (page->id >= ChannelId::Private) == (id >= ChannelId::Private))
            return false;
    std::string caption = name;
    if (captionFont && captionFont->LastFitIndex(name, CaptionRoom) < int32_t(name.size()) - 1)
        caption =
            name.substr(0, size_t(captionFont->LastFitIndex(name, CutCaptionRoom) + 1)) + "..";
    while (FindChannel(id)) ++id;
    const int32_t pages = int32_t(channels.size());
    int32_t tabX = FirstTabX + TabWidth * pages, tabY = core->options.chatbottom ? height - 16 : 0;
    if (collapsed) {
        tabX = 0;
        tabY = TabHeight * (pages + 1);
    }
    AddButton(tabX, tabY, TabBase + id, 219, 253, 219, 269, 219, 285, TabWidth, TabHeight,
              {1, 1, 52, 14}, caption, pages == 0, 1);
    auto* page = new Channel(core, this, id, name, tabMark);
    channels.push_back(page);
    if (pages == 0) {
        current = page;
        if (!collapsed) ShowPage(page);
        closeButton->visible = tabMark == 1;
    }
    LayoutTabs();
    if (WideLayout()) {
        RefreshTab();
        RelayoutWide();
    }
    return true;
}

void Chatbox::RelayoutWide() {
    LayoutButtons();
    PlacePair();
    Refresh();
}

void Chatbox::JoinStandardChannel(const std::string& name) {
    if (!WideLayout() && kind == MainKind && (name == "NPC" || name == "Report")) {
        if (partner) partner->JoinStandardChannel(name);
        return;
    }
    for (const StandardChannel& standard : StandardChannels) {
        if (name != standard.name) continue;
        if (!OpenChannel(standard.id, name, 1)) return;
        if (standard.joinRequest && core->activeConnection)
            core->activeConnection->SendOpenChannel(uint8_t(standard.id));
        Channel* page = FindChannelByName(name);
        page->AddLine(255, 255, 255, 255, standard.welcome);
        if (standard.about) page->AddLine(224, 224, 224, 224, standard.about);
        return;
    }
}

void Chatbox::OpenPartyChannel(int32_t partyKind) {
    if (partyKind != int32_t(ChannelId::Party)) return;
    if (OpenChannel(ChannelId::Party, "Party", 0))
        FindChannel(ChannelId::Party)->AddLine(255, 255, 255, 255, "Welcome to the party channel!");
}

void Chatbox::RestoreChannels() {
    for (const std::string& name : SplitText(core->channelsPreset, ',')) JoinStandardChannel(name);
}

std::string Chatbox::GetChannelNames() const {
    std::string names;
    for (const Channel* page : channels) {
        if (page->id == ChannelId::Main || page->id == ChannelId::Info ||
            page->id >= ChannelId::Private)
            continue;
        names += (names.empty() ? "" : ",") + page->name;
    }
    return names;
}

void Chatbox::AddSpeakerTextToCurrent(const std::string& name, const std::string& text) {
    if (current) current->AddSpeakerText(name, text);
}

// --- Tabs -----------------------------------------------------------------------------------

void Chatbox::ShowPage(Channel* page) {
    if (!page) return;
    if (!InWindowList(core, page)) core->AddWindow(page);
    page->ShowScroll();
}

void Chatbox::HidePage(Channel* page) {
    if (!page) return;
    core->DetachWindow(page);
    page->HideScroll();
}

void Chatbox::SelectTab(Button* tab) {
    Channel* page = ChannelOfTab(tab);
    if (!page) return;
    if (page != current) {
        if (!collapsed) HidePage(current);
        for (Button* button : buttons)
            if (button->id >= TabBase) button->pressed = 0;
        current = page;
        page->Place(0, 0);
        closeButton->visible = page->tabMark == 1;
        if (!collapsed) ShowPage(page);
    }
    tab->pressed = 1;
    if (auto* console = dynamic_cast<Console*>(core->consoleWindow)) console->PlaceChatLine();
}

void Chatbox::SelectChannelByName(const std::string& name) {
    SelectTab(TabOf(FindChannelByName(name)));
}

void Chatbox::SelectChannel(Channel* page) { SelectTab(TabOf(page)); }

void Chatbox::SelectNextTab() {
    if (channels.empty()) return;
    const auto at = std::find(channels.begin(), channels.end(), current);
    const size_t index = at == channels.end() ? 0 : size_t(at - channels.begin());
    SelectTab(TabOf(channels[(index + 1) % channels.size()]));
}

void Chatbox::SelectPreviousTab() {
    if (channels.empty()) return;
    const auto at = std::find(channels.begin(), channels.end(), current);
    const size_t index = at == channels.end() ? 0 : size_t(at - channels.begin());
    SelectTab(TabOf(channels[(index + channels.size() - 1) % channels.size()]));
}

void Chatbox::RefreshTab() { closeButton->visible = current && current->tabMark == 1; }

void Chatbox::LayoutTabs() {
    if (collapsed) {
        for (Button* button : buttons)
            if (button->id >= TabBase) button->visible = button->y + TabHeight <= VisibleHeight();
        return;
    }
    const int32_t slots = (width + 18) / TabWidth;
    const int32_t pages = int32_t(channels.size());
    tabOffset = std::max(0, std::min(tabOffset, pages + 2 - slots));
    if (pages <= slots - 2) {
        tabOffset = 0;
        leftButton->enabled = rightButton->enabled = 0;
    } else {
        leftButton->enabled = tabOffset > 0;
        rightButton->enabled = tabOffset == 0 || pages - tabOffset > slots - 2;
    }
    for (int32_t i = 0; i < pages; ++i) {
        Button* tab = TabOf(channels[size_t(i)]);
        if (!tab) continue;
        tab->x = FirstTabX + TabWidth * (i - tabOffset);
        tab->y = 0;
        tab->visible = i >= tabOffset && tab->x >= FirstTabX && tab->x + TabWidth + 1 < width - 54;
    }
    if (WideLayout() && core->options.chatbottom)
        for (Button* button : buttons) button->y = height - TabHeight;
}

void Chatbox::LayoutButtons() {
    const bool shown = !collapsed;
    for (Button* button : {leftButton, rightButton, jumpButton})
        if (button) button->visible = shown;
    if (shown) {
        LayoutTabs();
        return;
    }
    const int32_t stackX = WideLayout() && core->options.panel ? -TabWidth : 0;
    int32_t stackY = TabHeight;
    for (Channel* page : channels) {
        if (Button* tab = TabOf(page)) {
            tab->x = stackX;
            tab->y = stackY;
        }
        stackY += TabHeight;
    }
    LayoutTabs();
}

// --- Closing --------------------------------------------------------------------------------

void Chatbox::DeletePage(Channel* page) {
    if (!LeavesSilently(page->id) && core->activeConnection)
        core->activeConnection->SendCloseChannel(uint8_t(page->id));
    RemoveButton(TabBase + page->id);
    channels.erase(std::find(channels.begin(), channels.end(), page));
    if (current == page) current = nullptr;
    page->DeleteScroll();
    core->RemoveWindow(page);
}

void Chatbox::CloseChannel(Channel* page) {
    if (!page || std::find(channels.begin(), channels.end(), page) == channels.end()) return;
    if (page == current) {
        CloseCurrentChannel();
        return;
    }
    DeletePage(page);
    LayoutButtons();
    if (WideLayout()) {
        PlacePair();
        Refresh();
    }
}

void Chatbox::CloseCurrentChannel() {
    Channel* page = current;
    if (!page) return;
    const size_t index =
        size_t(std::find(channels.begin(), channels.end(), page) - channels.begin());
    DeletePage(page);
    if (!channels.empty()) {
        Channel* next = channels[index > 0 ? index - 1 : 0];
        current = next;
        next->Place(0, 0);
        if (!collapsed) ShowPage(next);
        if (Button* tab = TabOf(next)) tab->pressed = 1;
    }
    RefreshTab();
    LayoutButtons();
    if (WideLayout()) {
        PlacePair();
        Refresh();
    }
}

void Chatbox::ForgetChannel(Channel* page) {
    const auto found = std::find(channels.begin(), channels.end(), page);
    if (found == channels.end()) return;
    channels.erase(found);
    RemoveButton(TabBase + page->id);
    if (current == page) current = nullptr;
}

// --- Buttons --------------------------------------------------------------------------------

void Chatbox::SetCollapsed(bool collapse) {
    if (collapse) HidePage(current);
    else ShowPage(current);
    if (collapseButton) {
        const int32_t lookY = collapse ? 112 : 96;
        collapseButton->id = collapse ? ExpandButton : CollapseButton;
        collapseButton->SetSkin(0, lookY, 18, lookY, 36, lookY, ButtonWidth, ButtonHeight);
    }
    collapsed = collapse;
}

void Chatbox::OnCommand(Button* button) {
    switch (button->id) {
        case CollapseButton:
        case ExpandButton:
            SetCollapsed(button->id == CollapseButton);
            if (partner && collapsed && partner->collapsed) {
                partner->SetCollapsed(false);
                PlacePair();
                partner->LayoutButtons();
            } else if (partner) {
                PlacePair();
            }
            if (partner && partner->current) partner->current->Place(0, 0);
            if (current) current->Place(0, 0);
            LayoutButtons();
            break;
        case CloseButton: CloseCurrentChannel(); break;
        case ListButton:
            if (!core->FindWindow(WindowType::Channellist))
                core->AddWindow(new Channellist(core, kind == MainKind))->OnOpen();
            break;
        case JumpButton:
            if (current && current->scroll) current->scroll->ScrollToStart();
            break;
        case LeftButton:
        case RightButton:
            tabOffset += button->id == LeftButton ? -1 : 1;
            LayoutTabs();
            break;
        default: SelectTab(button); break;
    }
}

void Chatbox::OnRightClick(int32_t mx, int32_t my) {
    Button* tab = ButtonAt(mx, my);
    Channel* page = ChannelOfTab(tab);
    if (!page) return;
    auto* menu = new Action(core, page, tab->caption, tab->id);
    menu->AddEntry(ActionCode::ClearContents, "Clear contents");
    if (page->logging) menu->AddEntry(ActionCode::DisableLogging, "Disable logging");
    else menu->AddEntry(ActionCode::EnableLogging, "Enable logging");
    if (page->tabMark == 1) {
        menu->AddEntry(0, "-");
        menu->AddEntry(ActionCode::CloseChannel, "Close channel");
    }
    menu->Open(mx, my);
    core->AddWindow(menu);
}

// --- Painting and drawing -------------------------------------------------------------------

void Chatbox::Paint() {
    if (!NeedsPaint()) return;
    GFX_BeginFrame(surface);
    const int32_t h = height;
    if (collapsed) {
        render->DrawFrame1(0, TabHeight, width, h - TabHeight);
    } else if (!WideLayout()) {
        render->DrawSkinPart(0, 30, 260, 227, 18, 3, SkinAtlasId);
        render->DrawSkinPartTiled(0, 33, 18, h - 65, 0, 0, 260, 231, 18, 2, SkinAtlasId);
        render->DrawSkinPart(0, h - 32, 260, 234, 18, 3, SkinAtlasId);
    }
    GFX_EndFrame();
    dirty = 0;
}

void Chatbox::Draw() {
    const Options& options = core->options;
    if (core->testWalker.testing) return;
    const bool shooting = core->screenshotPending || core->screenshotBusy;
    if (WideLayout() && shooting && options.field) return;
    DrawSurface();
    DrawTypeHint();
    const int32_t visibleHeight = VisibleHeight();
    for (Button* button : buttons) {
        Channel* page = ChannelOfTab(button);
        if (page && button->pressed) page->unread = 0;
        if (page && page->unread && page != current && !page->noUnreadMark) {
            if (button->visible) button->DrawPressed(x, y, width, height, UnreadTint);
        } else if (WideLayout() || button->y + button->hitRect.h < visibleHeight) {
            button->Draw(x, y, width, height);
        }
    }
}

void Chatbox::DrawTypeHint() {
    const Options& options = core->options;
    const bool typing = core->screen && core->screen->control && core->screen->control->talkLatch;
    if (!WideLayout() || !options.push || typing || !font) return;
    // A triangle wave: up for half the period, down for the other half.
    const uint64_t phase = core->frameTimeMs % HintPeriod;
    const uint64_t rise = phase < HintPeriod / 2 ? phase : HintPeriod - phase;
    const uint32_t alpha = HintFloor + uint32_t(HintPulse * rise / (HintPeriod / 2));
    const uint32_t colour = std::min<uint32_t>(alpha, 0xFF) << 24 | HintColour;
    int32_t top = 24;
    std::string text = "Press 'enter' to type and show channel contents.";
    if (options.showchat) {
        const int32_t lines = current ? int32_t(current->displayLines.size()) : 0;
        top = 12 * (std::min(lines, HintLines) + 2);
        if (top > 24) top += 4;
        text = "Press 'enter' to type.";
    }
    if (options.chatbottom) top = height - 33;
    font->DrawText(x + 3, y + top, text, colour);
}
