#include "windows/game/channel.h"

#include <algorithm>
#include <utility>

#include "chatlog.h"
#include "chatmarkup.h"
#include "control.h"
#include "core.h"
#include "creature.h"
#include "driver/gfxcore.h"
#include "font.h"
#include "mouse.h"
#include "platform.h"
#include "render.h"
#include "screen.h"
#include "windows/game/action.h"
#include "windows/game/chatbox.h"
#include "windows/game/console.h"
#include "windows/toolkit/scrollbar.h"
#include "windows/toolkit/windowtypes.h"

namespace {

constexpr uint32_t PageFontId = 2;
constexpr uint16_t BackgroundImage = 4;
constexpr int32_t LinePitch = 12;
constexpr int32_t TextLeft = 5;
constexpr int32_t WrapMargin = 9;
constexpr int32_t ScrollStrip = 18, TabStrip = 16;
constexpr int32_t WideShift = 21;
// Adding lines to a page shorter than this moves the console's input line with the text.
constexpr size_t ShortPage = 15;
constexpr uint32_t LineColour = 0xE0E0E0E0;
constexpr uint32_t HighlightColour = 0x40FFFFFF;
constexpr uint32_t WideBackgroundTint = 0x80FFFFFF;
// The offset of the first byte after "HH:MM " behind its escape.
constexpr int32_t StampLength = 11;

const std::string SpeakerColour = MakeColorCode(255, 255, 255, 255);
const std::string MessageColour = MakeColorCode(224, 224, 224, 224);
const std::string NpcNameColour = MakeColorCode(192, 160, 90, 255);
const std::string NpcTextColour = MakeColorCode(192, 160, 90, 224);
const std::string StampColour = MakeColorCode(192, 192, 160, 224);

std::string TwoDigits(unsigned value) {
    return std::string(1, char('0' + value / 10 % 10)) + char('0' + value % 10);
}

// The start of the first white escape of the line, walked piece by piece; npos for none.
size_t SpeakerMarker(const std::string& line) {
    for (size_t i = 0; i < line.size();) {
        if (line[i] == '\0') {
            if (line.compare(i, SpeakerColour.size(), SpeakerColour) == 0) return i;
            i += SpeakerColour.size();
        } else {
            i += line[i] == '\x01' ? 2 : 1;
        }
    }
    return std::string::npos;
}

void CopyToClipboard(HWND window, const std::string& text) {
    if (!OpenClipboard(window)) return;
    EmptyClipboard();
    if (HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1)) {
        if (void* bytes = GlobalLock(block)) {
            std::copy(text.c_str(), text.c_str() + text.size() + 1, static_cast<char*>(bytes));
            GlobalUnlock(block);
            if (!SetClipboardData(CF_TEXT, block)) GlobalFree(block);
        } else {
            GlobalFree(block);
        }
    }
    CloseClipboard();
}

}  // namespace

Channel::Channel(Core* core, Window* owner, uint32_t id, std::string name, uint8_t tabMark)
    : Window(core), id(id), tabMark(tabMark) {
    this->owner = owner;
    this->name = std::move(name);
    Build();
}

Channel::~Channel() {
    DeleteScroll();
    if (textSurface) GFX_DeleteRenderTarget(textSurface);
    if (auto* box = dynamic_cast<Chatbox*>(owner)) box->ForgetChannel(this);
}

bool Channel::WideLayout() const { return core->options.widescreen != 0; }

void Channel::Build() {
    ResetLayout();
    PlaceInOwner(false);
    CreateSurface();
    if (textSurface) GFX_DeleteRenderTarget(textSurface);
    textSurface =
        WideLayout() ? GFX_CreateRenderTarget(surfaceWidth, surfaceHeight, 0, 0, 0) : nullptr;
    unread = noUnreadMark = readOnly = menuArmed = logging = 0;
    typeId = WindowType::Channel;
    font = core->GetFont(PageFontId);
    DeleteScroll();
    scroll = new Scroll(core, this, -ScrollStrip, 0, height - TabStrip, height - 2, contentHeight,
                        LinePitch, 1);
    scroll->inverted = 1;
    RestoreLogging();
}

void Channel::PlaceInOwner(bool placing) {
    const WindowRect box = owner ? owner->GetRect() : WindowRect{0, 0, 0, 0};
    x = box.x + ScrollStrip;
    y = box.y + TabStrip;
    width = box.w - ScrollStrip;
    height = box.h - TabStrip;
    if (!WideLayout()) return;
    x -= WideShift;
    if (!placing) return;
    const Options& options = core->options;
    const Creature* player = core->player;
    if (player && player->isPrivileged() && name == "Console") {
        const int32_t grow = int32_t(core->clientHeight) - height - 50;
        height += grow;
        if (options.chatbottom) {
            y -= grow + TabStrip;
            height -= 20;
        }
    } else if (options.chatbottom) {
        y -= TabStrip;
        height -= 20;
    }
}

