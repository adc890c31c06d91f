// The split window: the amount chosen by slider and field, clamped every frame, the bulk bundles
// and their multiplier, and the move made on "ok" only while the held stack is still there.
#include "windows/dialogs/split.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core.h"
#include "item.h"
#include "itemplace.h"
#include "screen.h"
#include "support/gamemessages.h"
#include "windows/game/equipment.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/input.h"
#include "windows/toolkit/message.h"
#include "windows/toolkit/scrollbar.h"
#include "windows/toolkit/windowtypes.h"

namespace {

constexpr uint32_t Coins = 130;
constexpr uint8_t HeldSlot = 3, DropSlot = 4;

class SplitTest : public GameMessages {
protected:
    void SetUp() override {
        GameMessages::SetUp();
        core->screen = new Screen(core.get(), 800, 600, 32, 0);
        equipment = new Equipment(core.get());
        core->AddWindow(equipment);
        core->equipmentWindow = equipment;
        connection->SentSinceLastCall();
    }

    // A stack held from an equipment slot and dropped on another, as a drag leaves them.
    Split* Open(uint32_t count, bool bulk = false, uint16_t amount = 0) {
        stack = new Item(core.get(), Coins, 0, 0, 0, 0, count, ItemIdle);
        stack->amount = amount;
        equipment->SetSlot(stack, HeldSlot);
        core->useItemX = ItemPlace::EquipmentSlot;
        core->useItemY = 0;
        core->useItemZ = HeldSlot;
        core->dropX = ItemPlace::EquipmentSlot;
        core->dropY = 0;
        core->dropZ = DropSlot;
        auto* split = new Split(core.get(), stack, 1, bulk);
        core->AddWindow(split);
        split->OnOpen();
        split->Paint();
        return split;
    }

    void Type(Split* split, const std::string& text) {
        split->amountInput->SetText(text);
        split->Paint();
    }

    std::vector<std::vector<uint8_t>> Moves() {
        std::vector<std::vector<uint8_t>> moves;
        for (const auto& payload : connection->SentSinceLastCall())
            if (!payload.empty() && payload[0] == 114) moves.push_back(payload);
        return moves;
    }

    bool Listed(Window* window) {
        for (Window* open : core->windows)
            if (open == window && open->state != 3) return true;
        return false;
    }

    Equipment* equipment = nullptr;
    Item* stack = nullptr;
};

TEST_F(SplitTest, AStackOfTwoOpensWholeAndOneStepLeftMovesOne) {
    Split* split = Open(2);
    EXPECT_EQ(split->name, "Split stack");
    EXPECT_EQ(split->moveItem->count, 2u);
    EXPECT_EQ(split->stayItem->count, 0u);
    split->slider->StepUp();
    split->Paint();
    EXPECT_EQ(split->moveItem->count, 1u);
    EXPECT_EQ(split->stayItem->count, 1u);
    EXPECT_EQ(split->amountInput->text, "1");
    split->OnSubmit();
    EXPECT_EQ(core->moveCount, 1u);
    EXPECT_EQ(Moves().size(), 1u);
    EXPECT_FALSE(Listed(split));
    EXPECT_FALSE(Listed(split->slider));
}

TEST_F(SplitTest, TypingZeroClosesWithoutAMove) {
    Split* split = Open(5);
    Type(split, "0");
    split->OnSubmit();
    EXPECT_TRUE(Moves().empty());
    EXPECT_FALSE(Listed(split));
}

TEST_F(SplitTest, ATypedAmountPastTheStackShowsTheStack) {
    Split* split = Open(40);
    Type(split, "99");
    EXPECT_EQ(split->amountInput->text, "40");
    Type(split, "7");
    EXPECT_EQ(split->amountInput->text, "7");
    EXPECT_EQ(split->stayItem->count, 33u);
}

TEST_F(SplitTest, BulkAmountsGoInWholeBundles) {
    Split* split = Open(25, true, 500);
    EXPECT_EQ(split->name, "Select items");
    EXPECT_EQ(split->maximum, 20u);
    // A bundle of more than 9 opens at the whole stock shown.
    EXPECT_EQ(split->amountInput->text, "500");
    Type(split, "2");  // read as 20, one bundle
    EXPECT_EQ(split->slider->position, 1);
    EXPECT_EQ(split->amountInput->text, "25");
    Type(split, "60");  // three bundles
    EXPECT_EQ(split->amountInput->text, "75");
    EXPECT_EQ(split->stayItem->amount, 20 * 25 - 75);
}

TEST_F(SplitTest, TheMultiplierStopsAtThirtyAndRefusesZero) {
    Split* split = Open(25, true, 1000);
    Type(split, "25");
    split->OnCommand(split->FindButton(134));
    ASSERT_NE(split->multiplierInput, nullptr);
    EXPECT_EQ(split->height, 257);
    split->multiplierInput->SetText("99");
    split->Paint();
    EXPECT_EQ(split->multiplierInput->text, "30");
    split->multiplierInput->SetText("0");
    split->OnSubmit();
    auto* box = dynamic_cast<Message*>(core->FindWindow(WindowType::Message));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text, "Make sure the stack amount is at least 1.");
    EXPECT_TRUE(Listed(split));
}

TEST_F(SplitTest, AShopChoiceIsNeverBulk) {
    stack = new Item(core.get(), Coins, 0, 0, 0, 0, 5, ItemIdle);
    core->useItemY = 249;
    Split split(core.get(), stack, 1, true);
    EXPECT_EQ(split.name, "Select items");
    EXPECT_EQ(split.bulk, 0);
    EXPECT_EQ(split.FindButton(134), nullptr);
    delete stack;
}

TEST_F(SplitTest, NoBundleFitsTheStockAndABundleOfZeroCountsAsOne) {
    Split* split = Open(25, true, 10);
    EXPECT_EQ(split->maximum, 0u);
    EXPECT_EQ(split->stayItem->amount, 0);
    split->Close();
    Split* empty = Open(0, true, 10);
    EXPECT_EQ(empty->bundle, 1u);
    EXPECT_EQ(empty->maximum, 10u);
}

TEST_F(SplitTest, AStackTheServerTookAwayIsNotMoved) {
    Split* split = Open(5);
    delete equipment->ClearSlot(HeldSlot);
    split->OnSubmit();
    EXPECT_TRUE(Moves().empty());
    EXPECT_FALSE(Listed(split));
    // A stack whose count changed is not the one chosen from either.
    Split* changed = Open(5);
    stack->count = 3;
    changed->OnSubmit();
    EXPECT_TRUE(Moves().empty());
}

TEST_F(SplitTest, AStackTheServerRemovesWhileTheWindowIsOpenIsNotMoved) {
    Split* split = Open(5);
    ASSERT_TRUE(Deliver(std::vector<uint8_t>{83, 0, HeldSlot}));
    EXPECT_EQ(equipment->ItemAt(HeldSlot), nullptr);
    split->OnSubmit();
    EXPECT_TRUE(Moves().empty());
    EXPECT_FALSE(Listed(split));
}

}  // namespace
