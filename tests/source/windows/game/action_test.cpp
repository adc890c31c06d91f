// The popup menu: its size and place, its painted rows and mouse marks, the hover highlight, the
// rows chosen by a click, its life time with the fades, and what closes it.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "font.h"
#include "mouse.h"
#include "platform.h"
#include "screen.h"
#include "support/drawntext.h"
#include "support/fakeplatform.h"
#include "support/recordingdriver.h"
#include "support/testcore.h"
#include "windows/game/action.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/windowtypes.h"

namespace {

using Log = std::vector<std::string>;

constexpr uint64_t Start = 1000000;
// A row whose effect a test can see: the code flips the map's scroll direction.
constexpr uint32_t InvertScrolling = ActionCode::InvertScrolling;

std::string Px(int32_t value) { return std::to_string(value); }

std::string FillRect(int32_t x, int32_t y, int32_t w, int32_t h, const std::string& colour) {
    return "FillRect(" + Px(x) + "," + Px(y) + "," + Px(w) + "," + Px(h) + "," + colour + ",0x3)";
}

size_t Count(const Log& log, const std::string& call) {
    return size_t(std::count(log.begin(), log.end(), call));
}

class ActionMenu : public ::testing::Test {
protected:
    void SetUp() override {
        core = MakeTestCore();
        core->screen = new Screen(core.get(), 800, 600, 32, 0);
        SetClock(Start);
    }

    void SetClock(uint64_t ms) {
        FakePlatform::wallClock = ms;
        FakePlatform::wallClockStep = 0;
        core->UpdateFrameRate();
    }

    int32_t Width(const std::string& text) { return core->GetFont(1)->MeasureText(text); }

    // A menu of the rows (code, label) added to Core, opened at the point.
    Action* Open(const std::string& title, std::vector<Action::Entry> rows, int32_t x = 300,
                 int32_t y = 200, bool keepOpen = false) {
        auto* menu = new Action(core.get(), nullptr, title, 7);
        menu->keepOpen = keepOpen;
        for (const Action::Entry& row : rows) menu->AddEntryWithHint(row.code, row.label, row.hint);
        menu->Open(x, y);
        core->AddWindow(menu);
        return menu;
    }

    bool Listed(const Window* window) const {
        return std::find(core->windows.begin(), core->windows.end(), window) != core->windows.end();
    }

    // The calls of one frame's drawing of the menu at the time.
    Log DrawAt(Action* menu, uint64_t elapsed) {
        SetClock(Start + elapsed);
        RecordingDriver::Install();
        menu->Draw();
        Log log = RecordingDriver::Take();
        UseNullDriver();
        return log;
    }

    // The tint the menu's surface was drawn with, or "" when it was not drawn.
    static std::string Tint(const Log& log) {
        for (const std::string& call : log)
            if (call.rfind("DrawTargetTinted(", 0) == 0) {
                const size_t end = call.rfind(',');
                return call.substr(call.rfind(',', end - 1) + 1,
                                   end - call.rfind(',', end - 1) - 1);
            }
        return "";
    }

    void PointAt(int32_t x, int32_t y) {
        core->screen->mouse->x = x;
        core->screen->mouse->y = y;
    }