void Channel::Place(int32_t, int32_t) {
    const int32_t oldWidth = width, oldHeight = height;
    PlaceInOwner(true);
    if (width == oldWidth && height == oldHeight) return;
    if (width != oldWidth) RewrapAll();
    if (scroll) scroll->Grow(height - oldHeight);
    Refresh();
    if (WideLayout()) {
        if (textSurface) GFX_DeleteRenderTarget(textSurface);
        textSurface = GFX_CreateRenderTarget(surfaceWidth, surfaceHeight, 0, 0, 0);
    }
}

void Channel::Close() {
    if (auto* box = dynamic_cast<Chatbox*>(owner)) box->CloseChannel(this);
}

// --- Adding lines ---------------------------------------------------------------------------

void Channel::AddLine(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha, std::string text) {
    AppendLine(MakeColorCode(red, green, blue, alpha) + text);
}

void Channel::AddJoinedLine(uint8_t kind, std::string text) {
    switch (kind) {
        case 0: AddLine(128, 245, 128, 192, std::move(text)); break;
        case 1: AddLine(245, 128, 128, 192, std::move(text)); break;
        case 4: AddLine(224, 224, 224, 224, std::move(text)); break;
        default: break;
    }
}

void Channel::AddNamedLine(const Creature* speaker, std::string text) {
    if (!speaker) return;
    if (!speaker->isNpc()) {
        AppendLine(SpeakerColour + speaker->name + MessageColour + ": " + text);
    } else if (speaker->IsUnnamed()) {
        AppendLine(NpcTextColour + text);
    } else {
        AppendLine(NpcNameColour + speaker->name + NpcTextColour + ": " + text);
    }
}

void Channel::AddSpeakerText(const std::string& speaker, std::string text) {
    const bool npc = id == ChannelId::Npc && !core->IsOwnName(speaker);
    const std::string& textColour = npc ? NpcTextColour : MessageColour;
    if (Creature::IsUnnamedName(speaker)) AppendLine(textColour + text);
    else AppendLine((npc ? NpcNameColour : SpeakerColour) + speaker + textColour + ": " + text);
    unread = 1;
}

void Channel::AppendLine(std::string line) {
    WriteLog(line);
    const size_t linesBefore = displayLines.size();
    const SYSTEMTIME now = LocalTime();
    stamps.push_back(StampColour + TwoDigits(now.wHour) + ":" + TwoDigits(now.wMinute) + " ");
    rawLines.push_back(std::move(line));
    WrapLine(core->options.time ? stamps.back() + rawLines.back() : rawLines.back());
    dirty = 1;
    contentHeight = int32_t(displayLines.size()) * LinePitch + 4;
    if (scroll) scroll->SetTotal(contentHeight);
    if (linesBefore < ShortPage) PlaceConsoleInput();
}

void Channel::WrapLine(std::string text) {
    ReplaceColourCodes(text);
    if (core->options.smiley) ReplaceEmoticons(text);
    if (!font) return;
    const int32_t room = width - WrapMargin;
    std::string carry;
    while (!text.empty()) {
        std::string line = carry + text;
        const size_t start = carry.size();
        const Font::LineBreak at =
            font->BreakLine(line, start, size_t(font->LayoutLines(line, nullptr, room)), room);
        size_t cut = at.next;
        if (at.hyphen) {
            line.insert(at.end, "-");
            cut = at.end + 1;
        }
        Font::CarryColours(line, cut, &carry);
        displayLines.push_back(line.substr(0, cut));
        text = line.substr(std::min(cut, line.size()));
    }
}

void Channel::RewrapAll() {
    if (rawLines.empty()) return;
    displayLines.clear();
    for (size_t i = 0; i < rawLines.size(); ++i)
        WrapLine(core->options.time ? stamps[i] + rawLines[i] : rawLines[i]);
    contentHeight = int32_t(displayLines.size()) * LinePitch + 4;
    if (scroll) scroll->SetTotal(contentHeight);
}

void Channel::Rewrap() {
    dirty = 1;
    RewrapAll();
}

