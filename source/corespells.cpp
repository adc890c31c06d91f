// The spells Core keeps: data/Veltor.spells read at start-up, and the server's updates by id.
#include <string>
#include <vector>

#include "core.h"
#include "recordfile.h"
#include "spanreader.h"
#include "spell.h"

namespace {

struct SpellRecord {
    uint16_t id;
    uint32_t iconShape;
    std::string name, description, manaText, typeText;
};

// Every record the count announces, each of them whole, or false.
bool ReadSpells(const std::vector<uint8_t>& bytes, uint32_t& revision,
                std::vector<SpellRecord>& records) {
    SpanReader file(bytes);
    revision = file.U32();
    const uint16_t count = file.U16();
    for (uint32_t n = 0; n < count && !file.Failed(); ++n) {
        SpellRecord r;
        r.id = file.U16();
        r.iconShape = file.U32();
        r.name = file.Text(file.U8());
        r.description = file.Text(file.U16());
        r.manaText = file.Text(file.U8());
        r.typeText = file.Text(file.U8());
        records.push_back(std::move(r));
    }
    return !file.Failed();
}

}  // namespace

// A file that is missing, or shorter than its count and lengths say, ends the program.
void Core::LoadSpells() {
    std::vector<uint8_t> bytes;
    uint32_t revision;
    std::vector<SpellRecord> records;
    if (!ReadWholeFile("data/Veltor.spells", bytes) || !ReadSpells(bytes, revision, records))
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
