#include "windows/dialogs/character.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "core.h"
#include "creature.h"
#include "driver/gfxcore.h"
#include "font.h"
#include "render.h"
#include "support/creatureworld.h"
#include "support/drawntext.h"
#include "support/recordingconnection.h"
#include "support/recordingdriver.h"
#include "support/testcore.h"
#include "windows/dialogs/attribute.h"
#include "windows/dialogs/look.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/windowtypes.h"

namespace {

constexpr uint32_t White = 0xFFFFFFFF, Grey = 0xE0E0E0E0;
constexpr uint32_t Green = 0xC080F580, Red = 0xC0FF8080;
constexpr uint8_t Swords = 3, Polearms = 5;

// How many calls of the log begin with the text.
size_t Starting(const std::vector<std::string>& log, const std::string& begin) {
    return size_t(std::count_if(log.begin(), log.end(), [&](const std::string& call) {
        return call.rfind(begin, 0) == 0;
    }));
}

// A skin part repeated over a rectangle of the window's surface.
std::string Tiled(int32_t x, int32_t y, int32_t w, int32_t h, int32_t sx, int32_t sy, int32_t sw,
                  int32_t sh) {
    const auto n = [](int32_t v) { return std::to_string(v) + ","; };
    return "DrawImagePartTiledGradient(" + n(x) + n(y) + n(w) + n(h) + "0,0," + n(sw) + n(sh) +
           n(sx) + n(sy) + n(sw) + n(sh);
}

class CharacterTest : public CreatureWorld {
protected:
    void SetUp() override {
        CreatureWorld::SetUp();
        core->statTable.assign(15, StatEntry{{0, 0, 0}});
        RecordingDriver::Install();
        core->render->images[1] = GFX_CreateImage(1024, 512, nullptr, 0, 0, 1);
    }
    void TearDown() override {
        UseNullDriver();
        CreatureWorld::TearDown();
    }
    Character* Open() {
        sheet = new Character(core.get());
        core->AddWindow(sheet);
        return sheet;
    }
    // The calls of one repaint of the sheet's surface.
    std::vector<std::string> PaintLog() {
        RecordingDriver::Take();
        sheet->dirty = 1;
        sheet->Paint();
        return RecordingDriver::Take();
    }
    std::vector<DrawnText> TextsIn(uint32_t colour) {
        std::vector<DrawnText> found;
        for (const DrawnText& text : DrawnTexts(PaintLog()))
            if (text.colour == colour) found.push_back(text);
        return found;
    }
    int32_t Width(const std::string& text) { return core->GetFont(2)->MeasureText(text); }

