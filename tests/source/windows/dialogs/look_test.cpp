// The inspection tooltip: its size and place from the texts and tables, its line breaks, the
// colours of unmet requirements and bonuses, its life, and the copy written to the Info channel.
#include "windows/dialogs/look.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core.h"
#include "driver/gfxcore.h"
#include "font.h"
#include "support/chatconsole.h"
#include "support/drawntext.h"
#include "support/gamemessages.h"
#include "support/recordingdriver.h"
#include "support/testcore.h"
#include "windows/game/channel.h"

namespace {

constexpr uint32_t UnmetColour = 0xA0FF8080, GainColour = 0xC080F580, LossColour = 0xC0FF8080;

class LookTest : public GameMessages {
protected:
    void SetUp() override {
        GameMessages::SetUp();
        RecordingDriver::Install();
        font = core->GetFont(1);
        core->statTable = {{{15, 0, 0}}, {{10, 0, 0}}, {{10, 0, 0}}};
    }
    void TearDown() override {
        UseNullDriver();
        GameMessages::TearDown();
    }

    Look* Make(std::string title, std::string text, std::vector<TextSegment> attributes = {},
               std::vector<TextSegment> bonuses = {}, std::vector<Requirement> requirements = {},
               int32_t x = 100, int32_t y = 100) {
        auto* look = new Look(core.get(), std::move(title), std::move(text), std::move(attributes),
                              std::move(bonuses), std::move(requirements), 0, x, y, 0);
        core->AddWindow(look);
        return look;
    }

    std::vector<std::string> PaintLog(Look* look) {
        look->dirty = 1;
        RecordingDriver::Take();
        look->Paint();
        return RecordingDriver::Take();
    }

    std::vector<std::string> InfoLines() {
        std::vector<std::string> lines;
        if (Channel* info = ChannelOf(core.get(), ChannelId::Info))
            for (const std::string& line : info->rawLines) lines.push_back(line);
        return lines;
    }

    int32_t Width(const std::string& text) { return font->MeasureText(text); }

