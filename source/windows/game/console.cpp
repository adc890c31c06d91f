#include "windows/game/console.h"

#include <algorithm>
#include <initializer_list>

#include "control.h"
#include "core.h"
#include "creature.h"
#include "font.h"
#include "protocol.h"
#include "render.h"
#include "screen.h"
#include "windows/dialogs/look.h"
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
// The capitals button: 18 x 18 at the console's left, 22 pixels above its bottom.
constexpr int32_t CapitalsX = 4, CapitalsRise = 22, CapitalsSize = 18, CapitalsSkinY = 46;
// Presses and hovers this many pixels below the top edge make the console taller or lower.
constexpr int32_t HeightBand = 6;
constexpr uint32_t SizeCursor = 2;

// The bars of the strip: each a track between two 4-pixel caps, its edges at y 5 and 18 and the
// filled part in between. Experience is 142 wide at x 8; health runs from x 161 to 5 pixels short
// of the middle; mana from 5 pixels past the middle, filled from the right.
constexpr int32_t ExperienceX = 8, ExperienceWidth = 142, HealthX = 161, ManaOffset = 5;
constexpr int32_t GaugeInset = 166, MaxGaugeWidth = 10000;
constexpr int32_t GaugeTop = 5, GaugeFillY = 9, GaugeBottom = 18, GaugeFillHeight = 9;
constexpr int32_t GaugeTextY = 8, TooltipBottom = 22;
constexpr int32_t CapWidth = 4, EdgeHeight = 4, CapLeftSourceX = 233, CapRightSourceX = 246;
constexpr int32_t EdgeSourceX = 237, EdgeSourceWidth = 9, EdgeTopSourceY = 153,
                  EdgeBottomSourceY = 166;
constexpr int32_t ExperienceFillX = 228, HealthFillX = 222, ManaFillX = 216, FillSourceY = 191,
                  FillSourceWidth = 4;
constexpr int32_t EmptySourceX = 101, EmptySourceY = 142, EmptySourceWidth = 100;
constexpr uint32_t GaugeTextColour = 0xE0E0E0E0;

// The strips beside the console: skin image 4, a dark and a light line along the console, and
// with `status` a red glow that grows as health drops.
constexpr uint16_t FillerImage = 4;
constexpr uint32_t EdgeDark = 0x80000000, EdgeLight = 0x18FFFFFF;
constexpr uint32_t GlowColour = 0x00D41108, GlowAlpha = 32;

// The push-to-talk hint at the console's bottom left.
constexpr int32_t HintX = 29, HintRise = 17;
constexpr uint32_t HintColour = 0x40FFFFFF;

// "value / max", or nothing while the maximum is 0.
std::string ValueText(uint32_t value, uint32_t max) {
    return max ? std::to_string(value) + " / " + std::to_string(max) : "";
}

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

Console::Console(Core* core) : Window(core) { Build(); }

Console::~Console() {
    if (!chatLineListed) delete chatLine;
}

void Console::Build() {
    const int32_t W = core->ScreenWidth(), H = core->ScreenHeight();
    mainChatbox = secondChatbox = nullptr;
    chatLine = nullptr;
    chatLineListed = false;
    ResetLayout();
    if (core->options.widescreen) {
        x = WideX;
        y = 0;
        width = WideWidth;
        height = WideHeight;
    } else {
        x = 0;
        y = H - NormalHeight;
        width = W;
        height = NormalHeight;
    }
    resizable = 1;
    CreateSurface();
    name.clear();
    typeId = WindowType::Console;
    font = core->GetFont(2);
    barFont = core->GetFont(1);
    capitalsButton = AddButton(CapitalsX, height - CapitalsRise, CapitalsButton, 0, CapitalsSkinY,
                               CapitalsSize, CapitalsSkinY, 2 * CapitalsSize, CapitalsSkinY,
                               CapitalsSize, CapitalsSize, {1, 1, 16, 16}, "", 0, 0);
    AttachChatLine(new Input(core, this, MaxChatLength));
}

void Console::SetHeight(int32_t newHeight) {
    if (newHeight == height) return;
    height = newHeight;
    if (capitalsButton) capitalsButton->y = height - CapitalsRise;
    Place(int32_t(core->clientWidth), int32_t(core->clientHeight));
    Refresh();
}

void Console::Place(int32_t screenWidth, int32_t screenHeight) {
    const Options& options = core->options;
    const Window* frame = core->FindWindow(WindowType::Padding);
    const int32_t oldWidth = width;
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
    if (width != oldWidth) Refresh();
    PlaceChatLine();
    // The boxes follow at once: the field's layout may change the height within a frame.
    if (mainChatbox) mainChatbox->PlacePair();
}

