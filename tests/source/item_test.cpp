#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "driver/gfxcore.h"
#include "item.h"
#include "shapes.h"
#include "support/recordingdriver.h"
#include "support/spritedata.h"

namespace {

// Shape ids of the generated data (tools/datagen/sprites.py).
constexpr uint32_t IdleOnly = 1002, Ranges = 1008, Effect600 = 1010, Icon64 = 1011,
                   Icon64x32 = 1012;
constexpr uint32_t ZeroDuration = 1013, Entering = 1014, Outlined = 1015, WideSprite = 1006;
constexpr uint64_t Start = 1000000;

TEST(ItemLabels, CountShowsAboveOne) {
    EXPECT_EQ(CountLabel(0), "");
    EXPECT_EQ(CountLabel(1), "");
    EXPECT_EQ(CountLabel(2), "2");
    EXPECT_EQ(CountLabel(32767), "32767");
}

TEST(ItemLabels, AmountShowsThousandsAsK) {
    const struct {
        uint16_t amount;
        const char* text;
        uint32_t colour;
    } cases[] = {{0, "0", 0xC0FF8080},      {1, "1", 0xFFFFFFFF},     {999, "999", 0xFFFFFFFF},
                 {1000, "1K", 0xFFFFFFFF},  {1500, "1K", 0xFFFFFFFF}, {2999, "2K", 0xFFFFFFFF},
                 {65535, "65K", 0xFFFFFFFF}};
    for (const auto& c : cases) {
        const ItemLabel label = AmountLabel(c.amount);
        EXPECT_EQ(label.text, c.text) << c.amount;
        EXPECT_EQ(label.colour, c.colour) << c.amount;
    }
}

TEST(ItemIcons, ScaledIntoTheSlotBottomRight) {
    const struct {
        int32_t w, h;
        IconPlacement place;
    } cases[] = {
        {64, 64, {0, 0, 32, 32}},   {64, 32, {0, 16, 32, 16}}, {32, 64, {16, 0, 16, 32}},
        {96, 64, {0, 11, 32, 21}},  {1, 1, {0, 0, 32, 32}},    {32, 32, {0, 0, 32, 32}},
        {20, 10, {12, 22, 20, 10}},  // smaller than a slot both ways: drawn as it is
        {31, 1, {1, 31, 31, 1}},
    };
    for (const auto& c : cases) {
        const IconPlacement place = PlaceIcon(c.w, c.h);
        EXPECT_EQ(place.x, c.place.x) << c.w << "x" << c.h;
        EXPECT_EQ(place.y, c.place.y) << c.w << "x" << c.h;
        EXPECT_EQ(place.width, c.place.width) << c.w << "x" << c.h;
        EXPECT_EQ(place.height, c.place.height) << c.w << "x" << c.h;
    }
}

TEST(ItemKeyframes, ChosenByTimeInTheLoop) {
    const std::vector<ItemKeyframe> keyframes = {{100, nullptr}, {200, nullptr}, {300, nullptr}};
    const struct {
        uint64_t elapsed;
        size_t index;
    } cases[] = {{0, 0}, {99, 0}, {100, 1}, {299, 1}, {300, 2}, {599, 2}, {600, 0}, {1000, 2}};
    for (const auto& c : cases)
        EXPECT_EQ(KeyframeAt(keyframes, 600, c.elapsed), c.index) << c.elapsed;
    // An animation of no length shows its first keyframe.
    EXPECT_EQ(KeyframeAt({{0, nullptr}, {0, nullptr}}, 0, 12345), 0u);
    EXPECT_EQ(KeyframeAt({{50, nullptr}}, 50, 49), 0u);
}

// Items on the generated sample shapes, made the Core's table for the test.
class ItemTest : public SpriteData {
protected:
    void SetUp() override {
        SpriteData::SetUp();
        sample = Load("sample");
        startUpShapes = core->shapes;
        core->shapes = sample.get();
        core->frameTimeMs = Start;
    }
    void TearDown() override {
        core->shapes = startUpShapes;
        sample.reset();
        SpriteData::TearDown();
    }