    Character* sheet = nullptr;
};

TEST_F(CharacterTest, TheSheetIsACentredModalWindowWithItsThreeButtons) {
    Open();
    EXPECT_EQ(sheet->typeId, WindowType::Character);
    EXPECT_EQ(sheet->name, "Character");
    EXPECT_EQ(sheet->width, 430);
    EXPECT_EQ(sheet->height, 444);
    EXPECT_EQ(sheet->x, 185);
    EXPECT_EQ(sheet->y, 78);
    EXPECT_TRUE(sheet->modal);
    EXPECT_TRUE(sheet->movable);
    ASSERT_NE(sheet->FindButton(Character::OutfitButton), nullptr);
    EXPECT_EQ(sheet->FindButton(Character::OutfitButton)->caption, "outfit");
    EXPECT_EQ(sheet->FindButton(Character::OkButton)->x, 430 - 66);
}

TEST_F(CharacterTest, TheAttributesTitleCountsUnspentPoints) {
    Open();
    const auto titles = [&] {
        std::vector<std::string> texts;
        for (const DrawnText& text : TextsIn(White)) texts.push_back(text.text);
        return texts;
    };
    const std::vector<std::string> none = titles();
    EXPECT_NE(std::find(none.begin(), none.end(), "Attributes"), none.end());
    core->attributePoints = 3;
    const std::vector<std::string> three = titles();
    EXPECT_NE(std::find(three.begin(), three.end(), "Attributes (3)"), three.end());
}

TEST_F(CharacterTest, AValueCarriesItsBonusInColourAtTheRightEdge) {
    Open();
    const struct {
        int8_t bonus;
        const char* text;
        uint32_t colour;
    } cases[] = {{2, "+2", Green}, {-1, "-1", Red}, {0, "", 0}};
    for (const auto& bonus : cases) {
        SCOPED_TRACE(bonus.text);
        core->statTable[Swords] = StatEntry{{12, 0, uint8_t(bonus.bonus)}};
        const std::vector<DrawnText> texts = DrawnTexts(PaintLog());
        const auto at = [&](const std::string& text) {
            return std::find_if(texts.begin(), texts.end(), [&](const DrawnText& drawn) {
                return drawn.text == text && drawn.y == 113;
            });
        };
        const auto value = at("12");
        ASSERT_NE(value, texts.end());
        EXPECT_EQ(value->colour, Grey);
        if (bonus.colour == 0) {
            EXPECT_EQ(value->x, 320 - Width("12"));
            continue;
        }
        const auto shown = at(bonus.text);
        ASSERT_NE(shown, texts.end());
        EXPECT_EQ(shown->colour, bonus.colour);
        EXPECT_EQ(shown->x, 320 - Width(bonus.text));
        EXPECT_EQ(value->x, 320 - Width(bonus.text) - Width("12"));
    }
}

TEST_F(CharacterTest, ProgressFillsTheSkillBarRoundedUp) {
    Open();
    const struct {
        uint8_t progress;
        int32_t fill;
    } cases[] = {{0, 0}, {1, 1}, {99, 50}, {100, 50}, {200, 50}};
    for (const auto& row : cases) {
        SCOPED_TRACE(int(row.progress));
        core->statTable[Swords] = StatEntry{{10, row.progress, 0}};
        const std::vector<std::string> log = PaintLog();
        // The bar's trough is always there; the fill (228, 223) only when there is one.
        EXPECT_EQ(Starting(log, Tiled(332, 114, 50, 8, 236, 205, 10, 8)), 1u);
        EXPECT_EQ(Starting(log, Tiled(332, 116, row.fill, 4, 228, 223, 4, 4)), row.fill ? 1u : 0u);
    }
}

TEST_F(CharacterTest, TheExperienceBarFillsByItsShareOfTheNextLevel) {
    Open();
    core->experience = 1500;
    core->experienceNext = 2000;
    std::vector<std::string> log = PaintLog();
    EXPECT_EQ(Starting(log, Tiled(37, 372, 267, 9, 228, 191, 4, 9)), 1u);
    EXPECT_EQ(Starting(log, Tiled(37 + 267, 372, 356 - 267, 9, 101, 142, 100, 9)), 1u);
    const std::vector<std::string> grey = DrawnTextsIn(log, Grey);
    EXPECT_NE(std::find(grey.begin(), grey.end(), "1500 / 2000"), grey.end());

    // Past the next level the bar is full; a product beyond 32 bits is not cut.
    core->experience = 40000000000ull;
    core->experienceNext = 4000000000u;
    EXPECT_EQ(Starting(PaintLog(), Tiled(37, 372, 356, 9, 228, 191, 4, 9)), 1u);
    // A next level of 0 fills nothing.
    core->experienceNext = 0;
    log = PaintLog();
    EXPECT_EQ(Starting(log, Tiled(37, 372, 356, 9, 101, 142, 100, 9)), 1u);
    EXPECT_EQ(Starting(log, "DrawImagePartTiledGradient(37,372,0,"), 0u);
}

TEST_F(CharacterTest, TheHeadlineNamesThePlayerAndTheVocation) {
    SpawnPlayer(Position{100, 100, 7}, "Hero");
    Open();
    const auto headline = [&] { return TextsIn(White).front(); };
    core->vocation = 10;
    EXPECT_EQ(headline(), (DrawnText{34, 52, White, "Hero, knight."}));
    core->vocation = 11;
    EXPECT_EQ(headline().text, "Hero, .");
}

TEST_F(CharacterTest, WithoutPlayerOrStatsTheSheetPaintsItsFrameOnly) {
    core->statTable.clear();
    Open();
    const std::vector<std::string> grey = DrawnTextsIn(PaintLog(), Grey);
    EXPECT_NE(std::find(grey.begin(), grey.end(), "Swords"), grey.end());
    // Of the values only level and experience, no stat value.
    EXPECT_EQ(std::count(grey.begin(), grey.end(), "0"), 2);
    EXPECT_EQ(Starting(PaintLog(), Tiled(332, 114, 50, 8, 236, 205, 10, 8)), 0u);
}

TEST_F(CharacterTest, AReleaseOnASkillBarShowsItsProgress) {
    Open();
    core->statTable[Polearms] = StatEntry{{20, 40, 0}};
    core->statTable[11] = StatEntry{{20, 7, 0}};
    const auto release = [&](int32_t column, int32_t row) -> std::string {
        sheet->OnMouseUp(sheet->x + column, sheet->y + row);
        auto* look = dynamic_cast<Look*>(core->FindWindow(WindowType::Look));
        if (!look) return "";
        const std::string title = look->title;
        core->RemoveWindow(look);
        return title;
    };
    // Polearms' bar covers rows 142 to 150.
    EXPECT_EQ(release(329, 142), "");  // the value column
    EXPECT_EQ(release(330, 142), "The skill progression is at 40%");
    EXPECT_EQ(release(383, 150), "The skill progression is at 40%");
    EXPECT_EQ(release(383, 141), "");  // between two bars
    EXPECT_EQ(release(383, 151), "");
    EXPECT_EQ(release(384, 142), "");
    EXPECT_EQ(release(340, 285), "The skill progression is at 7%");
    core->inputModes[InputDrop] = 1;
    EXPECT_EQ(release(340, 142), "");
}

TEST_F(CharacterTest, TheHotkeyOpensBothWindowsWhilePointsAreUnspent) {
    OpenCharacter(core.get());
    EXPECT_NE(core->FindWindow(WindowType::Character), nullptr);
    EXPECT_EQ(core->FindWindow(WindowType::Attribute), nullptr);
    core->CloseWindowOfType(WindowType::Character);
    core->attributePoints = 2;
    OpenCharacter(core.get());
    EXPECT_NE(core->FindWindow(WindowType::Character), nullptr);
    EXPECT_EQ(core->windows.back()->typeId, WindowType::Attribute);
    // The hotkey closes by type.
    core->CloseWindowOfType(WindowType::Attribute);
    core->CloseWindowOfType(WindowType::Character);
    EXPECT_EQ(core->FindWindow(WindowType::Attribute), nullptr);
    EXPECT_EQ(core->FindWindow(WindowType::Character), nullptr);
}

TEST_F(CharacterTest, OutfitOpensOnlyWithAPlayer) {
    Open();
    sheet->OnCommand(sheet->FindButton(Character::OutfitButton));
    EXPECT_EQ(core->FindWindow(WindowType::Outfit), nullptr);
    SpawnPlayer(Position{100, 100, 7});
    sheet->OnCommand(sheet->FindButton(Character::OutfitButton));
    EXPECT_NE(core->FindWindow(WindowType::Outfit), nullptr);
    sheet->OnSubmit();
    EXPECT_EQ(core->FindWindow(WindowType::Character), nullptr);
}

// The attribute window, with its requests going to a recording server.
class AttributeTest : public ::testing::Test {
protected:
    Attribute* Open(uint16_t points) {
        core->attributePoints = points;
        window = new Attribute(core.get());
        core->AddWindow(window);
        return window;
    }
    void Click(uint32_t id) { window->OnCommand(window->FindButton(id)); }
    bool Enabled(uint32_t id) { return window->FindButton(id)->enabled != 0; }
    bool TenShown() {
        const Button* ten = window->FindButton(Attribute::TenPointsButton);
        return ten && ten->visible;
    }
    std::vector<std::vector<uint8_t>> Sent() { return recording->SentSinceLastCall(); }
    std::string PointsLine() {
        RecordingDriver::Install();
        GFX_BeginFrame(nullptr);
        window->Draw();
        GFX_EndFrame();
        const std::vector<DrawnText> texts = DrawnTexts(RecordingDriver::Take());
        UseNullDriver();
        // The runs of one colour each, the count in white.
        std::string line;
        for (const DrawnText& text : texts) {
            if (text.y != window->y + 52) continue;
            if (!line.empty()) line += " ";
            line += text.colour == 0xFFFFFFFF ? "<" + text.text + ">" : text.text;
        }
        return line;
    }