void Channel::Clear() {
    rawLines.clear();
    displayLines.clear();
    stamps.clear();
    contentHeight = 4;
    if (scroll) scroll->SetTotal(contentHeight);
    PlaceConsoleInput();
    dirty = 1;
}

void Channel::SetTabMark(uint8_t mark) {
    tabMark = mark;
    if (auto* box = dynamic_cast<Chatbox*>(owner)) box->RefreshTab();
}

void Channel::PlaceConsoleInput() {
    if (auto* console = dynamic_cast<Console*>(core->consoleWindow)) console->PlaceChatLine();
}

// --- Logging --------------------------------------------------------------------------------

void Channel::EnableLogging() {
    // The folders are made every time: the list may come from the settings with them gone.
    CreateChatLogFolder(name);
    core->loggedChannels.push_back(name);
    logging = 1;
}

void Channel::DisableLogging() {
    auto& names = core->loggedChannels;
    const auto found = std::find(names.begin(), names.end(), name);
    if (found != names.end()) names.erase(found);
    logging = 0;
}

void Channel::RestoreLogging() {
    const auto& names = core->loggedChannels;
    if (std::find(names.begin(), names.end(), name) != names.end()) logging = 1;
    if (core->options.loginfo && id == ChannelId::Info) logging = 1;
    if (logging) CreateChatLogFolder(name);
}

void Channel::WriteLog(const std::string& line) {
    if (logging) WriteChatLog(name, line);
}

// --- Scroll bar -----------------------------------------------------------------------------

void Channel::ShowScroll() {
    if (scroll &&
        std::find(core->windows.begin(), core->windows.end(), scroll) == core->windows.end())
        core->AddWindow(scroll);
}

void Channel::HideScroll() {
    if (scroll) core->DetachWindow(scroll);
}

void Channel::DeleteScroll() {
    if (scroll) core->RemoveWindow(std::exchange(scroll, nullptr));
}

// --- Geometry -------------------------------------------------------------------------------

int32_t Channel::LastVisibleLine() const {
    const int32_t position = scroll ? std::max(0, scroll->position) : 0;
    return int32_t(displayLines.size()) - 1 - position / LinePitch;
}

int32_t Channel::Baseline() const {
    const int32_t count = int32_t(displayLines.size());
    if (!WideLayout() || core->options.chatbottom) return height - 13;
    return height - LinePitch >= count * LinePitch + 3 ? count * LinePitch - 4 : height - 19;
}

int32_t Channel::FirstVisibleLine() const {
    const int32_t last = LastVisibleLine();
    // Line last - k is drawn at baseline - 12 k, as long as that is at least 5.
    const int32_t shown = std::max(0, (Baseline() - 5) / LinePitch + 1);
    return std::max(0, last - shown + 1);
}

bool Channel::PointAt(int32_t px, int32_t py, bool dragging, int32_t& line, int32_t& offset) const {
    const int32_t last = LastVisibleLine(), first = FirstVisibleLine();
    if (last < 0 || last < first) return false;
    const int32_t baseline = Baseline();
    if (py >= baseline + 10) {
        line = last;
        offset = dragging ? int32_t(displayLines[size_t(last)].size()) : 0;
        return true;
    }
    for (int32_t i = last; i >= first; --i) {
        if (py >= baseline - 2 - LinePitch * (last - i)) {
            line = i;
            offset = font ? font->LayoutLines(displayLines[size_t(i)], nullptr, px - 3) : 0;
            return true;
        }
    }
    line = first;
    offset = 0;
    return true;
}

Window* Channel::FieldBehind() const { return WideLayout() ? core->fieldWindow : nullptr; }

// --- Painting and drawing -------------------------------------------------------------------

void Channel::PaintBackground() {
    const int32_t last = LastVisibleLine(), baseline = Baseline();
    if (WideLayout()) {
        for (int32_t i = last; i >= FirstVisibleLine(); --i) {
            const int32_t top = baseline - LinePitch * (last - i) - 2;
            const int32_t textWidth = font ? font->MeasureText(displayLines[size_t(i)]) : 0;
            render->DrawSkinTiled(3, top, textWidth + 4, 13, 3, top, BackgroundImage);
        }
        return;
    }
    const WindowRect box = owner ? owner->GetRect() : WindowRect{x, y, 0, 0};
    const int32_t scrolled = scroll ? std::max(0, scroll->position) / LinePitch * LinePitch : 0;
    render->DrawSkinTiled(2, 2, width - 4, height - 4, x - box.x + 2, y - box.y - scrolled + 2,
                          BackgroundImage);
    const int32_t w = width, h = height;
    render->DrawSkinPart(0, 0, 54, 20, 3, 3, SkinAtlasId);
    render->DrawSkinPart(0, h - 3, 54, 33, 3, 3, SkinAtlasId);
    render->DrawSkinPart(w - 3, 0, 67, 20, 3, 3, SkinAtlasId);
    render->DrawSkinPart(w - 3, h - 3, 67, 33, 3, 3, SkinAtlasId);
    render->DrawSkinPartTiled(3, 0, w - 6, 2, 0, 0, 57, 20, 10, 2, SkinAtlasId);
    render->DrawSkinPartTiled(3, h - 2, w - 6, 2, 0, 0, 57, 34, 10, 2, SkinAtlasId);
    render->DrawSkinPartTiled(0, 3, 2, h - 6, 0, 0, 54, 23, 2, 10, SkinAtlasId);
    render->DrawSkinPartTiled(w - 2, 3, 2, h - 6, 0, 0, 68, 23, 2, 10, SkinAtlasId);
}

