#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/gfxcore.h"
#include "frontscreen.h"
#include "render.h"
#include "support/drawntext.h"
#include "windows/front/account.h"
#include "windows/front/desktop.h"
#include "windows/front/login.h"
#include "windows/toolkit/windowtypes.h"

namespace {

struct Column {
    std::string caption;
    uint32_t id;
    int32_t x, y;
};

std::vector<Column> ColumnOf(const Desktop& desktop) {
    std::vector<Column> column;
    for (const Button* button : desktop.buttons)
        column.push_back({button->caption, button->id, button->x, button->y});
    return column;
}

bool operator==(const Column& a, const Column& b) {
    return a.caption == b.caption && a.id == b.id && a.x == b.x && a.y == b.y;
}

std::ostream& operator<<(std::ostream& out, const Column& c) {
    return out << c.caption << " " << c.id << " (" << c.x << ", " << c.y << ")";
}

class DesktopTest : public FrontScreenTest {
protected:
    void Resize(uint32_t width, uint32_t height) {
        core->clientWidth = width;
        core->clientHeight = height;
    }
    // The calls that draw skin image `id` scaled.
    std::vector<std::string> ScaledDraws(Desktop& desktop, uint16_t id) {
        std::vector<std::string> draws;
        const std::string suffix = ",img:" + std::to_string(id) + ")";
        for (const std::string& call : DrawLog(&desktop))
            if (call.rfind("DrawImageScaled(", 0) == 0 &&
                call.compare(call.size() - suffix.size(), suffix.size(), suffix) == 0)
                draws.push_back(call);
        return draws;
    }
};

TEST_F(DesktopTest, TheColumnOfButtonsSitsInTheMiddleAndOffersLoginOrPlay) {
    const struct {
        uint32_t width, height;
        uint8_t steam;
        std::vector<Column> column;
    } cases[] = {
        {800,
         600,
         0,
         {{"Login", 17, 356, 250},
          {"Account", 18, 356, 278},
          {"Settings", 3, 356, 306},
          {"Exit", 20, 356, 334}}},
        {800,
         600,
         1,
         {{"Play", 103, 356, 250},
          {"Account", 18, 356, 278},
          {"Settings", 3, 356, 306},
          {"Exit", 20, 356, 334}}},
        {1024,
         768,
         0,
         {{"Login", 17, 468, 334},
          {"Account", 18, 468, 362},
          {"Settings", 3, 468, 390},
          {"Exit", 20, 468, 418}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        Resize(c.width, c.height);
        core->steamReady = c.steam;
        Desktop desktop(core.get());
        EXPECT_EQ(ColumnOf(desktop), c.column);
        EXPECT_EQ(desktop.typeId, WindowType::Desktop);
        EXPECT_EQ((std::vector<int32_t>{desktop.x, desktop.y, desktop.width, desktop.height}),
                  (std::vector<int32_t>{0, 0, int32_t(c.width), int32_t(c.height)}));
        for (const Button* button : desktop.buttons) {
            EXPECT_EQ((std::vector<int32_t>{button->normalSkin.sx, button->normalSkin.sy,
                                            button->hoverSkin.sy, button->pressedSkin.sy,
                                            button->normalSkin.width, button->normalSkin.height}),
                      (std::vector<int32_t>{0, 251, 269, 287, 88, 18}));
        }
    }
}

TEST_F(DesktopTest, ANewClientSizeCentresTheColumnAgain) {
    Desktop desktop(core.get());
    desktop.Place(1024, 768);
    EXPECT_EQ(ColumnOf(desktop), (std::vector<Column>{{"Login", 17, 468, 334},
                                                      {"Account", 18, 468, 362},
                                                      {"Settings", 3, 468, 390},
                                                      {"Exit", 20, 468, 418}}));
    EXPECT_EQ(desktop.x, 0);
    EXPECT_EQ(desktop.width, 1024);
    EXPECT_EQ(desktop.height, 768);
}

// The backdrop keeps its shape: cut at the sides of a narrow screen, at top and bottom of a
// wide one.
TEST_F(DesktopTest, TheBackdropCoversTheScreenAtItsOwnShape) {
    core->render->images[100] = GFX_CreateImage(16, 16, nullptr, 0, 0, 100);
    const struct {
        uint32_t width, height;
        std::string draw;
    } cases[] = {
        {800, 600, "DrawImageScaled(-120,0,1041,600,img:100)"},
        {1024, 768, "DrawImageScaled(-154,0,1333,768,img:100)"},
        {1920, 1080, "DrawImageScaled(0,-13,1920,1106,img:100)"},
        {1000, 400, "DrawImageScaled(0,-88,1000,576,img:100)"},
    };
    for (const auto& c : cases) {
        Resize(c.width, c.height);
        Desktop desktop(core.get());
        EXPECT_EQ(ScaledDraws(desktop, 100), std::vector<std::string>{c.draw});
    }
    // A resized screen is covered again.
    Resize(800, 600);
    Desktop desktop(core.get());
    desktop.Place(1920, 1080);
    EXPECT_EQ(ScaledDraws(desktop, 100),
              std::vector<std::string>{"DrawImageScaled(0,-13,1920,1106,img:100)"});
}

TEST_F(DesktopTest, TheBoxBehindTheButtonsIsDarkWithTwoOutlines) {
    Desktop desktop(core.get());
    std::vector<std::string> fills;
    for (const std::string& call : DrawLog(&desktop))
        if (call.rfind("FillRect(", 0) == 0) fills.push_back(call);
    // The box at (336, 230), 128 x 140: the fill, then a light outline of four pieces and a dark
    // one inside it.
    ASSERT_GE(fills.size(), 9u);
    EXPECT_EQ(fills[0], "FillRect(336,230,128,140,0x80000000,0x3)");
    for (size_t i = 1; i <= 4; ++i) EXPECT_NE(fills[i].find("0x2CFFFFFF"), std::string::npos);
    for (size_t i = 5; i <= 8; ++i) EXPECT_NE(fills[i].find("0x40000000"), std::string::npos);
    EXPECT_EQ(fills[5], "FillRect(337,231,125,1,0x40000000,0x3)");
}

TEST_F(DesktopTest, WhileAScreenshotIsWrittenTheScreenSaysSoWithTurningDots) {
    Desktop desktop(core.get());
    const auto noticeAt = [&](const std::vector<std::string>& log) {
        std::vector<std::string> notices;
        for (const DrawnText& run : DrawnTexts(log))
            if (run.x == 4 && run.y == 3 && run.colour == 0xFFFFFFFF) notices.push_back(run.text);
        return notices;
    };
    EXPECT_EQ(noticeAt(DrawLog(&desktop)), std::vector<std::string>{});
    core->screenshotBusy = 1;
    const struct {
        uint64_t time;
        std::string text;
    } cases[] = {{1000, "Rendering screenshot"},
                 {1249, "Rendering screenshot"},
                 {1250, "Rendering screenshot."},
                 {1600, "Rendering screenshot.."},
                 {1999, "Rendering screenshot..."}};
    for (const auto& c : cases) {
        core->frameTimeMs = c.time;
        EXPECT_EQ(noticeAt(DrawLog(&desktop)), std::vector<std::string>{c.text}) << c.time;
    }
    core->screenshotBusy = 0;
}

TEST_F(DesktopTest, TheButtonsOpenTheirWindowsAboveTheScreen) {
    Desktop* desktop = Open(new Desktop(core.get()));

    Press(desktop, 17);
    auto* login = dynamic_cast<Login*>(core->windows[1]);
    ASSERT_NE(login, nullptr);
    // The login window's inputs are open above it, and the account name has the focus.
    ASSERT_EQ(core->windows.size(), 4u);
    EXPECT_EQ(core->windows[2], login->accountInput);
    EXPECT_EQ(core->windows[3], login->passwordInput);
    EXPECT_EQ(core->focusedInput, login->accountInput);
    login->Close();
    EXPECT_EQ(core->windows, std::vector<Window*>{desktop});

    Press(desktop, 18);
    ASSERT_EQ(core->windows.size(), 2u);
    EXPECT_NE(dynamic_cast<Account*>(core->windows[1]), nullptr);
    core->RemoveWindow(core->windows[1]);

    Press(desktop, 3);
    ASSERT_EQ(core->windows.size(), 2u);
    EXPECT_EQ(core->windows[1]->typeId, WindowType::Settings);
    EXPECT_EQ(core->connection1, nullptr);
}

TEST_F(DesktopTest, ExitAsksTheProgramToEndWithCodeZero) {
    Desktop* desktop = Open(new Desktop(core.get()));
    DrainMessages();
    Press(desktop, 20);
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 0u);
    EXPECT_EQ(core->windows, std::vector<Window*>{desktop});
}

TEST_F(DesktopTest, PlayConnectsForTheSteamLogin) {
    core->steamReady = 1;
    Desktop* desktop = Open(new Desktop(core.get()));
    Press(desktop, 103);
    EXPECT_EQ(core->connectKind, 5u);
    EXPECT_TRUE(ConnectingShown());
    EXPECT_TRUE(ServerReached());
    EXPECT_EQ(core->windows.front(), desktop);
}

TEST_F(DesktopTest, TheTipsAreEightBitTextsWithColourEscapes) {
    Desktop desktop(core.get());
    ASSERT_EQ(desktop.tips.size(), 4u);
    const std::string heading =
        std::string("\0\xE0\xE0\xE0\xA0", 5) + "Did you know?" + std::string(5, '\0');
    for (size_t i = 0; i < 3; ++i) EXPECT_EQ(desktop.tips[i].rfind(heading, 0), 0u) << i;
    EXPECT_EQ(desktop.tips[2].substr(heading.size()),
              "  Veltor\x92 first ever test server went online on MONTH DAY, 2006/7.");
    EXPECT_EQ(desktop.tips[3].rfind("Did you know? You can pin", 0), 0u);
    EXPECT_NE(desktop.tips[3].find(" the \x93pin to\x94 option."), std::string::npos);
}

}  // namespace
