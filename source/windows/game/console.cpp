#include "windows/game/console.h"

#include <algorithm>

#include "core.h"
#include "creature.h"
#include "protocol.h"
#include "windows/game/chatbox.h"
#include "windows/game/container.h"
#include "windows/game/equipment.h"
#include "windows/game/field.h"
#include "windows/game/friendlist.h"
#include "windows/game/padding.h"
#include "windows/game/panelmap.h"
#include "windows/game/paneltop.h"
#include "windows/game/spellbar.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/input.h"
#include "windows/toolkit/panel.h"
#include "windows/toolkit/windowtypes.h"

namespace {

// The normal layout's console is this high at first; the wide layout's is a 300 x 200 frame
// right of the left column until it is placed.
constexpr int32_t NormalHeight = 220;
constexpr int32_t WideX = 156, WideWidth = 300, WideHeight = 200;
// Placed, the wide frame is 199 high, 10 pixels narrower than the room between the columns and
// at most 1000 wide; with `chatbottom` it sits 209 pixels above the bottom.
constexpr int32_t PlacedWideHeight = 199, WideMargin = 10, MaxWideWidth = 1000, BottomOffset = 209;
// In the normal layout the console also spans both columns beside the field's frame.
constexpr int32_t BothColumns = 2 * Panel::ColumnWidth;
// The status panel's friends-list button, disabled while the friends list is open.
constexpr uint32_t FriendsButton = 22;
// The layout entry's fields.
enum LayoutField { FieldType, FieldId, FieldPin, FieldCollapsed, FieldHeight, FieldSlots };
constexpr size_t PanelFields = 5, ContainerFields = 6;
// The numbers of ordinary containers run from 1 to this; above it lie the bank, shop and trade.
constexpr int32_t LastContainerNumber = 249;
constexpr int32_t PinTop = 1, PinBottom = 2;

bool IsByte(int32_t value) { return value >= 0 && value <= 255; }

// In the normal layout the equipment and the ability bar are free windows beside the console.
void AddBesideConsole(Core* core, Panellist* window) {
    core->AddWindow(window);
    window->Place(core->ScreenWidth(), core->ScreenHeight());
}

// A window of the type that is not closing: one closed while it was restored (too low a height)
// leaves its place to a new one.
Window* FindOpen(Core* core, uint32_t type) {
    for (Window* window : core->windows)
        if (window->typeId == type && window->state == 1) return window;
    return nullptr;
}

// Typing marks the player as typing and tells the server; emptying the line ends it.
void SendTypingNotice(Core* core, const std::string& text) {
    Creature* player = core->player;
    if (!player || !core->activeConnection) return;
    if (!player->typing && !text.empty()) {
        player->typing = 1;
        player->StampTime();
        core->activeConnection->SendTyping(true);
    } else if (player->typing && text.empty()) {
        player->typing = 0;
        core->activeConnection->SendTyping(false);
    }
}

}  // namespace

Console::Console(Core* core) : Window(core) {
    typeId = WindowType::Console;
    const int32_t W = core->ScreenWidth(), H = core->ScreenHeight();
    if (core->options.widescreen) {
        x = WideX;
        width = WideWidth;
        height = WideHeight;
    } else {
        y = H - NormalHeight;
        width = W;
        height = NormalHeight;
    }
}

void Console::SetHeight(int32_t newHeight) {
    if (newHeight == height) return;
    height = newHeight;
    Place(int32_t(core->clientWidth), int32_t(core->clientHeight));
}

void Console::Place(int32_t screenWidth, int32_t screenHeight) {
    const Options& options = core->options;
    const Window* frame = core->FindWindow(WindowType::Padding);
    if (!options.widescreen) {
        if (frame) width = frame->width + BothColumns;
        x = (screenWidth - width) / 2;
        y = screenHeight - height;
    } else {
        y = options.chatbottom ? screenHeight - BottomOffset : 0;
        x = options.panel ? Panel::ColumnWidth : 0;
        height = PlacedWideHeight;
        width = std::min(screenWidth - (options.inventory ? Panel::ColumnWidth : 0) -
                             (options.panel ? Panel::ColumnWidth : 0) - WideMargin,
                         MaxWideWidth);
        if (options.widescale && frame) {
            x = std::max(x, frame->x);
            width = screenWidth - 2 * x - WideMargin;
        }
    }
    PlaceChatLine();
    // The boxes follow at once: the field's layout may change the height within a frame.
    if (mainChatbox) mainChatbox->PlacePair();
}

void Console::OnOpen() {
    const bool wide = core->options.widescreen != 0;
    mainChatbox = new Chatbox(core, this, Chatbox::MainKind);
    core->chatBox = mainChatbox;
    if (!wide) {
        secondChatbox = new Chatbox(core, this, Chatbox::SecondKind);
        mainChatbox->partner = secondChatbox;
        secondChatbox->partner = mainChatbox;
    }
    CreatePanels();
    core->AddWindow(mainChatbox);
    if (secondChatbox) {
        core->AddWindow(secondChatbox);
        secondChatbox->OpenChannel(ChannelId::Info, "Info", 0);
    }
    mainChatbox->OpenChannel(ChannelId::Main, "Main", 0);
    mainChatbox->FindChannel(ChannelId::Main)
        ->AddLine(255, 255, 255, 255, "Welcome to the world of Veltor!");
    mainChatbox->RestoreChannels();
    if (wide && mainChatbox->OpenChannel(ChannelId::Info, "Info", 0)) {
        Channel* info = mainChatbox->FindChannel(ChannelId::Info);
        info->noUnreadMark = 1;
        info->readOnly = 1;
    }
    mainChatbox->PlacePair();
}

