// The container window and the container messages: the window's size for its slots and items,
// the loot window's size and life, the full-container rule, the title, every close sending the
// close request once, and the server's ops 80, 82, 83, 85 and 87 reaching the right window.
#include "windows/game/container.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "core.h"
#include "item.h"
#include "mouse.h"
#include "notification.h"
#include "protocol.h"
#include "screen.h"
#include "shape.h"
#include "support/gamemessages.h"
#include "windows/dialogs/look.h"
#include "windows/game/action.h"
#include "windows/game/equipment.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/panel.h"
#include "windows/toolkit/windowtypes.h"

namespace {

using Payloads = std::vector<std::vector<uint8_t>>;

constexpr uint32_t Coins = 130, Sword = 141, Backpack = 140;
constexpr int32_t ClientWidth = 800, ClientHeight = 600, ConsoleHeight = 220;

// The strip the columns stand on, as the console is.
class Strip : public Window {
public:
    explicit Strip(Core* core) : Window(core) {
        Build();
        y = ClientHeight - ConsoleHeight;
        width = ClientWidth;
        height = ConsoleHeight;
    }
};

std::string Hex16(uint32_t value) {
    char text[8];
    std::snprintf(text, sizeof text, "%02x%02x", value & 0xFF, (value >> 8) & 0xFF);
    return text;
}

std::string Hex8(uint32_t value) {
    char text[4];
    std::snprintf(text, sizeof text, "%02x", value & 0xFF);
    return text;
}

// An item record: coins carry their count (one byte below 128, else two).
std::string Record(uint32_t shapeId, uint32_t count = 1) {
    std::string hex = Hex16(shapeId);
    if (shapeId != Coins) return hex;
    if (count < 128) return hex + Hex8(count);
    return hex + Hex8(128 + (count & 127)) + Hex8(count >> 7);
}

std::string Title(const std::string& text) {
    std::string hex = Hex8(uint32_t(text.size()));
    for (char c : text) hex += Hex8(uint8_t(c));
    return hex;
}

class Containers : public GameMessages {
protected:
    void SetUp() override {
        GameMessages::SetUp();
        core->screen = new Screen(core.get(), ClientWidth, ClientHeight, 32, 0);
        Window* strip = core->AddWindow(new Strip(core.get()));
        left = AddColumn(strip, Panel::Left);
        right = AddColumn(strip, Panel::Right);
        core->leftPanel = core->containerPanel = left;
        core->rightPanel = right;
        core->inGame = 1;
        connection->SentSinceLastCall();
    }

    Panel* AddColumn(Window* strip, int32_t side) {
        auto* column = new Panel(core.get(), strip, side);
        core->AddWindow(column);
        column->Place(ClientWidth, ClientHeight);
        return column;
    }

    std::vector<Item*> Items(uint32_t count, uint32_t shapeId = Sword) {
        std::vector<Item*> items;
        for (uint32_t i = 0; i < count; ++i)
            items.push_back(new Item(core.get(), shapeId, 0, 0, 0, 0, 1, ItemIdle));
        return items;
    }

    Container* InPanel(uint8_t index, uint8_t slots, std::vector<Item*> items,
                       const std::string& title = "bag") {
        auto* window = new Container(core.get(), left, index, 0, 0, slots, title, items);
        left->Add(window);
        return window;
    }

    Container* Loot(uint8_t index, std::vector<Item*> items) {
        auto* window =
            new Container(core.get(), nullptr, index, 0, 0, uint8_t(items.size()), "loot", items);
        core->AddWindow(window);
        window->SetGeometry(100, 100);
        return window;
    }

    void MouseAt(int32_t x, int32_t y) {
        core->screen->mouse->x = x;
        core->screen->mouse->y = y;
    }

    // Frames every 100 ms up to ms (from Start).
    void FramesUntil(Container* window, uint64_t from, uint64_t until) {
        for (uint64_t t = from; t <= until && window->state != 3; t += 100) {
            At(t);
            window->Draw();
        }
    }

    Payloads Closes() {
        Payloads closes;
        for (const std::vector<uint8_t>& payload : connection->SentSinceLastCall())
            if (!payload.empty() && payload[0] == 84) closes.push_back(payload);
        return closes;
    }

