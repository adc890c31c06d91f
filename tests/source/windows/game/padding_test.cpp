#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core.h"
#include "creature.h"
#include "driver/gfxcore.h"
#include "protocol.h"
#include "support/creatureworld.h"
#include "support/drawntext.h"
#include "support/recordingdriver.h"
#include "support/testcore.h"
#include "support/windowrect.h"
#include "windows/game/console.h"
#include "windows/game/field.h"
#include "windows/game/padding.h"
#include "world.h"

namespace {

// The game screen's two windows under the console, as entering the game makes them.
class PaddingTest : public ::testing::Test {
protected:
    void SetUp() override {
        core = MakeTestCore();
        console = static_cast<Console*>(core->AddWindow(new Console(core.get())));
        Open();
    }
    void Open() {
        padding = static_cast<Padding*>(core->AddWindow(new Padding(core.get(), console)));
        core->fieldWindow = padding->field;
    }
    void Resize(uint32_t width, uint32_t height) {
        core->clientWidth = width;
        core->clientHeight = height;
        padding->field->Place(int32_t(width), int32_t(height));
        padding->Place(int32_t(width), int32_t(height));
    }
    // The options of both layouts.
    void Below(bool pixel = false, bool elastic = false) {
        core->options.widescreen = 0;
        core->options.pixel = pixel;
        core->options.elastic = elastic;
    }
    void Wide(bool panel, bool inventory, bool widescale, bool pixel = false) {
        core->options.widescreen = 1;
        core->options.panel = panel;
        core->options.inventory = inventory;
        core->options.widescale = widescale;
        core->options.pixel = pixel;
    }