    std::unique_ptr<Core> core = MakeTestCore();
    std::unique_ptr<RecordingConnection> recording =
        std::make_unique<RecordingConnection>(core.get(), StateGame);
    Attribute* window = nullptr;
};

using Bytes = std::vector<std::vector<uint8_t>>;

TEST_F(AttributeTest, NinePointsAreSpentOneAtATime) {
    Open(9);
    EXPECT_EQ(window->name, "Increase Attributes");
    EXPECT_EQ(window->FindButton(Attribute::TenPointsButton), nullptr);
    Click(Attribute::DexterityButton);
    EXPECT_EQ(Sent(), (Bytes{{18, 2}}));
    EXPECT_EQ(core->attributePoints, 8);
    EXPECT_EQ(PointsLine(), "You have <8> attribute points to spend.");
    for (int k = 0; k < 8; ++k) Click(Attribute::DexterityButton);
    EXPECT_EQ(Sent().size(), 8u);
    EXPECT_EQ(core->attributePoints, 0);
    for (uint32_t id :
         {Attribute::StrengthButton, Attribute::DexterityButton, Attribute::WisdomButton})
        EXPECT_FALSE(Enabled(id));
    EXPECT_EQ(PointsLine(), "You have no attribute points to spend.");
    Click(Attribute::WisdomButton);  // as a click that reaches it anyway
    EXPECT_EQ(Sent(), Bytes{});
    EXPECT_EQ(core->attributePoints, 0);
}

TEST_F(AttributeTest, TenPointModeSpendsTenAClickUntilFewerAreLeft) {
    Open(25);
    ASSERT_TRUE(TenShown());
    Click(Attribute::TenPointsButton);
    EXPECT_EQ(window->FindButton(Attribute::TenPointsButton)->caption, "per 1");
    Click(Attribute::StrengthButton);
    EXPECT_EQ(Sent(), Bytes(10, {18, 1}));
    EXPECT_EQ(core->attributePoints, 15);
    EXPECT_TRUE(TenShown());
    Click(Attribute::StrengthButton);
    EXPECT_EQ(Sent().size(), 10u);
    EXPECT_EQ(core->attributePoints, 5);
    EXPECT_FALSE(TenShown());
    EXPECT_EQ(window->tenPointMode, 0);
    Click(Attribute::StrengthButton);
    EXPECT_EQ(Sent(), (Bytes{{18, 1}}));
}

TEST_F(AttributeTest, TheTenPointButtonNamesTheOtherMode) {
    Open(12);
    Click(Attribute::TenPointsButton);
    Click(Attribute::TenPointsButton);
    EXPECT_EQ(window->tenPointMode, 0);
    EXPECT_EQ(window->FindButton(Attribute::TenPointsButton)->caption, "per 10");
}

TEST_F(AttributeTest, ATenPointClickSpendsOnlyWhatTheServerLeft) {
    Open(25);
    Click(Attribute::TenPointsButton);
    core->attributePoints = 4;
    Click(Attribute::WisdomButton);
    EXPECT_EQ(Sent(), Bytes(4, {18, 3}));
    EXPECT_EQ(core->attributePoints, 0);
    EXPECT_FALSE(Enabled(Attribute::WisdomButton));
}

TEST_F(AttributeTest, EnterAndOkClose) {
    Open(3);
    window->OnSubmit();
    EXPECT_EQ(core->FindWindow(WindowType::Attribute), nullptr);
    Open(3);
    Click(Attribute::OkButton);
    EXPECT_EQ(core->FindWindow(WindowType::Attribute), nullptr);
}

}  // namespace
