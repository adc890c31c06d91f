#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "driver/gfxcore.h"
#include "render.h"
#include "support/recordingdriver.h"

namespace {

using Calls = std::vector<std::string>;

std::string Fill(int x, int y, int w, int h, uint32_t colour) {
    char line[96];
    snprintf(line, sizeof line, "FillRect(%d,%d,%d,%d,0x%X,0x3)", x, y, w, h, unsigned(colour));
    return line;
}

class RenderDrawing : public ::testing::Test {
protected:
    void SetUp() override { RecordingDriver::Install(); }
    void TearDown() override { GFX_Unload(); }

    // An image of the table, logged by the recorder as img:<id>.
    void AddImage(uint16_t id) { render.GetImage(id) = GFX_CreateImage(4, 4, nullptr, 0, 0, id); }

    Render render{nullptr};
};

TEST_F(RenderDrawing, BoxRaisedAndSunkenSwapTheirBevelColours) {
    render.DrawBox(10, 20, 30, 40, 1);
    EXPECT_EQ(RecordingDriver::Take(),
              (Calls{Fill(11, 20, 28, 1, 0x30FFFFFF), Fill(10, 20, 1, 39, 0x30FFFFFF),
                     Fill(39, 20, 1, 39, 0x60000000), Fill(10, 59, 30, 1, 0x60000000)}));
    render.DrawBox(10, 20, 30, 40, 0);
    EXPECT_EQ(RecordingDriver::Take(),
              (Calls{Fill(11, 20, 28, 1, 0x60000000), Fill(10, 20, 1, 39, 0x60000000),
                     Fill(39, 20, 1, 39, 0x30FFFFFF), Fill(10, 59, 30, 1, 0x30FFFFFF)}));
}

TEST_F(RenderDrawing, RectOutlineCoversEveryPixelOnce) {
    render.DrawRect(0, 0, 5, 4, 0x80FF0000);
    EXPECT_EQ(RecordingDriver::Take(),
              (Calls{Fill(0, 0, 4, 1, 0x80FF0000), Fill(4, 0, 1, 3, 0x80FF0000),
                     Fill(1, 3, 4, 1, 0x80FF0000), Fill(0, 1, 1, 3, 0x80FF0000)}));
}

TEST_F(RenderDrawing, StyledBoxIsAtLeastSixPixelsWide) {
    const uint32_t edge = 0xFF112233, fill = 0x80445566;
    render.DrawBoxStyled(0, 0, 4, 10, edge, fill);
    EXPECT_EQ(RecordingDriver::Take(),
              (Calls{Fill(3, 0, 0, 3, edge), Fill(0, 3, 3, 4, edge), Fill(3, 7, 0, 3, edge),
                     Fill(3, 3, 3, 4, edge), Fill(1, 1, 2, 2, edge), Fill(3, 1, 2, 2, edge),
                     Fill(1, 7, 2, 2, edge), Fill(3, 7, 2, 2, edge), Fill(3, 3, 0, 4, fill)}));
}

TEST_F(RenderDrawing, BalloonHangsItsTailUnderAGapInTheBottomSide) {
    const uint32_t fill = 0xC0FFFFFF, edge = 0xFF000000;
    render.DrawRoundedPanel(10, 20, 40, 20, fill, fill);
    Calls expected = RecordingDriver::Take();
    const Calls outline = {
        Fill(15, 20, 30, 1, edge), Fill(10, 25, 1, 10, edge), Fill(49, 25, 1, 10, edge),
        Fill(13, 21, 2, 1, edge),  Fill(12, 22, 1, 1, edge),  Fill(11, 23, 1, 2, edge),
        Fill(45, 21, 2, 1, edge),  Fill(47, 22, 1, 1, edge),  Fill(48, 23, 1, 2, edge),
        Fill(13, 38, 2, 1, edge),  Fill(12, 37, 1, 1, edge),  Fill(11, 35, 1, 2, edge),
        Fill(48, 35, 1, 2, edge),  Fill(47, 37, 1, 1, edge),  Fill(45, 38, 2, 1, edge)};
    expected.insert(expected.end(), outline.begin(), outline.end());
    const Calls straight = {Fill(15, 39, 30, 1, edge)};
    Calls withoutTail = expected;
    withoutTail.insert(withoutTail.end(), straight.begin(), straight.end());

    // Tail offset 5, size 3: t = 5 + 10 - 3 = 12; rows 3, 2 and 1 pixels wide ending in column 29.
    const Calls tail = {Fill(15, 39, 12, 1, edge), Fill(30, 39, 15, 1, edge),
                        Fill(27, 40, 3, 1, fill),  Fill(27, 40, 1, 1, edge),
                        Fill(28, 41, 2, 1, fill),  Fill(28, 41, 1, 1, edge),
                        Fill(29, 42, 1, 1, fill),  Fill(29, 42, 1, 1, edge),
                        Fill(29, 39, 1, 3, edge)};
    expected.insert(expected.end(), tail.begin(), tail.end());

    render.DrawBalloon(10, 20, 40, 20, 5, 3, fill, edge);
    EXPECT_EQ(RecordingDriver::Take(), expected);
    render.DrawBalloon(10, 20, 40, 20, 5, 0, fill, edge);
    EXPECT_EQ(RecordingDriver::Take(), withoutTail);
}

TEST_F(RenderDrawing, FrameWithoutItsCentreImageDrawsCornersAndEdges) {
    AddImage(1);
    render.DrawFrame1(10, 20, 30, 40);
    const std::string white = "0xFFFFFFFF,0xFFFFFFFF,0xFFFFFFFF,0xFFFFFFFF,img:1)";
    EXPECT_EQ(RecordingDriver::Take(),
              (Calls{"DrawImagePart(10,20,54,20,3,3,img:1)", "DrawImagePart(37,20,67,20,3,3,img:1)",
                     "DrawImagePart(10,57,54,33,3,3,img:1)", "DrawImagePart(37,57,67,33,3,3,img:1)",
                     "DrawImagePartTiledGradient(13,20,24,2,0,0,10,2,57,20,10,2," + white,
                     "DrawImagePartTiledGradient(13,58,24,2,0,0,10,2,57,34,10,2," + white,
                     "DrawImagePartTiledGradient(10,23,2,34,0,0,2,10,54,23,2,10," + white,
                     "DrawImagePartTiledGradient(38,23,2,34,0,0,2,10,68,23,2,10," + white}));
    // The lookup of the absent centre image left an empty entry.
    ASSERT_EQ(render.images.count(4), 1u);
    EXPECT_EQ(render.images[4], nullptr);
}

TEST_F(RenderDrawing, FrameWithoutTheSkinAtlasDrawsOnlyItsCentre) {
    AddImage(3);
    render.DrawFrame2(0, 0, 50, 30);
    EXPECT_EQ(RecordingDriver::Take(), (Calls{"DrawImageTiled(2,2,46,26,2,2,img:3)"}));
}

TEST_F(RenderDrawing, DrawsByAnAbsentIdDrawNothing) {
    render.DrawSkinPart(0, 0, 1, 2, 3, 4, 77);
    render.DrawSkin(0, 0, 77);
    EXPECT_TRUE(RecordingDriver::Take().empty());
    EXPECT_EQ(render.images.at(77), nullptr);
}

TEST_F(RenderDrawing, PartTilesUseThePartsOwnSizeAndWhiteCorners) {
    AddImage(1);
    render.DrawSkinPartTiled(1, 2, 30, 4, 0, 0, 228, 207, 4, 4, 1);
    render.DrawSkinPartTiledTinted(1, 2, 12, 12, 0, 0, 12, 12, 24, 372, 12, 12, 0x80FFFFFF, 1);
    EXPECT_EQ(RecordingDriver::Take(),
              (Calls{"DrawImagePartTiledGradient(1,2,30,4,0,0,4,4,228,207,4,4,0xFFFFFFFF,"
                     "0xFFFFFFFF,0xFFFFFFFF,0xFFFFFFFF,img:1)",
                     "DrawImagePartTiledGradient(1,2,12,12,0,0,12,12,24,372,12,12,0x80FFFFFF,"
                     "0x80FFFFFF,0x80FFFFFF,0x80FFFFFF,img:1)"}));
}

}  // namespace
