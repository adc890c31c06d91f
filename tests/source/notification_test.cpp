// Notification lines with the test font (7 px a character, lines 12 apart) as fonts 1 to 4, over
// a field of 800 x 600 at (0, 0) unless a test says otherwise.
#include "notification.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core.h"
#include "font.h"
#include "render.h"
#include "support/chatconsole.h"
#include "support/recordingdriver.h"
#include "support/testcore.h"
#include "windows/game/channel.h"
#include "windows/game/console.h"
#include "windows/toolkit/window.h"

namespace {

// The colour an echo goes behind: a line without a speaker.
const std::string Grey = MakeColorCode(224, 224, 224, 224);

using Calls = std::vector<std::string>;
constexpr uint64_t Start = 100000;

// The game field's frame window, only for its width.
struct FieldFrame : Window {
    explicit FieldFrame(Core* core) : Window(core) {}
};

class NotificationTest : public ::testing::Test {
protected:
    void SetUp() override {
        core = MakeTestCore();
        for (uint32_t id : {3u, 4u}) core->AddFont(id, MakeTestFont(core.get(), id));
        core->frameTimeMs = Start;
        notification = std::make_unique<Notification>(core.get());
    }

    void At(uint64_t ms) { core->frameTimeMs = Start + ms; }
    // Draws a frame at the time over the field and returns the driver calls it made.
    Calls DrawAt(uint64_t ms, int32_t x = 0, int32_t y = 0, int32_t w = 800, int32_t h = 600) {
        At(ms);
        RecordingDriver::Install();
        notification->Draw(x, y, w, h);
        return RecordingDriver::Take();
    }
    // The driver calls of the given drawing, for comparison.
    template <typename DrawFn>
    Calls Expected(DrawFn draw) {
        RecordingDriver::Install();
        draw();
        return RecordingDriver::Take();
    }
    const NotificationLine& Current(int32_t place) {
        return notification->places[place - 1].current;
    }
    const NotificationLine& Waiting(int32_t place) {
        return notification->places[place - 1].waiting;
    }
    Font* FontOf(uint32_t id) { return core->GetFont(id); }