    std::unique_ptr<Item> Make(uint32_t shapeId, uint32_t kind, uint32_t count = 1,
                               uint32_t subId = 0) {
        return std::make_unique<Item>(core, shapeId, subId, 0, 0, 0, count, kind);
    }
    static GfxImage* KeyframeImage(const Item& item, size_t keyframe) {
        return item.parts.at(0)->keyframes.at(keyframe).image;
    }

    std::unique_ptr<Shapes> sample;
    Shapes* startUpShapes = nullptr;
};

TEST_F(ItemTest, EffectPlaysOnceThenExpires) {
    auto effect = Make(Effect600, ItemEffect);
    ASSERT_EQ(effect->parts.size(), 1u);
    EXPECT_EQ(effect->effect, 1);
    EXPECT_EQ(effect->animated, 1);
    ItemPart& part = *effect->parts[0];
    EXPECT_EQ(part.ImageAt(199), KeyframeImage(*effect, 0));
    EXPECT_EQ(part.ImageAt(200), KeyframeImage(*effect, 1));
    EXPECT_EQ(part.ImageAt(599), KeyframeImage(*effect, 2));
    core->frameTimeMs = Start + 599;
    effect->Draw(0, 0);
    EXPECT_EQ(effect->expired, 0);
    core->frameTimeMs = Start + 600;
    effect->Draw(0, 0);
    EXPECT_EQ(effect->expired, 1);
}

TEST_F(ItemTest, LoopingEffectKeepsPlayingUntilSynchronised) {
    auto effect = Make(Effect600, ItemEffect);
    effect->looping = 1;
    for (uint64_t t : {600u, 5000u, 1700u}) {
        core->frameTimeMs = Start + t;
        effect->parts[0]->DrawOnTile(0, 0, 0);
        EXPECT_EQ(effect->expired, 0) << t;
    }
    effect->SyncAnimation();  // 1700 ms is 500 ms into the third run: 100 ms are left
    EXPECT_EQ(effect->looping, 0);
    core->frameTimeMs = Start + 1799;
    effect->Draw(0, 0);
    EXPECT_EQ(effect->expired, 0);
    core->frameTimeMs = Start + 1800;
    effect->Draw(0, 0);
    EXPECT_EQ(effect->expired, 1);
}

TEST_F(ItemTest, EnteringItemExpiresWhenItsLastKeyframeBegins) {
    auto entering = Make(Entering, ItemEnter);
    EXPECT_EQ(entering->kind, uint32_t(ItemEnter));
    EXPECT_EQ(entering->globalClock, 0);
    EXPECT_EQ(entering->successor, 0);
    core->frameTimeMs = Start + 149;
    entering->parts[0]->DrawOnTile(0, 0, 0);
    EXPECT_EQ(entering->expired, 0);
    core->frameTimeMs = Start + 150;
    entering->parts[0]->DrawOnTile(0, 0, 0);
    EXPECT_EQ(entering->expired, 1);

    auto plain = Make(IdleOnly, ItemEnter);  // no enter animation: an idle item that never expires
    EXPECT_EQ(plain->kind, uint32_t(ItemIdle));
    EXPECT_EQ(plain->successor, -1);
    core->frameTimeMs = Start + 100000;
    plain->parts[0]->DrawOnTile(0, 0, 0);
    EXPECT_EQ(plain->expired, 0);
}

TEST_F(ItemTest, ImagesOfAColourKeyLiveWhileAnItemUsesThem) {
    Shape* shape = sample->Find(WideSprite);
    auto first = Make(WideSprite, ItemIdle, 1, 9);
    auto second = Make(WideSprite, ItemIdle, 1, 9);
    EXPECT_EQ(shape->colorCounts.at(9), 2u);
    GfxImage* image = KeyframeImage(*first, 0);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(KeyframeImage(*second, 0), image);
    EXPECT_EQ(first->width, 64u);
    EXPECT_EQ(first->height, 32u);
    first.reset();
    EXPECT_EQ(shape->colorCounts.at(9), 1u);
    EXPECT_EQ(GFX_ImageWidth(KeyframeImage(*second, 0)), 64);

    second->subId = 10;
    second->Refresh(1);  // the new key is applied, the old one released once
    EXPECT_EQ(shape->colorCounts.count(9), 0u);
    EXPECT_EQ(shape->colorCounts.at(10), 1u);
    second.reset();
    EXPECT_TRUE(shape->colorCounts.empty());
}

TEST_F(ItemTest, CountThatNoRangeCoversBuildsNoParts) {
    auto item = Make(Ranges, ItemIdle, 40000);
    EXPECT_TRUE(item->parts.empty());
    EXPECT_EQ(item->width, 32u);
    EXPECT_EQ(item->height, 32u);
    RecordingDriver::Install();
    item->Draw(0, 0);
    item->DrawIcon(0, 0, nullptr);
    item->DrawSlotOutline(0, 0, 100);
    EXPECT_TRUE(RecordingDriver::Take().empty());

    item->count = 5;
    item->Refresh(0);
    EXPECT_EQ(item->parts.size(), 1u);
}

// Windows, tiles and the split window all share Core's held, picked and hovered pointers: an
// item rebuilt or deleted by any of them leaves none pointing at it.
TEST_F(ItemTest, RebuildingOrDeletingLetsGoOfCoresPointers) {
    auto item = Make(Ranges, ItemIdle, 5);
    auto other = Make(Ranges, ItemIdle, 5);
    ASSERT_FALSE(item->parts.empty());
    core->hoverPart = item->parts.front().get();
    item->count = 6;
    item->Refresh(0);
    EXPECT_EQ(core->hoverPart, nullptr);

    core->hoverPart = item->parts.front().get();
    core->dragTo = core->dragFrom = item.get();
    item.reset();
    EXPECT_EQ(core->hoverPart, nullptr);
    EXPECT_EQ(core->dragTo, nullptr);
    EXPECT_EQ(core->dragFrom, nullptr);

    core->hoverPart = other->parts.front().get();
    core->dragTo = core->dragFrom = other.get();
    Make(Ranges, ItemIdle, 5).reset();
    EXPECT_EQ(core->hoverPart, other->parts.front().get());
    EXPECT_EQ(core->dragTo, other.get());
    EXPECT_EQ(core->dragFrom, other.get());
    core->hoverPart = nullptr;
    core->dragTo = core->dragFrom = nullptr;
}

TEST_F(ItemTest, ZeroLengthAnimationShowsItsFirstKeyframe) {
    auto item = Make(ZeroDuration, ItemIdle);
    EXPECT_EQ(item->animated, 1);
    for (uint64_t t : {0u, 1u, 777u}) {
        core->frameTimeMs = Start + t;
        EXPECT_EQ(item->parts[0]->ImageAt(item->parts[0]->Elapsed()), KeyframeImage(*item, 0));
    }
    RecordingDriver::Install();
    item->Draw(0, 0);
    EXPECT_EQ(RecordingDriver::Take(), std::vector<std::string>{"DrawImage(0,0,img:0)"});
}

TEST_F(ItemTest, IconsAreScaledIntoTheirSlot) {
    auto square = Make(Icon64, ItemIdle);
    auto wide = Make(Icon64x32, ItemIdle);
    RecordingDriver::Install();
    square->DrawIcon(100, 200, nullptr);
    wide->DrawIcon(100, 200, nullptr);
    EXPECT_EQ(RecordingDriver::Take(),
              (std::vector<std::string>{"DrawImageScaled(100,200,32,32,img:0)",
                                        "DrawImageScaled(100,216,32,16,img:0)"}));
}

TEST_F(ItemTest, CoveredTilesShowOnlyImagesReachingBeyondThem) {
    auto small = Make(IdleOnly, ItemIdle);
    auto large = Make(Icon64, ItemIdle);
    RecordingDriver::Install();
    small->parts[0]->DrawOnTile(0, 0, 2);
    large->parts[0]->DrawOnTile(0, 0, 2);
    large->parts[0]->DrawOnTile(0, 0, 3);
    small->parts[0]->elevation = 1;
    small->parts[0]->DrawOnTile(0, 0, 2);
    EXPECT_EQ(RecordingDriver::Take(),
              (std::vector<std::string>{"DrawImage(-32,-32,img:0)", "DrawImage(-1,-1,img:0)"}));
}

TEST_F(ItemTest, OutlineRingsTheOpaquePixelsAndRemembersItsPlace) {
    auto item = Make(Outlined, ItemIdle);
    ASSERT_EQ(item->parts.size(), 1u);
    ASSERT_NE(item->outlinePart, nullptr);
    item->parts[0]->elevation = 3;
    RecordingDriver::Install();
    item->parts[0]->DrawOutline(100, 50, 40);
    item->parts[0]->DrawOutline(65535, 65535, 40);
    EXPECT_EQ(RecordingDriver::Take(),
              (std::vector<std::string>{"DrawImageTinted(96,46,0x28E0E0E0,img:0)",
                                        "DrawImageTinted(96,46,0x28E0E0E0,img:0)"}));

    // The outline layer holds a 12 x 12 opaque block in the bottom-right of its 32 x 32 frame.
    GfxImage* outline = item->outlinePart->outlines.at(0);
    ASSERT_EQ(GFX_ImageWidth(outline), 34);
    const uint32_t* pixels = GFX_ImagePixels(outline);
    auto alpha = [&](int x, int y) { return pixels[y * 34 + x] >> 24; };
    EXPECT_EQ(alpha(21, 21), 0u);    // over an opaque pixel
    EXPECT_EQ(alpha(20, 20), 128u);  // one opaque pixel around it
    EXPECT_EQ(alpha(20, 25), 255u);  // several
    EXPECT_EQ(alpha(33, 33), 128u);  // the outer ring never counts as over the block
    EXPECT_EQ(alpha(33, 25), 255u);
    EXPECT_EQ(alpha(5, 5), 0u);
    EXPECT_EQ(pixels[5 * 34 + 5] & 0xFFFFFF, 0xFFFFFFu);
}

// A Core started on the generated sprite data.
class SampleStart : public ::testing::Test {
protected:
    void Start(const std::string& spriteCase) {
        WriteStartupData(StartupDataVersions());
        for (const char* name : {"Veltor.data", "Veltor.shapes"})
            std::filesystem::copy_file(TestDataPath("sprites/" + spriteCase + "/data/" + name),
                                       std::string("data/") + name,
                                       std::filesystem::copy_options::overwrite_existing);
        core = new Core(GetModuleHandleA(nullptr), SW_HIDE, 0);
    }
    void TearDown() override {
        delete core;
        DrainMessages();
    }

