// The brewing and crafting windows: the component slots down each column, the main slot's
// placeholder, the requests their buttons and clicks send, and the server's open and close.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core.h"
#include "item.h"
#include "support/storemessages.h"
#include "windows/dialogs/brew.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/windowtypes.h"

namespace {

constexpr uint16_t Sword = 141;

class BrewTest : public StoreWindows {
protected:
    Item* NewItem() { return new Item(core.get(), Sword, 0, 0, 0, 0, 1, ItemIdle); }
    // The places a repaint draws the main slot's placeholder picture at.
    std::vector<std::string> Placeholders(Brew* brew) {
        std::vector<std::string> places;
        for (const std::string& call : DrawnCalls(brew, true))
            if (call.find(",295,144,36,36,") != std::string::npos)
                places.push_back(call.substr(0, call.find(",295,144")));
        return places;
    }
};

// A window of the split window's type that notes its closing.
class SplitStandIn : public Window {
public:
    SplitStandIn(Core* core, bool& closed) : Window(core), closed(closed) {
        typeId = WindowType::Split;
    }
    void Close() override { closed = true; }
    bool& closed;
};

TEST_F(BrewTest, ComponentsRunDownEachColumn) {
    ASSERT_TRUE(Deliver("5c"));
    Brew* brew = Find<Brew>(WindowType::Brew);
    ASSERT_NE(brew, nullptr);
    ASSERT_EQ(brew->slotRects.size(), 10u);
    EXPECT_EQ(brew->slotRects[0].x, 197);
    EXPECT_EQ(brew->slotRects[4].x, 84);
    EXPECT_EQ(brew->slotRects[4].y, 88);
    // A slot of 10 or more stores nothing; the item is freed.
    brew->SetItem(NewItem(), 12);
    for (Item* item : brew->slots) EXPECT_EQ(item, nullptr);
}

TEST_F(BrewTest, OnlyAnEmptyMainSlotShowsThePlaceholder) {
    for (uint8_t open : {92, 212}) {
        ASSERT_TRUE(Deliver(std::vector<uint8_t>{open}));
        Brew* window = Find<Brew>(open == 92 ? WindowType::Brew : WindowType::Craft);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(Placeholders(window), std::vector<std::string>{"DrawImagePart(197,86"});
        window->SetItem(NewItem(), 0);
        EXPECT_TRUE(Placeholders(window).empty());
        window->RemoveItem(0);
        window->SetItem(NewItem(), 1);
        EXPECT_EQ(Placeholders(window), std::vector<std::string>{"DrawImagePart(197,86"});
    }
}

TEST_F(BrewTest, TheServersCloseTakesTheSplitWindowOnlyWithTheWindow) {
    for (uint8_t open : {92, 212}) {
        bool closed = false;
        core->AddWindow(new SplitStandIn(core.get(), closed));
        ASSERT_TRUE(Deliver(std::vector<uint8_t>{uint8_t(open + 1)}));
        EXPECT_FALSE(closed) << "no window to close";
        ASSERT_TRUE(Deliver(std::vector<uint8_t>{open}));
        ASSERT_TRUE(Deliver(std::vector<uint8_t>{uint8_t(open + 1)}));
        EXPECT_TRUE(closed);
        EXPECT_EQ(core->FindWindow(open == 92 ? WindowType::Brew : WindowType::Craft), nullptr);
        core->RemoveWindow(core->FindWindow(WindowType::Split));
    }
}

TEST_F(BrewTest, ButtonsAndClicksSendTheirRequests) {
    for (uint8_t open : {92, 212}) {
        ASSERT_TRUE(Deliver(std::vector<uint8_t>{open}));
        Brew* window = Find<Brew>(open == 92 ? WindowType::Brew : WindowType::Craft);
        ASSERT_NE(window, nullptr);
        window->SetItem(NewItem(), 2);
        EXPECT_EQ(core->FindDraggedThing(open == 92 ? 0xFFFB : 0xFFFA, 0, 2), window->GetItem(2));
        Sent();
        Press(window, ButtonId::Ok);
        Press(window, ButtonId::Ok);
        Click(window, window->x + window->slotRects[2].x + 10,
              window->y + window->slotRects[2].y + 10);
        const uint8_t container = open == 92 ? 251 : 252;
        EXPECT_EQ(Sent(), (Requests{{open}, {open}, {164, container, 2, Sword, 0}}));
        Press(window, 56, "cancel");
        EXPECT_EQ(Sent(), (Requests{{uint8_t(open + 1)}}));
    }
}

TEST_F(BrewTest, ASecondOpenReplacesTheWindowAndACloseWithoutOneDoesNothing) {
    ASSERT_TRUE(Deliver("5c"));
    Find<Brew>(WindowType::Brew)->SetItem(NewItem(), 1);
    ASSERT_TRUE(Deliver("5c"));
    EXPECT_EQ(Find<Brew>(WindowType::Brew)->GetItem(1), nullptr);
    int brews = 0;
    for (Window* window : core->windows) brews += window->typeId == WindowType::Brew;
    EXPECT_EQ(brews, 1);
    ASSERT_TRUE(Deliver("5d"));
    EXPECT_EQ(core->FindWindow(WindowType::Brew), nullptr);
    ASSERT_TRUE(Deliver("5d"));
}

}  // namespace
