// The ability bar: its pages as abilities are assigned and cleared and as the server's list
// fills them, the page buttons, the slots under points, casting by the slot keys and the
// requests that go out.
#include "windows/game/spellbar.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "control.h"
#include "core.h"
#include "mouse.h"
#include "screen.h"
#include "spell.h"
#include "support/drawntext.h"
#include "support/fakeplatform.h"
#include "support/gamemessages.h"
#include "support/recordingdriver.h"
#include "support/testcore.h"
#include "windows/dialogs/look.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/message.h"
#include "windows/toolkit/windowtypes.h"

namespace {

using Payloads = std::vector<std::vector<uint8_t>>;

constexpr uint16_t Heal = 0x0102, Bolt = 7;
// Spell flag bits: the ability needs no target, aims at creatures; not usable.
constexpr uint8_t NoTarget = 0x01, AtCreature = 0x02, Unusable = 0x80;

class SpellbarTest : public GameMessages {
protected:
    void SetUp() override {
        GameMessages::SetUp();
        core->screen = new Screen(core.get(), 800, 600, 32, 0);
        heal = AddSpell(Heal, NoTarget);
        bolt = AddSpell(Bolt, AtCreature);
        bar = new Spellbar(core.get());
        core->AddWindow(bar);
        connection->SentSinceLastCall();
    }

    Spell* AddSpell(uint16_t id, uint8_t flags) {
        auto* spell = new Spell(core.get(), id, 0, "Spell " + std::to_string(id), "", "", "");
        spell->SetFlags(flags);
        core->spells.push_back(spell);
        return spell;
    }

    void Assign(int32_t page, uint8_t slot, Spell* spell) {
        bar->page = page;
        core->barSlot = slot;
        bar->AssignSlot(spell);
    }

    void Press(uint32_t id) { bar->OnCommand(bar->FindButton(id)); }