    std::unique_ptr<Core> core;
    Console* console = nullptr;
    Padding* padding = nullptr;
};

TEST_F(PaddingTest, EachFrameMakesOneFieldJustBelowIt) {
    ASSERT_NE(padding->field, nullptr);
    ASSERT_EQ(core->windows.size(), 3u);
    EXPECT_EQ(core->windows[1], padding->field);
    EXPECT_EQ(core->windows[2], padding);
    EXPECT_EQ(padding->field->padding, padding);
    padding->Build();
    EXPECT_EQ(core->windows.size(), 3u);
}

TEST_F(PaddingTest, At800By600TheConsoleIs220AndTheFieldSitsAboveIt) {
    Below();
    Resize(800, 600);
    const WindowRect field{164, 6, 471, 372};
    EXPECT_EQ(padding->fieldRect, field);
    EXPECT_EQ(padding->field->GetRect(), field);
    EXPECT_EQ(console->height, 220);
    // The frame reaches 2 pixels past the field on both sides and down to the console.
    EXPECT_EQ(padding->GetRect(), (WindowRect{162, 0, 475, 380}));
}

// Client size, the height the console asks for (0: its current one), options, field, console.
TEST_F(PaddingTest, TheSizesBelowTheConsole) {
    const struct {
        const char* name;
        int32_t width, height, requested;
        bool pixel, elastic;
        WindowRect field;
        int32_t console;
    } cases[] = {
        {"a taller console", 1024, 768, 300, false, false, {221, 6, 582, 460}, 300},
        {"the console stops 392 short", 1024, 768, 500, false, false, {269, 6, 486, 384}, 376},
        {"a narrow client limits by width", 700, 900, 0, false, false, {158, 6, 384, 303}, 589},
        {"pixel: the small size", 918, 702, 0, true, false, {158, 6, 602, 474}, 220},
        {"pixel: one pixel too narrow", 917, 702, 0, true, false, {158, 6, 600, 474}, 220},
        {"pixel: one pixel too low", 918, 701, 0, true, false, {159, 6, 599, 473}, 220},
        {"pixel: the large size", 1526, 1182, 0, true, false, {158, 6, 1210, 954}, 220},
        {"pixel: too low for the large size",
         1526,
         1181,
         0,
         true,
         false,
         {462, 245, 602, 474},
         220},
        {"pixel: too narrow for the large size",
         1525,
         1182,
         0,
         true,
         false,
         {461, 246, 602, 474},
         220},
        {"pixel: a console too tall for it shrinks",
         918,
         702,
         300,
         true,
         false,
         {158, 6, 602, 474},
         220},
        {"elastic: the small size", 890, 674, 0, true, true, {158, 6, 574, 446}, 220},
        {"elastic: one pixel too narrow", 889, 674, 0, true, true, {162, 6, 564, 446}, 220},
        {"elastic: the large size", 1466, 1122, 0, true, true, {158, 6, 1150, 894}, 220},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Below(c.pixel, c.elastic);
        core->clientWidth = uint32_t(c.width);
        core->clientHeight = uint32_t(c.height);
        console->height = 220;
        if (c.requested) padding->field->GiveConsoleRect(c.requested);
        else padding->field->Place(c.width, c.height);
        EXPECT_EQ(padding->fieldRect, c.field);
        EXPECT_EQ(padding->field->GetRect(), c.field);
        EXPECT_EQ(console->height, c.console);
    }
}

TEST_F(PaddingTest, TheWideLayouts) {
    const struct {
        const char* name;
        int32_t width, height;
        bool panel, inventory, widescale, pixel;
        WindowRect field, frame;
    } cases[] = {
        {"cropped at top and bottom",
         1280,
         720,
         true,
         true,
         false,
         false,
         {156, -22, 968, 764},
         {156, 0, 968, 720}},
        {"cropped, whole view pixels",
         1280,
         720,
         true,
         true,
         false,
         true,
         {32, -120, 1216, 960},
         {156, 0, 968, 720}},
        {"widescale keeps the whole view",
         1280,
         720,
         true,
         true,
         true,
         false,
         {184, 0, 912, 720},
         {184, 0, 912, 720}},
        {"no columns", 800, 600, false, false, false, false, {0, -15, 800, 631}, {0, 0, 800, 600}},
        {"cropped left and right",
         800,
         600,
         true,
         true,
         false,
         false,
         {20, 0, 760, 600},
         {156, 0, 488, 600}},
        {"cropped left and right, whole view pixels",
         800,
         600,
         true,
         true,
         false,
         true,
         {-208, -180, 1216, 960},
         {156, 0, 488, 600}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Wide(c.panel, c.inventory, c.widescale, c.pixel);
        console->height = 200;
        Resize(uint32_t(c.width), uint32_t(c.height));
        EXPECT_EQ(padding->fieldRect, c.field);
        EXPECT_EQ(padding->field->GetRect(), c.field);
        EXPECT_EQ(padding->GetRect(), c.frame);
        EXPECT_EQ(console->height, 200);  // the wide layout leaves the console alone
    }
}

// Clicks on the field pass through the frame to the field below it; the frame's bands take theirs.
TEST_F(PaddingTest, ClicksOnTheFieldPassThroughTheFrame) {
    Below();
    Resize(800, 600);
    EXPECT_TRUE(padding->HitTest(163, 100));
    EXPECT_FALSE(padding->HitTest(164, 100));
    EXPECT_FALSE(padding->field->HitTest(163, 100));
    EXPECT_TRUE(padding->field->HitTest(164, 100));
    EXPECT_TRUE(padding->HitTest(300, 3));
    EXPECT_EQ(core->WindowAt(300, 100), padding->field);
    EXPECT_EQ(core->WindowAt(300, 3), padding);

    // Wide, with the field taller than the window (negative y): every click reaches the field.
    Wide(true, true, false);
    Resize(1280, 720);
    ASSERT_LT(padding->fieldRect.y, 0);
    const std::initializer_list<std::pair<int32_t, int32_t>> points = {
        {156, 0}, {640, 360}, {1123, 719}, {700, 5}};
    for (const auto& [px, py] : points) {
        EXPECT_FALSE(padding->HitTest(px, py)) << px << "," << py;
        EXPECT_TRUE(padding->field->HitTest(px, py)) << px << "," << py;
        EXPECT_EQ(core->WindowAt(px, py), padding->field) << px << "," << py;
    }
    EXPECT_FALSE(padding->field->HitTest(155, 360));  // over the left column
}

// --- Drawing -----------------------------------------------------------------------------------

class PaddingDrawing : public PaddingTest {
protected:
    void SetUp() override {
        PaddingTest::SetUp();
        RecordingDriver::Install();
        Below();
        Resize(800, 600);
    }
    void TearDown() override { UseNullDriver(); }

    std::vector<DrawnText> Draw() {
        RecordingDriver::Take();
        GFX_BeginFrame(nullptr);
        padding->Draw();
        GFX_EndFrame();
        return DrawnTexts(RecordingDriver::Take());
    }
    std::vector<std::string> DebugLabels() {
        std::vector<std::string> labels;
        for (const DrawnText& text : Draw())
            if (text.x == 164 + 471 - 107) labels.push_back(text.text);
        return labels;
    }
};

TEST_F(PaddingDrawing, TheDebugRowsCloseUp) {
    core->pingAverage = 42;
    core->fpsText = "60";
    core->options.ping = 1;
    core->options.framerate = 0;
    const std::vector<DrawnText> texts = Draw();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], (DrawnText{528, 9, 0xE0E0E0E0, "Ping"}));
    EXPECT_EQ(texts[1].text, "42");
    EXPECT_EQ(texts[1].y, 9);
    EXPECT_NEAR(texts[1].x + 2 * TestCharWidth, 164 + 471 - 7, TestCharWidth);  // right-aligned

