#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/gfxcore.h"
#include "render.h"
#include "support/recordingdriver.h"
#include "support/testcore.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/window.h"

namespace {

class Host : public Window {
public:
    explicit Host(Core* core) : Window(core) {
        Build();
        x = 100;
        y = 50;
        width = 300;
        height = 200;
    }
};

// The calls of one drawing slot, by name, from a recorded log.
std::vector<std::string> CallsOf(const std::vector<std::string>& log, const std::string& slot) {
    std::vector<std::string> found;
    for (const std::string& call : log)
        if (call.compare(0, slot.size() + 1, slot + "(") == 0) found.push_back(call);
    return found;
}

class ButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Skin image 1, so that the button looks are drawn and logged.
        core->render->GetImage(1) = GFX_CreateImage(512, 512, nullptr, 0, 0, 1);
        RecordingDriver::Install();
    }
    void TearDown() override { UseNullDriver(); }

    std::vector<std::string> DrawLog(Button* button) {
        RecordingDriver::Take();
        button->Draw(host->x, host->y, host->width, host->height);
        return RecordingDriver::Take();
    }

    std::unique_ptr<Core> core = MakeTestCore();
    Host* host = static_cast<Host*>(core->AddWindow(new Host(core.get())));
};

TEST_F(ButtonTest, TheHitRectangleFollowsTheOwner) {
    Button* button = host->AddPushButton(10, 20, 40, "ok");  // hit (1, 1, 52, 14)
    EXPECT_TRUE(button->HitTest(111, 71));
    EXPECT_TRUE(button->HitTest(162, 84));
    EXPECT_FALSE(button->HitTest(110, 71));
    EXPECT_FALSE(button->HitTest(163, 84));
    EXPECT_FALSE(button->HitTest(111, 85));
    host->x = 0;
    EXPECT_TRUE(button->HitTest(11, 71));
    EXPECT_FALSE(button->HitTest(111, 71));
}

TEST_F(ButtonTest, AnInvisibleButtonIsNeitherHitNorDrawn) {
    Button* button = host->AddPushButton(10, 20, 40, "ok");
    button->visible = 0;
    EXPECT_FALSE(button->HitTest(120, 75));
    EXPECT_EQ(host->ButtonAt(120, 75), nullptr);
    EXPECT_TRUE(DrawLog(button).empty());
}

TEST_F(ButtonTest, TheCaptionIsCentredOnTheHitRectangle) {
    // "ok" is 14 pixels wide in the test font: centred at 100 + 10 + 52 / 2, top at 50 + 20 + 2.
    Button* button = host->AddPushButton(10, 20, 40, "ok");
    std::vector<std::string> glyphs = CallsOf(DrawLog(button), "DrawImagePartTinted");
    ASSERT_EQ(glyphs.size(), 2u);
    EXPECT_EQ(glyphs[0].substr(0, 27), "DrawImagePartTinted(129,72,");
    EXPECT_NE(glyphs[0].find("0xFFFFFFFF"), std::string::npos);

    // Pressed (or disabled): grey, one pixel right and down.
    button->pressed = 1;
    glyphs = CallsOf(DrawLog(button), "DrawImagePartTinted");
    ASSERT_EQ(glyphs.size(), 2u);
    EXPECT_EQ(glyphs[0].substr(0, 27), "DrawImagePartTinted(130,73,");
    EXPECT_NE(glyphs[0].find("0xFF606060"), std::string::npos);

    // With a caption colour: moved only while pressed.
    button->pressed = 0;
    button->enabled = 0;
    RecordingDriver::Take();
    button->Draw(host->x, host->y, host->width, host->height, 0xFF00FF00);
    glyphs = CallsOf(RecordingDriver::Take(), "DrawImagePartTinted");
    ASSERT_EQ(glyphs.size(), 2u);
    EXPECT_EQ(glyphs[0].substr(0, 27), "DrawImagePartTinted(129,72,");
    EXPECT_NE(glyphs[0].find("0xFF00FF00"), std::string::npos);
}

TEST_F(ButtonTest, ASmallButtonsCaptionStandsTwoPixelsBelowItsTop) {
    // 18 x 16 with hit (1, 1, 16, 14): centre at offset + 8, top at offset y + 2.
    Button* button =
        host->AddButton(30, 3, 50, 0, 80, 18, 80, 36, 80, 18, 16, {1, 1, 16, 14}, "x", 0, 0);
    const std::vector<std::string> glyphs = CallsOf(DrawLog(button), "DrawImagePartTinted");
    ASSERT_EQ(glyphs.size(), 1u);
    const int32_t left = 100 + 30 + 8 - TestCharWidth / 2;
    EXPECT_EQ(glyphs[0].substr(0, 27), "DrawImagePartTinted(" + std::to_string(left) + ",55,");
}

TEST_F(ButtonTest, TheLookFollowsTheState) {
    Button* button = host->AddPushButton(10, 20, 40, "");
    const struct {
        uint8_t enabled, pressed, toggle;
        const char* piece;  // source position of the drawn part, or "" for nothing
    } cases[] = {
        {1, 0, 0, "219,253"},  // normal
        {1, 1, 0, "219,285"},  // pressed
        {0, 0, 0, ""},         // disabled, its look never set
        {0, 1, 1, "219,285"},  // a disabled toggle keeps its on look
        {0, 0, 1, "219,253"},  // and its off look
    };
    for (const auto& c : cases) {
        button->enabled = c.enabled;
        button->pressed = c.pressed;
        button->toggle = c.toggle;
        const std::vector<std::string> parts = CallsOf(DrawLog(button), "DrawImagePart");
        if (*c.piece == '\0') {
            EXPECT_TRUE(parts.empty());
        } else {
            ASSERT_EQ(parts.size(), 1u);
            EXPECT_EQ(parts[0], std::string("DrawImagePart(110,70,") + c.piece + ",54,16,img:1)");
        }
    }
    button->enabled = 0;
    button->toggle = 0;
    button->SetGeometry(1, 300, 300, 54, 16, 0);
    EXPECT_EQ(CallsOf(DrawLog(button), "DrawImagePart")[0],
              "DrawImagePart(110,70,300,300,54,16,img:1)");
}

TEST_F(ButtonTest, SetSkinMovesTheLooksAndKeepsTheirImage) {
    Button* button = host->AddCollapseButton();
    button->SetSkin(0, 112, 18, 112, 36, 112, 18, 16);
    EXPECT_EQ(button->hoverSkin.sy, 112);
    EXPECT_EQ(button->pressedSkin.sx, 36);
    EXPECT_EQ(button->normalSkin.imageId, 1u);
}

TEST_F(ButtonTest, ACollapsedWindowDrawsOnlyItsTitleBarButtons) {
    host->AddCloseButton();
    host->AddPushButton(10, 170, 40, "");
    RecordingDriver::Take();
    host->DrawButtons();
    EXPECT_EQ(CallsOf(RecordingDriver::Take(), "DrawImagePart").size(), 2u);
    host->collapsed = 1;
    host->DrawButtons();
    const std::vector<std::string> parts = CallsOf(RecordingDriver::Take(), "DrawImagePart");
    ASSERT_EQ(parts.size(), 1u);
    EXPECT_EQ(parts[0], "DrawImagePart(379,53,0,80,18,16,img:1)");
}

}  // namespace