    // A screen point inside a panel window's cell.
    static std::pair<int32_t, int32_t> CellPoint(const Container& window, uint8_t slot) {
        return {window.x + window.contentX + 11 + 40 * (slot % 3) + 5,
                window.y + 27 + 40 * (slot / 3) + 5};
    }

    // The shape's image users: an item holds one while it lives.
    uint32_t ImageUsers(uint32_t shapeId) {
        uint32_t users = 0;
        for (const auto& entry : core->GetShape(shapeId)->colorCounts) users += entry.second;
        return users;
    }

    Panel* left = nullptr;
    Panel* right = nullptr;
};

struct HeightCase {
    uint8_t slots;
    uint32_t items;
    uint8_t limit;
    int32_t slotLimit;
    int32_t height;
};

TEST_F(Containers, APanelWindowIsAsHighAsItsItemsNeedWithinTheRowLimit) {
    for (const HeightCase& c :
         {HeightCase{20, 5, 0, 0, 111}, HeightCase{20, 5, 1, 2, 111}, HeightCase{3, 3, 0, 0, 74},
          HeightCase{20, 20, 1, 2, 111}, HeightCase{6, 6, 0, 0, 114}}) {
        core->options.limit = c.limit;
        core->slotLimit = c.slotLimit;
        Container* window = InPanel(9, c.slots, Items(c.items));
        EXPECT_EQ(window->height, c.height) << int(c.slots) << " slots, " << c.items << " items";
        EXPECT_EQ(window->contentHeight, (c.slots + 2) / 3 * 40 + 34);
        left->Close(window, true);
    }
}

TEST_F(Containers, ALootWindowFitsItsItems) {
    Container* four = Loot(3, Items(4));
    EXPECT_EQ(four->width, 142);
    EXPECT_EQ(four->height, 102);
    EXPECT_EQ(four->x, 100);
    Container* one = Loot(4, Items(1));
    EXPECT_EQ(one->width, 62);
    EXPECT_EQ(one->height, 62);
}

TEST_F(Containers, RemovingKeepsTheOpenedGridAndInsertingPastTheSlotsGrowsIt) {
    Container* window = InPanel(9, 6, Items(6));
    window->DeleteItem(5, false);
    window->DeleteItem(0, false);
    EXPECT_EQ(window->items.size(), 4u);
    EXPECT_EQ(window->slotCount, 6);
    EXPECT_EQ(window->contentHeight, 114);

    for (Item* item : Items(3)) window->InsertItem(item, 0);
    EXPECT_EQ(window->slotCount, 7);
    EXPECT_EQ(window->contentHeight, 154);
    EXPECT_EQ(window->height, 154);
}

TEST_F(Containers, AFullContainerTakesOnlyAStackOfAtMost999OrAContainer) {
    std::vector<Item*> items = Items(1, Coins);
    items[0]->count = 999;
    items.push_back(new Item(core.get(), Coins, 0, 0, 0, 0, 1000, ItemIdle));
    items.push_back(new Item(core.get(), Sword, 0, 0, 0, 0, 1, ItemIdle));
    items.push_back(new Item(core.get(), Backpack, 0, 0, 0, 0, 1, ItemIdle));
    Container* window = InPanel(9, 4, items);
    Item held(core.get(), Coins, 0, 0, 0, 0, 5, ItemIdle);

    struct DropCase {
        uint8_t slot;
        bool refused;
    };
    for (const DropCase& c :
         {DropCase{0, false}, DropCase{1, true}, DropCase{2, true}, DropCase{3, false}}) {
        ClearNotifications();
        core->dropZ = 77;
        core->useItemX = 0xFFFF;
        core->useItemY = 8;  // another container
        core->dragTo = &held;
        core->inputModes[InputDrop] = 1;
        const auto [x, y] = CellPoint(*window, c.slot);
        window->OnMouseUp(x, y);
        const std::vector<std::string> lines = Notifications();
        const bool refused =
            std::find(lines.begin(), lines.end(), "2:This container is full.") != lines.end();
        EXPECT_EQ(refused, c.refused) << int(c.slot);
        EXPECT_EQ(core->dropZ, c.refused ? 77 : c.slot);
    }
    core->dragTo = nullptr;
}

TEST_F(Containers, TheTitleIsCapitalisedAndCutToItsRoom) {
    EXPECT_EQ(InPanel(9, 3, {}, "golden bag")->name, "Golden Bag");
    const std::string longTitle = "a very long title that cannot fit";
    const std::string shown = InPanel(10, 3, {}, longTitle)->name;
    EXPECT_EQ(shown.substr(shown.size() - 2), "..");
    EXPECT_LT(shown.size(), longTitle.size());
    EXPECT_EQ(InPanel(11, 3, {}, "")->name, "Container");
}

TEST_F(Containers, AHoveredLootWindowStaysAndClosesOnceLeftAlone) {
    Container* window = Loot(5, Items(2));
    MouseAt(window->x + 5, window->y + 5);
    FramesUntil(window, 0, 30000);
    EXPECT_EQ(window->state, 1u);
    EXPECT_TRUE(Closes().empty());

    MouseAt(700, 500);
    FramesUntil(window, 30100, 31100);
    EXPECT_EQ(window->state, 3u);
    EXPECT_EQ(Closes(), (Payloads{{84, 5}}));
}

TEST_F(Containers, TheLastItemLeavingALootWindowFadesItOutWithOneClose) {
    Container* window = Loot(6, Items(1));
    MouseAt(700, 500);
    At(1000);
    ASSERT_TRUE(Deliver("53 06 00"));
    EXPECT_EQ(window->state, 2u);
    FramesUntil(window, 1000, 3000);
    EXPECT_EQ(window->state, 3u);
    window->Draw();
    EXPECT_EQ(Closes(), (Payloads{{84, 6}}));
}

TEST_F(Containers, EveryCloseOfAPanelWindowSendsTheCloseOnce) {
    Container* button = InPanel(3, 6, Items(2));
    button->OnCommand(button->FindButton(ButtonId::Close));
    EXPECT_EQ(Closes(), (Payloads{{84, 3}}));

    InPanel(4, 6, Items(2));
    ASSERT_TRUE(Deliver("55 04"));
    EXPECT_EQ(core->FindContainerWindow(4), nullptr);
    EXPECT_EQ(Closes(), (Payloads{{84, 4}}));

    Container* shrunk = InPanel(5, 6, Items(2));
    ASSERT_EQ(shrunk->panel, left);
    ASSERT_EQ(shrunk->height, 74);
    shrunk->Reopen(0, 0, 0, "bag");
    EXPECT_EQ(shrunk->state, 3u);
    EXPECT_EQ(Closes(), (Payloads{{84, 5}}));

    auto* restored = new Container(core.get(), left, 7, 6);
    left->Add(restored);
    InPanel(8, 6, Items(1));
    core->CloseContainerWindows();
    EXPECT_EQ(restored->state, 3u);
    EXPECT_NE(core->FindContainerWindow(8), nullptr);
    EXPECT_EQ(Closes(), (Payloads{{84, 7}}));
}

TEST_F(Containers, ServerCloseFadesALootWindow) {
    Container* window = Loot(9, Items(2));
    MouseAt(700, 500);
    ASSERT_TRUE(Deliver("55 09"));
    EXPECT_EQ(window->state, 2u);
    FramesUntil(window, 0, 1000);
    EXPECT_EQ(Closes(), (Payloads{{84, 9}}));
}

TEST_F(Containers, TheTitleMenuStacksOnlyAnOpenContainer) {
    Container* window = InPanel(3, 6, Items(2));
    window->OnRightClick(window->x + 20, window->y + 5);
    auto* menu = dynamic_cast<Action*>(core->windows.back());
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->entries[0].label, "Auto-Stack Contents");
    menu->Execute(0);
    EXPECT_EQ(connection->SentSinceLastCall(), (Payloads{{86, 3}}));

