#include "throws.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "core.h"
#include "creature.h"
#include "layer.h"
#include "support/recordingdriver.h"
#include "support/worlddata.h"
#include "world.h"

namespace {

using namespace FieldCase;
using namespace WorldShape;

// Where a drawing call put its picture and with which alpha (255 for an untinted one).
struct Drawn {
    int32_t x, y;
    uint32_t alpha;
};

std::vector<Drawn> Pictures(const std::vector<std::string>& log) {
    std::vector<Drawn> pictures;
    for (const std::string& call : log) {
        float x, y;
        unsigned colour;
        if (std::sscanf(call.c_str(), "DrawImageTinted(%g,%g,0x%X", &x, &y, &colour) == 3)
            pictures.push_back({int32_t(x), int32_t(y), colour >> 24});
        else if (std::sscanf(call.c_str(), "DrawImage(%g,%g,", &x, &y) == 2)
            pictures.push_back({int32_t(x), int32_t(y), 255});
    }
    return pictures;
}

class ThrowsTest : public WorldData {
protected:
    void SetUp() override {
        WorldData::SetUp();
        player = MakeCreature(1, Here, "Me");
        core->player = player;
        // Nothing closes the view unless a case says so.
        std::fill(std::begin(world->occlusion), std::end(world->occlusion), uint8_t(0));
        RecordingDriver::Install();
    }
    // A missile from the player's tile to the tile (dx, dy) from it.
    void Shoot(int32_t dx, int32_t dy, int32_t reach = 100, uint8_t z = Here.z) {
        world->throws->Add(At(0, 0, z), z, At(dx, dy, z), z, reach,
                           MakeThing(Box, At(0, 0, z), ItemIdle));
    }
    // The frame at `ms` after the start, drawing floor z: what the missiles drew.
    std::vector<Drawn> FrameAt(uint64_t ms, uint8_t z = Here.z) {
        core->frameTimeMs = Start + ms;
        RecordingDriver::Take();
        world->throws->Update(Here, Here.z, z);
        return Pictures(RecordingDriver::Take());
    }
    const Throw* Missile(size_t i = 0) const {
        return static_cast<const Throw*>(world->throws->effects.at(i));
    }

