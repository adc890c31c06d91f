#include "paragraphs.h"

#include "core.h"
#include "creature.h"
#include "paragraph.h"

namespace {

// Bubbles that together have more lines than this lean towards moving sideways.
constexpr size_t ManyLines = 6;

// The pair's rectangle centres compare as doubled values, exact in integers.
int32_t CentreX(const Paragraph* p) { return 2 * p->hitX + p->hitW; }
int32_t CentreY(const Paragraph* p) { return 2 * p->hitY + p->hitH; }

// `part` of `whole` of the distance, truncated; nothing when there is no whole.
int32_t Share(int32_t part, int32_t whole, int32_t distance) {
    return whole == 0 ? 0 : int32_t(float(part) / float(whole) * float(distance));
}

}  // namespace

std::vector<Paragraph*> Paragraphs::Texts() const {
    std::vector<Paragraph*> texts;
    for (FieldEffect* effect : effects) texts.push_back(static_cast<Paragraph*>(effect));
    return texts;
}

void Paragraphs::Add(const std::string& text, Creature* speaker) {
    for (Paragraph* paragraph : Texts()) {
        if (paragraph->position != speaker->position || paragraph->speakerId != speaker->id)
            continue;
        paragraph->speakerNpc = speaker->isNpc();
        paragraph->AddText(text);
        return;
    }
    Push(new Paragraph(owner, speaker, text));
}

void Paragraphs::Push(Paragraph* paragraph) { effects.push_back(paragraph); }

void Paragraphs::Separate(Paragraph* a, Paragraph* b) {
    const bool touching = a->hitX <= b->hitX + b->hitW && b->hitX <= a->hitX + a->hitW &&
                          a->hitY <= b->hitY + b->hitH && b->hitY <= a->hitY + a->hitH;
    if (!touching) return;
    a->overlapping = b->overlapping = 1;
    Paragraph* left = CentreX(b) < CentreX(a) ? b : a;
    Paragraph* right = left == a ? b : a;
    Paragraph* upper = CentreY(b) < CentreY(a) ? b : a;
    Paragraph* lower = upper == a ? b : a;
    const int32_t dx = left->hitX + left->hitW - right->hitX + 2;
    const int32_t dy = upper->hitY + upper->hitH - lower->hitY + 2;
    const int32_t leaning = a->lines.size() + b->lines.size() > ManyLines ? 4 : 3;
    if ((dx > 0 && dx < leaning * dy) || dy == 0) {
        // Sideways, each by its own share of the widths.
        const int32_t widths = left->boxW + right->boxW;
        left->pushX = -Share(left->boxW, widths, dx);
        right->pushX = Share(right->boxW, widths, dx);
    } else {
        // Up and down, each by the other's share of the heights.
        const int32_t upperHalf = upper->boxH / 2, lowerHalf = lower->boxH / 2;
        const int32_t heights = upperHalf + lowerHalf;
        upper->pushY = -Share(lowerHalf, heights, dy);
        lower->pushY = Share(upperHalf, heights, dy);
    }
}

void Paragraphs::Draw(int32_t x, int32_t y, int32_t w, int32_t h) {
    const Creature* player = owner->player;
    if (!player) return;
    const std::vector<Paragraph*> texts = Texts();
    for (Paragraph* text : texts) text->Update(player->targetPosition, x, y, w, h);
    for (Paragraph* a : texts)
        for (Paragraph* b : texts)
            if (a != b && a->style == Paragraph::StyleBubble && b->style == Paragraph::StyleBubble)
                Separate(a, b);
    for (Paragraph* text : texts) text->Settle();
    for (Paragraph* text : texts) {
        text->Draw();
        if (text->finished) Remove(text);
    }
}
