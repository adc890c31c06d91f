#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "core.h"
#include "creature.h"
#include "shape.h"
#include "support/worlddata.h"
#include "tile.h"
#include "weather.h"
#include "world.h"

namespace {

using namespace WorldShape;

constexpr Position Here{100, 100, 7};
constexpr uint32_t Night = 0xFF000000;
// The player's cell of the grid.
constexpr int32_t PlayerX = 12, PlayerY = 10;

Position At(int32_t dx, int32_t dy, uint8_t z = Here.z) {
    return Position{uint16_t(Here.x + dx), uint16_t(Here.y + dy), z};
}

// A light mask of 3 x 3 samples: a black opaque border round one centre sample.
std::vector<std::unique_ptr<ShapeLight>> Mask(uint32_t centre) {
    auto light = std::make_unique<ShapeLight>();
    light->width = light->height = 3;
    light->mask.assign(9, 0xFF000000);
    light->mask[4] = centre;
    std::vector<std::unique_ptr<ShapeLight>> records;
    records.push_back(std::move(light));
    return records;
}

class WorldLight : public WorldData {
protected:
    void SetUp() override {
        WorldData::SetUp();
        player = MakeCreature(1, Here, "Me");
        core->player = player;
        world->weather->ambientColour = Night;
    }
    uint32_t Cell(int32_t x, int32_t y) const { return world->lightGrid[x + LightColumns * y]; }
    // The cells that differ from the ambient colour.
    std::vector<int32_t> LitCells() const {
        std::vector<int32_t> lit;
        for (int32_t i = 0; i < LightColumns * LightRows; ++i)
            if (world->lightGrid[i] != world->weather->ambientColour) lit.push_back(i);
        return lit;
    }

