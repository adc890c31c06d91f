#include "spell.h"

#include <algorithm>
#include <sstream>

#include "core.h"
#include "driver/gfxcore.h"
#include "font.h"
#include "protocol.h"
#include "render.h"

namespace {

constexpr uint32_t DescriptionFontId = 2;
constexpr int32_t DescriptionWidth = 250;
constexpr size_t MaxTagReplacements = 255;  // of each opening and each closing tag

constexpr int32_t SlotSize = 32;
constexpr uint32_t DisabledTint = 0x64FF8080;
constexpr uint32_t ReadyTint = 0xE0FFA0A0;
constexpr uint32_t BoundaryTint = 0x80FFFFFF;
constexpr uint32_t CoolingBackground = 0xFF000000;
constexpr uint32_t CountdownShadow = 0x80000000;
constexpr uint32_t CountdownColour = 0xE0FFFFFF;
constexpr int32_t PushCountdownDrop = 21;  // below the key label the push layout shows

struct SpellTag {
    const char* name;
    uint32_t colour;
};

// Applied in this order.
constexpr SpellTag SpellTags[] = {
    {"DurationSeconds", 0xFFFFFFFF},
    {"DurationMillis", 0xFFFFFFFF},
    {"Duration", 0xFFFFFFFF},
    {"PhysicalDamage", 0xC0FF8080},
    {"MagicalDamage", 0xC08080FF},
    {"RestoreHealth", 0xC0FF8080},
    {"RestoreMana", 0xC08080FF},
    {"MoveSpeed", 0xC0FFFF80},
    {"Distance", 0xFFFFFFFF},
    {"AutoAttackSpeed", 0xFFFFFFFF},
    {"PhysicalAttackBonus", 0xC0FFC080},
    {"MagicalAttackBonus", 0xFFFFFFFF},
    {"GlobalDefenseBonus", 0xFFFFFFFF},
    {"PhysicalDefenseBonus", 0xFFFFFFFF},
    {"MagicalDefenseBonus", 0xFFFFFFFF},
    {"PercentageHealth", 0xC080F580},
    {"PercentageDamage", 0xC0FFC080},
    {"PercentageChance", 0xFFFFFFFF},
};

// Replaces the first 255 occurrences of `tag`, scanning on after each inserted escape.
void ReplaceTag(std::string& text, const std::string& tag, const std::string& escape) {
    size_t from = 0;
    for (size_t n = 0; n < MaxTagReplacements; ++n) {
        const size_t at = text.find(tag, from);
        if (at == std::string::npos) return;
        text.replace(at, tag.size(), escape);
        from = at + escape.size();
    }
}

// Rows of the icon shown as ready: they grow from the bottom as the cooldown runs out.
int32_t ReadyHeight(int64_t remainingMs, uint32_t totalMs) {
    if (totalMs == 0) return 0;
    return int32_t(std::clamp<int64_t>(SlotSize - remainingMs * SlotSize / totalMs, 0, SlotSize));
}

}  // namespace

std::string ReplaceSpellTags(const std::string& text) {
    std::string marked = text;
    for (const SpellTag& tag : SpellTags) {
        ReplaceTag(marked, std::string("<") + tag.name + ">", MakeColorCode(tag.colour));
        ReplaceTag(marked, std::string("</") + tag.name + ">", MakeColorCode(uint32_t(0)));
    }
    return marked;
}

uint8_t ArmedPulseAlpha(uint64_t elapsedMs) {
    const uint32_t phase = uint32_t(elapsedMs % 1024);
    const float s = float(phase < 512 ? phase : 1024 - phase) / 256.0f;  // 0 to 2
    const float e = s < 1 ? 64 * s * s * s : 64 * ((s - 2) * (s - 2) * (s - 2) + 2);
    return uint8_t(127 + int32_t(e));
}

std::string CountdownText(int64_t remainingMs) {
    const int64_t tenths = remainingMs / 100;
    if (tenths <= 0) return "";
    std::ostringstream text;
    text << double(tenths) / 10;
    if (tenths % 10 == 0) text << ".0";
    return text.str();
}

Spell::Spell(Core* core, uint16_t id, uint32_t iconShape, std::string name, std::string description,
             std::string manaText, std::string typeText)
    : core(core),
      font(nullptr),
      id(id),
      iconShape(iconShape),
      name(std::move(name)),
      description(std::move(description)),
      manaText(std::move(manaText)),
      typeText(std::move(typeText)) {
    Init();
}

Spell::~Spell() = default;

// Cuts the cooldown part off the description and lays the rest out as it is.
void Spell::Init() {
    font = core->GetFont(DescriptionFontId);
    const size_t cut = description.find("[Cooldown");
    // A description that starts with the cooldown part stays whole.
    if (cut != std::string::npos && cut > 0) {
        cooldownText = description.substr(cut + 1);
        description.resize(cut);
        cooldownText = cooldownText.substr(0, cooldownText.find(']'));
        const size_t blank = cooldownText.find(' ');
        if (blank != std::string::npos) cooldownText.erase(0, blank + 1);
    }
    LayOut(description);
}

void Spell::LayOut(const std::string& text) {
    if (font) {
        descriptionLines = font->LayoutParagraph2(text, DescriptionWidth);
    } else {
        // Without the font nothing can measure it: kept as one line.
        descriptionLines.clear();
        if (!text.empty()) descriptionLines.push_back(text);
    }
}

void Spell::BuildDescription(const std::string& text) { LayOut(ReplaceSpellTags(text)); }