void Console::Paint() {
    if (core->options.widescreen) return;
    PaintCached([this] {
        render->DrawFrame3(0, 0, width, height);
        const int32_t half = width / 2;
        const uint64_t experience = core->experience, experienceMax = core->experienceNext;
        DrawGauge(ExperienceX, ExperienceWidth,
                  FilledWidth(experience, experienceMax, ExperienceWidth), false, ExperienceFillX,
                  experienceMax ? std::to_string(experience * 100 / experienceMax) + " %" : "");
        const int32_t healthWidth = half - GaugeInset;
        DrawGauge(HealthX, healthWidth, FilledWidth(core->hp, core->maxHp, healthWidth), false,
                  HealthFillX, ValueText(core->hp, core->maxHp));
        const int32_t manaWidth = width - half - GaugeInset;
        if (manaWidth <= MaxGaugeWidth)
            DrawGauge(half + ManaOffset, manaWidth,
                      FilledWidth(core->mana, core->maxMana, manaWidth), true, ManaFillX,
                      ValueText(core->mana, core->maxMana));
    });
}

void Console::DrawGauge(int32_t trackX, int32_t trackWidth, int32_t filled, bool fromRight,
                        int32_t fillSourceX, const std::string& text) {
    if (trackWidth <= 0) return;
    // The caps: a 4 x 4 corner, a 4 x 9 side and a 4 x 4 corner, one above the other.
    for (const int32_t capSourceX : {CapLeftSourceX, CapRightSourceX}) {
        const int32_t capX = capSourceX == CapLeftSourceX ? trackX - CapWidth : trackX + trackWidth;
        render->DrawSkinPart(capX, GaugeTop, capSourceX, EdgeTopSourceY, CapWidth, EdgeHeight,
                             SkinAtlasId);
        render->DrawSkinPart(capX, GaugeFillY, capSourceX, EdgeTopSourceY + EdgeHeight, CapWidth,
                             GaugeFillHeight, SkinAtlasId);
        render->DrawSkinPart(capX, GaugeBottom, capSourceX, EdgeBottomSourceY, CapWidth, EdgeHeight,
                             SkinAtlasId);
    }
    render->DrawSkinPartTiled(trackX, GaugeTop, trackWidth, EdgeHeight, 0, 0, EdgeSourceX,
                              EdgeTopSourceY, EdgeSourceWidth, EdgeHeight, SkinAtlasId);
    render->DrawSkinPartTiled(trackX, GaugeBottom, trackWidth, EdgeHeight, 0, 0, EdgeSourceX,
                              EdgeBottomSourceY, EdgeSourceWidth, EdgeHeight, SkinAtlasId);
    const int32_t fillX = fromRight ? trackX + trackWidth - filled : trackX;
    const int32_t emptyX = fromRight ? trackX : trackX + filled;
    render->DrawSkinPartTiled(fillX, GaugeFillY, filled, GaugeFillHeight, 0, 0, fillSourceX,
                              FillSourceY, FillSourceWidth, GaugeFillHeight, SkinAtlasId);
    render->DrawSkinPartTiled(emptyX, GaugeFillY, trackWidth - filled, GaugeFillHeight, 0, 0,
                              EmptySourceX, EmptySourceY, EmptySourceWidth, GaugeFillHeight,
                              SkinAtlasId);
    if (!text.empty() && barFont)
        barFont->DrawTextCentered(trackX + trackWidth / 2, GaugeTextY, text, GaugeTextColour);
}

void Console::Draw() {
    if (core->testWalker.testing) return;
    const Options& options = core->options;
    const int32_t W = core->ScreenWidth();
    if (options.widescreen) {
        if (!options.widescale) return;
        const int32_t strip = x - (options.panel ? Panel::ColumnWidth : 0);
        if (strip <= 0) return;
        DrawFiller(0, strip, true);
        DrawFiller(W - strip, W, false);
        return;
    }
    DrawSurface();
    DrawFiller(0, x, true);
    DrawFiller(x + width, W, false);
    DrawButtons();
    const Screen* screen = core->screen;
    const bool talking = screen && screen->control && screen->control->talkLatch;
    if (options.push && !talking && font)
        font->DrawText(x + HintX, y + height - HintRise,
                       "Press " + MakeColorCode(128, 255, 128, 128) + "enter" +
                           MakeColorCode(255, 255, 255, 64) + " to type.",
                       HintColour);
}

