#include "windows/dialogs/spellbook.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "core.h"
#include "driver/gfxcore.h"
#include "render.h"
#include "spell.h"
#include "support/drawntext.h"
#include "support/recordingdriver.h"
#include "support/testcore.h"
#include "windows/game/spellbar.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/list.h"
#include "windows/toolkit/message.h"
#include "windows/toolkit/windowtypes.h"

namespace {

using Names = std::vector<std::string>;
constexpr uint32_t LabelColour = 0xC0FFFFFF, ValueColour = 0xC0FFFF00;

// A bar that notes what the book gives its slot.
class RecordingBar : public Spellbar {
public:
    explicit RecordingBar(Core* core) : Spellbar(core) {}
    void AssignSlot(Spell* spell) override { assigned.push_back(spell); }
    std::vector<Spell*> assigned;
};

class SpellbookTest : public ::testing::Test {
protected:
    Spell* Learn(const std::string& name, uint8_t flags = 0) {
        auto* spell = new Spell(core.get(), uint16_t(core->spells.size() + 1), 0, name, "", "", "");
        spell->SetFlags(flags);
        core->spells.push_back(spell);
        return spell;
    }
    Spellbook* Open(Window* owner, Spell* current) {
        book = new Spellbook(core.get(), owner, current);
        core->AddWindow(book);
        book->OnOpen();
        return book;
    }
    void Click(uint32_t id) { book->OnCommand(book->FindButton(id)); }
    bool BookOpen() { return core->FindWindow(WindowType::Spellbook) != nullptr; }

    std::unique_ptr<Core> core = MakeTestCore();
    RecordingBar bar{core.get()};
    Spellbook* book = nullptr;
};

TEST_F(SpellbookTest, ListsTheKnownAbilitiesInByteOrder) {
    Learn("fireball");
    Learn("Fireball");
    Learn("Secret", 0x80);
    Learn("Fire");
    Learn("Arrow");
    Open(&bar, nullptr);
    EXPECT_EQ(book->name, "Abilities");
    EXPECT_EQ(book->width, 500);
    EXPECT_EQ(book->height, 441);
    EXPECT_EQ(book->abilities->items, (Names{"Arrow", "Fire", "Fireball", "fireball"}));
    EXPECT_EQ(book->abilities->selected, Spellbook::NoSelection);
    EXPECT_EQ(book->abilities->x, book->x + 38);
    EXPECT_EQ(book->abilities->width, 150);
}

TEST_F(SpellbookTest, TheSlotsAbilityIsSelectedWhenItIsKnown) {
    Learn("Heal");
    Spell* fire = Learn("Fire");
    Open(&bar, fire);
    EXPECT_EQ(book->abilities->selected, 0);
}

TEST_F(SpellbookTest, AnUnknownAbilityKeepsItsDetailsWithoutASelection) {
    Learn("Heal");
    Spell* forgotten = Learn("Old", 0x80);
    Open(&bar, forgotten);
    EXPECT_EQ(book->abilities->selected, Spellbook::NoSelection);
    EXPECT_EQ(book->selected, forgotten);
    book->OnListSelect(Spellbook::NoSelection);
    EXPECT_EQ(book->selected, forgotten);
    book->abilities->Select(0);
    book->OnListSelect(0);
    EXPECT_EQ(book->selected->name, "Heal");
}

TEST_F(SpellbookTest, TheDetailRowsFollowTheDescription) {
    Spell* heal = Learn("Heal");
    heal->descriptionLines = {"Mends wounds.", "Slowly."};
    heal->typeText = "Support";
    Open(&bar, heal);
    const auto rows = [&] {
        RecordingDriver::Install();
        book->dirty = 1;
        book->Paint();
        const std::vector<DrawnText> texts = DrawnTexts(RecordingDriver::Take());
        UseNullDriver();
        std::vector<DrawnText> found;
        for (const DrawnText& text : texts)
            if (text.colour == LabelColour || text.colour == ValueColour) found.push_back(text);
        return found;
    };
    // Mana and cooldown empty: "Type:" right below the two lines.
    EXPECT_EQ(rows(), (std::vector<DrawnText>{{214, 240, LabelColour, "Type:"},
                                              {284, 240, ValueColour, "Support"}}));
    heal->manaText = "20";
    heal->cooldownText = "3 s";
    EXPECT_EQ(rows().size(), 6u);
    EXPECT_EQ(rows()[4], (DrawnText{214, 264, LabelColour, "Type:"}));
}

TEST_F(SpellbookTest, AssignAndClearGoThroughTheOwnerBar) {
    Spell* heal = Learn("Heal");
    Spell* fire = Learn("Fire");
    Open(&bar, heal);
    book->abilities->Select(0);
    book->OnListSelect(0);
    Click(Spellbook::AssignButton);
    EXPECT_FALSE(BookOpen());
    EXPECT_EQ(core->FindWindow(WindowType::List), nullptr);
    Open(&bar, fire);
    Click(Spellbook::ClearButton);
    Open(&bar, fire);
    book->OnSubmit();
    Open(&bar, fire);
    Click(ButtonId::Close);
    EXPECT_EQ(bar.assigned, (std::vector<Spell*>{fire, nullptr, fire}));
    core->DeleteClosedWindows();
}

TEST_F(SpellbookTest, NothingIsAssignedWhenTheOwnerIsNoBar) {
    Spell* heal = Learn("Heal");
    Message other(core.get(), "Abilities", "Not a bar.", 0);
    Open(&other, heal);
    Click(Spellbook::AssignButton);
    EXPECT_FALSE(BookOpen());
    EXPECT_EQ(bar.assigned, std::vector<Spell*>{});
}

TEST_F(SpellbookTest, AssigningNothingToAnEmptySlotLeavesItEmpty) {
    Learn("Heal");
    Open(&bar, nullptr);
    Click(Spellbook::AssignButton);
    EXPECT_EQ(bar.assigned, std::vector<Spell*>{nullptr});
}

}  // namespace