void Console::CreatePanels() {
    auto* right = new Panel(core, this, Panel::Right);
    core->rightPanel = core->AddWindow(right);
    auto* left = new Panel(core, this, Panel::Left);
    core->leftPanel = core->AddWindow(left);
    RestorePanel(right);
    RestorePanel(left);

    const bool wide = core->options.widescreen != 0;
    const auto addUnlessOpen = [&](uint32_t type, Panel* column, auto make) {
        if (FindOpen(core, type)) return;
        Panellist* window = make(wide ? static_cast<Window*>(column) : this);
        if (!wide) {
            AddBesideConsole(core, window);
            return;
        }
        column->Add(window);
        column->Pin(window, false);
    };
    addUnlessOpen(WindowType::Equipment, right,
                  [&](Window* parent) { return new Equipment(core, parent); });
    addUnlessOpen(WindowType::Spellbar, left,
                  [&](Window* parent) { return new Spellbar(core, parent); });

    auto* bar = dynamic_cast<Panellist*>(FindOpen(core, WindowType::Spellbar));
    if (!core->options.bar && bar && bar->panel) {
        Panel* column = bar->panel;
        if (bar->pinned) column->Unpin(bar);
        column->Remove(bar);
        bar->panel = nullptr;
    }
    if (!FindOpen(core, WindowType::Panelmap)) {
        auto* minimap = new Panelmap(core, right);
        right->Add(minimap);
        right->Pin(minimap, true);
    }
    Window* status = FindOpen(core, WindowType::Paneltop);
    if (!status) {
        auto* created = new Paneltop(core, left);
        left->Add(created);
        left->Pin(created, true);
        status = created;
    }
    if (FindOpen(core, WindowType::Friendlist))
        if (Button* friends = status->FindButton(FriendsButton)) friends->enabled = 0;
}

void Console::RestorePanel(Panel* column) {
    const std::string layout = core->GetPanelData(column->side == Panel::Left);
    for (const PanelLayoutEntry& entry : Panel::ParseLayout(layout)) {
        const int32_t type = entry.values.empty() ? 0 : entry.values[FieldType];
        switch (type) {
            case WindowType::Container:
                if (core->panelLayoutFallback) break;
                [[fallthrough]];
            case WindowType::Equipment:
            case WindowType::Spellbar:
            case WindowType::Paneltop:
            case WindowType::Friendlist:
            case WindowType::Panelmap: RestorePanelEntry(column, entry.values); break;
            default: break;
        }
    }
}

void Console::RestorePanelEntry(Panel* column, const std::vector<int32_t>& fields) {
    // An entry cut short, or naming a window or slot count no byte holds, is skipped.
    if (fields.size() < PanelFields || !IsByte(fields[FieldId])) return;
    const uint32_t type = uint32_t(fields[FieldType]);
    if (type == WindowType::Container &&
        (fields.size() < ContainerFields || !IsByte(fields[FieldSlots]) || fields[FieldId] < 1 ||
         fields[FieldId] > LastContainerNumber))
        return;
    if (type != WindowType::Container && FindOpen(core, type)) return;

    const bool wide = core->options.widescreen != 0;
    // The equipment and the ability bar belong to the console in the normal layout.
    Window* parent = wide ? static_cast<Window*>(column) : this;
    Panellist* window = nullptr;
    switch (type) {
        case WindowType::Container:
            window =
                new Container(core, column, uint8_t(fields[FieldId]), uint8_t(fields[FieldSlots]));
            break;
        case WindowType::Equipment: window = new Equipment(core, parent); break;
        case WindowType::Spellbar: window = new Spellbar(core, parent); break;
        case WindowType::Paneltop: window = new Paneltop(core, column); break;
        case WindowType::Friendlist: window = new Friendlist(core, column); break;
        case WindowType::Panelmap: window = new Panelmap(core, column); break;
        default: return;
    }
    if (!wide && (type == WindowType::Equipment || type == WindowType::Spellbar)) {
        AddBesideConsole(core, window);
        return;
    }
    column->Add(window);
    if (window->resizable) window->SetHeightClamped(fields[FieldHeight]);
    // Too low a height closes the window.
    if (window->state != 1) return;
    if (fields[FieldCollapsed] == 1) window->ToggleMinimise(nullptr);
    if (fields[FieldPin] == PinTop || fields[FieldPin] == PinBottom)
        column->Pin(window, fields[FieldPin] == PinTop);
}

Channel* Console::FindChannel(uint32_t id) {
    Channel* channel = mainChatbox ? mainChatbox->FindChannel(id) : nullptr;
    if (!channel && secondChatbox) channel = secondChatbox->FindChannel(id);
    return channel;
}

void Console::AttachChatLine(Input* line) {
    chatLine = line;
    line->onTextChanged = [](Input& changed) { SendTypingNotice(changed.core, changed.text); };
}

void Console::PlaceChatLine() {
    // The line may have left the window list (and been deleted) before the console.
    const auto& windows = core->windows;
    if (chatLine && std::find(windows.begin(), windows.end(), chatLine) != windows.end())
        chatLine->Place(int32_t(core->clientWidth), int32_t(core->clientHeight));
}