    FakePlatform fake;
    TemporaryFolder folder;
    Core* core = nullptr;
};

TEST_F(SampleStart, InterfaceItemsComeFromTheHeaderShapes) {
    Start("sample");
    const InterfaceItems& items = core->interfaceItems;
    for (uint32_t i = 0; i < 3; ++i) {
        EXPECT_EQ(items.single[i]->shapeId, core->shapes->GetHeaderValue(i));
        EXPECT_NE(items.single[i]->shape, nullptr);
        EXPECT_FALSE(items.single[i]->parts.empty());
    }
    EXPECT_EQ(items.single[3]->shapeId, core->shapes->GetHeaderValue(5));
    EXPECT_NE(items.single[3], items.single[1]);
    for (auto [grid, header] : {std::pair{&items.gridA, 4u}, std::pair{&items.gridB, 6u}}) {
        std::set<ShapeCell*> cells;
        for (uint16_t i = 0; i < 4; ++i) {
            for (uint16_t j = 0; j < 4; ++j) {
                const Item* item = (*grid)[i][j];
                EXPECT_EQ(item->shapeId, core->shapes->GetHeaderValue(header));
                EXPECT_EQ(item->x, i);
                EXPECT_EQ(item->y, j);
                EXPECT_EQ(item->cell,
                          item->shape->ranges[0]->slots[SlotIdle]->views[0]->CellAt(i, j));
                cells.insert(item->cell);
            }
        }
        EXPECT_EQ(cells.size(), 16u);
        EXPECT_EQ((*grid)[0][0]->shape->colorCounts.at(0), 16u);
    }
}

TEST_F(SampleStart, MissingFourthInterfaceShapeSharesTheSecondItem) {
    Start("empty");  // header 3, 0, 7 and no shapes
    const InterfaceItems& items = core->interfaceItems;
    EXPECT_EQ(items.single[3], items.single[1]);
    EXPECT_EQ(items.single[0]->shape, nullptr);
    EXPECT_TRUE(items.gridA[3][3]->parts.empty());
}

}  // namespace