void Channel::PaintLines() {
    if (!font) return;
    const int32_t last = LastVisibleLine(), baseline = Baseline();
    for (int32_t i = last; i >= FirstVisibleLine(); --i)
        font->DrawTextFaded(TextLeft, baseline - LinePitch * (last - i), displayLines[size_t(i)],
                            LineColour);
}

void Channel::Paint() {
    if (!NeedsPaint()) return;
    GFX_BeginFrame(surface);
    PaintBackground();
    if (!WideLayout()) PaintLines();
    GFX_EndFrame();
    if (WideLayout() && textSurface && GFX_PrepareRenderTarget(textSurface)) {
        GFX_BeginFrame(textSurface);
        PaintLines();
        GFX_EndFrame();
    }
    dirty = 0;
}

void Channel::Draw() {
    const Options& options = core->options;
    if (WideLayout()) {
        const bool shooting = core->screenshotPending || core->screenshotBusy;
        const bool typing =
            core->screen && core->screen->control && core->screen->control->talkLatch;
        if (!(shooting && options.field) && (!options.push || typing || options.showchat)) {
            if (surface)
                GfxDriver::DrawTargetTinted(float(x), float(y), WideBackgroundTint, surface);
            if (textSurface)
                GfxDriver::DrawTargetPart(float(x), float(y), 0, 0, float(width), float(height),
                                          textSurface);
        }
    } else {
        DrawSurface();
        if (scroll) scroll->OnMouseMove(x, y);
    }
    DrawSelection();
}

void Channel::DrawSelection() {
    if (!dragging || selStartLine < 0 || selEndLine < 0 || !font) return;
    if (WideLayout() && core->inputModes[InputDrop] && core->player) {
        const Position& at = core->player->position;
        if (core->useItemZ == at.z && std::abs(int32_t(core->useItemX) - int32_t(at.x)) <= 1 &&
            std::abs(int32_t(core->useItemY) - int32_t(at.y)) <= 1) {
            dragging = 0;
            return;
        }
    }
    const int32_t count = int32_t(displayLines.size());
    if (count == 0) return;
    std::pair<int32_t, int32_t> upper{std::clamp(selStartLine, 0, count - 1), selStartChar};
    std::pair<int32_t, int32_t> lower{std::clamp(selEndLine, 0, count - 1), selEndChar};
    if (lower < upper) std::swap(upper, lower);
    const int32_t last = LastVisibleLine(), baseline = Baseline();
    for (int32_t i = std::max(upper.first, FirstVisibleLine()); i <= std::min(lower.first, last);
         ++i) {
        const std::string& text = displayLines[size_t(i)];
        const int32_t size = int32_t(text.size());
        const int32_t from = i == upper.first ? std::clamp(upper.second, 0, size) : 0;
        const int32_t to = i == lower.first ? std::clamp(lower.second, 0, size) : size;
        int32_t left = font->MeasureText(text.substr(0, size_t(from)));
        int32_t boxWidth = font->MeasureText(text.substr(0, size_t(to))) - left;
        if (from == 0) {
            left -= 2;
            boxWidth += 2;
        }
        if (to == size) ++boxWidth;
        render->FillRect(x + TextLeft + left, y + baseline - 2 - LinePitch * (last - i), boxWidth,
                         LinePitch, HighlightColour);
    }
}

// --- Mouse ----------------------------------------------------------------------------------

