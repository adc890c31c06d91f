#include "paragraph.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>

#include "chatmarkup.h"
#include "core.h"
#include "creature.h"
#include "font.h"
#include "layer.h"
#include "render.h"
#include "world.h"

namespace {

constexpr uint32_t SpeechFontId = 1;
constexpr int32_t LineWidth = 250;
constexpr int32_t LineHeight = 12;
constexpr uint32_t MsPerChar = 26;
constexpr uint32_t OwnMsPerChar = 13;  // the own character's speech types twice as fast
// A text lives 80 ms a byte, within these bounds; each line at least the shortest time.
constexpr uint64_t MsPerByte = 80;
constexpr uint64_t ShortestLife = 2500;
constexpr uint64_t LongestLife = 10000;
constexpr uint64_t ShortestInterval = 500;  // between the starts of two lines
constexpr uint64_t QueuedPause = 500;       // before text queued to a full bubble
constexpr size_t MostShown = 8;
constexpr int32_t FadeMs = 255;
constexpr uint8_t NamelessKind = 4;

// The colours of plain texts by kind, and of an NPC's speech, as 0xAARRGGBB.
constexpr uint32_t KindColours[] = {0xC0FF80FF, 0xC08080FF, 0xC0FF8080,
                                    0xC080F580, 0xFFE6BE1E, 0xC0FFFF80};
constexpr uint32_t NpcColour = 0xE0C0A05A;
constexpr uint32_t TextColour = 0xE0E0E0E0;
constexpr uint32_t FirstPlainColour = 0xFFBE961E;
constexpr uint32_t PlainColour = 0xFFE6BE1E;

// The bubble: body and frame at full strength, and the pointer's height.
constexpr float BodyAlpha = 160, FrameAlpha = 44;
constexpr int32_t BubbleMargin = 10;
constexpr int32_t PointerInset = 5;
constexpr int32_t FullTail = 10;
constexpr float TailStep = 3.2f;  // pixels of a step per pixel of pointer
constexpr int32_t NarrowingKept = 10;

// A separation settles: a calm bubble keeps its place this long after it last moved.
constexpr uint64_t PushCalmMs = 8000;
constexpr int32_t SmallPushChange = 20;

// Tile size and anchor offsets of the two field layouts.
constexpr float FieldColumns = 19, ElasticColumns = 18;
constexpr int32_t UnfilteredBorder = 4;
constexpr float WidescreenOwnLift = 13;

int32_t Trunc(float value) { return int32_t(value); }

// Kinds above 5 show in the colour of kind 4.
uint32_t KindColour(uint8_t kind) {
    return kind < std::size(KindColours) ? KindColours[kind] : KindColours[NamelessKind];
}

// Progress 0 to 1 of an animation that started at `start` and runs FadeMs.
float Progress(uint64_t now, uint64_t start) {
    return std::clamp(float(int64_t(now - start)) / FadeMs, 0.0f, 1.0f);
}

}  // namespace

Paragraph::Paragraph(Core* owner, Creature* speaker, uint8_t kind, int32_t style)
    : owner(owner), render(owner->render), kind(kind), style(style) {
    if (!speaker) return;
    position = speaker->position;
    speakerId = speaker->id;
    speakerName = speaker->name;
    speakerNpc = speaker->isNpc();
}

Paragraph::Paragraph(Core* owner, Creature* speaker, uint8_t kind, const std::string& text)
    : Paragraph(owner, speaker, kind, StylePlain) {
    Start(text);
}

Paragraph::Paragraph(Core* owner, Creature* speaker, const std::string& text)
    : Paragraph(owner, speaker, 0, StyleBubble) {
    Start(text);
}

