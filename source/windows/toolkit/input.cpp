#include "windows/toolkit/input.h"

#include <windows.h>

#include <algorithm>
#include <cctype>

#include "control.h"
#include "converttext.h"
#include "core.h"
#include "driver/gfxcore.h"
#include "font.h"
#include "render.h"
#include "screen.h"
#include "windows/toolkit/windowtypes.h"

namespace {

// Shown in password mode in place of every character.
constexpr char MaskByte = static_cast<char>(0x95);
// The text keeps this many pixels from the right edge of the box.
constexpr int32_t RightMargin = 8;
constexpr uint32_t SelectionColour = 0x40FFFFFF;
constexpr uint32_t CaretColour = 0xE0FFFFFF;
constexpr uint32_t WideTint = 0x80FFFFFF;

// A typed character of the system's code page as the client's one byte per character: through
// UTF-16 and UTF-8 and back to the low byte of the code point. False when it does not convert.
bool ConvertTypedCharacter(uint32_t c, std::string& converted) {
    const char ansi = static_cast<char>(c);
    wchar_t wide = 0;
    if (MultiByteToWideChar(CP_ACP, 0, &ansi, 1, &wide, 1) != 1) return false;
    char utf8[8];
    const int length = WideCharToMultiByte(CP_UTF8, 0, &wide, 1, utf8, 6, nullptr, nullptr);
    converted.assign(utf8, static_cast<size_t>(std::max(length, 0)));
    ConvertText(converted);
    return true;
}

}  // namespace

Input::Input(Core* core, Window* owner, uint32_t maxLength, WindowRect rect)
    : Window(core), offsetX(rect.x), offsetY(rect.y), maxLength(maxLength) {
    this->owner = owner;
    width = rect.w;
    height = rect.h;
    UpdatePosition();
}

Input::Input(Core* core, Window* owner, uint32_t maxLength)
    : Input(core, owner, maxLength, WindowRect{0, 0, 0, 0}) {
    Build();
}

Input::Input(Core* core, Window* owner, uint32_t maxLength, WindowRect rect, std::string text,
             uint8_t password, uint8_t digitsOnly)
    : Input(core, owner, maxLength, rect) {
    this->password = password;
    this->digitsOnly = digitsOnly;
    Build();
    InsertText(std::move(text));
}

Input::Input(Core* core, Window* owner, uint32_t maxLength, WindowRect rect, uint8_t password,
             uint8_t digitsOnly)
    : Input(core, owner, maxLength, rect) {
    this->password = password;
    this->digitsOnly = digitsOnly;
    Build();
}

Input::Input(Core* core, Window* owner, uint32_t maxLength, WindowRect rect, uint8_t nameFormat)
    : Input(core, owner, maxLength, rect) {
    this->nameFormat = nameFormat;
    Build();
}

Input* Input::KeyBinding(Core* core, Window* owner, uint32_t maxLength, WindowRect rect,
                         std::string text, uint32_t keySlot) {
    auto* input = new Input(core, owner, maxLength, rect);
    input->keyCapture = 1;
    input->keySlot = keySlot;
    input->Build();
    input->InsertText(std::move(text));
    return input;
}

bool Input::IsConsoleLine() const { return owner && owner->typeId == WindowType::Console; }

bool Input::IsWideConsoleLine() const { return IsConsoleLine() && core->options.widescreen; }

void Input::Build() {
    if (IsConsoleLine()) {
        const WindowRect console = owner->GetRect();
        const bool wide = core->options.widescreen;
        x = console.x + (wide ? 4 : 22);
        y = static_cast<int32_t>(core->clientHeight) - 22;
        width = console.w - (wide ? 23 : 179);
        height = 18;
    }
    ResetLayout();
    CreateSurface();
    name.clear();
    typeId = WindowType::Input;
    font = core->GetFont(2);
    text.clear();
    shownText.clear();
    framed = 1;
    textColour = 0xE0E0E0E0;
    caretPixel = 0;
    firstVisible = visibleCount = caret = 0;
    visibleWidth = 0;
    selectionStart = selectionEnd = -1;
}