bool Channel::HitTestText(int32_t mx, int32_t my) {
    const int32_t px = mx - x, py = my - y;
    const int32_t count = int32_t(displayLines.size());
    if (count == 0 || px < 0 || py < 0 || px >= width || py >= height) return false;
    if (WideLayout() && !core->options.chatbottom && py > height - (14 - count) * LinePitch - 13)
        return false;
    dragging = 1;
    selStartLine = selStartChar = selEndLine = selEndChar = -1;
    int32_t line = 0, offset = 0;
    if (PointAt(px, py, false, line, offset)) {
        selStartLine = selEndLine = line;
        selStartChar = selEndChar = offset;
    }
    return true;
}

void Channel::OnMouseDown(int32_t mx, int32_t my) {
    if (Window* field = FieldBehind()) field->OnMouseDown(mx, my);
    HitTestText(mx, my);
}

void Channel::OnDrag(int32_t mx, int32_t my) {
    if (!dragging) return;
    int32_t line = 0, offset = 0;
    if (!PointAt(mx - x, my - y, true, line, offset)) return;
    selEndLine = line;
    selEndChar = offset;
}

void Channel::OnWheel(int32_t, int32_t, int32_t delta) {
    if (!scroll) return;
    if (delta > 0) scroll->StepDown();
    else scroll->StepUp();
    dirty = 1;
    if (core->screen && core->screen->mouse) OnDrag(core->screen->mouse->x, core->screen->mouse->y);
}

std::string Channel::SelectedText() const {
    const int32_t count = int32_t(displayLines.size());
    if (selStartLine < 0 || selEndLine < 0 || selStartChar < 0 || selEndChar < 0 || count == 0)
        return "";
    std::pair<int32_t, int32_t> upper{std::min(selStartLine, count - 1), selStartChar};
    std::pair<int32_t, int32_t> lower{std::min(selEndLine, count - 1), selEndChar};
    if (lower < upper) std::swap(upper, lower);
    const auto offsetIn = [this](int32_t line, int32_t offset) {
        return std::min(size_t(offset), displayLines[size_t(line)].size());
    };
    const std::string& top = displayLines[size_t(upper.first)];
    std::string text;
    if (upper.first == lower.first) {
        const size_t from = offsetIn(upper.first, upper.second);
        text = top.substr(from, offsetIn(lower.first, lower.second) - from);
    } else {
        text = top.substr(offsetIn(upper.first, upper.second));
        for (int32_t i = upper.first + 1; i < lower.first; ++i)
            text += "\n" + displayLines[size_t(i)];
        text +=
            "\n" + displayLines[size_t(lower.first)].substr(0, offsetIn(lower.first, lower.second));
    }
    return Font::PlainText(text);
}

void Channel::OnMouseUp(int32_t mx, int32_t my) {
    const bool selecting = dragging != 0;
    dragging = 0;
    if (selecting) {
        const std::string text = SelectedText();
        CopyToClipboard(core->hwnd, text);
        if (!text.empty()) return;
    }
    if (Window* field = FieldBehind()) field->OnMouseUp(mx, my);
}

void Channel::OnRightDown(int32_t mx, int32_t my) {
    if (Window* field = FieldBehind()) field->OnRightDown(mx, my);
    if (!HitTestText(mx, my)) return;
    menuArmed = 1;
    dragging = 0;
}

std::string Channel::SpeakerAt(int32_t line, int32_t offset) const {
    if (line < 0 || line >= int32_t(displayLines.size())) return "";
    if (core->options.time && offset < StampLength) return "";
    const std::string& text = displayLines[size_t(line)];
    const size_t marker = SpeakerMarker(text);
    if (marker == std::string::npos) return "";
    const size_t nameStart = marker + SpeakerColour.size();
    const size_t colon = text.find(':', nameStart);
    if (colon == std::string::npos || colon < size_t(offset)) return "";
    return Font::PlainText(text.substr(nameStart, colon - nameStart));
}

void Channel::OnRightClick(int32_t mx, int32_t my) {
    const bool armed = menuArmed != 0;
    menuArmed = 0;
    const bool onePoint = selStartLine == selEndLine && selStartChar == selEndChar;
    const std::string speaker = armed && onePoint ? SpeakerAt(selStartLine, selStartChar) : "";
    if (speaker.empty() || core->IsOwnName(speaker)) {
        if (Window* field = FieldBehind()) field->OnRightClick(mx, my);
        return;
    }
    auto* menu = new Action(core, this, speaker, 0);
    menu->AddEntry(ActionCode::SendPrivateMessage, "Send private message");
    if (!core->IsOnFriendList(speaker))
        menu->AddEntry(ActionCode::AddToFriendlist, "Add to friendlist");
    menu->Open(mx, my);
    core->AddWindow(menu);
}