    Creature* player = nullptr;
};

TEST_F(ThrowsTest, EveryMissileArrivesAfter320Ms) {
    struct Case {
        int32_t dx, dy;
        uint64_t ms;
        float offsetX, offsetY;
    } cases[] = {
        {1, 0, 100, 10, 0},  {1, 0, 319, 31, 0},  {5, 0, 100, 50, 0},  {5, 0, 310, 155, 0},
        {3, 1, 160, 48, 16}, {3, 1, 310, 93, 31}, {-2, 0, 50, -10, 0}, {0, -3, 200, 0, -60},
    };
    for (const Case& c : cases) {
        world->throws->Clear();
        core->frameTimeMs = Start;
        Shoot(c.dx, c.dy);
        const Drawn start = FrameAt(0).at(0);
        const Drawn now = FrameAt(c.ms).at(0);
        ASSERT_EQ(world->throws->effects.size(), 1u) << c.dx << "," << c.dy << " " << c.ms;
        EXPECT_EQ(Missile()->offsetX, c.offsetX) << c.dx << "," << c.dy << " " << c.ms;
        EXPECT_EQ(Missile()->offsetY, c.offsetY) << c.dx << "," << c.dy << " " << c.ms;
        EXPECT_EQ(now.x - start.x, int32_t(c.offsetX));
        EXPECT_EQ(now.y - start.y, int32_t(c.offsetY));
        // The last frame shows it on the target tile; then it is gone.
        const Drawn end = FrameAt(320).at(0);
        EXPECT_EQ(end.x - start.x, c.dx * 32);
        EXPECT_EQ(end.y - start.y, c.dy * 32);
        EXPECT_TRUE(world->throws->effects.empty()) << c.dx << "," << c.dy;
    }
}

TEST_F(ThrowsTest, AMissileStartsAtItsTileAboutThePlayer) {
    Shoot(2, 0);
    const Drawn fromPlayer = FrameAt(0).at(0);
    world->throws->Add(At(-1, 2), Here.z, At(1, 2), Here.z, 100, MakeThing(Box, Here, ItemIdle));
    const std::vector<Drawn> both = FrameAt(0);
    ASSERT_EQ(both.size(), 2u);
    EXPECT_EQ(both[1].x - fromPlayer.x, -32);
    EXPECT_EQ(both[1].y - fromPlayer.y, 64);
}

TEST_F(ThrowsTest, AShortShotFadesOverItsLastFifth) {
    Shoot(4, 0, 50);  // falls short after 64 of 128 pixels
    struct Step {
        uint64_t ms;
        uint32_t alpha;
    } steps[] = {{0, 255}, {120, 255}, {130, 239}, {150, 79}};  // 48 and 52 pixels around 51.2
    for (const Step& step : steps) {
        const std::vector<Drawn> drawn = FrameAt(step.ms);
        ASSERT_EQ(drawn.size(), 1u) << step.ms;
        EXPECT_EQ(drawn[0].alpha, step.alpha) << step.ms;
    }
    const std::vector<Drawn> last = FrameAt(160);
    ASSERT_EQ(last.size(), 1u);
    EXPECT_EQ(last[0].alpha, 0u);
    EXPECT_TRUE(world->throws->effects.empty());
}

TEST_F(ThrowsTest, AVerticalShortShotNeverFadesAndStopsAtItsReach) {
    Shoot(0, 4, 50);
    for (uint64_t ms : {0, 100, 150}) {
        const std::vector<Drawn> drawn = FrameAt(ms);
        ASSERT_EQ(drawn.size(), 1u) << ms;
        EXPECT_EQ(drawn[0].alpha, 255u) << ms;
    }
    EXPECT_EQ(Missile()->offsetY, 60);
    FrameAt(160);
    EXPECT_TRUE(world->throws->effects.empty());
}

TEST_F(ThrowsTest, AShotOfNoReachShowsNothingAndEndsAtOnce) {
    Shoot(3, 0, 0);
    EXPECT_TRUE(FrameAt(0).empty());
    EXPECT_TRUE(world->throws->effects.empty());
}

TEST_F(ThrowsTest, NothingFliesFromATileToItself) {
    world->throws->Add(Here, Here.z, Here, Here.z, 100, MakeThing(Box, Here, ItemIdle));
    EXPECT_TRUE(world->throws->effects.empty());
    // Another floor is another tile.
    world->throws->Add(Here, Here.z, Here, uint8_t(Here.z - 1), 100, MakeThing(Box, Here));
    EXPECT_EQ(world->throws->effects.size(), 1u);
}

TEST_F(ThrowsTest, MissilesNotDrawnAreRetiredOnceTheirFlightIsOver) {
    Shoot(2, 0, 100, 6);  // on the floor below
    Shoot(2, 0);          // its target hidden under the floor above
    world->occlusion[SlotIndex(Here.x + 2, Here.y)] = Here.z + 1;
    for (uint64_t ms : {0, 200, 319}) {
        EXPECT_TRUE(FrameAt(ms).empty()) << ms;
        world->throws->Retire();
        EXPECT_EQ(world->throws->effects.size(), 2u) << ms;
    }
    // Drawing floor 6 steps the missile flying there, hidden or not.
    world->occlusion[SlotIndex(Here.x + 2, Here.y)] = 0;
    EXPECT_EQ(FrameAt(200, 6).size(), 1u);
    FrameAt(320, 5);
    world->throws->Retire();
    EXPECT_TRUE(world->throws->effects.empty());
}

// The world's own occlusion pass: open ground closes nothing, a roof closes the view of the
// floor below it.
TEST_F(ThrowsTest, AMissileShowsOverOpenGroundAndHidesUnderARoof) {
    for (int32_t dx = 1; dx <= 4; ++dx) MakeTile(At(dx, 0), {Ground});
    MakeTile(At(4, 0, Here.z + 1), {Roof});
    world->RebuildView(9);
    ASSERT_EQ(world->occlusion[SlotIndex(Here.x + 4, Here.y)], Here.z + 1);
    Shoot(3, 0);
    Shoot(4, 0);
    const std::vector<Drawn> drawn = FrameAt(100);
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(Missile()->offsetX, 30);
    EXPECT_EQ(Missile(1)->offsetX, 0);  // not stepped while hidden
}

}  // namespace
