#include "windows/dialogs/look.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <utility>

#include "core.h"
#include "driver/gfxdriver.h"
#include "font.h"
#include "render.h"
#include "windows/game/channel.h"
#include "windows/game/chatbox.h"
#include "windows/game/console.h"
#include "windows/toolkit/windowtypes.h"

namespace {

constexpr int32_t MinWidth = 120, Padding = 20, WideText = 200, LineStep = 12;
constexpr int32_t TitleOnlyHeight = 29, TextHeight = 41;
constexpr uint32_t Background = 0xA0000000, TitleColour = 0xE0FFFFFF, SeparatorColour = 0x60FFFFFF;
constexpr uint32_t LineColour = 0xC0E0E0E0, LabelColour = 0xC0FFFFFF, ValueColour = 0xC0FFFF00;
constexpr uint32_t GainColour = 0xC080F580, LossColour = 0xC0FF8080, UnmetColour = 0xA0FF8080;
constexpr uint8_t AttackCode = 1, IntervalCode = 4;
constexpr uint32_t InfoChannel = 240;

const char* const AttributeWords[] = {"Volume",   "Attack", "Defense", "Armor",
                                      "Interval", "Weight", "Level",   "Nutrition"};
const char* const ManaTypeCooldown[] = {"Mana", "Type", "Cooldown"};
const char* const BonusWords[] = {"Strength",        "Dexterity",     "Wisdom",      "Melee",
                                  "Distance",        "Nature",        "Destructive", "Protective",
                                  "Support",         "Magic Defense", "Hit Chance",  "Move Speed",
                                  "Physical Defense"};
const char* const RequirementNames[] = {"Str ", "Dex ", "Wis "};

bool IsLoss(const std::string& value) { return value.find('-') != std::string::npos; }

std::string Lower(std::string text) {
    for (char& c : text) c = char(std::tolower(uint8_t(c)));
    return text;
}

// The Info copy's label: the table's in lower case, "2H" kept; the cooldown has none.
std::string InfoAttributeLabel(uint8_t code, bool twoHanded) {
    if (code == Look::CooldownCode) return "";
    std::string label = Lower(Look::AttributeLabel(code, false));
    if (code == AttackCode && twoHanded) label += " 2H";
    return label;
}

// The attack per second: attack × 10 / interval rounded half away from zero, in tenths.
std::string PerSecond(double attack, double interval) {
    std::ostringstream out;
    out << float(std::round(attack * 10 / interval) / 10) << " / s";
    return out.str();
}

Channel* InfoChannelOf(Core* core) {
    auto* console = dynamic_cast<Console*>(core->consoleWindow);
    if (!console) return nullptr;
    Chatbox* chatbox = console->secondChatbox ? console->secondChatbox : console->mainChatbox;
    return chatbox ? chatbox->FindChannel(InfoChannel) : nullptr;
}

}  // namespace

Look::Look(Core* core, std::string title, std::string text, int32_t x, int32_t y, uint8_t hintStyle)
    : Look(core, std::move(title), std::move(text), {}, {}, {}, 0, x, y, hintStyle) {}

Look::Look(Core* core, std::string title, std::string text, std::vector<TextSegment> attributes,
           std::vector<TextSegment> bonuses, std::vector<Requirement> requirements,
           uint8_t twoHanded, int32_t x, int32_t y, uint8_t hintStyle)
    : Window(core),
      title(std::move(title)),
      text(std::move(text)),
      attributes(std::move(attributes)),
      bonuses(std::move(bonuses)),
      requirements(std::move(requirements)),
      twoHanded(twoHanded),
      hintStyle(hintStyle) {
    FormatItem(x, y);
}

std::string Look::AttributeLabel(uint8_t code, bool twoHanded) {
    if (code < std::size(AttributeWords))
        return std::string(AttributeWords[code]) + (code == AttackCode && twoHanded ? " 2H" : "");
    if (code >= ManaCode && code - ManaCode < int(std::size(ManaTypeCooldown)))
        return ManaTypeCooldown[code - ManaCode];
    return "";
}

std::string Look::BonusLabel(uint8_t code) {
    return code >= 1 && code <= std::size(BonusWords) ? BonusWords[code - 1] : "";
}