    core->options.framerate = 1;
    core->showFrameTimes = 1;
    EXPECT_EQ(DebugLabels(), (std::vector<std::string>{"Framerate", "Ping", "Index", "Frame cur",
                                                       "Frame avg", "Frame min", "Frame max"}));

    // A screenshot of the field or without the HUD leaves them out.
    core->screenshotPending = 1;
    core->options.hudscreen = 1;
    EXPECT_TRUE(DebugLabels().empty());
    core->options.hudscreen = 0;
    EXPECT_EQ(DebugLabels().size(), 7u);
}

TEST_F(PaddingDrawing, TheScreenshotNoticeCountsItsDots) {
    core->screenshotBusy = 1;
    const struct {
        uint64_t ms;
        const char* text;
    } cases[] = {{0, "Rendering screenshot"},
                 {250, "Rendering screenshot."},
                 {749, "Rendering screenshot.."},
                 {1999, "Rendering screenshot..."}};
    for (const auto& c : cases) {
        core->frameTimeMs = c.ms;
        EXPECT_EQ(Draw(), (std::vector<DrawnText>{{168, 9, 0xFFFFFFFF, c.text}}));
    }
    core->screenshotBusy = 0;
}

// --- Creature frames ---------------------------------------------------------------------------

class CreatureFrames : public CreatureWorld {
protected:
    void SetUp() override {
        CreatureWorld::SetUp();
        core->AddFont(4, MakeTestFont(core.get(), 4));
        console = static_cast<Console*>(core->AddWindow(new Console(core.get())));
        padding = static_cast<Padding*>(core->AddWindow(new Padding(core.get(), console)));
        core->fieldWindow = padding->field;
        SpawnPlayer({100, 100, 7});
        RecordingDriver::Install();
    }
    void TearDown() override {
        UseNullDriver();
        CreatureWorld::TearDown();
    }
    Creature* Flagged(const std::string& name, uint8_t z = 7) {
        Creature* creature = Spawn({uint16_t(100 + world->creatures.size()), 100, z}, name);
        world->flaggedCreatures.push_back(creature);
        return creature;
    }
    std::vector<std::string> DrawFrame() {
        RecordingDriver::Take();
        GFX_BeginFrame(nullptr);
        padding->Draw();
        GFX_EndFrame();
        return RecordingDriver::Take();
    }
    // The names drawn, each a word of one letter: names in a row and in one colour are read as
    // one text, so each letter is placed by its offset in it.
    std::vector<DrawnText> Names() {
        std::vector<DrawnText> names;
        for (const DrawnText& text : DrawnTexts(DrawFrame()))
            for (size_t i = 0; i < text.text.size(); ++i)
                if (text.text[i] != ' ')
                    names.push_back({text.x + int32_t(i) * TestCharWidth, text.y, text.colour,
                                     std::string(1, text.text[i])});
        return names;
    }
    // Draws a frame at the time and gives the names drawn, in order.
    std::vector<std::string> DrawAt(uint64_t ms) {
        At(ms);
        std::vector<std::string> names;
        for (const DrawnText& name : Names()) names.push_back(name.text);
        return names;
    }
    // The opacity of the first frame's name, 0 to 255.
    uint32_t NameAlpha() { return Names().at(0).colour >> 24; }