void Console::DrawFiller(int32_t left, int32_t right, bool consoleOnRight) {
    const int32_t stripWidth = right - left;
    if (stripWidth <= 0) return;
    const int32_t H = core->ScreenHeight();
    render->DrawSkinTiled(left, 0, stripWidth, H, 0, 0, FillerImage);
    // The dark line touches the console, the light one lies a pixel further out.
    const int32_t darkX = consoleOnRight ? right - 1 : left;
    const int32_t lightX = consoleOnRight ? right - 2 : left + 1;
    render->FillRect(darkX, 0, 1, H, EdgeDark);
    render->FillRect(lightX, 0, 1, H, EdgeLight);
    if (!core->options.status || stripWidth <= 2) return;
    const uint64_t lost = uint64_t(core->hp) * GlowAlpha / std::max<uint32_t>(1, core->maxHp);
    const uint32_t alpha = GlowAlpha - uint32_t(std::min<uint64_t>(GlowAlpha, lost));
    const uint32_t outer = alpha << 24 | GlowColour, inner = GlowColour;
    const uint32_t leftColour = consoleOnRight ? outer : inner;
    const uint32_t rightColour = consoleOnRight ? inner : outer;
    render->FillGradientRect(left, 0, stripWidth, H, leftColour, rightColour, leftColour,
                             rightColour);
}

bool Console::InHeightBand(int32_t my) const {
    return !core->options.widescreen && my - y >= 1 && my - y <= HeightBand;
}

void Console::OnMouseDown(int32_t mx, int32_t my) {
    if (!InHeightBand(my)) return;
    resizing = 1;
    anchorX = mx;
    anchorY = my - y;
    core->SetCursor(SizeCursor);
}

void Console::OnHover(int32_t, int32_t my) {
    if (InHeightBand(my) && !core->InputModeArmed()) core->SetCursor(SizeCursor);
}

void Console::OnResize(int32_t, int32_t my) {
    auto* field = dynamic_cast<Field*>(core->fieldWindow);
    if (!resizing || core->options.widescreen || !field) return;
    const int32_t before = height;
    field->GiveConsoleRect(core->ScreenHeight() - (my - anchorY));
    if (height == before) return;
    core->PlaceWindows();
    Refresh();
}

std::string Console::BarTooltip(int32_t rx, int32_t ry) const {
    if (ry < GaugeTop || ry > TooltipBottom) return "";
    const int32_t half = width / 2;
    if (rx >= 4 && rx <= 145)
        return "Experience:  " + std::to_string(core->experience) + " / " +
               std::to_string(core->experienceNext);
    if (rx >= 157 && rx <= half - 10)
        return core->maxHp < 1 ? "You seem to be dead."
                               : "Health:  " + ValueText(core->hp, core->maxHp);
    if (rx >= half + 1 && rx <= width - GaugeInset)
        return core->maxMana < 1 ? "You are all out of mana."
                                 : "Mana:  " + ValueText(core->mana, core->maxMana);
    return "";
}

void Console::OnMouseUp(int32_t mx, int32_t my) {
    if (!core->InputModeArmed() && !resizing && !core->options.widescreen) {
        std::string text = BarTooltip(mx - x, my - y);
        if (!text.empty()) core->AddWindow(new Look(core, "", std::move(text), mx, my, 1));
    }
    dragging = resizing = 0;
}

void Console::OnCommand(Button* button) {
    if (button->id != CapitalsButton || !chatLine) return;
    std::string text = chatLine->text;
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    chatLine->SetText(text);
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
    if (chatLine && !chatLineListed) {
        core->AddWindow(chatLine);
        chatLineListed = true;
        PlaceChatLine();
    }
    core->focusedInput = chatLine;
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

void Console::RefreshChannels() {
    for (Chatbox* box : {mainChatbox, secondChatbox}) {
        if (box && box->current) box->current->Rewrap();
    }
}

void Console::OpenPrivatePage(const std::string& person) {
    if (!mainChatbox) return;
    if (!mainChatbox->FindChannelByName(person))
        mainChatbox->OpenChannel(ChannelId::Private, person, 1);
    mainChatbox->SelectChannelByName(person);
}

void Console::AttachChatLine(Input* line) {
    if (chatLine && !chatLineListed) delete chatLine;
    const auto& windows = core->windows;
    chatLineListed = std::find(windows.begin(), windows.end(), line) != windows.end();
    chatLine = line;
    line->onTextChanged = [](Input& changed) { SendTypingNotice(changed.core, changed.text); };
}

void Console::PlaceChatLine() {
    // The line may have left the window list (and been deleted) before the console.
    const auto& windows = core->windows;
    if (chatLine && std::find(windows.begin(), windows.end(), chatLine) != windows.end())
        chatLine->Place(int32_t(core->clientWidth), int32_t(core->clientHeight));
}