std::vector<std::string> Look::WrapText(const Font& font, const std::string& text,
                                        std::string& carry, int32_t width) {
    std::vector<std::string> wrapped;
    size_t pos = 0;
    while (pos < text.size()) {
        const std::string rest = carry + text.substr(pos);
        const size_t start = carry.size();
        const Font::LineBreak at =
            font.BreakLine(rest, start, size_t(font.LayoutLines(rest, nullptr, width)), width);
        wrapped.push_back(rest.substr(0, at.end) + (at.hyphen ? "-" : ""));
        if (at.next > at.end && rest[at.end] == '\v') wrapped.emplace_back();
        Font::CarryColours(rest, at.next, &carry);
        pos += at.next - start;
    }
    return wrapped;
}

std::string Look::RequirementList() const {
    std::string list;
    for (const Requirement& requirement : requirements) {
        if (!list.empty()) list += ", ";
        list += RequirementNames[requirement.attribute] + std::to_string(requirement.value);
    }
    return list;
}

void Look::FormatItem(int32_t atX, int32_t atY) {
    ResetLayout();
    font = core->GetFont(1);
    if (title.empty() || title == " ") title = std::exchange(text, "");
    lifetimeMs = DefaultLifetimeMs;
    const auto unmet = [this](const Requirement& requirement) {
        const std::vector<StatEntry>& stats = core->statTable;
        const uint8_t has = requirement.attribute < stats.size()
                                ? stats[requirement.attribute].bytes[0]
                                : uint8_t(0);
        return requirement.attribute <= 2 && requirement.value > has;
    };
    requirements.erase(std::remove_if(requirements.begin(), requirements.end(),
                                      [&](const Requirement& r) { return !unmet(r); }),
                       requirements.end());
    if (core->options.info) CopyToInfo();
    if (RequirementUnmet())
        title += MakeColorCode(255, 128, 128, 224) + "  (" + RequirementList() + ")";

    const auto measure = [this](const std::string& s) { return font ? font->MeasureText(s) : 0; };
    const bool tables = !attributes.empty() || !bonuses.empty();
    const int32_t t = measure(title) + Padding;
    const int32_t w0 = t > MinWidth || (text.empty() && !tables) ? t : MinWidth;
    int32_t w = w0, h = TitleOnlyHeight;
    lines.clear();
    if (!text.empty()) {
        const int32_t d = measure(text) + Padding;
        int32_t v;
        if ((!tables && !RequirementUnmet()) || hintStyle)
            v = d >= WideText ? WideText : (d > w0 || d > t) ? d : w0;
        else v = d >= WideText ? w0 + d / 10 : w0;
        w = std::max(v, t);
        if (font) {
            std::string carry;
            lines = WrapText(*font, text, carry, w - Padding);
        }
        if (w >= WideText)
            for (const std::string& line : lines) w = std::max(w, measure(line) + Padding);
        h = TextHeight + LineStep * int32_t(lines.size());
    }
    for (const auto* table : {&attributes, &bonuses})
        if (!table->empty()) h += LineStep + LineStep * int32_t(table->size());

    x = atX + w > int32_t(core->clientWidth) - 5 ? atX - w : atX;
    y = atY + h > int32_t(core->clientHeight) - 5 ? atY - h : atY;
    width = w;
    height = h;
    CreateSurface();
    name = title;
    typeId = WindowType::Look;
    openedAt = core->frameTimeMs;
}

void Look::CopyToInfo() {
    Channel* channel = InfoChannelOf(core);
    if (!channel || !font) return;
    const bool unmet = RequirementUnmet();
    const std::string r = MakeColorCode(255, 128, 128, 160);
    const std::string plain = unmet ? r : MakeColorCode(255, 255, 255, 192);
    const std::string yellow = unmet ? r : MakeColorCode(255, 255, 0, 192);
    const std::string gain = unmet ? r : MakeColorCode(128, 245, 128, 192);
    const std::string loss = unmet ? r : MakeColorCode(255, 128, 128, 192);
    const bool tables = !attributes.empty() || !bonuses.empty();

    std::string first = MakeColorCode(255, 255, 255, 224) + title;
    if (unmet) first += MakeColorCode(255, 128, 128, 224) + " (" + RequirementList() + ")";
    else if (tables || !text.empty()) first += ":";

    if (core->options.itemaps && !attributes.empty()) {
        const TextSegment* attack = nullptr;
        const TextSegment* interval = nullptr;
        for (const TextSegment& row : attributes) {
            if (row.code == AttackCode) attack = &row;
            if (row.code == IntervalCode) interval = &row;
        }
        auto firstAttack =
            std::find_if(attributes.begin(), attributes.end(),
                         [](const TextSegment& row) { return row.code == AttackCode; });
        if (interval && firstAttack != attributes.end())
            firstAttack->value = PerSecond(std::strtod(attack->value.c_str(), nullptr),
                                           std::strtod(interval->value.c_str(), nullptr));
    }
    const auto writeTable = [&](const std::vector<TextSegment>& rows, bool bonus) {
        first += " ";
        for (size_t i = 0; i < rows.size(); ++i) {
            const TextSegment& row = rows[i];
            if (i) first += plain + ", ";
            const std::string label =
                bonus ? Lower(BonusLabel(row.code)) : InfoAttributeLabel(row.code, twoHanded);
            first += plain + label + " " + (bonus ? (IsLoss(row.value) ? loss : gain) : yellow) +
                     row.value;
        }
    };
    if (!attributes.empty()) writeTable(attributes, false);
    if (!bonuses.empty()) {
        if (!attributes.empty()) first += plain + ";";
        writeTable(bonuses, true);
    }
    if (text.empty()) {
        if (tables) first += plain + ".";
        channel->AddSpeakerText("", first);
        return;
    }
    std::string carry = unmet ? r : MakeColorCode(224, 224, 224, 160);
    const std::vector<std::string> textLines =
        WrapText(*font, text, carry, int32_t(core->clientWidth));
    if (textLines.size() == 1) {
        first += tables ? carry + " (" + textLines[0] + ")" : " " + textLines[0];
        channel->AddSpeakerText("", first);
        return;
    }
    channel->AddSpeakerText("", first);
    for (const std::string& line : textLines) channel->AddSpeakerText("", line);
}