bool Input::HasSelection() const { return selectionStart != -1 || selectionEnd != -1; }

int32_t Input::CharWidth(uint32_t index) const {
    return font ? font->MeasureText(shownText.substr(index, 1)) : 0;
}

std::string Input::ShownPart() const {
    if (firstVisible >= shownText.size()) return std::string();
    return shownText.substr(firstVisible, visibleCount);
}

void Input::ScrollToCaret() {
    while (visibleWidth >= width - RightMargin && caretPixel >= width - RightMargin &&
           firstVisible < caret) {
        const int32_t dropped = CharWidth(firstVisible);
        visibleWidth -= dropped;
        caretPixel -= dropped;
        ++firstVisible;
        if (visibleCount > 0) --visibleCount;
    }
}

void Input::InsertText(std::string s) {
    if (!text.empty() && HasSelection()) {
        Clear();
        selectionStart = selectionEnd = -1;
    }
    if (text.size() < maxLength) {
        s.resize(std::min<size_t>(s.size(), maxLength - text.size()));
        text.insert(caret, s);
        if (password) s.assign(s.size(), MaskByte);
        shownText.insert(caret, s);
        const auto added = static_cast<uint32_t>(s.size());
        const int32_t addedWidth = font ? font->MeasureText(s) : 0;
        visibleCount += added;
        caret += added;
        caretPixel += addedWidth;
        visibleWidth += addedWidth;
        ScrollToCaret();
        dirty = 1;
    }
    TextChanged();
}

void Input::SetText(std::string s) {
    Clear();
    InsertText(std::move(s));
}

void Input::Clear() {
    text.clear();
    shownText.clear();
    caretPixel = 0;
    firstVisible = visibleCount = caret = 0;
    visibleWidth = 0;
    dirty = 1;
}

void Input::Paste(std::string s) {
    // Control bytes would become smiley marks or line breaks in what the field is used for.
    s.erase(std::remove_if(s.begin(), s.end(),
                           [this](char c) {
                               const auto byte = static_cast<unsigned char>(c);
                               return byte < 32 || (digitsOnly && (c < '0' || c > '9'));
                           }),
            s.end());
    InsertText(std::move(s));
    if (nameFormat) NormaliseName();
}

void Input::MoveCaret(int8_t delta) {
    if (text.empty()) return;
    if (delta < 0) {
        if (caret == 0) return;
        const uint32_t target = caret - std::min<uint32_t>(caret, static_cast<uint32_t>(-delta));
        if (target < firstVisible) {
            // The caret left the drawn part: show the characters it passed.
            const int32_t revealed =
                font ? font->MeasureText(shownText.substr(target, firstVisible - target)) : 0;
            visibleWidth += revealed;
            visibleCount += firstVisible - target;
            firstVisible = target;
            caretPixel = 0;
        } else {
            caretPixel -= font ? font->MeasureText(shownText.substr(target, caret - target)) : 0;
        }
        caret = target;
    } else if (delta > 0) {
        if (caret >= text.size()) return;
        const uint32_t target = std::min<uint32_t>(static_cast<uint32_t>(text.size()),
                                                   caret + static_cast<uint32_t>(delta));
        caretPixel += font ? font->MeasureText(shownText.substr(caret, target - caret)) : 0;
        caret = target;
        ScrollToCaret();
    }
    dirty = 1;
}

void Input::DeleteBefore(uint32_t count) {
    if (text.empty() || caret == 0) return;
    count = std::min(count, caret);
    if (count >= text.size() && caret == text.size()) {
        Clear();
        return;
    }
    const uint32_t start = caret - count;
    // Characters before the drawn part take no width from it: the drawn part starts earlier.
    const uint32_t drawnStart = std::max(start, firstVisible);
    const int32_t removedWidth =
        font ? font->MeasureText(shownText.substr(drawnStart, caret - drawnStart)) : 0;
    caretPixel -= removedWidth;
    visibleWidth -= removedWidth;
    text.erase(start, count);
    shownText.erase(start, count);
    firstVisible = std::min(firstVisible, start);
    while (firstVisible > 0 && visibleWidth + CharWidth(firstVisible - 1) < width - RightMargin) {
        const int32_t revealed = CharWidth(firstVisible - 1);
        visibleWidth += revealed;
        caretPixel += revealed;
        ++visibleCount;
        --firstVisible;
    }
    caret = start;
    dirty = 1;
}