    std::unique_ptr<Core> core;
    std::unique_ptr<Notification> notification;
};

TEST_F(NotificationTest, KindsChoosePlaceFontColourAndLifetime) {
    struct Case {
        uint8_t kind;
        std::string text;
        int32_t place;
        uint32_t font;
        uint32_t colour;
        int32_t lifetime;
    } cases[] = {
        {0, "a", Notification::PlaceCentre, 1, 0xE080FF80, 4000},
        {2, "b", Notification::PlaceStatus, 1, 0xE0E0E0E0, 3000},
        {5, "You are dead", Notification::PlaceCentre, 3, 0xE0FFFFFF, 600000},
        {5, "You are dead.", Notification::PlaceCentre, 3, 0xE0FFFFFF, 4000},
        {7, "c", Notification::PlaceCentre, 4, 0xE0FFC060, 4000},
        {8, "One. Two. Three.", Notification::PlaceInfo, 1, 0xE0E0E0E0, 20000},
        {8, "One.", Notification::PlaceInfo, 1, 0xE0E0E0E0, 10000},
        {10, "d", Notification::PlaceStatus, 1, 0xE0E0E0E0, 3000},
        {200, "e", Notification::PlaceCentre, 1, 0xE0E0E0E0, 4000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        notification = std::make_unique<Notification>(core.get());
        notification->Add(c.kind, c.text);
        const NotificationLine& line = Current(c.place);
        EXPECT_EQ(line.text, c.text);
        EXPECT_EQ(line.state, Notification::StateFadingIn);
        EXPECT_EQ(line.font, FontOf(c.font));
        EXPECT_EQ(line.colour, c.colour);
        EXPECT_EQ(line.lifetime, c.lifetime);
    }
}

TEST_F(NotificationTest, TextIsCutAfterFullStopsWithTwoMoreCharacters) {
    struct Case {
        std::string text;
        std::vector<std::string> lines;
    } cases[] = {
        {"a. b", {"a. b"}},       {"a. bc", {"a. ", "bc"}},
        {"No stop", {"No stop"}}, {"One. Two. Three.", {"One. ", "Two. ", "Three."}},
        {"End. ", {"End. "}},
    };
    for (const Case& c : cases) {
        notification = std::make_unique<Notification>(core.get());
        notification->Add(3, c.text);
        EXPECT_EQ(Current(Notification::PlaceCentre).lines, c.lines) << c.text;
    }
}

TEST_F(NotificationTest, ManySentencesStopAtTheLineLimit) {
    std::string text;
    for (int i = 0; i < 50; ++i) text += "Go. ";
    text += "end";
    notification->Add(8, text);
    const NotificationLine& line = Current(Notification::PlaceInfo);
    ASSERT_EQ(line.lines.size(), Notification::MaxLines);
    EXPECT_EQ(line.lines.back().size(), text.size() - (Notification::MaxLines - 1) * 4);
    EXPECT_EQ(line.lifetime, int32_t(Notification::MaxLines - 1) * 10000);
}

TEST_F(NotificationTest, ALongTextIsShownCutShortAndEchoedWhole) {
    OpenConsole(core.get());
    Channel* info = ChannelOf(core.get(), ChannelId::Info);
    ASSERT_NE(info, nullptr);
    const std::string text(5000, 'x');
    notification->Add(0, text);
    EXPECT_EQ(Current(Notification::PlaceCentre).lines,
              std::vector<std::string>{std::string(Notification::MaxTextLength, 'x')});
    ASSERT_EQ(info->rawLines.size(), 1u);
    EXPECT_EQ(info->rawLines[0], Grey + MakeColorCode(128, 245, 128, 192) + text);
}

TEST_F(NotificationTest, TooWideTextStepsTheFontDown) {
    FieldFrame field(core.get());
    field.width = 100;
    core->fieldWindow = &field;
    // 15 characters are 105 px: within 10 px of the field; 16 are not.
    notification->Add(4, std::string(15, 'x'));
    EXPECT_EQ(Current(Notification::PlaceCentre).font, FontOf(3));
    // Font 4 is as wide here, so font 3 goes on down to font 1.
    notification = std::make_unique<Notification>(core.get());
    notification->Add(4, std::string(16, 'x'));
    EXPECT_EQ(Current(Notification::PlaceCentre).font, FontOf(1));
    notification = std::make_unique<Notification>(core.get());
    notification->Add(6, std::string(16, 'x'));
    EXPECT_EQ(Current(Notification::PlaceCentre).font, FontOf(1));
    core->fieldWindow = nullptr;
}

TEST_F(NotificationTest, LineFadesInShowsFadesOutAndEmpties) {
    notification->Add(0, "Hi");
    const NotificationLine& line = Current(Notification::PlaceCentre);
    Font* font = FontOf(1);
    const auto at = [&](uint32_t alpha) {
        return Expected([&] { font->DrawTextCentered(400, 294, "Hi", alpha << 24 | 0x80FF80); });
    };
    EXPECT_EQ(DrawAt(0), at(0));
    EXPECT_EQ(DrawAt(250), at(127));
    EXPECT_EQ(DrawAt(499), at(0xE0));  // capped by the colour's own alpha
    EXPECT_EQ(DrawAt(500), at(0xE0));
    EXPECT_EQ(line.state, Notification::StateShown);
    EXPECT_EQ(DrawAt(4500), at(0xE0));
    EXPECT_EQ(line.state, Notification::StateShown);
    EXPECT_EQ(DrawAt(4501), at(0xE0));  // the fade-out starts in this frame
    EXPECT_EQ(line.state, Notification::StateFadingOut);
    EXPECT_EQ(DrawAt(4751), at(127));
    EXPECT_EQ(DrawAt(5001), Calls{});
    EXPECT_EQ(line.state, Notification::StateEmpty);
    EXPECT_EQ(DrawAt(6000), Calls{});
}

TEST_F(NotificationTest, RepeatWhileShownRestartsTheLifetime) {
    notification->Add(2, "Too far away.");
    DrawAt(500);
    At(3000);
    notification->Add(2, "Too far away.");
    EXPECT_EQ(Waiting(Notification::PlaceStatus).state, Notification::StateEmpty);
    DrawAt(5999);
    EXPECT_EQ(Current(Notification::PlaceStatus).state, Notification::StateShown);
    DrawAt(6001);
    EXPECT_EQ(Current(Notification::PlaceStatus).state, Notification::StateFadingOut);
}

TEST_F(NotificationTest, RepeatWhileFadingOutFadesBackIn) {
    notification->Add(2, "Out of range.");
    DrawAt(500);
    DrawAt(3501);  // fade-out begins
    At(3700);
    notification->Add(2, "Out of range.");
    const NotificationLine& line = Current(Notification::PlaceStatus);
    EXPECT_EQ(line.state, Notification::StateFadingIn);
    // The fade-in counts from when the fade-out began.
    Font* font = FontOf(1);
    EXPECT_EQ(DrawAt(3751), Expected([&] {
                  font->DrawTextCentered(400, 600 - 12 - 3, "Out of range.", 0x7FE0E0E0);
              }));
    DrawAt(4001);
    EXPECT_EQ(line.state, Notification::StateShown);
}

TEST_F(NotificationTest, ThreeTextsAtOnceShowTheFirstThenTheThird) {
    notification->Add(1, "first");
    notification->Add(1, "second");
    notification->Add(1, "third");
    EXPECT_EQ(Current(Notification::PlaceCentre).text, "first");
    EXPECT_EQ(Current(Notification::PlaceCentre).state, Notification::StateFadingOut);
    EXPECT_EQ(Waiting(Notification::PlaceCentre).text, "third");
    EXPECT_EQ(DrawAt(500), Calls{});  // the first has faded out; the third takes its place
    EXPECT_EQ(Current(Notification::PlaceCentre).text, "third");
    EXPECT_EQ(Current(Notification::PlaceCentre).state, Notification::StateFadingIn);
    EXPECT_EQ(Waiting(Notification::PlaceCentre).state, Notification::StateEmpty);
    Font* font = FontOf(1);
    EXPECT_EQ(DrawAt(1000),
              Expected([&] { font->DrawTextCentered(400, 294, "third", 0xE0FF6060); }));
}

TEST_F(NotificationTest, CentreRowsByKindAndSeveralLinesAroundTheTop) {
    struct Case {
        uint8_t kind;
        uint32_t font;
        int32_t top;
    } cases[] = {{3, 1, 50 + 300 - 6}, {5, 3, 50 + 150 - 20}, {9, 4, 50 + 200 - 12}};
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.kind));
        At(0);
        notification = std::make_unique<Notification>(core.get());
        notification->Add(c.kind, "One. Two.");
        DrawAt(600, 20, 50, 400, 600);  // fully shown
        const uint32_t colour = Current(Notification::PlaceCentre).colour;
        Font* font = FontOf(c.font);
        const int32_t top = c.top - 2 * 12 / 2;
        EXPECT_EQ(DrawAt(700, 20, 50, 400, 600), Expected([&] {
                      font->DrawTextCentered(220, top, "One. ", colour);
                      font->DrawTextCentered(220, top + 12, "Two.", colour);
                  }));
    }
}

