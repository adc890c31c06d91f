#include "notification.h"

#include <algorithm>

#include "core.h"
#include "font.h"
#include "render.h"
#include "windows/game/channel.h"
#include "windows/game/console.h"
#include "windows/toolkit/window.h"

namespace {

constexpr uint8_t InfoChannel = 240;
constexpr uint8_t ConsoleChannel = 254;
constexpr const char* DeathText = "You are dead";
constexpr int32_t DeathLifetime = 600000;
constexpr int32_t InfoBoxLinePeriod = 10000;
constexpr uint32_t InfoBoxColour = 0xA0000000;
constexpr uint32_t InfoMarkColour = 0xC080F580;
constexpr uint32_t InfoMarkFont = 3;

// Where a centre line's top lies in the field.
enum class CentreRow { Top, Middle, UpperQuarter, UpperThird };

struct KindStyle {
    uint32_t fontId;
    uint32_t colour;
    int32_t place;  // 0: not shown
    CentreRow row;
    int32_t lifetime;
    uint8_t echoChannel;  // 0: not echoed
    uint8_t echo[4];      // red, green, blue, alpha of the echo's colour escape
};

using N = Notification;
const KindStyle KindStyles[] = {
    {1, 0xE080FF80, N::PlaceCentre, CentreRow::Middle, 4000, InfoChannel, {128, 245, 128, 192}},
    {1, 0xE0FF6060, N::PlaceCentre, CentreRow::Middle, 4000, InfoChannel, {245, 128, 128, 192}},
    {1, 0xE0E0E0E0, N::PlaceStatus, CentreRow::Top, 3000, 0, {}},
    {1, 0xE0E0E0E0, N::PlaceCentre, CentreRow::Middle, 4000, InfoChannel, {244, 244, 244, 244}},
    {3,
     0xE080FF80,
     N::PlaceCentre,
     CentreRow::UpperQuarter,
     4000,
     InfoChannel,
     {128, 245, 128, 192}},
    {3, 0xE0FFFFFF, N::PlaceCentre, CentreRow::UpperQuarter, 4000, 0, {}},
    {4, 0xE0FF6060, N::PlaceCentre, CentreRow::UpperThird, 4000, InfoChannel, {245, 128, 128, 192}},
    {4, 0xE0FFC060, N::PlaceCentre, CentreRow::UpperThird, 4000, InfoChannel, {255, 192, 96, 192}},
    {1, 0xE0E0E0E0, N::PlaceInfo, CentreRow::Top, 4000, InfoChannel, {224, 224, 224, 224}},
    {4, 0xE06060FF, N::PlaceCentre, CentreRow::UpperThird, 4000, InfoChannel, {128, 128, 255, 192}},
    {1, 0xE0E0E0E0, N::PlaceStatus, CentreRow::Top, 3000, InfoChannel, {244, 244, 244, 244}},
    {0, 0, 0, CentreRow::Top, 0, InfoChannel, {224, 224, 224, 224}},
    {0, 0, 0, CentreRow::Top, 0, ConsoleChannel, {170, 224, 170, 224}},
    {0, 0, 0, CentreRow::Top, 0, ConsoleChannel, {224, 96, 96, 224}},
};
// Kinds past the table: a plain centre line at the field's top edge, not echoed.
const KindStyle UnknownKindStyle = {1, 0xE0E0E0E0, N::PlaceCentre, CentreRow::Top, 4000, 0, {}};

const KindStyle& StyleOf(uint8_t kind) {
    return kind < std::size(KindStyles) ? KindStyles[kind] : UnknownKindStyle;
}

// The text cut after every ". " that has at least two more characters behind it.
std::vector<std::string> CutSentences(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i = 0; i + 1 < text.size() && lines.size() + 1 < Notification::MaxLines; ++i) {
        if (text[i] != '.' || text[i + 1] != ' ' || text.size() - (i + 2) < 2) continue;
        lines.push_back(text.substr(start, i + 2 - start));
        start = i + 2;
    }
    lines.push_back(text.substr(start));
    return lines;
}

int32_t Widest(const Font* font, const std::vector<std::string>& lines) {
    int32_t widest = 0;
    if (font)
        for (const std::string& line : lines) widest = std::max(widest, font->MeasureText(line));
    return widest;
}

