#include "windows/dialogs/outfit.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "core.h"
#include "creature.h"
#include "shape.h"
#include "support/creatureworld.h"
#include "support/recordingconnection.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/windowtypes.h"

namespace {

using Bytes = std::vector<std::vector<uint8_t>>;
constexpr uint32_t PlayerColours = 0x0A472C53;  // head 0x0A, feet 0x47, legs 0x2C, body 0x53

class OutfitTest : public CreatureWorld {
protected:
    void SetUp() override {
        CreatureWorld::SetUp();
        recording = std::make_unique<RecordingConnection>(core.get(), StateGame);
        player = SpawnPlayer(Position{100, 100, 7});
        player->Reshape(SampleShape::Person, PlayerColours);
    }
    Outfit* Open() {
        window = new Outfit(core.get());
        core->AddWindow(window);
        return window;
    }
    void Click(uint32_t id) { window->OnCommand(window->FindButton(id)); }
    // A press on a palette cell, counted from the top-left one.
    void PressCell(int32_t column, int32_t row) {
        window->OnMouseDown(window->x + Outfit::PaletteX + 11 * column + 5,
                            window->y + Outfit::PaletteY + 11 * row + 5);
    }

    std::unique_ptr<RecordingConnection> recording;
    Creature* player = nullptr;
    Outfit* window = nullptr;
};

TEST_F(OutfitTest, StartsFromThePlayersLookWithTheHeadSelected) {
    Open();
    EXPECT_EQ(window->typeId, WindowType::Outfit);
    EXPECT_EQ(window->width, 259);
    EXPECT_EQ(window->height, 332);
    EXPECT_EQ(window->colours, PlayerColours);
    EXPECT_EQ(window->head, 0x0A);
    EXPECT_EQ(window->body, 0x53);
    EXPECT_EQ(window->legs, 0x2C);
    EXPECT_EQ(window->feet, 0x47);
    EXPECT_EQ(window->markerIndex, 0x0A);
    EXPECT_TRUE(window->FindButton(Outfit::HeadButton)->pressed);
    ASSERT_NE(window->preview, nullptr);
}

TEST_F(OutfitTest, PaletteCellsCountFromTheRightOfEachRow) {
    Open();
    const struct {
        int32_t column, row;
        uint8_t index;
    } cells[] = {{0, 0, 7}, {7, 0, 0}, {0, 15, 127}, {7, 15, 120}, {2, 1, 13}};
    for (const auto& cell : cells) {
        PressCell(cell.column, cell.row);
        EXPECT_EQ(window->markerIndex, cell.index);
        EXPECT_EQ(window->head, cell.index);
    }
    // Off the palette: nothing.
    window->OnMouseDown(window->x + Outfit::PaletteX + 88, window->y + Outfit::PaletteY + 5);
    EXPECT_EQ(window->markerIndex, 13);
}

TEST_F(OutfitTest, APartButtonChoosesWhichColourThePaletteSets) {
    Open();
    Click(Outfit::LegsButton);
    EXPECT_FALSE(window->FindButton(Outfit::HeadButton)->pressed);
    EXPECT_TRUE(window->FindButton(Outfit::LegsButton)->pressed);
    EXPECT_EQ(window->markerIndex, 0x2C);
    PressCell(7, 0);
    EXPECT_EQ(window->colours, (PlayerColours & ~0xFF00u));
    Click(Outfit::HeadButton);
    EXPECT_EQ(window->markerIndex, 0x0A);
    Click(Outfit::HeadButton);  // pressed again, it stays pressed
    EXPECT_TRUE(window->FindButton(Outfit::HeadButton)->pressed);
}

TEST_F(OutfitTest, ArrowsStepThroughTheChoicesAndWrap) {
    core->outfits = {SampleShape::Grass, SampleShape::Chair, SampleShape::Torch};
    Open();
    ASSERT_EQ(window->choiceIndex, -1);  // the player's shape is not among them
    Click(Outfit::NextButton);
    EXPECT_EQ(window->shapeId, SampleShape::Grass);
    window->OnSubmit();
    Open();
    Click(Outfit::PreviousButton);
    EXPECT_EQ(window->shapeId, SampleShape::Torch);
    Click(Outfit::NextButton);
    EXPECT_EQ(window->shapeId, SampleShape::Grass);
}

TEST_F(OutfitTest, WithoutChoicesTheArrowsDoNothingAndUseSendsTheCurrentShape) {
    Open();
    const uint32_t shown = window->shapeId;
    Click(Outfit::NextButton);
    Click(Outfit::PreviousButton);
    EXPECT_EQ(window->shapeId, shown);
    Click(Outfit::UseButton);
    std::vector<uint8_t> request = {218, uint8_t(shown), uint8_t(shown >> 8)};
    const Shape* shape = core->GetShape(shown);
    ASSERT_NE(shape, nullptr);
    if (shape->hasPaletteId)
        for (int shift = 0; shift < 32; shift += 8)
            request.push_back(uint8_t(PlayerColours >> shift));
    EXPECT_EQ(recording->SentSinceLastCall(), Bytes{request});
    EXPECT_EQ(core->FindWindow(WindowType::Outfit), nullptr);
}

TEST_F(OutfitTest, AShapeWithoutPaletteSendsNoColours) {
    core->outfits = {SampleShape::Grass};
    Open();
    Click(Outfit::NextButton);
    Click(Outfit::UseButton);
    EXPECT_EQ(recording->SentSinceLastCall(), (Bytes{{218, 100, 0}}));
}

TEST_F(OutfitTest, CancelSendsNothing) {
    Open();
    Click(Outfit::CancelButton);
    EXPECT_EQ(core->FindWindow(WindowType::Outfit), nullptr);
    EXPECT_EQ(recording->SentSinceLastCall(), Bytes{});
}

TEST_F(OutfitTest, AShapeTheDataLacksShowsNoPreview) {
    core->outfits = {9999};
    Open();
    Click(Outfit::NextButton);
    EXPECT_EQ(window->shapeId, 9999u);
    EXPECT_EQ(window->preview, nullptr);
}

}  // namespace