void Paragraph::Start(const std::string& text) {
    anchorX = anchorY = boxX = boxY = boxW = boxH = visible = 0;
    pushX = pushY = tail = settledPushX = settledPushY = 0;
    hitX = hitY = hitW = hitH = 0;
    overlapping = finished = hiddenByFloor = sizing = measured = pushing = settled = 0;
    alpha = 0;
    fromW = fromH = fromVisible = 0;
    created = sizeStart = owner->frameTimeMs;
    pushStart = created - PushCalmMs;  // no separation has moved it yet
    font = owner->GetFont(SpeechFontId);
    msPerChar = owner->IsOwnName(speakerName) ? OwnMsPerChar : MsPerChar;
    if (Creature::IsUnnamedName(speakerName)) {
        style = StylePlain;
        kind = NamelessKind;
    }
    AddText(text);
}

uint64_t Paragraph::LineInterval(const std::string& line) const {
    return std::max(ShortestInterval, uint64_t(msPerChar) * uint64_t(font->CountVisible(line)));
}

void Paragraph::AddText(const std::string& said) {
    if (!font) return;
    std::string text = said;
    ReplaceColourCodes(text);
    if (owner->options.smiley) ReplaceEmoticons(text);
    const uint64_t life = std::clamp(MsPerByte * text.size(), ShortestLife, LongestLife);

    std::string carry;
    if (style == StylePlain) carry = MakeColorCode(KindColour(kind));
    if (speakerNpc) carry = MakeColorCode(NpcColour);

    const uint64_t now = owner->frameTimeMs;
    uint64_t start = now;
    if (!lines.empty() && lineStarts.back() > now)
        start = lineStarts.back() + LineInterval(lines.back());
    if (lines.size() >= MostShown) start += QueuedPause;

    for (uint64_t offset = 0; !text.empty();) {
        std::string line = carry + text;
        int32_t cut = font->LayoutLines(line, nullptr, LineWidth);
        AdjustBreak(line, carry, cut);
        const uint64_t lineStart = start + offset;
        // A line queued far behind still shows for the shortest time.
        uint64_t end = std::max(start + life, lineStart + ShortestLife);
        if (!lineEnds.empty()) end = std::max(end, lineEnds.back());
        lines.push_back(line.substr(0, size_t(cut)));
        lineStarts.push_back(lineStart);
        lineEnds.push_back(end);
        text = line.substr(size_t(cut));
        offset += LineInterval(lines.back());
    }
    // A bubble shows no more than eight lines: a line ends when the eighth after it starts.
    if (style == StyleBubble)
        for (size_t i = 0; i + MostShown < lines.size(); ++i)
            lineEnds[i] = lineStarts[i + MostShown];
}

void Paragraph::AdjustBreak(std::string& text, std::string& carry, int32_t& cut) const {
    const Font::LineBreak at = font->BreakLine(text, carry.size(), size_t(cut), LineWidth);
    if (at.hyphen) {
        text.insert(at.end, "-");
        cut = int32_t(at.end + 1);
    } else {
        cut = int32_t(at.next);
    }
    Font::CarryColours(text, size_t(cut), &carry);
}

