#include "motions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "core.h"
#include "creature.h"
#include "support/drawntext.h"
#include "support/recordingdriver.h"
#include "support/testcore.h"
#include "support/worlddata.h"
#include "world.h"

namespace {

using namespace FieldCase;

constexpr uint32_t NumberFont = 101;

class MotionsTest : public WorldData {
protected:
    void SetUp() override {
        WorldData::SetUp();
        if (!core->GetFont(NumberFont)) core->AddFont(NumberFont, MakeTestFont(core, NumberFont));
        player = MakeCreature(1, Here, "Me");
        core->player = player;
        rat = MakeCreature(2, At(2, 1), "Rat");
        RecordingDriver::Install();
    }
    void TearDown() override {
        core->options.elastic = 0;
        WorldData::TearDown();
    }
    // The numbers drawn by the frame at `ms` after the start.
    std::vector<DrawnText> FrameAt(uint64_t ms) {
        core->frameTimeMs = Start + ms;
        RecordingDriver::Take();
        world->motions->Update(FieldX, FieldY, FieldWidth, FieldHeight);
        return DrawnTexts(RecordingDriver::Take());
    }
    // A number over the rat with the drift of the random draw `r`.
    void AddNumber(uint8_t kind, int32_t value, std::vector<int> randoms = {40}) {
        FakePlatform::randoms.assign(randoms.begin(), randoms.end());
        world->motions->Add(rat, kind, value);
    }

    Creature* player = nullptr;
    Creature* rat = nullptr;
};

TEST_F(MotionsTest, KindsChooseTheColour) {
    struct Case {
        uint8_t kind;
        int32_t value;
        uint32_t colour;
        std::string text;
    } cases[] = {
        {2, -15, 0xFFE04040, "-15"}, {0, 7, 0xFFFFFFFF, "7"},   {1, 250, 0xFFE0E0E0, "250"},
        {3, 1, 0xFF60E060, "1"},     {12, 1, 0xFFE6A0A0, "1"},  {13, 1, 0xFFFFFFFF, "1"},
        {99, 1, 0xFFFFFFFF, "1"},    {101, 1, 0xFFFFFFFF, "1"}, {255, 1, 0xFFFFFFFF, "1"},
    };
    for (const Case& c : cases) {
        world->motions->Clear();
        AddNumber(c.kind, c.value);
        const std::vector<DrawnText> drawn = FrameAt(0);
        ASSERT_EQ(drawn.size(), 1u) << int(c.kind);
        EXPECT_EQ(drawn[0].colour, c.colour) << int(c.kind);
        EXPECT_EQ(drawn[0].text, c.text) << int(c.kind);
    }
}

TEST_F(MotionsTest, ANumberRisesFadesAndGoesAfter1280Ms) {
    AddNumber(2, 15);
    const DrawnText start = FrameAt(0).at(0);
    const DrawnText half = FrameAt(640).at(0);
    EXPECT_EQ(half.y, start.y - 32);
    EXPECT_EQ(half.x, start.x);  // no drift
    EXPECT_EQ(half.colour, 0xE0E04040u);
    EXPECT_EQ(FrameAt(1279).size(), 1u);
    EXPECT_EQ(world->motions->effects.size(), 1u);
    FrameAt(1280);  // the last frame, at alpha 0
    EXPECT_TRUE(world->motions->effects.empty());
}

TEST_F(MotionsTest, TheDriftBendsThePathSideways) {
    // r mod 80 - 40: 0 gives -0.40, 79 gives 0.39 of a pixel; at step k the number has moved
    // drift * k * k / 64 against it.
    AddNumber(0, 1, {0});
    AddNumber(0, 2, {79});
    const std::vector<DrawnText> start = FrameAt(0), late = FrameAt(1260);  // k = 63
    ASSERT_EQ(late.size(), 2u);
    EXPECT_NEAR(late[0].x - start[0].x, 0.40 * 63 * 63 / 64, 1);
    EXPECT_NEAR(late[1].x - start[1].x, -0.39 * 63 * 63 / 64, 1);
}

TEST_F(MotionsTest, KindHundredShowsAWordNeverTheValue) {
    const char* words[] = {"trade", "job", "help", "quest", "sorvan"};
    for (int pick = 0; pick < 5; ++pick) {
        world->motions->Clear();
        AddNumber(WordMotionKind, 1234, {79, pick + 5});  // the drift first, then the word
        const std::vector<DrawnText> drawn = FrameAt(0);
        ASSERT_EQ(drawn.size(), 1u);
        EXPECT_EQ(drawn[0].text, words[pick]);
        EXPECT_EQ(drawn[0].colour, 0xFFE6E6E6u);
    }
}

TEST_F(MotionsTest, ElasticMovesHalfATileUpAndLeftAtEighteenColumns) {
    AddNumber(0, 5);
    const DrawnText plain = FrameAt(0).at(0);
    core->options.elastic = 1;
    const DrawnText elastic = FrameAt(0).at(0);
    const double s19 = (FieldWidth + 6) / 19.0, s18 = (FieldWidth + 6) / 18.0;
    // The rat stands 2 east and 1 south of the player, at view column 11, row 8.
    const double dx = 11 * (s18 - s19) + (s18 - s19) / 4 - s18 / 2;
    const double dy = 8 * (s18 - s19) - (s18 - s19) / 4 - s18 / 2;
    EXPECT_NEAR(elastic.x - plain.x, dx, 1);
    EXPECT_NEAR(elastic.y - plain.y, dy, 1);
}

TEST_F(MotionsTest, ANumberOnAnotherFloorIsNotDrawnYetGoesInTime) {
    Creature* below = MakeCreature(3, At(1, 0, 8), "Mole");
    FakePlatform::randoms = {40};
    world->motions->Add(below, 2, 9);
    EXPECT_TRUE(FrameAt(0).empty());
    EXPECT_TRUE(FrameAt(1279).empty());
    EXPECT_EQ(world->motions->effects.size(), 1u);
    FrameAt(1280);
    EXPECT_TRUE(world->motions->effects.empty());
}

TEST_F(MotionsTest, NothingHappensWithoutAPlayer) {
    AddNumber(2, 15);
    core->player = nullptr;
    EXPECT_TRUE(FrameAt(2000).empty());
    EXPECT_EQ(world->motions->effects.size(), 1u);
    core->player = player;
}

}  // namespace
