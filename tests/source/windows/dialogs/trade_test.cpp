// The trade window: its offer lists, the acceptances that any change of an offer withdraws, the
// full offer, and the requests its clicks and buttons send.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core.h"
#include "item.h"
#include "support/drawntext.h"
#include "support/storemessages.h"
#include "windows/dialogs/trade.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/windowtypes.h"

namespace {

using namespace StoreHex;

constexpr uint16_t Sword = 141, Key = 143;

class TradeTest : public StoreWindows {
protected:
    Trade* Open(const std::string& partner = "Bob") {
        EXPECT_TRUE(Deliver("58" + Str(partner)));
        return Find<Trade>(WindowType::Trade);
    }
    Item* NewItem(uint16_t shapeId = Sword) {
        return new Item(core.get(), shapeId, 0, 0, 0, 0, 1, ItemIdle);
    }
    static int32_t CellX(const Trade& trade, int32_t i) { return trade.x + 39 + i % 8 * 40 + 18; }
    static int32_t OwnY(const Trade& trade, int32_t i) { return trade.y + 71 + i / 8 * 40 + 18; }
    static int32_t PartnerY(const Trade& trade, int32_t i) {
        return trade.y + 232 + i / 8 * 40 + 18;
    }
};

TEST_F(TradeTest, InsertsMoveLaterEntriesAndReplacesPastTheEndInsert) {
    Trade* trade = Open();
    ASSERT_NE(trade, nullptr);
    std::vector<Item*> items{NewItem(), NewItem(), NewItem()};
    for (Item* item : items) trade->InsertItemA(item, 200);
    Item* first = NewItem(Key);
    trade->InsertItemA(first, 0);
    EXPECT_EQ(trade->own, (std::vector<Item*>{first, items[0], items[1], items[2]}));
    EXPECT_EQ(core->FindDraggedThing(0xFFFD, 255, 1), items[0]);
    Item* last = NewItem(Key);
    trade->ReplaceItemB(last, 7);
    EXPECT_EQ(trade->partnerOffer, std::vector<Item*>{last});
    trade->RemoveItemB(3);  // past the end: nothing
    EXPECT_EQ(trade->partnerOffer.size(), 1u);
}

TEST_F(TradeTest, AcceptanceLastsUntilAnOfferChanges) {
    Trade* trade = Open();
    ASSERT_NE(trade, nullptr);
    Sent();
    Press(trade, 57);
    EXPECT_EQ(Sent(), (Requests{{89}}));
    EXPECT_EQ(trade->ownAccepted, 1);
    ASSERT_TRUE(Deliver("59"));
    EXPECT_EQ(trade->partnerAccepted, 1);
    // A repaint of a lost surface keeps both.
    trade->dirty = 1;
    trade->Paint();
    EXPECT_EQ(trade->ownAccepted, 1);
    EXPECT_EQ(trade->partnerAccepted, 1);
    trade->InsertItemB(NewItem(), 0);
    EXPECT_EQ(trade->ownAccepted, 0);
    EXPECT_EQ(trade->partnerAccepted, 0);
}

TEST_F(TradeTest, TheStatusesShowTheAcceptancesWithoutARepaint) {
    Trade* trade = Open();
    ASSERT_NE(trade, nullptr);
    trade->Paint();
    // The statuses of both sides, top first: those accepted, those still preparing.
    const auto statuses = [&] {
        const std::vector<std::string> calls = DrawnCalls(trade, false);
        return std::make_pair(DrawnTextsIn(calls, 0xC080F580), DrawnTextsIn(calls, 0xC0FFFFFF));
    };
    using Texts = std::vector<std::string>;
    const Texts none, preparing{"Preparing Offer"}, accepted{"Accepted"};
    EXPECT_EQ(statuses(), std::make_pair(none, Texts{"Preparing Offer", "Preparing Offer"}));
    Press(trade, 57);
    EXPECT_EQ(statuses(), std::make_pair(accepted, preparing));
    ASSERT_TRUE(Deliver("59"));
    EXPECT_EQ(trade->dirty, 0);
    EXPECT_EQ(statuses(), std::make_pair(Texts{"Accepted", "Accepted"}, none));
    ASSERT_TRUE(Deliver("52fe0001" + U16(Key)));
    EXPECT_EQ(statuses(), std::make_pair(none, Texts{"Preparing Offer", "Preparing Offer"}));
}

TEST_F(TradeTest, AFullOfferTakesNoMoreButMovesWithin) {
    Trade* trade = Open();
    ASSERT_NE(trade, nullptr);
    for (int i = 0; i < Trade::Cells; ++i) trade->InsertItemA(NewItem(), uint8_t(i));
    core->useItemX = 0xFFFF;  // an item of a container
    core->useItemY = 3;
    core->dragTo = trade->own[0];
    core->inputModes[InputDrop] = 1;
    trade->OnMouseUp(CellX(*trade, 5), OwnY(*trade, 5));
    EXPECT_EQ(Notifications(), std::vector<std::string>{"2:You've got no more trade slots."});
    ClearNotifications();
    DragTo(trade, CellX(*trade, 0), OwnY(*trade, 0), trade, CellX(*trade, 5), OwnY(*trade, 5));
    EXPECT_TRUE(Notifications().empty());
    EXPECT_EQ(core->dropX, 0xFFFD);
    EXPECT_EQ(core->dropZ, 5);
}

TEST_F(TradeTest, ClicksExamineAndCancelEndsTheTrade) {
    Trade* trade = Open();
    ASSERT_NE(trade, nullptr);
    trade->InsertItemA(NewItem(), 0);
    trade->InsertItemB(NewItem(Key), 0);
    Sent();
    Click(trade, CellX(*trade, 0), OwnY(*trade, 0));
    Click(trade, CellX(*trade, 0), PartnerY(*trade, 0));
    EXPECT_EQ(Sent(), (Requests{{164, 255, 0, Sword, 0}, {164, 254, 0, Key, 0}}));
    trade->OnSubmit();
    EXPECT_EQ(Sent(), (Requests{{90}}));
    EXPECT_EQ(core->FindWindow(WindowType::Trade), nullptr);

    trade = Open();
    ASSERT_NE(trade, nullptr);
    Press(trade, 56, "cancel");
    EXPECT_EQ(Sent(), (Requests{{90}}));
}

TEST_F(TradeTest, ASecondOpenGivesANewEmptyWindow) {
    Trade* trade = Open();
    ASSERT_NE(trade, nullptr);
    trade->InsertItemA(NewItem(), 0);
    Trade* second = Open("Alice");
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(second->own.empty());
    EXPECT_EQ(second->partner, "Alice");
    ASSERT_TRUE(Deliver("5a"));
    EXPECT_EQ(core->FindWindow(WindowType::Trade), nullptr);
}

}  // namespace