    Creature* player = nullptr;
};

TEST_F(WorldLight, WithoutLightsTheGridHoldsTheAmbientColour) {
    world->weather->ambientColour = 0xFF405060;
    std::fill(std::begin(world->lightGrid), std::end(world->lightGrid), 0x12345678u);
    world->ComputeLight();
    EXPECT_TRUE(LitCells().empty());
    EXPECT_EQ(Cell(0, 0), 0xFF405060u);
    EXPECT_EQ(Cell(LightColumns - 1, LightRows - 1), 0xFF405060u);
}

// The lamp's mask is one sample of 0xFFFFE0A0 in a black border; from the middle of its tile each
// of the four cells at the tile's corners takes a quarter of it, blue weakened by 1.5.
TEST_F(WorldLight, ALampLightsTheFourCornersOfItsTile) {
    MakeTile(At(3, 1), {Ground, Lamp});
    world->RebuildView(9);
    world->ComputeLight();
    const uint32_t quarter = 0xFF3F381A;
    const int32_t x = PlayerX + 3, y = PlayerY + 1;
    EXPECT_EQ(LitCells(),
              (std::vector<int32_t>{(x - 1) + LightColumns * (y - 1), x + LightColumns * (y - 1),
                                    (x - 1) + LightColumns * y, x + LightColumns * y}));
    EXPECT_EQ(Cell(x, y), quarter);
    EXPECT_EQ(Cell(x - 1, y - 1), quarter);
}

TEST_F(WorldLight, LightsMergeByTheBrighterValueOfEachChannel) {
    world->weather->ambientColour = 0xFF104000;
    world->ComputeLight();
    // A red light and a blue one on the same cell, with the ambient green under both.
    world->SpreadLight(PlayerX, PlayerY, Here.z, 16, 16, Mask(0xFFC00000));
    world->SpreadLight(PlayerX, PlayerY, Here.z, 16, 16, Mask(0xFF0000F0));
    EXPECT_EQ(Cell(PlayerX, PlayerY), 0xFF304028u);  // red 0xC0 / 4, green kept, blue 0xF0 / 6
    // The same light twice is no brighter than once.
    const uint32_t once = Cell(PlayerX - 1, PlayerY);
    world->SpreadLight(PlayerX, PlayerY, Here.z, 16, 16, Mask(0xFFC00000));
    EXPECT_EQ(Cell(PlayerX - 1, PlayerY), once);
}

// A light further right in its tile moves its brightness right, and carrying over into the next
// tile moves it on without a jump.
TEST_F(WorldLight, ALightFollowsItsPointAcrossItsCell) {
    auto brightness = [&](int32_t column, int32_t offsetX) {
        world->ComputeLight();
        world->SpreadLight(column, PlayerY, Here.z, offsetX, 16, Mask(0xFFFF0000));
        std::vector<uint32_t> red;
        for (int32_t x = PlayerX - 3; x <= PlayerX + 3; ++x)
            red.push_back((Cell(x, PlayerY) >> 16) & 0xFF);
        return red;
    };
    EXPECT_EQ(brightness(PlayerX, 8), (std::vector<uint32_t>{0, 0, 95, 31, 0, 0, 0}));
    EXPECT_EQ(brightness(PlayerX, 24), (std::vector<uint32_t>{0, 0, 31, 95, 0, 0, 0}));
    EXPECT_EQ(brightness(PlayerX, 32), brightness(PlayerX + 1, 0));
}

TEST_F(WorldLight, ALightUnderACoveringFloorLightsNothing) {
    MakeTile(At(6, 0), {Ground, Lamp});
    world->RebuildView(9);
    world->ComputeLight();
    ASSERT_EQ(LitCells().size(), 4u);
    for (int32_t dx = 4; dx <= 8; ++dx)
        for (int32_t dy = -2; dy <= 2; ++dy) MakeTile(At(dx, dy, 8), {Roof});
    world->RebuildView(9);
    world->ComputeLight();
    EXPECT_TRUE(LitCells().empty());
}

// A creature's own light is only dimmed where a floor above shades it, and more the lower it is
// carried.
TEST_F(WorldLight, ACreaturesLightIsDimmedUnderAShadingFloor) {
    for (int32_t dx = 4; dx <= 8; ++dx)
        for (int32_t dy = -2; dy <= 2; ++dy) MakeTile(At(dx, dy, 8), {Roof});
    world->RebuildView(9);
    Creature* bearer = MakeCreature(2, At(6, 0));
    world->ComputeLight();
    world->SpreadCreatureLight(*bearer, PlayerX + 6, PlayerY, Here.z, 16, 16, Mask(0xFFC80000));
    EXPECT_EQ((Cell(PlayerX + 6, PlayerY) >> 16) & 0xFF, 10u);  // 0xC8 / 4 x 0.2
    bearer->elevation = 8;
    world->ComputeLight();
    world->SpreadCreatureLight(*bearer, PlayerX + 6, PlayerY, Here.z, 16, 16, Mask(0xFFC80000));
    EXPECT_EQ((Cell(PlayerX + 6, PlayerY) >> 16) & 0xFF, 30u);  // x 0.6
    // Two floors above: nothing passes.
    for (int32_t dx = 4; dx <= 8; ++dx)
        for (int32_t dy = -2; dy <= 2; ++dy) MakeTile(At(dx, dy, 9), {Roof});
    world->RebuildView(10);
    world->ComputeLight();
    world->SpreadCreatureLight(*bearer, PlayerX + 6, PlayerY, Here.z, 16, 16, Mask(0xFFC80000));
    EXPECT_TRUE(LitCells().empty());
}

TEST_F(WorldLight, CreaturesAndThingsLightFromTheirWindowOnly) {
    Shape* lamp = core->GetShape(Lamp);
    ASSERT_NE(lamp, nullptr);
    world->RebuildView(9);
    Creature* inWindow = MakeCreature(2, At(13, 11));
    inWindow->SetLightShapes({lamp});
    Creature* outside = MakeCreature(3, At(14, 0));
    outside->SetLightShapes({lamp});
    Creature* hidden = MakeCreature(4, At(-3, 0));
    hidden->SetLightShapes({lamp});
    hidden->hidden = 1;
    world->ComputeLight();
    // The last column and row of the window: its light spreads over the cells at its corners.
    const int32_t x = PlayerX + 13, y = PlayerY + 11;
    EXPECT_EQ(LitCells(),
              (std::vector<int32_t>{(x - 1) + LightColumns * (y - 1), x + LightColumns * (y - 1),
                                    (x - 1) + LightColumns * y, x + LightColumns * y}));
    player->SetLightShapes({lamp});
    player->hidden = 1;  // the player's own light shines whatever
    world->ComputeLight();
    EXPECT_EQ(Cell(PlayerX, PlayerY), 0xFF3F381Au);
}

TEST_F(WorldLight, WithoutThePlayerOnlyTheAmbientColourIsLeft) {
    MakeTile(At(1, 1), {Ground, Lamp});
    world->RebuildView(9);
    world->RemoveCreature(player);
    EXPECT_EQ(core->player, nullptr);
    world->ComputeLight();
    EXPECT_TRUE(LitCells().empty());
    world->SpreadLight(PlayerX, PlayerY, Here.z, 16, 16, Mask(0xFFFFFFFF));
    EXPECT_TRUE(LitCells().empty());
}

TEST_F(WorldLight, TheLevelIsReadInsideTheGridOnly) {
    world->weather->ambientColour = 0xFF609030;
    world->ComputeLight();
    const struct {
        int32_t x, y;
        uint32_t level;
    } cases[] = {{25 * 32 + 31, 0, 96},
                 {26 * 32, 0, 0},
                 {0, 21 * 32 + 31, 96},
                 {0, 22 * 32, 0},
                 {-64, -64, 96},
                 {-65, 0, 96},
                 {-96, 0, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(world->GetLightAt(c.x, c.y), c.level) << c.x << "," << c.y;
}

}  // namespace