uint32_t Faded(uint32_t colour, int32_t fade) {
    const uint32_t alpha = std::min<uint32_t>(colour >> 24, static_cast<uint32_t>(fade));
    return (colour & 0x00FFFFFF) | alpha << 24;
}

int32_t CentreTop(CentreRow row, int32_t y, int32_t h) {
    switch (row) {
        case CentreRow::Middle: return y + h / 2 - 6;
        case CentreRow::UpperQuarter: return y + h / 4 - 20;
        case CentreRow::UpperThird: return y + h / 3 - 12;
        case CentreRow::Top: break;
    }
    return y;
}

}  // namespace

Notification::Notification(Core* owner) : owner(owner), render(owner->render) {}

Notification::~Notification() {
    for (Place& place : places) place = Place{};
}

void Notification::Add(uint8_t kind, const std::string& text) {
    const KindStyle& style = StyleOf(kind);
    if (style.echoChannel)
        EchoToChannel(style.echoChannel,
                      MakeColorCode(style.echo[0], style.echo[1], style.echo[2], style.echo[3]) +
                          text);
    if (!style.place) return;

    NotificationLine line;
    line.kind = kind;
    line.text = text.substr(0, MaxTextLength);
    line.phaseStart = owner->frameTimeMs;
    line.state = StateWaiting;
    line.colour = style.colour;
    line.place = style.place;
    line.lifetime = kind == 5 && text == DeathText ? DeathLifetime : style.lifetime;
    line.lines = CutSentences(line.text);

    // Too wide for the field: step the font down (3 to 4 to 1, 4 to 1); the lines stay as cut.
    uint32_t fontId = style.fontId;
    line.font = owner->GetFont(fontId);
    if (owner->fieldWindow) {
        const int32_t limit = owner->fieldWindow->GetRect().w + 10;
        if (fontId == 3 && Widest(line.font, line.lines) > limit) {
            fontId = 4;
            line.font = owner->GetFont(fontId);
        }
        if (fontId == 4 && Widest(line.font, line.lines) > limit) line.font = owner->GetFont(1);
    }

    if (line.place == PlaceInfo)
        line.lifetime = std::max<int32_t>(
            static_cast<int32_t>(line.lines.size() - 1) * InfoBoxLinePeriod, InfoBoxLinePeriod);

    Place& place = places[line.place - 1];
    NotificationLine& current = place.current;
    if (current.state == StateEmpty) {
        current = std::move(line);
        current.state = StateFadingIn;
    } else if (current.text == line.text) {
        // A repeat: fade back in from where the fade-out began, or stay another lifetime.
        if (current.state == StateFadingOut) current.state = StateFadingIn;
        else if (current.state == StateShown) current.phaseStart = owner->frameTimeMs;
    } else {
        current.state = StateFadingOut;
        current.phaseStart = owner->frameTimeMs;
        place.waiting = std::move(line);
    }
}

int32_t Notification::Advance(Place& place) {
    NotificationLine& line = place.current;
    const uint64_t now = owner->frameTimeMs;
    const int64_t elapsed = now > line.phaseStart ? static_cast<int64_t>(now - line.phaseStart) : 0;
    switch (line.state) {
        case StateFadingIn:
            if (elapsed >= fadeTime) {
                line.state = StateShown;
                line.phaseStart = now;
                return 255;
            }
            return static_cast<int32_t>(elapsed * 255 / fadeTime);
        case StateShown:
            if (elapsed <= line.lifetime) return 255;
            line.state = StateFadingOut;
            line.phaseStart = now;
            return 255;
        case StateFadingOut:
            if (elapsed < fadeTime)
                return static_cast<int32_t>((fadeTime - elapsed) * 255 / fadeTime);
            if (place.waiting.state == StateWaiting) {
                line = std::move(place.waiting);
                line.state = StateFadingIn;
                line.phaseStart = now;
                place.waiting = NotificationLine{};
            } else {
                line.state = StateEmpty;
            }
            return -1;
        default: return -1;
    }
}