    window->OnRightClick(window->x + 20, window->y + 5);
    menu = dynamic_cast<Action*>(core->windows.back());
    ASSERT_NE(menu, nullptr);
    window->OnCommand(window->FindButton(ButtonId::Close));
    menu->Execute(0);
    EXPECT_EQ(connection->SentSinceLastCall(), (Payloads{{84, 3}}));
}

// --- The server's messages ----------------------------------------------------------------------

TEST_F(Containers, AnOpenWithoutAPendingPlaceGoesToTheContainerColumn) {
    ASSERT_TRUE(Deliver("50 03 00 06 0000 " + Title("golden bag") + Record(Sword) +
                        Record(Coins, 7) + "ff"));
    Container* window = core->FindContainerWindow(3);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->panel, left);
    EXPECT_EQ(window->name, "Golden Bag");
    ASSERT_EQ(window->items.size(), 2u);
    EXPECT_EQ(window->items[0]->shapeId, Sword);
    EXPECT_EQ(window->items[1]->count, 7u);
}

TEST_F(Containers, APendingPlaceChoosesTheColumn) {
    protocol->pendingOpens.push_back({10, 10, 1});
    ASSERT_TRUE(Deliver("50 03 80 06 0000 " + Title("bag") + "ff"));
    Container* window = core->FindContainerWindow(3);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->panel, right);
    EXPECT_NE(window->FindButton(27), nullptr);  // it lies in another container
    EXPECT_TRUE(protocol->pendingOpens.empty());
}