    Console* console = nullptr;
    Padding* padding = nullptr;
};

TEST_F(CreatureFrames, ASeventhFrameWaitsForAFreeOne) {
    std::vector<Creature*> flagged;
    for (const char* name : {"A", "B", "C", "D", "E", "F", "G"}) flagged.push_back(Flagged(name));
    EXPECT_EQ(DrawAt(0), (std::vector<std::string>{"A", "B", "C", "D", "E", "F"}));

    flagged[1]->position.z = 6;  // B leaves the floor and fades out
    EXPECT_EQ(DrawAt(600).size(), 6u);
    EXPECT_EQ(DrawAt(1099), (std::vector<std::string>{"A", "B", "C", "D", "E", "F"}));
    EXPECT_EQ(DrawAt(1100), (std::vector<std::string>{"A", "C", "D", "E", "F", "G"}));
}

TEST_F(CreatureFrames, RowsOfThreeAreCentred) {
    std::vector<Creature*> flagged;
    for (const char* name : {"A", "B", "C", "D", "E"}) flagged.push_back(Flagged(name));
    At(0);
    const std::vector<DrawnText> texts = Names();
    ASSERT_EQ(texts.size(), 5u);
    // The field's centre is x 399; rows start an eighth down the field (y 52), 80 apart.
    const int32_t centres[] = {399 - 210, 399, 399 + 210, 399 - 105, 399 + 105};
    for (size_t i = 0; i < texts.size(); ++i) {
        EXPECT_NEAR(texts[i].x + TestCharWidth / 2, centres[i], 1) << i;
        EXPECT_EQ(texts[i].y, i < 3 ? 52 : 132) << i;
    }
}

// A frame fades in over 500 ms; leaving during the fade-in fades it out from where it was, and
// coming back during the fade-out fades it in again from there.
TEST_F(CreatureFrames, AFadeTurnsBackWhereItIs) {
    Creature* rat = Flagged("Rat");
    DrawAt(0);
    At(250);
    const uint32_t halfway = NameAlpha();
    EXPECT_EQ(halfway, 127u);

    rat->position.z = 8;
    At(250);
    EXPECT_EQ(NameAlpha(), halfway);  // fading out from the same opacity
    ASSERT_EQ(padding->creatureFrames.size(), 1u);
    EXPECT_EQ(padding->creatureFrames[0].state, uint32_t(CreatureFrame::Hiding));
    At(350);
    const uint32_t lower = NameAlpha();
    EXPECT_LT(lower, halfway);

    rat->position.z = 7;
    At(350);
    EXPECT_EQ(NameAlpha(), lower);  // and in again from there
    EXPECT_EQ(padding->creatureFrames[0].state, uint32_t(CreatureFrame::Shown));
    At(700);
    EXPECT_EQ(NameAlpha(), 255u);
}

// A health above full fills the box and no more.
TEST_F(CreatureFrames, TheHealthFillNeverLeavesItsBox) {
    Creature* rat = Flagged("Rat");
    rat->health = 250;
    DrawAt(0);
    At(1000);
    const std::vector<std::string> log = DrawFrame();
    const std::string fill = "FillRect(322,91,154,8,0xA0F06000,0x3)";
    EXPECT_NE(std::find(log.begin(), log.end(), fill), log.end());
}

}  // namespace