void Notification::Draw(int32_t x, int32_t y, int32_t w, int32_t h) {
    Place& centre = places[PlaceCentre - 1];
    const int32_t centreFade = Advance(centre);
    if (centreFade >= 0 && centre.current.font)
        DrawCentre(centre.current, Faded(centre.current.colour, centreFade), x, y, w, h);

    const Options& options = owner->options;
    const bool hudHidden = options.hudscreen && (owner->screenshotPending || owner->screenshotBusy);
    Place& status = places[PlaceStatus - 1];
    if (!hudHidden) {
        const int32_t statusFade = Advance(status);
        if (statusFade >= 0 && status.current.font)
            DrawStatus(status.current, Faded(status.current.colour, statusFade), x, y, w, h);
    }

    Place& info = places[PlaceInfo - 1];
    const int32_t infoFade = Advance(info);
    if (infoFade >= 0 && info.current.font) DrawInfoBox(info.current, infoFade, x, y);
}

void Notification::DrawCentre(const NotificationLine& line, uint32_t colour, int32_t x, int32_t y,
                              int32_t w, int32_t h) {
    const int32_t lineHeight = line.font->lineHeight;
    const int32_t count = static_cast<int32_t>(line.lines.size());
    int32_t top = CentreTop(StyleOf(static_cast<uint8_t>(line.kind)).row, y, h);
    if (count > 1) top -= count * lineHeight / 2;
    for (int32_t i = 0; i < count; ++i)
        line.font->DrawTextCentered(x + w / 2, top + i * lineHeight, line.lines[i], colour);
}

void Notification::DrawStatus(const NotificationLine& line, uint32_t colour, int32_t x, int32_t y,
                              int32_t w, int32_t h) {
    const int32_t lineHeight = line.font->lineHeight;
    const int32_t count = static_cast<int32_t>(line.lines.size());
    const int32_t top = y + h - lineHeight - 3 - (count - 1) * lineHeight;
    for (int32_t i = 0; i < count; ++i)
        line.font->DrawTextCentered(x + w / 2, top + i * lineHeight, line.lines[i], colour);
}

int32_t Notification::InfoBoxTop(int32_t y) const {
    const Options& options = owner->options;
    if (!options.widescreen || options.chatbottom) return y + 15;
    // With the console in view the box would move below its message view; the console keeps
    // no message view yet, so it stays.
    const bool consoleInView = !options.push || options.showchat;
    return consoleInView ? y + 15 : y + 15 + 35;
}

void Notification::DrawInfoBox(const NotificationLine& line, int32_t fade, int32_t x, int32_t y) {
    const uint32_t textColour = Faded(line.colour, fade);
    const uint32_t boxColour = Faded(InfoBoxColour, fade);
    const int32_t lineHeight = line.font->lineHeight;
    const int32_t count = static_cast<int32_t>(line.lines.size());
    const int32_t tx = x + 35, ty = InfoBoxTop(y);
    const int32_t width = std::max(Widest(line.font, line.lines), 100);
    const int32_t height = count * lineHeight + 4;

    // The body with a 3 px band on each side and a 2 x 2 square off each corner: cut corners.
    const int32_t bx = tx - 23, by = ty - 3, bw = width + 26;
    render->FillRect(bx, by, bw, height, boxColour);
    render->FillRect(bx, by - 3, bw, 3, boxColour);
    render->FillRect(bx, by + height, bw, 3, boxColour);
    render->FillRect(bx - 3, by, 3, height, boxColour);
    render->FillRect(bx + bw, by, 3, height, boxColour);
    render->FillRect(bx - 2, by - 2, 2, 2, boxColour);
    render->FillRect(bx + bw, by - 2, 2, 2, boxColour);
    render->FillRect(bx - 2, by + height, 2, 2, boxColour);
    render->FillRect(bx + bw, by + height, 2, 2, boxColour);

    for (int32_t i = 0; i < count; ++i)
        line.font->DrawText(tx, ty + i * lineHeight, line.lines[i], textColour);

    // The "i" mark blinks once a second.
    if (Font* markFont = owner->GetFont(InfoMarkFont)) {
        const bool accent = owner->frameTimeMs % 1000 < 500;
        markFont->DrawTextCentered(tx - 12, ty - 11, "i",
                                   accent ? Faded(InfoMarkColour, fade) : textColour);
    }
}

void Notification::EchoToChannel(uint8_t channel, const std::string& text) {
    constexpr uint32_t ConsoleTypeId = 11;
    Window* window = owner->consoleWindow;
    if (!window || window->typeId != ConsoleTypeId) return;
    auto* console = static_cast<Console*>(window);
    if (Channel* target = console->FindChannel(channel)) target->AddSpeakerText("", text);
}