TEST_F(NotificationTest, StatusLinesEndThreePixelsAboveTheBottom) {
    notification->Add(10, "One. Two. Six.");
    DrawAt(600, 10, 20, 300, 200);
    Font* font = FontOf(1);
    EXPECT_EQ(DrawAt(700, 10, 20, 300, 200), Expected([&] {
                  font->DrawTextCentered(160, 20 + 200 - 3 - 36, "One. ", 0xE0E0E0E0);
                  font->DrawTextCentered(160, 20 + 200 - 3 - 24, "Two. ", 0xE0E0E0E0);
                  font->DrawTextCentered(160, 20 + 200 - 3 - 12, "Six.", 0xE0E0E0E0);
              }));
}

TEST_F(NotificationTest, StatusLineWaitsWhileAScreenshotHidesTheHud) {
    notification->Add(2, "Hidden");
    core->options.hudscreen = 1;
    core->screenshotPending = 1;
    EXPECT_EQ(DrawAt(5000), Calls{});
    EXPECT_EQ(Current(Notification::PlaceStatus).state, Notification::StateFadingIn);
    core->screenshotPending = 0;
    EXPECT_FALSE(DrawAt(5000).empty());  // the fade-in completes in this frame
    EXPECT_EQ(Current(Notification::PlaceStatus).state, Notification::StateShown);
}