void Input::NormaliseName() {
    std::string lowered;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        lowered += byte < 32 ? ' ' : static_cast<char>(std::tolower(byte));
    }
    std::string spaced;
    for (char c : lowered) {
        if (c == ' ' && (spaced.empty() || spaced.back() == ' ')) continue;
        spaced += c;
    }
    std::string letters;
    for (char c : spaced)
        if (c == ' ' || (c >= 'a' && c <= 'z')) letters += c;
    for (size_t i = 0; i < letters.size(); ++i)
        if (i == 0 || letters[i - 1] == ' ')
            letters[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(letters[i])));
    Clear();
    InsertText(letters);
}

void Input::OnChar(uint32_t c) {
    if (c >= 32) {
        if (digitsOnly && (c < '0' || c > '9')) return;
        std::string converted;
        if (!ConvertTypedCharacter(c, converted)) return;
        InsertText(converted);
    }
    if (nameFormat) NormaliseName();
}

void Input::OnBackspace() {
    if (HasSelection()) {
        Clear();
        selectionStart = selectionEnd = -1;
    } else {
        DeleteBefore(1);
    }
    TextChanged();
}

void Input::OnDelete() {
    if (HasSelection()) {
        Clear();
        selectionStart = selectionEnd = -1;
    }
    TextChanged();
}

void Input::OnSubmit() {
    if (owner) owner->OnSubmit();
}

void Input::UpdatePosition() {
    if (!owner) return;
    const WindowRect origin = owner->GetRect();
    x = origin.x + offsetX;
    y = origin.y + offsetY;
}

void Input::Place(int32_t, int32_t) {
    if (!owner) return;
    if (!IsConsoleLine()) {
        UpdatePosition();
        return;
    }
    const WindowRect console = owner->GetRect();
    const bool wide = core->options.widescreen;
    const int32_t oldWidth = width;
    x = console.x + (wide ? 4 : 22);
    y = static_cast<int32_t>(core->clientHeight) - 22;
    width = console.w - (wide ? 23 : 179);
    height = 18;
    if (width != oldWidth) Refresh();
}

void Input::Paint() {
    if (!NeedsPaint()) return;
    GFX_BeginFrame(surface);
    const bool wide = IsWideConsoleLine();
    const std::string shown = ShownPart();
    if (framed) {
        const int32_t frameWidth =
            wide ? std::min((font ? font->MeasureText(shown) : 0) + 10, width) : width;
        render->DrawFrame1(0, 0, frameWidth, height);
    }
    if (!wide && font) font->DrawTextFaded(5, 5, shown, textColour);
    GFX_EndFrame();
    dirty = 0;
}

void Input::Draw() {
    const bool talking = core->screen && core->screen->control && core->screen->control->talkLatch;
    if (IsConsoleLine() && core->options.push && !talking) return;
    if (IsWideConsoleLine()) {
        if (surface)
            GfxDriver::DrawTargetTinted(static_cast<float>(x), static_cast<float>(y), WideTint,
                                        surface);
        if (font) font->DrawTextFaded(x + 5, y + 5, ShownPart(), textColour);
    } else {
        DrawSurface();
    }
    if (core->focusedInput != this) return;
    if (HasSelection()) render->FillRect(x + 4, y + 4, caretPixel + 1, height - 8, SelectionColour);
    if (core->frameTimeMs % 1000 < 500)
        render->FillRect(x + caretPixel + 4, y + 4, 1, height - 8, CaretColour);
}

void Input::TextChanged() {
    if (onTextChanged) onTextChanged(*this);
}