TEST_F(Containers, MarkersAreSkippedAndAStopNumberEndsTheList) {
    // A stop number of 0 (0xfe 0x80) lets the list go on, one of 1 (0xfe 0x81) ends it.
    ASSERT_TRUE(Deliver("50 03 00 06 0000 " + Title("bag") + "fb" + Record(Sword) + "fc fd fe80" +
                        Record(Sword) + "fe81"));
    Container* window = core->FindContainerWindow(3);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->items.size(), 2u);
}

TEST_F(Containers, AnOpenForAnOpenNumberRefillsTheSameWindow) {
    Container* window = InPanel(3, 6, Items(2));
    const int32_t x = window->x, y = window->y;
    ASSERT_TRUE(Deliver("50 03 00 09 0000 " + Title("chest") + Record(Coins, 1) + Record(Coins, 2) +
                        Record(Coins, 3) + "ff"));
    EXPECT_EQ(core->FindContainerWindow(3), window);
    EXPECT_EQ(window->panel, left);
    EXPECT_EQ(window->x, x);
    EXPECT_EQ(window->y, y);
    EXPECT_EQ(window->name, "Chest");
    EXPECT_EQ(window->slotCount, 9);
    ASSERT_EQ(window->items.size(), 3u);
    for (uint32_t i = 0; i < 3; ++i) EXPECT_EQ(window->items[i]->count, i + 1);
}

TEST_F(Containers, InsertedItemsTakeTheSlotInReverseWireOrder) {
    Container* window = InPanel(3, 9, Items(3));
    ASSERT_TRUE(Deliver("52 03 02 03" + Record(Coins, 1) + Record(Coins, 2) + Record(Coins, 3)));
    ASSERT_EQ(window->items.size(), 6u);
    EXPECT_EQ(window->items[2]->count, 3u);
    EXPECT_EQ(window->items[3]->count, 2u);
    EXPECT_EQ(window->items[4]->count, 1u);
    EXPECT_EQ(window->items[5]->shapeId, Sword);
}

TEST_F(Containers, AnEmptyReplacementShortensTheList) {
    Container* window = InPanel(3, 9, Items(3));
    ASSERT_TRUE(Deliver("57 03 01 0000"));
    EXPECT_EQ(window->items.size(), 2u);
    EXPECT_EQ(core->FindContainerWindow(3), window);
    ASSERT_TRUE(Deliver("57 03 00" + Record(Coins, 4)));
    EXPECT_EQ(window->items[0]->count, 4u);
    EXPECT_EQ(window->items.size(), 2u);
}

