#pragma once
// One of the player's abilities: defined once at start-up by a record of data/Veltor.spells, then
// driven by the server (usable or not, cooldown, cast outstanding, armed) and drawn in 32 x 32
// ability-bar slots and in the abilities book.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "item.h"

class Core;
class Font;

// The description markup: each known opening tag ("<MoveSpeed>") becomes a colour escape of
// its colour and each closing tag ("</MoveSpeed>") the escape that returns to the colour before.
std::string ReplaceSpellTags(const std::string& text);
// The alpha of an armed spell's icon, pulsing between 127 and 255 every 1024 ms.
uint8_t ArmedPulseAlpha(uint64_t elapsedMs);
// The countdown shown on a cooling slot: whole tenths of a second, "12.0" or "3.5"; empty below a
// tenth.
std::string CountdownText(int64_t remainingMs);

class Spell {
public:
    Spell(Core* core, uint16_t id, uint32_t iconShape, std::string name, std::string description,
          std::string manaText, std::string typeText);
    virtual ~Spell();
    Spell(const Spell&) = delete;
    Spell& operator=(const Spell&) = delete;

    // Server state.
    // 0: the cooldown is over; 1: the cast happened, its cooldown starts; 2: the cast is
    // answered, the cooldown starts unless the spell is armed. Other values change nothing.
    void SetState(uint32_t state);
    void Reset();
    void SetCooldownLeft(uint32_t leftMs);
    void SetFlags(uint8_t flags);
    bool IsCoolingDown() const;
    // What an ability cast at a field target aims at (server flag bits 1 and 2): a creature, a
    // tile, or either.
    bool TargetsCreature() const { return flag1; }
    bool TargetsTile() const { return flag2; }
    // Replaces the markup of a new description and lays it out; `description` stays.
    void BuildDescription(const std::string& text);

    // Cast requests, with the ability-bar slot the caller names. An armed spell is fired by a
    // second use instead; each of the three clears Core::targetingSpell.
    void Cast(uint8_t slot);
    void CastOnCreature(uint8_t slot, uint32_t creatureId);
    void CastAtPosition(uint8_t slot, int32_t x, int32_t y, int32_t z);
    // True when the use fired the armed spell.
    bool ToggleArmed(uint8_t slot);

    // Drawing into a 32 x 32 slot whose top-left corner is (x, y); nothing when the icon shape is
    // not in the sprite data.
    void DrawSlot(int32_t x, int32_t y);
    void DrawIcon(int32_t x, int32_t y);

    Core* core;
    Font* font;
    std::unique_ptr<Item> bookIcon;
    std::unique_ptr<Item> slotIcon;
    uint32_t id;
    uint32_t iconShape;
    std::string name;
    std::string description;  // the record's description less its cooldown part
    std::string manaText;
    std::string typeText;
    std::string serverText;    // the fifth text, which only the server fills
    std::string cooldownText;  // "12 s" of a description ending "[Cooldown 12 s]"
    std::vector<std::string> descriptionLines;
    bool targetsSelf = false;
    bool flag1 = false, flag2 = false, flag3 = false;  // their meaning lies with the windows
    bool stays = false;
    bool armed = false;
    bool usable = false;
    bool sent = false;  // a cast request is outstanding
    uint8_t flags = 0;
    uint32_t cooldownTotal = 0;
    uint64_t cooldownStart = 0;

private:
    void Init();
    void LayOut(const std::string& text);
    // The part common to every use: fires an armed spell (op 215, true), or else arms a spell
    // that stays armed or marks the cast as sent (false: the caller sends its request).
    bool UseArmed(uint8_t slot);
    std::unique_ptr<Item> MakeIcon(uint32_t kind);
    // Each current image of the slot icon, drawn whole.
    void DrawImages(int32_t x, int32_t y, uint32_t tint);
    void DrawCooldown(int32_t x, int32_t y);
};