TEST_F(TradeTest, ContainerMessagesOfNumbers254And255ChangeTheOffers) {
    Trade* trade = Open();
    ASSERT_NE(trade, nullptr);
    // Op 82 into the own offer (255) and the partner's (254).
    ASSERT_TRUE(Deliver("52ff0001" + U16(Sword)));
    ASSERT_TRUE(Deliver("52fe0001" + U16(Key)));
    ASSERT_EQ(trade->own.size(), 1u);
    EXPECT_EQ(trade->own[0]->shapeId, Sword);
    ASSERT_EQ(trade->partnerOffer.size(), 1u);
    EXPECT_EQ(trade->partnerOffer[0]->shapeId, Key);
    // Op 87 replaces, and with shape 0 empties; op 83 removes.
    ASSERT_TRUE(Deliver("57ff00" + U16(Key)));
    ASSERT_EQ(trade->own.size(), 1u);
    EXPECT_EQ(trade->own[0]->shapeId, Key);
    ASSERT_TRUE(Deliver("57ff00" + U16(0)));
    EXPECT_TRUE(trade->own.empty());
    ASSERT_TRUE(Deliver("53fe00"));
    EXPECT_TRUE(trade->partnerOffer.empty());
}

TEST_F(TradeTest, ContainerMessagesForAClosedTradeChangeNothing) {
    ASSERT_TRUE(Deliver("52ff0001" + U16(Sword)));
    ASSERT_TRUE(Deliver("57fe00" + U16(Sword)));
    ASSERT_TRUE(Deliver("53ff00"));
    EXPECT_EQ(Find<Trade>(WindowType::Trade), nullptr);
}

TEST_F(TradeTest, AHeldOfferItemTheServerReplacesIsNoLongerHeld) {
    Trade* trade = Open();
    ASSERT_NE(trade, nullptr);
    ASSERT_TRUE(Deliver("52ff0001" + U16(Sword)));
    trade->OnMouseDown(CellX(*trade, 0), OwnY(*trade, 0));
    ASSERT_EQ(core->dragTo, trade->own[0]);
    ASSERT_TRUE(Deliver("57ff00" + U16(Key)));
    EXPECT_EQ(core->dragTo, nullptr);
}