    Spell* heal = nullptr;
    Spell* bolt = nullptr;
    Spellbar* bar = nullptr;
};

TEST_F(SpellbarTest, AssigningOnTheLastPageAddsOneAndClearingDropsIt) {
    Assign(0, 4, heal);
    EXPECT_EQ(bar->pageCount, 2);
    EXPECT_EQ(bar->SpellAt(4), heal);
    Assign(0, 4, nullptr);
    EXPECT_EQ(bar->pageCount, 1);
    EXPECT_EQ(bar->SpellAt(4), nullptr);
    EXPECT_EQ(connection->SentSinceLastCall(),
              (Payloads{{216, 5, 0x02, 0x01}, {216, 5, 0x00, 0x00}}));
    // The same ability again sends nothing.
    Assign(0, 4, nullptr);
    EXPECT_TRUE(connection->SentSinceLastCall().empty());
}

TEST_F(SpellbarTest, ASlotOnALaterPageGoesOutAsPageTimesTwelvePlusOne) {
    bar->pageCount = 3;
    Assign(2, 5, bolt);
    EXPECT_EQ(connection->SentSinceLastCall(), (Payloads{{216, 30, Bolt, 0}}));
}

TEST_F(SpellbarTest, PagesStopAtTwelve) {
    for (int32_t page = 0; page < 12; ++page) Assign(page, 0, heal);
    EXPECT_EQ(bar->pageCount, 12);
    Assign(11, 1, bolt);
    EXPECT_EQ(bar->pageCount, 12);
    // Clearing the only ability of page 5 keeps the pages up to the last one in use.
    Assign(5, 0, nullptr);
    EXPECT_EQ(bar->pageCount, 12);
}

TEST_F(SpellbarTest, ClearingOnAnEarlierPageDropsTrailingEmptyPages) {
    Assign(0, 0, heal);
    Assign(1, 0, bolt);
    ASSERT_EQ(bar->pageCount, 3);
    bar->page = 2;
    Press(27);
    EXPECT_EQ(bar->page, 1);
    Assign(1, 0, nullptr);
    EXPECT_EQ(bar->pageCount, 2);
    EXPECT_EQ(bar->page, 1);
}

TEST_F(SpellbarTest, PageButtonsStopAtTheEnds) {
    Assign(0, 0, heal);
    bar->page = 0;
    Press(27);
    EXPECT_EQ(bar->page, 0);
    Press(28);
    EXPECT_EQ(bar->page, 1);
    Press(28);
    EXPECT_EQ(bar->page, 1);
}

TEST_F(SpellbarTest, TheServersListFillsThePagesUpToItsHighestSlot) {
    // Op 208: slot 30 holds Heal, the rest of the bar is empty; then op 209 puts Bolt in slot 2.
    ASSERT_TRUE(Deliver(std::vector<uint8_t>{208, 254, 30, 0x02, 0x01, 254, 223}));
    EXPECT_EQ(bar->pageCount, 4);
    ASSERT_TRUE(Deliver(std::vector<uint8_t>{209, 2, Bolt, 0}));
    EXPECT_EQ(bar->pageCount, 4);
    bar->page = 2;
    EXPECT_EQ(bar->SpellAt(6), heal);
    bar->page = 0;
    EXPECT_EQ(bar->SpellAt(2), bolt);
    // A slot past the last page is ignored.
    ASSERT_TRUE(Deliver(std::vector<uint8_t>{209, 200, Bolt, 0}));
    EXPECT_EQ(bar->pageCount, 4);
    core->spellPairs = {{143, Heal}};
    bar->OnOpen();
    EXPECT_EQ(bar->pageCount, 12);
    bar->page = 11;
    EXPECT_EQ(bar->SpellAt(11), heal);
}

TEST_F(SpellbarTest, GapsBetweenCellsHitNothing) {
    struct Hit {
        int32_t dx, dy;
        uint8_t slot;
    };
    // The strip: cells hit from x 8 and y 8, 36 pixels of every 40.
    for (const Hit& hit :
         {Hit{8, 8, 0}, Hit{7, 8, 255}, Hit{43, 43, 0}, Hit{44, 8, 255}, Hit{48, 20, 1},
          Hit{8, 44, 255}, Hit{8 + 11 * 40, 8, 11}, Hit{8 + 12 * 40, 8, 255}})
        EXPECT_EQ(bar->SlotAt(bar->x + hit.dx, bar->y + hit.dy), hit.slot)
            << "strip " << hit.dx << "," << hit.dy;
    core->options.widescreen = core->options.panel = 1;
    bar->Build();
    ASSERT_TRUE(bar->GridLayout());
    const int32_t left = bar->x + bar->contentX;
    for (const Hit& hit : {Hit{11, 30, 0}, Hit{10, 30, 255}, Hit{47, 30, 255}, Hit{51, 30, 1},
                           Hit{91, 150, 11}, Hit{131, 30, 255}, Hit{11, 190, 255}})
        EXPECT_EQ(bar->SlotAt(left + hit.dx, bar->y + hit.dy), hit.slot)
            << "grid " << hit.dx << "," << hit.dy;
}

TEST_F(SpellbarTest, ACoolingAbilityWithoutTargetSaysSoAndSendsNothing) {
    Assign(0, 3, heal);
    connection->SentSinceLastCall();
    heal->cooldownTotal = 5000;
    heal->cooldownStart = core->frameTimeMs;
    core->screen->control->UseSlot(3);
    EXPECT_EQ(Notifications(), std::vector<std::string>{"2:Please wait while cooling down."});
    EXPECT_TRUE(connection->SentSinceLastCall().empty());
    // Once the cooldown is over the key casts it, with its bar slot.
    At(6000);
    core->screen->control->UseSlot(3);
    EXPECT_EQ(core->barSlot, 3);
    EXPECT_EQ(connection->SentSinceLastCall().size(), 1u);
}

TEST_F(SpellbarTest, CastingChecksTheAbilityFirst) {
    Assign(0, 0, bolt);
    Assign(0, 1, heal);
    bar->page = 1;
    bar->CastSlot(0, false);  // an empty slot
    bar->page = 0;
    heal->SetFlags(NoTarget | Unusable);
    bar->CastSlot(1, false);
    EXPECT_EQ(Notifications(), std::vector<std::string>{"2:This spell/feat is not useable."});
    ClearNotifications();
    bar->CastSlot(0, false);
    EXPECT_EQ(core->targetingSpell, bolt);
    EXPECT_EQ(core->inputModes[InputSpellTarget], 1);
    EXPECT_EQ(Notifications(), std::vector<std::string>{"2:Select a creature."});
    connection->SentSinceLastCall();
    bar->CastSlot(12, true);  // past the page
    EXPECT_TRUE(connection->SentSinceLastCall().empty());
}

TEST_F(SpellbarTest, RightClickWithoutAbilitiesSaysNoneWereLearned) {
    for (Spell* spell : core->spells) spell->usable = false;
    bar->OnRightClick(bar->x + 10, bar->y + 10);
    auto* message = dynamic_cast<Message*>(core->FindWindow(WindowType::Message));
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->text, "You have learned no abilities.");
    EXPECT_EQ(bar->spellbookSlot, -1);
    heal->usable = true;
    bar->OnRightClick(bar->x + 50, bar->y + 10);
    EXPECT_EQ(bar->spellbookSlot, 1);
    EXPECT_EQ(core->barSlot, 1);
}