void Spell::SetState(uint32_t state) {
    const uint64_t now = core->frameTimeMs;
    switch (state) {
        case 0:
            cooldownStart = now - cooldownTotal;
            sent = armed = false;
            break;
        case 1:
            sent = armed = false;
            cooldownStart = now;
            break;
        case 2:
            sent = false;
            if (!armed) cooldownStart = now;
            break;
        default: break;
    }
}

void Spell::Reset() {
    sent = false;
    flags = 0;
    cooldownTotal = 0;
    targetsSelf = flag1 = flag2 = flag3 = stays = armed = false;
    usable = false;
    cooldownStart = 0;
}

// The difference is taken in 32 bits, as the server's values are.
void Spell::SetCooldownLeft(uint32_t leftMs) {
    cooldownStart = core->frameTimeMs - uint32_t(cooldownTotal - leftMs);
}

void Spell::SetFlags(uint8_t f) {
    flags = f;
    targetsSelf = f & 0x01;
    flag1 = f & 0x02;
    flag2 = f & 0x04;
    flag3 = f & 0x08;
    stays = f & 0x20;
    armed = f & 0x40;
    usable = !(f & 0x80);
}

bool Spell::IsCoolingDown() const { return core->frameTimeMs < cooldownStart + cooldownTotal; }

bool Spell::UseArmed(uint8_t slot) {
    if (!armed) {
        if (stays) armed = true;
        else sent = true;
        return false;
    }
    if (Protocol* connection = core->activeConnection) connection->SendCastArmed(slot);
    sent = true;
    armed = false;
    return true;
}

void Spell::Cast(uint8_t slot) {
    if (!UseArmed(slot))
        if (Protocol* connection = core->activeConnection) connection->SendCastSelf(slot);
    core->targetingSpell = nullptr;
}

void Spell::CastOnCreature(uint8_t slot, uint32_t creatureId) {
    if (!UseArmed(slot))
        if (Protocol* connection = core->activeConnection)
            connection->SendCastCreature(slot, creatureId);
    core->targetingSpell = nullptr;
}

void Spell::CastAtPosition(uint8_t slot, int32_t x, int32_t y, int32_t z) {
    if (!UseArmed(slot))
        if (Protocol* connection = core->activeConnection) connection->SendCastTile(slot, x, y, z);
    core->targetingSpell = nullptr;
}

bool Spell::ToggleArmed(uint8_t slot) { return UseArmed(slot); }

std::unique_ptr<Item> Spell::MakeIcon(uint32_t kind) {
    if (!core->GetShape(iconShape)) return nullptr;
    return std::make_unique<Item>(core, iconShape, 0, 0, 0, 0, 1, kind);
}

void Spell::DrawIcon(int32_t x, int32_t y) {
    if (!bookIcon) bookIcon = MakeIcon(ItemIdle);
    if (bookIcon) bookIcon->DrawIcon(x, y, font);
}

void Spell::DrawImages(int32_t x, int32_t y, uint32_t tint) {
    for (const auto& part : slotIcon->parts)
        if (GfxImage* image = part->ImageAt(part->Elapsed()))
            core->render->DrawImageTinted(x, y, tint, image);
}

void Spell::DrawSlot(int32_t x, int32_t y) {
    if (!slotIcon) slotIcon = MakeIcon(ItemIcon);
    if (!slotIcon) return;
    if (!usable) {
        DrawImages(x, y, DisabledTint);
    } else if (armed) {
        DrawImages(x, y,
                   uint32_t(ArmedPulseAlpha(core->frameTimeMs - cooldownStart)) << 24 | 0xFFFFFF);
    } else if (!IsCoolingDown() && !sent) {
        for (const auto& part : slotIcon->parts)
            if (GfxImage* image = part->ImageAt(part->Elapsed()))
                core->render->DrawImagePtr(x, y, image);
    } else {
        DrawCooldown(x, y);
    }
}

// Cooling down or waiting for the server: the icon on black, dimmed above the ready rows, with
// the time left on it when the countdown option is on.
void Spell::DrawCooldown(int32_t x, int32_t y) {
    Render& render = *core->render;
    render.FillRect(x, y, SlotSize, SlotSize, CoolingBackground);
    // Signed, so that a cast still outstanding after its cooldown shows no time left.
    const int64_t remaining = int64_t(cooldownTotal) - int64_t(core->frameTimeMs - cooldownStart);
    const int32_t ready = sent ? 0 : ReadyHeight(remaining, cooldownTotal);
    const int32_t waiting = SlotSize - ready;
    for (const auto& part : slotIcon->parts) {
        GfxImage* image = part->ImageAt(part->Elapsed());
        if (!image) continue;
        const int32_t width = GFX_ImageWidth(image);
        if (waiting > 0)
            render.DrawImagePartTinted(x, y, 0, 0, width, waiting, DisabledTint, image);
        if (ready > 0) {
            render.DrawImagePartTinted(x, y + waiting, 0, waiting, width, ready, ReadyTint, image);
            render.DrawImagePartTinted(x, y + waiting, 0, waiting, SlotSize, 1, BoundaryTint,
                                       image);
        }
    }
    const std::string countdown = CountdownText(remaining);
    if (!core->options.atimer || countdown.empty() || !font) return;
    const int32_t drop = core->options.push ? PushCountdownDrop : 0;
    font->DrawText(x + 3, y + 2 + drop, countdown, CountdownShadow);
    font->DrawText(x + 2, y + 1 + drop, countdown, CountdownColour);
}
