// The bank window: its slots down each column, the slot list of the open message with its
// skips and its broken slot numbers, the mailbox, the balance, the hit boxes, the right-click
// choices and the requests its clicks and buttons send.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core.h"
#include "item.h"
#include "platform.h"
#include "shape.h"
#include "support/drawntext.h"
#include "support/storemessages.h"
#include "windows/dialogs/bank.h"
#include "windows/game/action.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/windowtypes.h"

namespace {

using namespace StoreHex;

constexpr uint16_t Backpack = 140, Sword = 141, Key = 143;

class BankTest : public StoreWindows {
protected:
    Bank* Open(const std::string& list) {
        EXPECT_TRUE(Deliver("90" + U16(0) + Str("Bank") + list));
        return Find<Bank>(WindowType::Bank);
    }
    // The centre of a slot on the screen.
    static int32_t SlotX(const Bank& bank, uint8_t slot) {
        return bank.x + bank.slotRects[slot].x + 18;
    }
    static int32_t SlotY(const Bank& bank, uint8_t slot) {
        return bank.y + bank.slotRects[slot].y + 18;
    }
    static int16_t ShiftHeld(int key) { return key == VK_SHIFT ? int16_t(0x8000) : 0; }
    static int16_t NoneHeld(int) { return 0; }
    // Whether a call of the log contains the text.
    static bool Logged(const std::vector<std::string>& calls, const std::string& text) {
        return std::any_of(calls.begin(), calls.end(), [&](const std::string& call) {
            return call.find(text) != std::string::npos;
        });
    }
    // The white texts a repaint of the bank draws.
    std::vector<std::string> WhiteTexts(Bank* bank) {
        return DrawnTextsIn(DrawnCalls(bank, true), 0xCEFFFFFF);
    }
};

TEST_F(BankTest, SlotsRunDownEachColumn) {
    Bank* bank = Open("ff");
    ASSERT_NE(bank, nullptr);
    ASSERT_EQ(bank->slotRects.size(), 40u);
    EXPECT_EQ(bank->slotRects[4].x, 39);
    EXPECT_EQ(bank->slotRects[4].y, 238);
    EXPECT_EQ(bank->slotRects[5].x, 79);
    EXPECT_EQ(bank->slotRects[5].y, 78);
    // The 4-pixel gap between slots 0 and 5 hits one of them.
    EXPECT_EQ(bank->SlotAt(bank->x + 39 + 37, bank->y + 90), 0);
    EXPECT_EQ(bank->SlotAt(bank->x + 39 + 38, bank->y + 90), 5);
    EXPECT_EQ(bank->SlotAt(bank->x + 10, bank->y + 10), 255);
}

TEST_F(BankTest, TheOpenMessageFillsTheSlots) {
    Bank* bank = Open("0000" + U16(Sword) + "ff");
    ASSERT_NE(bank, nullptr);
    EXPECT_EQ(bank->GetItem(0), nullptr);
    ASSERT_NE(bank->GetItem(1), nullptr);
    EXPECT_EQ(bank->GetItem(1)->shapeId, Sword);

    bank = Open("fe" + VarStop(10) + U16(Sword) + "ff");
    ASSERT_NE(bank, nullptr);
    ASSERT_NE(bank->GetItem(10), nullptr);
    EXPECT_EQ(bank->GetItem(9), nullptr);
    EXPECT_EQ(core->FindDraggedThing(0xFFF0, 250, 10), bank->GetItem(10));
    int banks = 0;
    for (Window* window : core->windows) banks += window->typeId == WindowType::Bank;
    EXPECT_EQ(banks, 1);

    // A run of 255 ends the list.
    bank = Open("fe" + VarStop(255));
    ASSERT_NE(bank, nullptr);
    for (Item* item : bank->slots) EXPECT_EQ(item, nullptr);
}

TEST_F(BankTest, ASlotPastTheMailboxEndsTheConnection) {
    EXPECT_FALSE(Deliver("90" + U16(0) + Str("Bank") + "fe" + VarStop(256) + U16(Sword) + "ff"));
    EXPECT_FALSE(Connected());
    EXPECT_EQ(DisconnectText(), "Bank: the slot does not exist. (insert)");
    EXPECT_EQ(core->FindWindow(WindowType::Bank), nullptr);
    EXPECT_TRUE(fatalText.empty());
}

TEST_F(BankTest, AServerChangePastTheMailboxEndsTheConnection) {
    Bank* bank = Open("ff");
    ASSERT_NE(bank, nullptr);
    Shape* shape = core->GetShape(Sword);
    ASSERT_NE(shape, nullptr);
    const uint32_t references = shape->colorCounts[0];
    bank->ReplaceItem(new Item(core.get(), Sword, 0, 0, 0, 0, 1, ItemIdle), 41);
    EXPECT_EQ(shape->colorCounts[0], references);  // the item that had no slot is freed
    EXPECT_FALSE(Connected());
    EXPECT_EQ(DisconnectText(), "Bank: the slot does not exist. (remove)");
}

TEST_F(BankTest, TheMailboxShowsWhileItHoldsAnItem) {
    Bank* bank = Open("ff");
    ASSERT_NE(bank, nullptr);
    // The "mailbox" button in its pressed look, tinted, and the notice under the slots.
    const std::string button = "219,285,54,16,0xC080F580",
                      notice = "there are items in your mailbox.";
    std::vector<std::string> calls = DrawnCalls(bank, false);
    EXPECT_FALSE(Logged(calls, button));
    EXPECT_EQ(DrawnTextsIn(calls, 0xCEFFFFFF), std::vector<std::string>{});
    bank->InsertItem(new Item(core.get(), Key, 0, 0, 0, 0, 1, ItemIdle), Bank::MailboxSlot);
    EXPECT_EQ(bank->mailbox, 1);
    calls = DrawnCalls(bank, false);
    EXPECT_TRUE(Logged(calls, button));
    EXPECT_EQ(DrawnTextsIn(calls, 0xCEFFFFFF), std::vector<std::string>{notice});
    Sent();
    Press(bank, 113);
    EXPECT_EQ(Sent(), (Requests{{80, 0, 250, 40, Key, 0}}));
    bank->RemoveItem(Bank::MailboxSlot);
    EXPECT_EQ(bank->mailbox, 0);
    calls = DrawnCalls(bank, false);
    EXPECT_FALSE(Logged(calls, button));
    EXPECT_EQ(DrawnTextsIn(calls, 0xCEFFFFFF), std::vector<std::string>{});
    Press(bank, 113);
    EXPECT_TRUE(Sent().empty());
}

TEST_F(BankTest, AnInsertIntoAFilledSlotFreesTheOldItem) {
    Bank* bank = Open("ff");
    ASSERT_NE(bank, nullptr);
    Shape* shape = core->GetShape(Sword);
    ASSERT_NE(shape, nullptr);
    const uint32_t references = shape->colorCounts[0];
    bank->InsertItem(new Item(core.get(), Sword, 0, 0, 0, 0, 1, ItemIdle), 3);
    EXPECT_EQ(shape->colorCounts[0], references + 1);
    bank->InsertItem(new Item(core.get(), Sword, 0, 0, 0, 0, 1, ItemIdle), 3);
    EXPECT_EQ(shape->colorCounts[0], references + 1);
}

TEST_F(BankTest, TheBalanceIsGrouped) {
    ASSERT_NE(Open("ff"), nullptr);
    ASSERT_TRUE(Deliver("94" + U32(1234567)));
    EXPECT_EQ(core->bankBalance, 1234567u);
    EXPECT_EQ(WhiteTexts(Find<Bank>(WindowType::Bank)),
              (std::vector<std::string>{
                  "Bank", "Your bank account contains 1,234,567 cc (copper coins)."}));
}

TEST_F(BankTest, ClicksExamineAndCloseTellsTheServer) {
    Bank* bank = Open("fe" + VarStop(10) + U16(Sword) + "ff");
    ASSERT_NE(bank, nullptr);
    Sent();
    Click(bank, SlotX(*bank, 10), SlotY(*bank, 10));
    Press(bank, ButtonId::Ok);
    EXPECT_EQ(Sent(), (Requests{{164, 250, 10, Sword, 0}, {145}}));
    EXPECT_EQ(core->FindWindow(WindowType::Bank), nullptr);
}

TEST_F(BankTest, RightClicksUseOrOfferChoices) {
    Bank* bank = Open(U16(Backpack) + U16(Key) + "ff");
    ASSERT_NE(bank, nullptr);
    const PlatformCalls before = platform;
    platform.keyState = ShiftHeld;
    bank->OnRightClick(SlotX(*bank, 0), SlotY(*bank, 0));
    auto* menu = dynamic_cast<Action*>(core->windows.back());
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->entries.size(), 2u);
    EXPECT_EQ(menu->entries[0].label, "Open..");
    EXPECT_EQ(menu->entries[0].code, 131u);
    EXPECT_EQ(menu->entries[1].label, "Examine");
    EXPECT_EQ(menu->entries[1].code, 133u);
    core->RemoveWindow(menu);

