// The shop window: its layout from the two lists, the sale question and the sale line, the
// refusals, the requests its clicks, drags and buttons send, and the server's messages that
// change, question and close it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core.h"
#include "font.h"
#include "item.h"
#include "support/chatconsole.h"
#include "support/storemessages.h"
#include "windows/dialogs/shop.h"
#include "windows/dialogs/split.h"
#include "windows/game/channel.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/sure.h"
#include "windows/toolkit/windowtypes.h"

namespace {

using namespace StoreHex;

constexpr uint16_t Sword = 141, Key = 143;
const std::string White = MakeColorCode(255, 255, 255, 255),
                  Grey = MakeColorCode(224, 224, 224, 224);

class ShopTest : public StoreWindows {
protected:
    Shop* Open(const std::vector<std::string>& goods, const std::vector<std::string>& offers,
               const std::string& title = "Bob the trader") {
        EXPECT_TRUE(Deliver(ShopOpen(title, goods, offers)));
        return Find<Shop>(WindowType::Shop);
    }
    static std::vector<std::string> SomeGoods(int n, uint16_t stock = 5) {
        return std::vector<std::string>(size_t(n), Goods(Sword, stock, 40, "Sword"));
    }
    // The centre of a goods or an offer cell on the screen.
    static int32_t CellX(const Shop& shop, int32_t i) {
        return shop.x + 39 + i % shop.columns * 40 + 18;
    }
    static int32_t GoodsY(const Shop& shop, int32_t i) {
        return shop.y + 78 + i / shop.columns * 40 + 18;
    }
    static int32_t OfferY(const Shop& shop, int32_t j) {
        return shop.y + 78 + shop.goodsRows * 40 + 40 + j / shop.columns * 40 + 18;
    }
    Sure* Question() const { return Find<Sure>(WindowType::Sure); }
};

TEST_F(ShopTest, TheListsDecideTheLayout) {
    struct Case {
        int goods, offers;
        int32_t columns, goodsRows, offerRows, width, height;
    };
    for (const Case& c : {Case{3, 0, 6, 5, 0, 316, 339}, Case{3, 1, 6, 3, 1, 316, 339},
                          Case{40, 20, 8, 5, 3, 396, 499}}) {
        Shop* shop = Open(SomeGoods(c.goods),
                          std::vector<std::string>(size_t(c.offers), Offer(Key, 1, 5, "Key")));
        ASSERT_NE(shop, nullptr);
        EXPECT_EQ(shop->columns, c.columns) << c.goods << "/" << c.offers;
        EXPECT_EQ(shop->goodsRows, c.goodsRows) << c.goods << "/" << c.offers;
        EXPECT_EQ(shop->offerRows, c.offerRows) << c.goods << "/" << c.offers;
        EXPECT_EQ(shop->width, c.width) << c.goods << "/" << c.offers;
        EXPECT_EQ(shop->height, c.height) << c.goods << "/" << c.offers;
    }
}

TEST_F(ShopTest, AGuildOfLearningKeepsTwoRowsAndStartsItsGridLower) {
    Shop* shop = Open(SomeGoods(30), std::vector<std::string>(20, Offer(Key, 1, 5, "Key")),
                      "The Guilds Of Learning");
    ASSERT_NE(shop, nullptr);
    EXPECT_EQ(shop->learnMode, 1);
    EXPECT_LE(shop->goodsRows, 2);
    EXPECT_LE(shop->offerRows, 2);
    EXPECT_EQ(shop->GoodsSlotAt(shop->x + 39, shop->y + 98), 0);
    EXPECT_EQ(shop->GoodsSlotAt(shop->x + 39, shop->y + 80), 255);
}

TEST_F(ShopTest, AnOfferOfNoneLeftShrinksTheWindowAndMovesClose) {
    Shop* shop = Open(SomeGoods(3), {Offer(Key, 2, 5, "Key")});
    ASSERT_NE(shop, nullptr);
    ASSERT_EQ(shop->height, 339);
    ASSERT_TRUE(Deliver("d6" + Varint(0) + Offer(Key, 0, 5, "Key")));
    EXPECT_TRUE(shop->offer.empty());
    EXPECT_EQ(shop->height, 3 * 40 + 119 + 20);
    bool moved = false;
    for (Button* button : shop->buttons)
        if (button->caption == "close") moved = button->y == shop->height - 28;
    EXPECT_TRUE(moved);
}

TEST_F(ShopTest, TheSaleQuestionNamesTheCoins) {
    const auto ask = [](const std::string& total, const std::string& coins) {
        return "Do you want to sell this item for " + White + total + Grey + "?" +
               (coins.empty() ? "" : "\nYou will receive " + coins + ".");
    };
    struct Case {
        uint64_t total;
        std::string text;
    };
    for (const Case& c : {
             Case{1, ask("1 copper coin", "")},
             Case{99, ask("99 copper coins", "")},
             Case{250, ask("250 copper coins", "2 silver coins and 50 copper coins")},
             Case{1000, ask("1,000 copper coins", "1 gold coin")},
             Case{1050, ask("1,050 copper coins", "1 gold coin and 50 copper coins")},
             Case{1101, ask("1,101 copper coins", "1 gold coin, 1 silver coin and 1 copper coin")},
             Case{12345,
                  ask("12,345 copper coins", "12 gold coins, 3 silver coins and 45 copper coins")},
         })
        EXPECT_EQ(SaleQuestion(1, c.total), c.text) << c.total;
    EXPECT_EQ(SaleQuestion(1234, 1234), "Do you want to sell these " + White + "1,234" + Grey +
                                            " items for " + White + "1,234 copper coins" + Grey +
                                            "?\nYou will receive 1 gold coin, 2 silver coins " +
                                            "and 34 copper coins.");
    // Totals past 32 bits are told whole.
    EXPECT_NE(SaleQuestion(2, uint64_t(5000000000)).find("5,000,000,000 copper coins"),
              std::string::npos);
}

TEST_F(ShopTest, TheSaleLineNamesWhatWasSold) {
    struct Case {
        std::string name;
        uint32_t count;
        std::string said;
    };
    for (const Case& c : {Case{"Apple", 1, "an apple"}, Case{"Sword", 1, "a sword"},
                          Case{"Pair of boots", 3, "3 pairs of boots"},
                          Case{"Potato", 2, "2 potatoes"}, Case{"Arrow", 3, "3 arrows"}}) {
        const std::string line = SoldLine(c.name, c.count, 5);
        const size_t said = line.find(c.said);
        EXPECT_NE(said, std::string::npos) << line;
        EXPECT_EQ(line.rfind(Grey + "You've sold " + MakeColorCode(255, 255, 255, 224), 0), 0u);
    }
    EXPECT_NE(SoldLine("Coin", 1, 1).find("1 copper coin" + Grey + "."), std::string::npos);
}

TEST_F(ShopTest, RefusalsAreNotifiedAndSendNothing) {
    Shop* shop = Open({Goods(Sword, 5, 40, "Sword"), Goods(Sword, 0, 40, "Sword")}, {});
    ASSERT_NE(shop, nullptr);
    Sent();
    DragTo(shop, CellX(*shop, 0), GoodsY(*shop, 0), shop, CellX(*shop, 1), GoodsY(*shop, 1));
    EXPECT_EQ(Notifications(), std::vector<std::string>{"2:Sorry, this is not possible."});
    ClearNotifications();
    shop->OnMouseDown(CellX(*shop, 1), GoodsY(*shop, 1));
    EXPECT_EQ(Notifications(), std::vector<std::string>{"2:Sorry, this item is sold out."});
    EXPECT_TRUE(Sent().empty());
}

TEST_F(ShopTest, ClicksExamineAndCloseTellsTheServer) {
    Shop* shop = Open(SomeGoods(2), {Offer(Key, 1, 5, "Key"), Offer(Key, 1, 5, "Key")});
    ASSERT_NE(shop, nullptr);
    Sent();
    Click(shop, CellX(*shop, 1), GoodsY(*shop, 1));
    Click(shop, CellX(*shop, 1), OfferY(*shop, 1));
    Press(shop, ButtonId::Close, "close");
    EXPECT_EQ(Sent(), (Requests{{164, 253, 1, Sword, 0}, {217, Key, 0, 1}, {220}}));
    EXPECT_EQ(core->FindWindow(WindowType::Shop), nullptr);
}

TEST_F(ShopTest, AnOfferOfOneAsksAtOnceAndYesSellsIt) {
    Shop* shop = Open(SomeGoods(2), {Offer(Key, 1, 1101, "Key")});
    ASSERT_NE(shop, nullptr);
    Sent();
    DragTo(shop, CellX(*shop, 0), OfferY(*shop, 0), shop, CellX(*shop, 0), GoodsY(*shop, 0));
    Sure* question = Question();
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(question->name, "Selling");
    EXPECT_EQ(question->text, SaleQuestion(1, 1101));
    EXPECT_TRUE(Sent().empty());
    Press(question, ButtonId::Yes);
    EXPECT_EQ(Sent(), (Requests{{219, Key, 0, 0, 1}, {221}}));
}

TEST_F(ShopTest, AQuestionWhoseEntryChangedSellsNothing) {
    Shop* shop = Open(SomeGoods(2), {Offer(Key, 1, 5, "Key")});
    ASSERT_NE(shop, nullptr);
    DragTo(shop, CellX(*shop, 0), OfferY(*shop, 0), shop, CellX(*shop, 0), GoodsY(*shop, 0));
    Sure* question = Question();
    ASSERT_NE(question, nullptr);
    ASSERT_TRUE(Deliver("d6" + Varint(0) + Offer(Sword, 1, 5, "Sword")));
    Sent();
    Press(question, ButtonId::Yes);
    EXPECT_TRUE(Sent().empty());
}

TEST_F(ShopTest, TheServersCloseWithdrawsItsQuestionWithoutAnswering) {
    ASSERT_TRUE(Deliver("de" + U16(Key) + U32(250)));
    ASSERT_NE(Question(), nullptr);
    EXPECT_EQ(Question()->text, SaleQuestion(1, 250));
    ASSERT_TRUE(Deliver("dc"));  // no shop: the question stays
    ASSERT_NE(Question(), nullptr);

    ASSERT_NE(Open(SomeGoods(1), {}), nullptr);
    Sent();
    ASSERT_TRUE(Deliver("dc"));
    EXPECT_EQ(core->FindWindow(WindowType::Shop), nullptr);
    EXPECT_EQ(Question(), nullptr);
    EXPECT_TRUE(Sent().empty());
}

TEST_F(ShopTest, TheServerKeepsTheListsCurrent) {
    Shop* shop = Open(SomeGoods(2), {});
    ASSERT_NE(shop, nullptr);
    ASSERT_TRUE(Deliver("dd 01" + U16(0) + U32(77)));
    EXPECT_EQ(shop->goods[1]->amount, 0);
    EXPECT_EQ(shop->goods[1]->value, 77u);
    ASSERT_TRUE(Deliver("dd 09" + U16(0) + U32(77)));  // past the end: nothing

    // A second shop replaces the first.
    Shop* second = Open(SomeGoods(1), {}, "Alice");
    ASSERT_NE(second, nullptr);
    int shops = 0;
    for (Window* window : core->windows) shops += window->typeId == WindowType::Shop;
    EXPECT_EQ(shops, 1);
    EXPECT_EQ(second->name, "Alice");
}

TEST_F(ShopTest, QuestionsAboutAnEntryTheServerTakesAwayEndWithIt) {
    Shop* shop = Open(SomeGoods(2), {});
    ASSERT_NE(shop, nullptr);
    core->useItemX = 0xFFFC;
    core->useItemY = 253;
    core->useItemZ = 0;
    core->moveCount = core->moveStackCount = 1;
    ASSERT_TRUE(core->ConfirmBuy(shop->goods[0], false, 1));
    ASSERT_NE(Question(), nullptr);
    ASSERT_TRUE(Deliver("57fd00" + U16(Key)));
    EXPECT_EQ(Question(), nullptr);

    core->useItemZ = 1;
    core->AddWindow(new Split(core.get(), shop->goods[1], 1, true))->OnOpen();
    ASSERT_NE(core->FindWindow(WindowType::Split), nullptr);
    ASSERT_TRUE(Deliver("53fd01"));
    EXPECT_EQ(core->FindWindow(WindowType::Split), nullptr);
}

TEST_F(ShopTest, MenusSellWithoutAskingAndSayWhatWasSoldInInfo) {
    Shop* shop = Open(SomeGoods(1), {Offer(Key, 3, 7, "Key")});
    ASSERT_NE(shop, nullptr);
    Sent();
    shop->OnRightClick(CellX(*shop, 0), OfferY(*shop, 0));
    shop->SellSelected(0);  // without a console: no line, the sale all the same
    OpenConsole(core.get());
    shop->SellSelected(1);
    EXPECT_EQ(Sent(), (Requests{{219, Key, 0, 0, 1}, {219, Key, 0, 0, 3}}));
    Channel* info = ChannelOf(core.get(), ChannelId::Info);
    ASSERT_NE(info, nullptr);
    ASSERT_FALSE(info->rawLines.empty());
    EXPECT_EQ(info->rawLines.back(), SoldLine("Key", 3, 21));
    EXPECT_EQ(Font::PlainText(info->rawLines.back()), "You've sold 3 keys for 21 copper coins.");
}

}  // namespace

namespace {

TEST_F(ShopTest, TheCoreFindsTheEntriesHeld) {
    Shop* shop = Open(SomeGoods(2), {Offer(Key, 1, 5, "Key")});
    ASSERT_NE(shop, nullptr);
    EXPECT_EQ(core->FindDraggedThing(0xFFFC, 253, 1), shop->goods[1]);
    EXPECT_EQ(core->FindDraggedThing(0xFFFC, 249, 0), shop->offer[0]);
    EXPECT_EQ(core->FindDraggedThing(0xFFFC, 249, 1), nullptr);
}

}  // namespace
