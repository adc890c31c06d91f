// The equipment window: its health bar, the slots under points with their margins, the status
// strip and its menu, and the ownership of the items in its slots.
#include "windows/game/equipment.h"

#include <gtest/gtest.h>

#include <string>

#include "core.h"
#include "font.h"
#include "item.h"
#include "mouse.h"
#include "screen.h"
#include "shape.h"
#include "support/creatureworld.h"
#include "support/drawntext.h"
#include "support/recordingdriver.h"
#include "windows/dialogs/look.h"
#include "windows/game/action.h"
#include "windows/toolkit/windowtypes.h"

namespace {

constexpr uint32_t Coins = 130;

class EquipmentTest : public CreatureWorld {
protected:
    void SetUp() override {
        CreatureWorld::SetUp();
        core->screen = new Screen(core.get(), 800, 600, 32, 0);
        core->options.widescreen = core->options.inventory = 1;
        equipment = new Equipment(core.get());
        core->AddWindow(equipment);
        equipment->Place(800, 600);
        core->equipmentWindow = equipment;
    }

    Item* NewCoins() { return new Item(core.get(), Coins, 0, 0, 0, 0, 3, ItemIdle); }

    uint32_t ImageUsers() {
        uint32_t users = 0;
        for (const auto& entry : core->GetShape(Coins)->colorCounts) users += entry.second;
        return users;
    }

    template <typename W>
    W* Newest() {
        return dynamic_cast<W*>(core->windows.back());
    }

    Equipment* equipment = nullptr;
};

TEST_F(EquipmentTest, TheHealthBarFillsItsShare) {
    EXPECT_EQ(Equipment::HealthFill(50, 200), 34);
    EXPECT_EQ(Equipment::HealthFill(300, 200), 138);
    EXPECT_EQ(Equipment::HealthFill(-5, 200), 0);
    EXPECT_EQ(Equipment::HealthFill(50, 0), 0);
}

TEST_F(EquipmentTest, TheHealthTooltipSaysWhenThePlayerIsDead) {
    core->hp = 50;
    core->maxHp = 200;
    equipment->OnMouseUp(equipment->x + 40, equipment->y + 10);
    auto* look = Newest<Look>();
    ASSERT_NE(look, nullptr);
    EXPECT_EQ(look->title, "Health:  50 / 200");
    core->maxHp = 0;
    equipment->OnMouseUp(equipment->x + 40, equipment->y + 10);
    ASSERT_NE(Newest<Look>(), nullptr);
    EXPECT_EQ(Newest<Look>()->title, "You seem to be dead.");
}

TEST_F(EquipmentTest, EverySlotHasTwoPixelsOfMargin) {
    const int32_t left = equipment->x + equipment->contentX, top = equipment->y + 26;
    struct Hit {
        int32_t dx, dy;
        uint8_t slot;
    };
    for (const Hit& hit :
         {Hit{12, 0, 0}, Hit{10, -2, 0}, Hit{9, 0, Equipment::NoSlot}, Hit{49, 0, 0}, Hit{50, 0, 1},
          Hit{12, 37, 0}, Hit{12, 38, 3}, Hit{129, 0, 2}, Hit{130, 0, Equipment::NoSlot},
          Hit{92, 160, 14}, Hit{92, 198, Equipment::NoSlot}})
        EXPECT_EQ(equipment->SlotAt(left + hit.dx, top + hit.dy), hit.slot)
            << hit.dx << ", " << hit.dy;
}

TEST_F(EquipmentTest, TheStatusRowsNameTheActiveEffects) {
    SetStatus(3, true);
    SetStatus(7, true);
    core->options.hudstatus = 1;
    const int32_t u = equipment->x + equipment->width - 19, v = equipment->y + 8 + 19;
    EXPECT_EQ(equipment->StatusAt(u + 3, v + 2), 3);
    EXPECT_EQ(equipment->StatusAt(u + 3, v + 16), 7);
    EXPECT_EQ(equipment->StatusAt(u + 3, v + 30), -1);

    const bool shown = core->statusEffects[7].shown, otherShown = core->statusEffects[3].shown;
    equipment->OnRightClick(u + 3, v + 16);
    auto* menu = Newest<Action>();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->title, core->statusEffects[7].name);
    ASSERT_EQ(menu->entries.size(), 1u);
    EXPECT_EQ(menu->entries[0].label, shown ? "Hide from HUD" : "Show on HUD");
    menu->Execute(0);
    EXPECT_NE(core->statusEffects[7].shown, shown);
    EXPECT_EQ(core->statusEffects[3].shown, otherShown);
}

TEST_F(EquipmentTest, ItemsTheWindowDoesNotKeepAreDestroyed) {
    const uint32_t none = ImageUsers();
    equipment->SetSlot(NewCoins(), 2);
    equipment->SetSlot(NewCoins(), 2);
    equipment->SetSlot(NewCoins(), 15);
    equipment->ReplaceSlot(NewCoins(), 200);
    ASSERT_NE(equipment->ItemAt(2), nullptr);
    EXPECT_EQ(equipment->ItemAt(15), nullptr);
    EXPECT_EQ(ImageUsers(), none + 1);

    core->dragTo = equipment->ItemAt(2);
    delete equipment->ClearSlot(2);
    EXPECT_EQ(core->dragTo, nullptr);
    EXPECT_EQ(equipment->ItemAt(2), nullptr);
    EXPECT_EQ(ImageUsers(), none);
}

TEST_F(EquipmentTest, TheLastThreeSlotsCarryTheActionKeysNames) {
    RecordingDriver::Install();
    // Scan codes of Q, W and E.
    core->keys[KeyAction1] = 0x10, core->keys[KeyAction1 + 1] = 0x11,
    core->keys[KeyAction1 + 2] = 0x12;
    const auto labels = [this] {
        RecordingDriver::Take();
        equipment->Draw();
        std::vector<DrawnText> names;
        for (const DrawnText& text : DrawnTexts(RecordingDriver::Take()))
            if (text.colour == 0xC0FFFFFF) names.push_back(text);
        return names;
    };
    const std::vector<DrawnText> names = labels();
    ASSERT_EQ(names.size(), 3u);
    const Font* font = core->GetFont(1);
    for (uint32_t i = 0; i < 3; ++i) {
        const EquipmentCell& cell = equipment->cells[12 + i];
        EXPECT_EQ(names[i].text, std::string(1, "QWE"[i]));
        // Right-aligned 2 pixels in from the cell's right edge, 1 pixel below its top.
        EXPECT_EQ(names[i].x + font->MeasureText(names[i].text),
                  equipment->x + equipment->contentX + cell.x + 36 - 2);
        EXPECT_EQ(names[i].y, equipment->y + cell.y + 1);
    }
    // A new binding shows its own name.
    core->keys[KeyAction1 + 1] = 0x13;
    EXPECT_EQ(labels()[1].text, "R");
}

}  // namespace