    Font* font = nullptr;
};

TEST_F(LookTest, ATextWithoutTitleIsAOneLineTooltipAsWideAsItsText) {
    for (const char* title : {"", " "}) {
        Look* look = Make(title, "Hi");
        EXPECT_EQ(look->title, "Hi");
        EXPECT_EQ(look->text, "");
        EXPECT_EQ(look->width, Width("Hi") + 20);
        EXPECT_EQ(look->height, 29);
        EXPECT_EQ(look->typeId, 61u);
    }
}

TEST_F(LookTest, ItOpensLeftAndAboveThePointOnceWhenItWouldLeaveTheScreen) {
    Look* look = Make("Sword", "", {}, {}, {}, 790, 590);
    EXPECT_EQ(look->x, 790 - look->width);
    EXPECT_EQ(look->y, 590 - look->height);
    Look* fits = Make("Sword", "", {}, {}, {}, 100, 100);
    EXPECT_EQ(fits->x, 100);
    EXPECT_EQ(fits->y, 100);
}

TEST_F(LookTest, TextLinesGrowTheHeightAndAVerticalTabAddsAnEmptyOne) {
    Look* plain = Make("Sword", "one\ntwo");
    EXPECT_EQ(plain->lines, (std::vector<std::string>{"one", "two"}));
    EXPECT_EQ(plain->height, 41 + 24);
    Look* tab = Make("Sword", "one\vtwo");
    EXPECT_EQ(tab->lines, (std::vector<std::string>{"one", "", "two"}));
    EXPECT_EQ(tab->height, 41 + 36);
    // Tables add a separator row and a row each.
    Look* tables = Make("Sword", "", {{1, "12"}, {5, "40"}}, {{4, "+2"}});
    EXPECT_EQ(tables->height, 29 + 12 + 24 + 12 + 12);
    EXPECT_EQ(tables->width, 120);
}

TEST_F(LookTest, AWordWiderThanTheLineIsCutWithAHyphen) {
    Look* look = Make("Sword", std::string(60, 'x'));
    ASSERT_GE(look->lines.size(), 2u);
    EXPECT_EQ(look->lines[0].back(), '-');
    for (const std::string& line : look->lines) EXPECT_LE(Width(line), look->width - 20);
}

TEST_F(LookTest, LinesNeverBreakInsideAColourEscape) {
    const std::string red = MakeColorCode(255, 1, 1, 255);  // no zero past the lead byte
    std::string text;
    for (int i = 0; i < 20; ++i) text += "ab" + red + " \xe9t\xe9 ";
    Look* look = Make("Sword", text);
    ASSERT_GE(look->lines.size(), 2u);
    for (const std::string& line : look->lines) {
        // Every line is whole escapes and text: stripping the escapes leaves no zero byte.
        EXPECT_EQ(Font::PlainText(line).find('\0'), std::string::npos);
        const size_t zero = line.rfind('\0');
        if (zero != std::string::npos) {
            EXPECT_LE(zero + 5, line.size());
        }
    }
}

TEST_F(LookTest, AnUnmetRequirementTurnsEverythingRedAndNamesItself) {
    // 20 strength is more than the player's 15; 5 dexterity is met.
    Look* look = Make("Axe", "heavy", {{1, "12"}}, {{1, "+2"}}, {{0, 20}, {1, 5}});
    ASSERT_EQ(look->requirements.size(), 1u);
    EXPECT_EQ(look->title, "Axe" + MakeColorCode(255, 128, 128, 224) + "  (Str 20)");
    const std::vector<std::string> log = PaintLog(look);
    EXPECT_EQ(DrawnTextsIn(log, UnmetColour),
              (std::vector<std::string>{"heavy", "Attack", "12", "Strength", "+2"}));
}

TEST_F(LookTest, BonusesAreGreenUnlessTheyHoldAMinus) {
    Look* look = Make("Ring", "", {{202, "3 s"}, {8, "7"}}, {{1, "-2"}, {2, "+2"}, {99, "1"}});
    const std::vector<std::string> log = PaintLog(look);
    EXPECT_EQ(DrawnTextsIn(log, LossColour), std::vector<std::string>{"-2"});
    EXPECT_EQ(DrawnTextsIn(log, GainColour), (std::vector<std::string>{"+2", "1"}));
    // Code 202 is labelled, code 8 shows its value only.
    EXPECT_EQ(DrawnTextsIn(log, 0xC0FFFFFF),
              (std::vector<std::string>{"Cooldown", "Strength", "Dexterity"}));
    EXPECT_EQ(DrawnTextsIn(log, 0xC0FFFF00), (std::vector<std::string>{"3 s", "7"}));
}

TEST_F(LookTest, ItFadesInStaysAndFadesOut) {
    Look* look = Make("Sword", "sharp");
    const uint64_t opened = core->frameTimeMs;
    struct Frame {
        uint64_t at;
        uint32_t state;
    };
    for (const Frame& frame : {Frame{100, 1}, Frame{4800, 1}, Frame{4999, 1}, Frame{5000, 3}}) {
        At(opened - Start + frame.at);
        look->Draw();
        EXPECT_EQ(look->state, frame.state) << frame.at;
    }
    // A click fades it out within 256 ms.
    At(0);
    Look* clicked = Make("Sword", "sharp");
    At(1000);
    clicked->OnMouseUp(0, 0);
    clicked->Draw();
    EXPECT_NE(clicked->state, 3u);
    At(1256);
    clicked->Draw();
    EXPECT_EQ(clicked->state, 3u);
}

TEST_F(LookTest, LosingTheFocusFadesItOut) {
    Look* look = Make("Sword", "sharp");
    Make("Other", "");
    At(1000);
    look->Draw();
    At(1256);
    look->Draw();
    EXPECT_EQ(look->state, 3u);
}

TEST_F(LookTest, WithoutAConsoleTheInfoCopyIsLeftOut) {
    core->options.info = core->options.itemaps = 1;
    Look* look = Make("Bow", "", {{1, "12"}, {4, "20"}});
    EXPECT_TRUE(InfoLines().empty());
    EXPECT_EQ(look->attributes[0].value, "12");
}

// --- The Info copy -------------------------------------------------------------------------------

class InfoCopy : public LookTest {
protected:
    void SetUp() override {
        LookTest::SetUp();
        OpenConsole(core.get());
        core->options.info = 1;
    }
    static std::string W() { return MakeColorCode(255, 255, 255, 192); }
    static std::string Y() { return MakeColorCode(255, 255, 0, 192); }
    static std::string Head() { return MakeColorCode(255, 255, 255, 224); }
    static std::string R() { return MakeColorCode(255, 128, 128, 160); }
    std::vector<std::string> Copies() {
        std::vector<std::string> lines = InfoLines();
        // Each line starts with the channel's own colour escape.
        for (std::string& line : lines) line = line.substr(5);
        return lines;
    }
};

TEST_F(InfoCopy, NothingIsWrittenWithTheOptionOffOrWithoutAConsole) {
    core->options.info = 0;
    core->options.itemaps = 1;
    Look* look = Make("Sword", "", {{1, "12"}, {4, "20"}});
    EXPECT_TRUE(Copies().empty());
    EXPECT_EQ(look->attributes[0].value, "12");
}

TEST_F(InfoCopy, TablesMakeOneLineEndingInAFullStop) {
    Make("Sword", "", {{1, "12"}, {202, "3 s"}}, {{4, "+2"}, {5, "-1"}});
    EXPECT_EQ(Copies(), std::vector<std::string>{
                            Head() + "Sword:" + " " + W() + "attack " + Y() + "12" + W() + ", " +
                            W() + " " + Y() + "3 s" + W() + ";" + " " + W() + "melee " +
                            MakeColorCode(128, 245, 128, 192) + "+2" + W() + ", " + W() +
                            "distance " + MakeColorCode(255, 128, 128, 192) + "-1" + W() + "."});
}

TEST_F(InfoCopy, ATitleAloneHasNoColonAndAShortTextJoinsTheLine) {
    Make("", "Health:  5 / 9");
    Make("Sword", "sharp");
    EXPECT_EQ(Copies(), (std::vector<std::string>{
                            Head() + "Health:  5 / 9",
                            Head() + "Sword: " + MakeColorCode(224, 224, 224, 160) + "sharp"}));
}

TEST_F(InfoCopy, AnUnmetRequirementWritesEverythingInRedWithoutColon) {
    Make("Axe", "", {{1, "12"}}, {}, {{0, 20}});
    EXPECT_EQ(Copies(), std::vector<std::string>{Head() + "Axe" +
                                                 MakeColorCode(255, 128, 128, 224) + " (Str 20)" +
                                                 " " + R() + "attack " + R() + "12" + R() + "."});
}

TEST_F(InfoCopy, TheAttackPerSecondReplacesTheAttack) {
    core->options.itemaps = 1;
    struct Case {
        const char *attack, *interval, *shown;
    };
    for (const Case& c : {Case{"12", "20", "0.6 / s"}, Case{"5", "4", "1.3 / s"},
                          Case{"-5", "4", "-1.3 / s"}, Case{"x", "10", "0 / s"}}) {
        Look* look = Make("Bow", "", {{1, c.attack}, {4, c.interval}});
        EXPECT_EQ(look->attributes[0].value, c.shown) << c.attack << "/" << c.interval;
    }
    // Without an interval the attack stays.
    EXPECT_EQ(Make("Bow", "", {{1, "12"}})->attributes[0].value, "12");
}

}  // namespace