TEST_F(SpellbarTest, TheGridsManaBarTellsTheMana) {
    core->options.widescreen = core->options.panel = 1;
    bar->Build();
    core->mana = 30;
    core->maxMana = 80;
    bar->OnMouseUp(bar->x + 20, bar->y + 10);
    auto* look = dynamic_cast<Look*>(core->windows.back());
    ASSERT_NE(look, nullptr);
    EXPECT_EQ(look->title, "Mana:  30 / 80");
    core->maxMana = 0;
    bar->OnMouseUp(bar->x + 20, bar->y + 10);
    look = dynamic_cast<Look*>(core->windows.back());
    ASSERT_NE(look, nullptr);
    EXPECT_EQ(look->title, "You are all out of mana.");
}

TEST_F(SpellbarTest, AModifierClickShowsTheAbilityWithItsManaCooldownAndTypeAsATable) {
    RecordingDriver::Install();
    auto* mend =
        new Spell(core.get(), 9, 0, "Mend", "Closes wounds. [Cooldown 12 s]", "20", "Holy");
    core->spells.push_back(mend);
    Assign(0, 0, heal);  // without texts
    Assign(0, 1, mend);
    FakePlatform::heldKeys = {VK_SHIFT};
    // In the strip, slot 1 begins 48 pixels right of the bar.
    bar->OnMouseUp(bar->x + 50, bar->y + 10);
    auto* look = dynamic_cast<Look*>(core->windows.back());
    ASSERT_NE(look, nullptr);
    EXPECT_EQ(look->title, "Mend");
    EXPECT_EQ(look->text, "Closes wounds. ");
    look->dirty = 1;
    RecordingDriver::Take();
    look->Paint();
    const std::vector<std::string> log = RecordingDriver::Take();
    EXPECT_EQ(DrawnTextsIn(log, 0xC0FFFFFF),
              (std::vector<std::string>{"Mana", "Cooldown", "Type"}));
    EXPECT_EQ(DrawnTextsIn(log, 0xC0FFFF00), (std::vector<std::string>{"20", "12 s", "Holy"}));
    EXPECT_EQ(DrawnTextsIn(log, 0xC0E0E0E0), std::vector<std::string>{"Closes wounds."});

    // Only the texts an ability has make rows; without any there is no table.
    mend->typeText.clear();
    bar->OnMouseUp(bar->x + 50, bar->y + 10);
    look = dynamic_cast<Look*>(core->windows.back());
    ASSERT_NE(look, nullptr);
    EXPECT_EQ(look->attributes.size(), 2u);
    EXPECT_EQ(look->attributes.back().value, "12 s");
    bar->OnMouseUp(bar->x + 10, bar->y + 10);
    look = dynamic_cast<Look*>(core->windows.back());
    ASSERT_NE(look, nullptr);
    EXPECT_EQ(look->title, "Spell 258");
    EXPECT_TRUE(look->attributes.empty());
    // Without a modifier a click shows nothing.
    FakePlatform::heldKeys.clear();
    const size_t windows = core->windows.size();
    bar->OnMouseUp(bar->x + 50, bar->y + 10);
    EXPECT_EQ(core->windows.size(), windows);
    UseNullDriver();
}

}  // namespace