TEST_F(Containers, ASlotPastTheListChangesNothingAndLeaksNothing) {
    Container* window = InPanel(3, 9, Items(2, Coins));
    const uint32_t users = ImageUsers(Coins);
    ASSERT_TRUE(Deliver("52 03 c8 01" + Record(Coins, 5)));
    ASSERT_TRUE(Deliver("53 03 c8"));
    ASSERT_TRUE(Deliver("57 03 c8" + Record(Coins, 5)));
    ASSERT_TRUE(Deliver("57 00 c8" + Record(Coins, 5)));
    EXPECT_EQ(window->items.size(), 2u);
    EXPECT_EQ(ImageUsers(Coins), users);
}

TEST_F(Containers, ItemsForAMissingWindowAreDropped) {
    const uint32_t users = ImageUsers(Coins);
    ASSERT_TRUE(Deliver("52 0c 00 01" + Record(Coins, 5)));
    ASSERT_TRUE(Deliver("52 fd 00 01" + Record(Coins, 5)));
    ASSERT_TRUE(Deliver("57 fa 00" + Record(Coins, 5)));
    EXPECT_EQ(ImageUsers(Coins), users);
}

TEST_F(Containers, AnEmptyLootIsClosedAndSaysEmpty) {
    core->options.lootcont = 1;
    protocol->pendingOpens.push_back({120, 130, 255});
    ASSERT_TRUE(Deliver("50 07 00 04 0000 " + Title("dead rat") + "ff"));
    EXPECT_EQ(core->FindContainerWindow(7), nullptr);
    EXPECT_EQ(Closes(), (Payloads{{84, 7}}));
    auto* look = dynamic_cast<Look*>(core->FindWindow(WindowType::Look));
    ASSERT_NE(look, nullptr);
    EXPECT_EQ(look->title, "dead rat");
    EXPECT_EQ(look->text, "empty");
    EXPECT_EQ(look->lifetimeMs, 2500);
    EXPECT_EQ(look->x, 120);
    EXPECT_EQ(look->y, 130);
}

TEST_F(Containers, ASecondLootWindowFadesTheFirstOnly) {
    core->options.lootcont = 1;
    Container* inColumn = InPanel(2, 6, Items(1));
    protocol->pendingOpens.push_back({120, 130, 255});
    ASSERT_TRUE(Deliver("50 07 00 04 0000 " + Title("rat") + Record(Sword) + "ff"));
    Container* first = core->FindContainerWindow(7);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->floating, 1);
    EXPECT_EQ(first->x, 120);
    protocol->pendingOpens.push_back({220, 230, 255});
    ASSERT_TRUE(Deliver("50 08 00 04 0000 " + Title("wolf") + Record(Sword) + "ff"));
    EXPECT_EQ(first->state, 2u);
    EXPECT_EQ(inColumn->state, 1u);
    EXPECT_EQ(core->FindContainerWindow(8)->state, 1u);
}

TEST_F(Containers, LootWithoutTheLootOptionOpensInTheLeftColumn) {
    core->options.lootcont = 0;
    core->containerPanel = right;
    protocol->pendingOpens.push_back({120, 130, 255});
    ASSERT_TRUE(Deliver("50 07 00 04 0000 " + Title("rat") + Record(Sword) + "ff"));
    Container* window = core->FindContainerWindow(7);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->panel, left);
}

TEST_F(Containers, DestroyingTheHeldItemLetsGoOfIt) {
    Container* window = InPanel(3, 9, Items(3));
    core->dragTo = window->items[1];
    ASSERT_TRUE(Deliver("53 03 01"));
    EXPECT_EQ(core->dragTo, nullptr);
    core->dragTo = window->items[0];
    ASSERT_TRUE(Deliver("57 03 00 0000"));
    EXPECT_EQ(core->dragTo, nullptr);
    core->dragTo = window->items[0];
    window->Reopen(0, 0, 9, "bag");
    EXPECT_EQ(core->dragTo, nullptr);
}

TEST_F(Containers, SlotsUnderPoints) {
    Container* window = InPanel(3, 9, Items(9));
    const auto [x0, y0] = CellPoint(*window, 0);
    EXPECT_EQ(window->SlotAt(x0, y0), 0);
    const auto [x4, y4] = CellPoint(*window, 4);
    EXPECT_EQ(window->SlotAt(x4, y4), 4);
    EXPECT_EQ(window->SlotAt(window->x + 1, window->y + 1), Container::NoSlot);
}

}  // namespace