    platform.keyState = NoneHeld;
    bank->OnRightClick(SlotX(*bank, 1), SlotY(*bank, 1));
    platform = before;
    EXPECT_EQ(core->inputModes[InputUseWith], 1);
    EXPECT_EQ(core->useItemZ, 1);
    bank->OnMouseDown(bank->x + 5, bank->y + 100);
    EXPECT_EQ(core->inputModes[InputUseWith], 0);
    EXPECT_EQ(core->inputModes[InputDrop], 0);
}

}  // namespace

TEST_F(BankTest, ContainerMessagesOfNumber250ChangeItsSlots) {
    Bank* bank = Open("ff");
    ASSERT_NE(bank, nullptr);
    ASSERT_TRUE(Deliver("52fa0301" + U16(Sword)));
    ASSERT_NE(bank->GetItem(3), nullptr);
    EXPECT_EQ(bank->GetItem(3)->shapeId, Sword);
    ASSERT_TRUE(Deliver("53fa03"));
    EXPECT_EQ(bank->GetItem(3), nullptr);
}

TEST_F(BankTest, AHeldItemTheServerTakesAwayIsNoLongerHeld) {
    Bank* bank = Open("0000" + U16(Sword) + U16(Key) + "ff");
    ASSERT_NE(bank, nullptr);
    bank->OnMouseDown(SlotX(*bank, 1), SlotY(*bank, 1));
    ASSERT_EQ(core->dragTo, bank->GetItem(1));
    ASSERT_TRUE(Deliver("53fa01"));
    EXPECT_EQ(core->dragTo, nullptr);

    // Closing the window deletes the held item with the others.
    bank->OnMouseDown(SlotX(*bank, 2), SlotY(*bank, 2));
    ASSERT_EQ(core->dragTo, bank->GetItem(2));
    core->RemoveWindow(bank);
    EXPECT_EQ(core->dragTo, nullptr);
}
