// The spells Core keeps: data/Veltor.spells read at start-up, and the server's updates by id.
#include <string>
#include <vector>

#include "core.h"
#include "packreader.h"
#include "spell.h"

namespace {

struct SpellRecord {
    uint16_t id;
    uint32_t iconShape;
    std::string name, description, manaText, typeText;
};

bool ReadShortText(PackReader& file, std::string& text) {
    uint8_t length;
    return file.ReadU8(length) && file.ReadText(length, text);
}

bool ReadLongText(PackReader& file, std::string& text) {
    uint16_t length;
    return file.ReadU16(length) && file.ReadText(length, text);
}

// Every record the count announces, each of them whole, or false.
bool ReadSpells(PackReader& file, uint32_t& revision, std::vector<SpellRecord>& records) {
    uint16_t count;
    if (!file.ReadU32(revision) || !file.ReadU16(count)) return false;
    for (uint32_t n = 0; n < count; ++n) {
        SpellRecord r;
        if (!file.ReadU16(r.id) || !file.ReadU32(r.iconShape) || !ReadShortText(file, r.name) ||
            !ReadLongText(file, r.description) || !ReadShortText(file, r.manaText) ||
            !ReadShortText(file, r.typeText)) {
            return false;
        }
        records.push_back(std::move(r));
    }
    return true;
}

}  // namespace

// A file that is missing, or shorter than its count and lengths say, ends the program.
void Core::LoadSpells() {
    PackReader file;
    uint32_t revision;
    std::vector<SpellRecord> records;
    if (!file.Open("data/Veltor.spells") || !ReadSpells(file, revision, records))
        FatalError("Failed to load \"Veltor.spells\".");
    dataVersion += revision;
    for (SpellRecord& r : records) {
        spells.push_back(new Spell(this, r.id, r.iconShape, std::move(r.name),
                                   std::move(r.description), std::move(r.manaText),
                                   std::move(r.typeText)));
    }
}

Spell* Core::FindSpell(uint16_t id) {
    for (Spell* spell : spells)
        if (spell->id == id) return spell;
    return nullptr;
}

void Core::ResetSpells() {
    for (Spell* spell : spells) spell->Reset();
}

// Every spell of the id, not only the first.
void Core::UpdateSpell(uint16_t id, uint8_t flags, uint32_t totalMs, uint32_t leftMs) {
    for (Spell* spell : spells) {
        if (spell->id != id) continue;
        spell->SetFlags(flags);
        spell->cooldownTotal = totalMs;
        spell->SetCooldownLeft(leftMs);
    }
}