    FakePlatform fake;
    std::unique_ptr<Core> core;
};

TEST_F(ActionMenu, SizeFollowsTheTitleAndTheWidestRow) {
    const std::string longLabel = "Transfer Leadership to a friend";
    const struct {
        const char* name;
        std::string title;
        std::vector<Action::Entry> rows;
        int32_t width, height;
    } cases[] = {
        {"three short rows",
         "",
         {{112, "Examine", ""}, {0, "-", ""}, {110, "Attack", ""}},
         120,
         71},
        {"three rows under a title",
         "Rat",
         {{112, "Examine", ""}, {0, "-", ""}, {110, "Attack", ""}},
         120,
         109},
        {"a long row", "", {{1, longLabel, ""}}, Width(longLabel) + 20, 31},
        {"a row with a hint",
         "",
         {{1, longLabel, "RMB"}},
         Width(longLabel) + 30 + Width("RMB"),
         31},
        {"a long title", longLabel + "!", {}, Width(longLabel + "!") + 20, 49},
        {"no rows", "", {}, 120, 11},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Action* menu = Open(c.title, c.rows);
        EXPECT_EQ(menu->width, c.width);
        EXPECT_EQ(menu->height, c.height);
        EXPECT_EQ(menu->typeId, WindowType::Action);
        EXPECT_EQ(menu->openedAt, Start);
        ASSERT_NE(menu->surface, nullptr);
        EXPECT_GE(menu->surfaceWidth, menu->width);
        EXPECT_GE(menu->surfaceHeight, menu->height);
    }
    EXPECT_GT(Width(longLabel) + 20, 120);
}

TEST_F(ActionMenu, PlacementHangsFromThePointFlipsAtTheEdgesOrCentres) {
    const std::vector<Action::Entry> threeRows = {{1, "a", ""}, {2, "b", ""}, {3, "c", ""}};
    const std::vector<Action::Entry> twoRows = {{1, "a", ""}, {2, "b", ""}};
    const struct {
        const char* name;
        std::string title;
        std::vector<Action::Entry> rows;
        bool centred;
        int32_t atX, atY, x, y;
    } cases[] = {
        {"inside the client", "", threeRows, false, 300, 200, 300, 200},
        {"10 px from the right edge", "", threeRows, false, 790, 200, 670, 200},
        {"just fitting on the right", "", threeRows, false, 675, 200, 675, 200},
        {"near the bottom", "", threeRows, false, 300, 560, 300, 489},
        {"in the bottom right corner", "", threeRows, false, 790, 590, 670, 519},
        {"centred", "Party", twoRows, true, 400, 150, 340, 106},
        {"centred near the top", "Party", twoRows, true, 400, 30, 340, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto* menu = new Action(core.get(), nullptr, c.title, 0);
        menu->centred = c.centred;
        for (const Action::Entry& row : c.rows) menu->AddEntry(row.code, row.label);
        menu->Open(c.atX, c.atY);
        std::unique_ptr<Action> owned(menu);
        EXPECT_EQ(menu->x, c.x);
        EXPECT_EQ(menu->y, c.y);
    }
}

TEST_F(ActionMenu, PaintDrawsTitleRowsSeparatorsAndMouseMarks) {
    Action* menu = Open(
        "Chest",
        {{131, "Open..", "RMB"}, {130, "Use with..", "LMB"}, {0, "-", "+"}, {52, "Zoom in", "+"}});
    const int32_t w = menu->width;
    RecordingDriver::Install();
    menu->Paint();
    const Log log = RecordingDriver::Take();
    UseNullDriver();
    EXPECT_FALSE(menu->dirty);

    EXPECT_EQ(DrawnTextsIn(log, 0xE0FFFFFF), (std::vector<std::string>{"Chest"}));
    EXPECT_EQ(DrawnTextsIn(log, 0xC0E0E0E0),
              (std::vector<std::string>{"Open..", "Use with..", "Zoom in", "+"}));
    const std::vector<DrawnText> texts = DrawnTexts(log);
    const auto at = [&](const std::string& text) {
        for (const DrawnText& drawn : texts)
            if (drawn.text == text) return std::make_pair(drawn.x, drawn.y);
        return std::make_pair(-1, -1);
    };
    EXPECT_EQ(at("Open..").first, 10);
    EXPECT_EQ(at("Zoom in").first, 10);
    EXPECT_EQ(at("+").first, w - 10 - Width("+"));
    EXPECT_EQ(at("Zoom in").second - at("Open..").second, 60);

    // The line under the title, and the separator's line in place of its row's text.
    EXPECT_EQ(Count(log, FillRect(10, 33, w - 20, 1, "0x60FFFFFF")), 1u);
    EXPECT_EQ(Count(log, FillRect(10, 95, w - 20, 1, "0x60FFFFFF")), 1u);
    // The marks: the right button lit on the first row, the left one on the second.
    const int32_t mx = w - 17;
    EXPECT_EQ(Count(log, FillRect(mx + 4, 51, 3, 4, "0xFFE0E0E0")), 1u);
    EXPECT_EQ(Count(log, FillRect(mx + 3, 50, 1, 5, "0xFF000000")), 1u);
    EXPECT_EQ(Count(log, FillRect(mx + 1, 71, 3, 4, "0xFFE0E0E0")), 1u);
    EXPECT_EQ(Count(log, FillRect(mx + 4, 70, 1, 5, "0xFF000000")), 1u);
    EXPECT_EQ(std::count_if(log.begin(), log.end(),
                            [](const std::string& call) {
                                return call.find(",0xFFE0E0E0,0x3)") != std::string::npos;
                            }),
              2);
}

TEST_F(ActionMenu, HoverMarksOnlyRowsWithACode) {
    Action* menu =
        Open("", {{InvertScrolling, "Invert scrolling", "+"}, {0, "-", ""}, {0, "Info", ""}});
    const int32_t w = menu->width;
    const struct {
        const char* name;
        int32_t px, py;
        int32_t highlightedTop;  // the row's text top on screen, or 0 for none
    } cases[] = {
        {"the first row", 320, 210, 210}, {"the first row's last pixel", 300 + w - 5, 224, 210},
        {"the separator", 320, 235, 0},   {"the information row", 320, 255, 0},
        {"the left margin", 305, 210, 0}, {"the top margin", 320, 205, 0},
        {"outside", 200, 210, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PointAt(c.px, c.py);
        const Log log = DrawAt(menu, 1000);
        const size_t top = Count(log, FillRect(306, c.highlightedTop - 4, w - 12, 1, "0x60FFFFFF"));
        const std::vector<std::string> white = DrawnTextsIn(log, 0xFFFFFFFF);
        if (c.highlightedTop) {
            EXPECT_EQ(top, 1u);
            EXPECT_EQ(Count(log, FillRect(305, c.highlightedTop - 3, 1, 17, "0x60FFFFFF")), 1u);
            EXPECT_EQ(Count(log, FillRect(300 + w - 6, c.highlightedTop - 3, 1, 17, "0x60FFFFFF")),
                      1u);
            EXPECT_EQ(white, (std::vector<std::string>{"Invert scrolling", "+"}));
        } else {
            EXPECT_EQ(std::count_if(log.begin(), log.end(),
                                    [](const std::string& call) {
                                        return call.rfind("FillRect(", 0) == 0;
                                    }),
                      0);
            EXPECT_TRUE(white.empty());
        }
    }
    // No highlight while the menu fades in.
    PointAt(320, 210);
    EXPECT_TRUE(DrawnTextsIn(DrawAt(menu, 100), 0xFFFFFFFF).empty());
}

TEST_F(ActionMenu, HoverUnderATitleSkipsTheTitleBand) {
    Action* menu = Open("Rat", {{InvertScrolling, "Invert scrolling", ""}});
    PointAt(320, 246);  // 46 px below the top: still the band
    EXPECT_TRUE(DrawnTextsIn(DrawAt(menu, 1000), 0xFFFFFFFF).empty());
    PointAt(320, 247);
    const Log log = DrawAt(menu, 1000);
    EXPECT_EQ(DrawnTextsIn(log, 0xFFFFFFFF), (std::vector<std::string>{"Invert scrolling"}));
    EXPECT_EQ(Count(log, FillRect(306, 246, menu->width - 12, 1, "0x60FFFFFF")), 1u);
}

TEST_F(ActionMenu, AClickOnARowClosesTheMenuAndRunsIt) {
    const struct {
        const char* name;
        std::string title;
        int32_t px, py;
        bool closes;
        uint8_t inverse;
    } cases[] = {
        {"the row", "", 320, 215, true, 1},
        {"the separator", "", 320, 235, true, 0},
        {"the information row", "", 320, 255, true, 0},
        {"the top margin", "", 320, 205, false, 0},
        {"the left margin", "", 305, 215, false, 0},
        {"below the last row", "", 320, 267, false, 0},
        {"the title band", "Map", 320, 246, false, 0},
        {"the row under the title", "Map", 320, 247, true, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        core->options.inverse = 0;
        Action* menu = Open(
            c.title, {{InvertScrolling, "Invert scrolling", ""}, {0, "-", ""}, {0, "Info", ""}});
        menu->OnMouseUp(c.px, c.py);
        EXPECT_EQ(menu->state, c.closes ? 3u : 1u);
        EXPECT_EQ(core->options.inverse, c.inverse);
        core->RemoveWindow(menu);
    }
}

TEST_F(ActionMenu, LeftAloneTheMenuFadesInAndOutWithinTenSeconds) {
    Action* menu = Open("", {{InvertScrolling, "Invert scrolling", ""}});
    const struct {
        uint64_t elapsed;
        const char* tint;
    } frames[] = {
        {0, "0xFFFFFF"},      {100, "0x64FFFFFF"},  {255, "0xFFFFFFFF"},  {256, "0xFFFFFFFF"},
        {9743, "0xFFFFFFFF"}, {9744, "0xFFFFFFFF"}, {9800, "0xC8FFFFFF"}, {9999, "0x1FFFFFF"},
    };
    for (const auto& frame : frames) {
        SCOPED_TRACE(frame.elapsed);
        EXPECT_EQ(Tint(DrawAt(menu, frame.elapsed)), frame.tint);
        EXPECT_EQ(menu->state, 1u);
    }
    EXPECT_TRUE(DrawAt(menu, 10000).empty());
    EXPECT_EQ(menu->state, 3u);
    core->RenderFrame();
    EXPECT_FALSE(Listed(menu));
}

TEST_F(ActionMenu, AnotherActiveWindowMakesTheMenuFadeAtOnceUnlessKeptOpen) {
    Action* menu = Open("", {{1, "a", ""}});
    Action* invitation = Open("Party", {{170, "Accept & join", ""}}, 300, 200, true);
    // The invitation is active: the first menu jumps to its fade-out.
    EXPECT_EQ(Tint(DrawAt(menu, 1000)), "0xFFFFFFFF");
    EXPECT_EQ(menu->openedAt, Start + 1000 - 9744);
    EXPECT_EQ(Tint(DrawAt(menu, 1100)), "0x9CFFFFFF");
    DrawAt(menu, 1256);
    EXPECT_EQ(menu->state, 3u);

    // A window above the invitation does not end it before its ten seconds.
    auto* other = Open("", {{1, "b", ""}});
    EXPECT_EQ(Tint(DrawAt(invitation, 5000)), "0xFFFFFFFF");
    EXPECT_EQ(invitation->openedAt, Start);
    EXPECT_EQ(Tint(DrawAt(invitation, 9900)), "0x64FFFFFF");
    DrawAt(invitation, 10000);
    EXPECT_EQ(invitation->state, 3u);
    EXPECT_EQ(other->state, 1u);

    // The fading state ends a kept menu too.
    Action* kept = Open("", {{1, "c", ""}}, 300, 200, true);
    kept->state = 2;
    kept->openedAt = Start + 19000;
    DrawAt(kept, 20000);
    EXPECT_EQ(kept->openedAt, Start + 20000 - 9744);
}

TEST_F(ActionMenu, RightClickResizeEnterAndTheCloseButtonsEndTheMenu) {
    Action* menu = Open("", {{1, "a", ""}});
    menu->OnRightClick(320, 215);
    EXPECT_EQ(menu->state, 3u);

    // The system reports the size also when it stayed.
    menu = Open("", {{1, "a", ""}});
    core->OnResize();
    EXPECT_EQ(menu->state, 1u);
    core->clientWidth = 1024;
    core->OnResize();
    EXPECT_EQ(menu->state, 3u);
    core->clientWidth = 800;

    menu = Open("", {{1, "a", ""}});
    menu->OnSubmit();
    EXPECT_FALSE(Listed(menu));

    for (uint32_t id : {ButtonId::Close, ButtonId::Ok}) {
        menu = Open("", {{1, "a", ""}});
        Button* button = menu->AddPushButton(0, 0, id, "");
        menu->OnCommand(button);
        EXPECT_FALSE(Listed(menu)) << id;
    }
    menu = Open("", {{1, "a", ""}});
    menu->OnCommand(menu->AddPushButton(0, 0, 5, ""));
    EXPECT_TRUE(Listed(menu));
}

}  // namespace
