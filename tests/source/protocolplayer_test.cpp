// Player messages: the ability bar, hit points and the player status record.
#include <gtest/gtest.h>

#include "core.h"
#include "creature.h"
#include "protocol.h"
#include "support/gamemessages.h"
#include "weather.h"
#include "world.h"

namespace {

using PlayerMessages = GameMessages;

TEST_F(PlayerMessages, AbilityBarSkipsAndPlaces) {
    ASSERT_TRUE(Deliver("d0 fe0a 0500 ff 0701 fef1"));
    ASSERT_EQ(core->spellPairs.size(), 2u);
    EXPECT_EQ(core->spellPairs[0].slot, 10u);
    EXPECT_EQ(core->spellPairs[0].value, 5u);
    EXPECT_EQ(core->spellPairs[1].slot, 12u);
    EXPECT_EQ(core->spellPairs[1].value, 263u);
}

TEST_F(PlayerMessages, PointsSetTheHealthBarOnlyWithAMaximum) {
    core->maxHp = 200;
    ASSERT_TRUE(Deliver("13 3200 0a00"));
    EXPECT_EQ(core->hp, 50);
    EXPECT_EQ(core->mana, 10);
    EXPECT_EQ(player->health, 50);
    core->maxHp = 0;
    ASSERT_TRUE(Deliver("13 6400 0a00"));
    EXPECT_EQ(core->hp, 100);
    EXPECT_EQ(player->health, 50);
}

// Maximum hit points 200, mana 50, speed 300, level 5, experience 16 of 32, skill pool 7,
// attribute points 3, value 2, capacity 128, points 100 / 30.
const std::string StatusFields =
    "12 c800 3200 2c01 0500 10000000 20000000 07 0300 02 8001 6400 1e00"
    "0102 0304 0506 0708 090a 0b0c 0d0e 0f10 1112 1314 1516 1718 191a 1b1c 1d1e"
    "1209 ff 02 01 03 01 0500";

TEST_F(PlayerMessages, StatusRecordStoresEveryField) {
    core->outfits = {99};
    core->statusEffects.at(0).active = 1;
    ASSERT_TRUE(Deliver(StatusFields + " 9c"));
    EXPECT_EQ(core->maxHp, 200);
    EXPECT_EQ(core->maxMana, 50);
    EXPECT_EQ(player->speed, 300);
    EXPECT_EQ(core->experience, 16u);
    EXPECT_EQ(core->experienceNext, 32u);
    EXPECT_EQ(core->skillPool, 7u);
    EXPECT_EQ(core->attributePoints, 3);
    EXPECT_EQ(core->capacity, 128u);
    EXPECT_EQ(core->hp, 100);
    EXPECT_EQ(player->health, 100);
    ASSERT_EQ(core->statTable.size(), 15u);
    EXPECT_EQ(core->statTable[1].bytes[0], 3);
    EXPECT_EQ(core->statTable[1].bytes[1], 4);
    EXPECT_EQ(core->statTable[1].bytes[2], 9);  // stat id 18 is the second entry
    EXPECT_FALSE(core->statusEffects[0].active);
    EXPECT_TRUE(core->statusEffects[1].active);
    EXPECT_TRUE(core->statusEffects[3].active);
    EXPECT_EQ(core->outfits, (std::vector<uint32_t>{5}));
    world->weather->Render();
    EXPECT_EQ(world->weather->mode, Weather::NightMode);
    EXPECT_EQ(world->weather->ambientColour, 0xFF303040u);
}

TEST_F(PlayerMessages, DaylightLightsTheWorldWhite) {
    world->weather->ambientColour = 0;
    ASSERT_TRUE(Deliver(StatusFields + " 64"));  // light 100
    world->weather->Render();
    EXPECT_EQ(world->weather->ambientColour, 0xFFFFFFFFu);
}

TEST_F(PlayerMessages, LightZeroIsFatal) {
    Deliver(StatusFields + " 00");
    EXPECT_EQ(fatalText, "unknown light value: 0");
}

TEST_F(PlayerMessages, WorldMapWithoutDriverEndsTheConnection) {
    ASSERT_EQ(core->mapDriver, nullptr);
    EXPECT_FALSE(Deliver("4d 00 00 6400 6400 07"));
    EXPECT_EQ(DisconnectText(), "map driver error");
    Reconnect();
    EXPECT_FALSE(Deliver("4e 0100 000102030405060708090a0b0c0d0e0f 00 00 6400 6400 07 0000"));
    EXPECT_EQ(DisconnectText(), "select map: driver error");
}

}  // namespace
