// Creature messages: the creature record, steps, health and numbers, removal, light shapes and
// the target list.
#include <gtest/gtest.h>

#include "core.h"
#include "creature.h"
#include "motions.h"
#include "protocol.h"
#include "shapes.h"
#include "support/gamemessages.h"
#include "tile.h"
#include "world.h"

namespace {

using CreatureMessages = GameMessages;

// A creature record of the person (sub-id 0) with these health, flags (and flags2) and lights.
std::string Record(uint32_t id, const std::string& healthFlagsNameLights) {
    char idHex[9];
    snprintf(idHex, sizeof idHex, "%02x%02x%02x%02x", id & 255, id >> 8 & 255, id >> 16 & 255,
             id >> 24);
    return std::string(idHex) + " c800 00000000 " + healthFlagsNameLights;
}

TEST_F(CreatureMessages, LightListIsReadLowByteFirstAndSkipsUnknownShapes) {
    // Torch (152), then 16, which the sample shapes do not have.
    ASSERT_TRUE(Deliver("75 05000000 9800 1000 ff"));
    EXPECT_EQ(rat->lightShapes, (std::vector<Shape*>{core->GetShape(SampleShape::Torch)}));
    ASSERT_TRUE(Deliver("75 05000000 ff"));
    EXPECT_TRUE(rat->lightShapes.empty());
}

TEST_F(CreatureMessages, RecordReadsFlags2AndEffectsAfterFlagBit7) {
    // Flags 0x84: flags2 follows, and bit 2 goes to the constructor (seated); flags2 0x06: in
    // the flagged list, with one effect.
    ASSERT_TRUE(Deliver("60 000000 " + Record(9, "64 6400 84 06 03526174 9800 ff 01 01 00 2c01")));
    Creature* creature = world->GetCreature(9);
    ASSERT_NE(creature, nullptr);
    EXPECT_EQ(creature->seated, 1);
    EXPECT_EQ(creature->name, "Rat");
    EXPECT_EQ(creature->lightShapes.size(), 1u);
    EXPECT_EQ(world->flaggedCreatures, (std::vector<Creature*>{creature}));
    EXPECT_EQ(creature->attached[2][1].things.size(), 1u);
    EXPECT_EQ(creature->position, (Position{PlayerX, PlayerY, PlayerZ}));
}

TEST_F(CreatureMessages, RecordOfThePlayersIdBecomesThePlayer) {
    world->RemoveCreature(player);
    ASSERT_EQ(core->player, nullptr);
    ASSERT_TRUE(Deliver("30 00000000 00 00 00 6400 fc " + Record(PlayerId, "c8 6400 00 00 ff") +
                        " ff fe" + VarStop(478)));
    ASSERT_NE(core->player, nullptr);
    EXPECT_EQ(core->player->id, PlayerId);
}

TEST_F(CreatureMessages, HealthAbove200CountsAs200) {
    ASSERT_TRUE(Deliver("60 000000 " + Record(9, "ff 6400 00 00 ff")));
    EXPECT_EQ(world->GetCreature(9)->health, 200);
    ASSERT_TRUE(Deliver("69 05000000 fa"));
    EXPECT_EQ(rat->health, 200);
}

TEST_F(CreatureMessages, DuplicateIdIsFatal) {
    Deliver("60 000000 " + Record(RatId, "64 6400 00 00 ff"));
    EXPECT_EQ(fatalText.rfind("read_creature: creature already found. (Rat x: 100, y : 100, z : 7, "
                              "id: 5; pos: x: 101, y : 100, z : 7",
                              0),
              0u)
        << fatalText;
}

TEST_F(CreatureMessages, StepUpAFloorGoesNorthWest) {
    ASSERT_TRUE(Deliver("68 05000000 10"));
    EXPECT_EQ(rat->serverPosition, (Position{PlayerX, PlayerY - 1, PlayerZ + 1}));
    ASSERT_TRUE(Deliver("68 05000000 20"));
    EXPECT_EQ(rat->serverPosition, (Position{PlayerX + 1, PlayerY, PlayerZ}));
}

TEST_F(CreatureMessages, StepOutOfViewRemovesTheCreature) {
    rat->serverPosition = rat->position = Position{PlayerX + 12, PlayerY, PlayerZ};
    core->followTarget = rat;
    core->hoverCreature = rat;
    ASSERT_TRUE(Deliver("68 05000000 02"));
    EXPECT_EQ(world->GetCreature(RatId), nullptr);
    EXPECT_EQ(core->followTarget, nullptr);
    EXPECT_EQ(core->hoverCreature, nullptr);
}

TEST_F(CreatureMessages, UnknownIdOfAStepEndsTheConnection) {
    EXPECT_FALSE(Deliver("68 4d000000 02"));
    EXPECT_EQ(DisconnectText(), "creature_move: unknown creature id 77(1)");
}

TEST_F(CreatureMessages, HiddenCreatureShowsNoNumber) {
    ASSERT_TRUE(Deliver("6a 05000000 32 01 0a00"));
    ASSERT_EQ(world->motions->effects.size(), 1u);
    EXPECT_EQ(static_cast<Motion*>(world->motions->effects[0])->text, "10");
    rat->hidden = 1;
    ASSERT_TRUE(Deliver("6a 05000000 28 01 0a00 c2 05000000 01 0a00"));
    EXPECT_EQ(rat->health, 40);
    EXPECT_EQ(world->motions->effects.size(), 1u);
}

TEST_F(CreatureMessages, RemovalReachesACreatureWithoutItsTile) {
    core->SelectTarget(0, rat);
    core->followTarget = core->hoverCreature = rat;
    world->GetLayer(PlayerZ)->DeleteTile(PlayerX + 1, PlayerY);
    ASSERT_TRUE(Deliver("62 05000000"));
    EXPECT_EQ(world->GetCreature(RatId), nullptr);
    EXPECT_TRUE(core->targets.empty());
    EXPECT_EQ(core->followTarget, nullptr);
    EXPECT_EQ(core->hoverCreature, nullptr);
    ASSERT_TRUE(Deliver("62 05000000"));  // already gone: nothing
}

TEST_F(CreatureMessages, LosingTheTargetsOfAnUnknownId) {
    Creature* other = Spawn(Position{PlayerX, PlayerY + 1, PlayerZ});
    core->SelectTarget(0, rat);
    core->SelectTarget(1, other);
    ASSERT_TRUE(Deliver("a1 00 4d000000"));
    EXPECT_TRUE(core->targets.empty());
    EXPECT_EQ(Notifications(), (std::vector<std::string>{"2:You've lost your targets."}));
    ClearNotifications();
    ASSERT_TRUE(Deliver("a1 00 4d000000"));
    EXPECT_TRUE(Notifications().empty());
    ASSERT_TRUE(Deliver("a1 00 05000000 a1 01 4d000000"));
    EXPECT_EQ(core->targets, (std::vector<Creature*>{rat}));
    ASSERT_TRUE(Deliver("a1 02 05000000"));
    EXPECT_TRUE(core->targets.empty());
}

TEST_F(CreatureMessages, WithoutAWorldTheyEndTheConnection) {
    World* kept = world;
    core->world = nullptr;
    core->player = nullptr;
    const struct {
        const char* message;
        const char* text;
    } cases[] = {
        {"64 05000000 02", "creature_turn: unknown creature id."},
        {"68 05000000 02", "creature_move: unknown creature id 5(1)"},
        {"69 05000000 32", "creature_status: unknown creature id."},
        {"6a 05000000 32 01 0a00", "creature_damage: unknown creature id."},
        {"76 05000000 6400", "creature_respeed: unknown creature id."},
        {"62 05000000", "creature_remove: no world."},
        {"72 05000000 03526174", "creature_rename: no world."},
        {"c4 05000000", "creature_typing: no world."},
        {"60 000000", "creature_appear: unknown player position."},
        {"4a 05000000 00 00 6400", "creature_effect: unknown creature id."},
    };
    for (const auto& c : cases) {
        Reconnect();
        EXPECT_FALSE(Deliver(c.message)) << c.message;
        EXPECT_EQ(DisconnectText(), c.text);
    }
    core->world = kept;
}

}  // namespace