// --- Painting and life ---------------------------------------------------------------------------

void Look::FormatProperties() {
    const bool unmet = RequirementUnmet();
    font->DrawTextCentered(width / 2, 9, title, TitleColour);
    int32_t rowY = 21;
    if (!text.empty()) {
        render->FillRect(10, 26, width - 20, 1, SeparatorColour);
        rowY = 33;
        for (const std::string& line : lines) {
            font->DrawText(10, rowY, line, unmet ? UnmetColour : LineColour);
            rowY += LineStep;
        }
    }
    const auto table = [&](const std::vector<TextSegment>& rows, bool bonus) {
        if (rows.empty()) return;
        rowY += 5;
        render->FillRect(10, rowY, width - 20, 1, SeparatorColour);
        rowY += 7;
        for (const TextSegment& row : rows) {
            const uint32_t value =
                bonus ? (IsLoss(row.value) ? LossColour : GainColour) : ValueColour;
            font->DrawText(10, rowY,
                           bonus ? BonusLabel(row.code) : AttributeLabel(row.code, twoHanded),
                           unmet ? UnmetColour : LabelColour);
            font->DrawTextRight(width - 10, rowY, row.value, unmet ? UnmetColour : value);
            rowY += LineStep;
        }
    };
    table(attributes, false);
    table(bonuses, true);
}

void Look::Paint() {
    PaintCached([this] {
        const int32_t w = width, h = height;
        for (const WindowRect& part :
             {WindowRect{3, 0, w - 6, 3}, WindowRect{0, 3, 3, h - 6},
              WindowRect{3, h - 3, w - 6, 3}, WindowRect{w - 3, 3, 3, h - 6},
              WindowRect{1, 1, 2, 2}, WindowRect{w - 3, 1, 2, 2}, WindowRect{1, h - 3, 2, 2},
              WindowRect{w - 3, h - 3, 2, 2}, WindowRect{3, 3, w - 6, h - 6}})
            render->FillRect(part.x, part.y, part.w, part.h, Background);
        if (font) FormatProperties();
    });
}

void Look::Draw() {
    const uint64_t now = core->frameTimeMs;
    const uint64_t fadeStart = openedAt + uint64_t(lifetimeMs - FadeMs);
    if ((state == 2 || core->activeWindow != this) && now < fadeStart)
        openedAt = now - uint64_t(lifetimeMs - FadeMs);
    const uint64_t end = openedAt + uint64_t(lifetimeMs);
    if (now >= end) {
        state = 3;
        return;
    }
    const uint64_t alpha = std::min<uint64_t>({255, now - openedAt, end - now});
    if (surface)
        GfxDriver::DrawTargetTinted(float(x), float(y), uint32_t(alpha) << 24 | 0xFFFFFF, surface);
}

void Look::Dismiss() { state = 2; }
void Look::OnMouseUp(int32_t, int32_t) { Dismiss(); }
void Look::OnRightClick(int32_t, int32_t) { Dismiss(); }
void Look::Place(int32_t, int32_t) { Dismiss(); }
void Look::OnSubmit() { core->RemoveWindow(this); }