TEST_F(NotificationTest, InfoBoxDrawsBoxTextAndBlinkingMark) {
    Render* render = core->render;
    Font* font = FontOf(1);
    Font* mark = FontOf(3);
    notification->Add(8, "Short. Longer line here");
    DrawAt(600, 5, 7, 800, 600);
    // The wider line is past the least width of 100; two lines: 28 px high.
    const int32_t widest = font->MeasureText("Longer line here");
    ASSERT_GT(widest, 100);
    const int32_t tx = 40, ty = 22, bx = tx - 23, by = ty - 3, bw = widest + 26, bh = 28;
    const uint32_t box = 0xA0000000, text = 0xE0E0E0E0;
    const auto boxAndText = [&] {
        render->FillRect(bx, by, bw, bh, box);
        render->FillRect(bx, by - 3, bw, 3, box);
        render->FillRect(bx, by + bh, bw, 3, box);
        render->FillRect(bx - 3, by, 3, bh, box);
        render->FillRect(bx + bw, by, 3, bh, box);
        render->FillRect(bx - 2, by - 2, 2, 2, box);
        render->FillRect(bx + bw, by - 2, 2, 2, box);
        render->FillRect(bx - 2, by + bh, 2, 2, box);
        render->FillRect(bx + bw, by + bh, 2, 2, box);
        font->DrawText(tx, ty, "Short. ", text);
        font->DrawText(tx, ty + 12, "Longer line here", text);
    };
    EXPECT_EQ(DrawAt(1000, 5, 7, 800, 600), Expected([&] {
                  boxAndText();
                  mark->DrawTextCentered(tx - 12, ty - 11, "i", 0xC080F580);
              }));
    EXPECT_EQ(DrawAt(1500, 5, 7, 800, 600), Expected([&] {
                  boxAndText();
                  mark->DrawTextCentered(tx - 12, ty - 11, "i", text);
              }));
}

TEST_F(NotificationTest, InfoBoxMovesDownInWidescreenWhenTheConsoleIsHidden) {
    notification->Add(8, "x");
    core->options.widescreen = 1;
    core->options.push = 1;
    DrawAt(600);
    const Calls hidden = DrawAt(700);
    core->options.showchat = 1;  // the console in view, without a message view
    const Calls shown = DrawAt(700);
    core->options.chatbottom = 1;
    EXPECT_EQ(DrawAt(700), shown);
    ASSERT_FALSE(hidden.empty());
    EXPECT_EQ(hidden[0],
              Expected([&] { core->render->FillRect(12, 15 + 35 - 3, 126, 16, 0xA0000000); })[0]);
    EXPECT_EQ(shown[0],
              Expected([&] { core->render->FillRect(12, 15 - 3, 126, 16, 0xA0000000); })[0]);
}

TEST_F(NotificationTest, EchoesGoToTheirChannelsWithTheColourEscape) {
    core->channelsPreset = "Console";
    OpenConsole(core.get());
    Channel* info = ChannelOf(core.get(), ChannelId::Info);
    Channel* console = ChannelOf(core.get(), ChannelId::Console);
    ASSERT_TRUE(info && console);
    console->Clear();
    notification->Add(0, "party");
    notification->Add(2, "refused");
    notification->Add(12, "console");
    notification->Add(13, "error");
    notification->Add(11, "info only");
    EXPECT_EQ(info->rawLines,
              (std::vector<std::string>{Grey + MakeColorCode(128, 245, 128, 192) + "party",
                                        Grey + MakeColorCode(224, 224, 224, 224) + "info only"}));
    EXPECT_EQ(console->rawLines,
              (std::vector<std::string>{Grey + MakeColorCode(170, 224, 170, 224) + "console",
                                        Grey + MakeColorCode(224, 96, 96, 224) + "error"}));
    core->RemoveWindow(core->consoleWindow);
    core->consoleWindow = nullptr;
    notification->Add(0, "no console");  // skipped silently
    // Kinds 11 to 13 leave the field alone.
    EXPECT_EQ(Current(Notification::PlaceCentre).text, "party");
    EXPECT_EQ(Waiting(Notification::PlaceCentre).text, "no console");
    EXPECT_EQ(Current(Notification::PlaceStatus).text, "refused");
    EXPECT_EQ(Current(Notification::PlaceInfo).state, Notification::StateEmpty);
}

}  // namespace