void Paragraph::Update(Position viewer, int32_t x, int32_t y, int32_t w, int32_t) {
    const uint64_t now = owner->frameTimeMs;
    // Leaving the floor ends the text: it fades out and never comes back.
    if (position.z != viewer.z && !hiddenByFloor) {
        for (uint64_t& end : lineEnds) end = now + FadeMs;
        hiddenByFloor = 1;
    }

    const Options& options = owner->options;
    const float across = float(w + 2 + (options.pixel ? 0 : UnfilteredBorder));
    float s, ox, oy;
    if (options.elastic) {
        s = across / ElasticColumns;
        ox = oy = -s / 2;
    } else {
        s = across / FieldColumns;
        ox = s / 80;
        oy = -s / 32;
        if (options.widescreen && owner->IsOwnName(speakerName)) oy -= WidescreenOwnLift;
    }
    anchorX = Trunc(float(int32_t(position.x) - int32_t(viewer.x) + CentreColumn) * s + float(x) +
                    ox + s / 4 + 1);
    anchorY = Trunc(float(int32_t(position.y) - int32_t(viewer.y) + CentreRow) * s + float(y) + oy -
                    s / 4 + LineHeight);
    if (style == StylePlain) return;

    overlapping = 0;
    pushX = pushY = 0;
    anchorX = Trunc(float(anchorX) - s / 2);
    anchorY = Trunc(float(anchorY) - s / 2);

    visible = int32_t(std::count_if(lineStarts.begin(), lineStarts.end(),
                                    [&](uint64_t start) { return start <= now; }));
    int32_t bw = 0;
    for (int32_t i = 0; i < visible; ++i) bw = std::max(bw, font->MeasureText(lines[size_t(i)]));
    int32_t bh = LineHeight * visible;

    alpha = now - created < uint64_t(FadeMs) ? float(now - created) / FadeMs : 1.0f;
    int64_t left = 0;
    for (int32_t i = 0; i < visible; ++i) left = std::max(left, int64_t(lineEnds[size_t(i)] - now));
    if (left < FadeMs) alpha = float(left) / FadeMs;

    UpdateSize(bw, bh);
    boxX = anchorX - bw / 2;
    boxY = anchorY - bh;
    boxW = bw + 1;
    boxH = bh - 2;
    UpdateTail();
}

float Paragraph::SizeProgress() const { return Progress(owner->frameTimeMs, sizeStart); }

void Paragraph::UpdateSize(int32_t& bw, int32_t& bh) {
    const uint64_t now = owner->frameTimeMs;
    if (!measured) {
        fromW = bw;
        fromH = bh;
        fromVisible = visible;
        measured = 1;
    } else if (!sizing && (bw != fromW || bh != fromH)) {
        // A bubble that narrows a little keeps its width.
        const bool barelyNarrower = bw < fromW && fromW - bw < NarrowingKept;
        if (barelyNarrower) bw = fromW;
        if (!barelyNarrower || bh != fromH) {
            sizing = 1;
            sizeStart = now;
        }
    }
    hitX = anchorX - bw / 2 - 15;
    hitY = anchorY - bh - 15;
    hitW = bw + 31;
    hitH = bh + 28;
    if (!sizing) return;
    const float t = SizeProgress();
    bw = fromW + Trunc(float(bw - fromW) * t);
    bh = fromH + Trunc(float(bh - fromH) * t);
    if (now - sizeStart > uint64_t(FadeMs)) {
        fromW = bw;
        fromH = bh;
        fromVisible = visible;
        sizing = 0;
    }
}

// The pointer reaches down to the speaker while it stands on the tile of the text, and grows
// or shrinks as it walks onto or off that tile.
void Paragraph::UpdateTail() {
    tail = 0;
    const Creature* speaker = owner->world ? owner->world->GetCreature(speakerId) : nullptr;
    if (!speaker) return;
    const auto onTile = [&](const Position& at) {
        return at.x == position.x && at.y == position.y;
    };
    if (!speaker->walking) {
        if (onTile(speaker->position)) tail = FullTail;
        return;
    }
    const float walked = std::max(std::abs(speaker->offsetX), std::abs(speaker->offsetY));
    if (onTile(speaker->targetPosition)) {
        tail = Trunc(walked / TailStep);
    } else if (onTile(speaker->position)) {
        tail = Trunc((float(TilePixels) - walked) / TailStep);
    }
}

void Paragraph::Settle() {
    if (style != StyleBubble) return;
    const uint64_t now = owner->frameTimeMs;
    if (!settled) {
        settledPushX = pushX;
        settledPushY = pushY;
        settled = 1;
    }
    if (!pushing && (pushX != settledPushX || pushY != settledPushY)) {
        const int32_t d1 = std::abs(pushX) - std::abs(settledPushX);
        const int32_t d2 = std::abs(pushY) - std::abs(settledPushY);
        // A calm bubble, or one that would move back only a little, stays where it is.
        const bool calm = !overlapping && (now - pushStart < PushCalmMs || tail < FullTail);
        const bool smallRetreat =
            (d1 < 0 || d2 < 0) && std::abs(d1) + std::abs(d2) < SmallPushChange;
        if (calm || smallRetreat) {
            pushX = settledPushX;
            pushY = settledPushY;
        } else {
            pushing = 1;
            pushStart = now;
        }
    }
    if (pushing) {
        const float t = Progress(now, pushStart);
        pushX = settledPushX + Trunc(float(pushX - settledPushX) * t);
        pushY = settledPushY + Trunc(float(pushY - settledPushY) * t);
        if (now - pushStart > uint64_t(FadeMs)) {
            settledPushX = pushX;
            settledPushY = pushY;
            pushing = 0;
        }
    }
    boxX += pushX;
    boxY += pushY;
}

void Paragraph::Draw() {
    if (finished) return;
    if (style == StyleBubble) {
        DrawBubble();
    } else {
        DrawPlain();
    }
    RemoveEnded();
}

void Paragraph::DrawBubble() {
    const uint64_t now = owner->frameTimeMs;
    int32_t pointer = std::min(boxW / 2 - pushX, boxW - BubbleMargin);
    if (pointer < PointerInset) pointer = PointerInset;
    const uint32_t fill = uint32_t(Trunc(alpha * BodyAlpha)) << 24;
    const uint32_t edge = uint32_t(Trunc(alpha * FrameAlpha)) << 24 | 0xFFFFFF;
    render->DrawBalloon(boxX - BubbleMargin, boxY - BubbleMargin, boxW + 2 * BubbleMargin,
                        boxH + 2 * BubbleMargin, pointer, tail, fill, edge);

    int32_t top = boxY;
    if (sizing) {
        // A full bubble whose first line gives way to the ninth scrolls up by a line.
        if (visible == int32_t(MostShown) && lines.size() > MostShown &&
            lineEnds[0] == lineStarts[MostShown])
            top = boxY + boxH - 82 - Trunc(float(LineHeight) * SizeProgress());
        // A shrinking bubble shows its last lines.
        if (boxH + 2 <= fromH && visible < fromVisible)
            top = boxY + boxH + 2 - LineHeight * visible;
    }
    for (int32_t i = std::min(visible, int32_t(lines.size())) - 1; i >= 0; --i) {
        const int32_t shown = int32_t(uint32_t(now - lineStarts[size_t(i)]));
        const int32_t left = int32_t(uint32_t(lineEnds[size_t(i)] - now));
        if (shown < 0) continue;
        const int32_t y = top + LineHeight * i;
        const std::string& line = lines[size_t(i)];
        if (shown >= FadeMs && left >= FadeMs) {
            font->DrawTextSmileysEx(boxX, y, line, TextColour, shown, int32_t(msPerChar));
            continue;
        }
        const float fade = float(shown < FadeMs ? shown : left) / FadeMs;
        if (fade > 0)
            font->DrawTextSmileysFade(boxX, y, line, TextColour, fade, shown, int32_t(msPerChar));
    }
}

void Paragraph::DrawPlain() {
    const int32_t count = int32_t(lines.size());
    for (int32_t i = 0; i < count; ++i)
        font->DrawTextClipped(anchorX, anchorY + LineHeight * (i - count), lines[size_t(i)],
                              i == 0 ? FirstPlainColour : PlainColour);
}

void Paragraph::RemoveEnded() {
    const uint64_t now = owner->frameTimeMs;
    for (size_t i = lines.size(); i-- > 0;) {
        if (lineEnds[i] >= now) continue;
        lines.erase(lines.begin() + ptrdiff_t(i));
        lineStarts.erase(lineStarts.begin() + ptrdiff_t(i));
        lineEnds.erase(lineEnds.begin() + ptrdiff_t(i));
    }
    if (lines.empty()) finished = 1;
}
