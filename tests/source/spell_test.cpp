#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "driver/gfxcore.h"
#include "font.h"
#include "spell.h"
#include "support/hexbytes.h"
#include "support/packbytes.h"
#include "support/recordingdriver.h"
#include "support/spritedata.h"

namespace {

constexpr uint64_t Now = 5'000'000;
constexpr uint32_t IconShape = 1002;     // a single 32 x 32 frame in the generated sprite data
constexpr uint32_t MissingShape = 9999;  // no such shape
constexpr uint32_t GlyphImage = 7;       // user value of the test font's image

std::string Escape(uint32_t colour) {
    return MakeColorCode(uint8_t(colour >> 16), uint8_t(colour >> 8), uint8_t(colour),
                         uint8_t(colour >> 24));
}

const std::string PopEscape(5, '\0');

// Font 2 with every glyph 10 pixels wide, so that 25 characters fill the 250-pixel description
// width; a glyph is drawn from source x = its code, which tells the drawn characters apart.
void AddTestFont(Core* core) {
    std::vector<FontGlyphRecord> glyphs;
    for (uint16_t code = 32; code < 256; ++code) glyphs.push_back({code, {code, 0, 2, 2, 10}});
    const uint32_t pixel = 0xFFFFFFFF;
    GfxImage* image = GFX_CreateImage(1, 1, &pixel, 4, 0, GlyphImage);
    core->AddFont(2, new Font(core, 2, image, 0, 12, glyphs));
}

TEST(SpellMarkup, TagsBecomeColourEscapes) {
    const struct {
        std::string text, marked;
    } cases[] = {
        {"<Distance>3</Distance> or <Distance>4</Distance>",
         Escape(0xFFFFFFFF) + "3" + PopEscape + " or " + Escape(0xFFFFFFFF) + "4" + PopEscape},
        {"<PhysicalDamage>40</PhysicalDamage>", Escape(0xC0FF8080) + "40" + PopEscape},
        {"<MagicalDamage>1</MagicalDamage><MoveSpeed>2</MoveSpeed>",
         Escape(0xC08080FF) + "1" + PopEscape + Escape(0xC0FFFF80) + "2" + PopEscape},
        {"<PercentageHealth>", Escape(0xC080F580)},
        {"<DurationSeconds>5</DurationSeconds>", Escape(0xFFFFFFFF) + "5" + PopEscape},
        {"<<Distance>>", "<" + Escape(0xFFFFFFFF) + ">"},
        // Unknown or malformed tags stay as they are.
        {"<Warmth>+3</Warmth> <distance> <Distance </ Distance>",
         "<Warmth>+3</Warmth> <distance> <Distance </ Distance>"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(ReplaceSpellTags(c.text), c.marked) << c.text;
}

TEST(SpellMarkup, AtMost255OfEachTag) {
    std::string text;
    for (int i = 0; i < 256; ++i) text += "<Distance></Distance>";
    std::string expected;
    for (int i = 0; i < 255; ++i) expected += Escape(0xFFFFFFFF) + PopEscape;
    expected += "<Distance></Distance>";
    EXPECT_EQ(ReplaceSpellTags(text), expected);
}

TEST(SpellSlot, ArmedIconPulsesOverOneSecond) {
    const struct {
        uint64_t elapsed;
        uint8_t alpha;
    } cases[] = {{0, 127},   {128, 135}, {256, 191},  {384, 247},  {512, 255},
                 {640, 247}, {768, 191}, {1023, 127}, {1024, 127}, {1024 + 128, 135}};
    for (const auto& c : cases) EXPECT_EQ(ArmedPulseAlpha(c.elapsed), c.alpha) << c.elapsed;
}

TEST(SpellSlot, CountdownInTenthsOfASecond) {
    const struct {
        int64_t remaining;
        const char* text;
    } cases[] = {{12000, "12.0"}, {3550, "3.5"},   {99, ""}, {100, "0.1"},
                 {1000, "1.0"},   {65535, "65.5"}, {0, ""},  {-500, ""}};
    for (const auto& c : cases) EXPECT_EQ(CountdownText(c.remaining), c.text) << c.remaining;
}

class SpellTest : public StartedCore {
protected:
    void SetUp() override {
        StartedCore::SetUp();
        core->frameTimeMs = Now;
    }
    std::unique_ptr<Spell> Make(const std::string& description = "", uint16_t id = 1) {
        return std::make_unique<Spell>(core, id, IconShape, "Name", description, "5", "Attack");
    }
};

TEST_F(SpellTest, CooldownPartIsCutFromTheDescription) {
    const struct {
        std::string text, description, cooldown;
    } cases[] = {
        {"Heals you. [Cooldown 12 s]", "Heals you. ", "12 s"},
        {"No cooldown here.", "No cooldown here.", ""},
        {"[Cooldown 5 s] starts with it.", "[Cooldown 5 s] starts with it.", ""},
        {"Quick.[Cooldown:30s]", "Quick.", "Cooldown:30s"},
        {"Open [Cooldown 3 s", "Open ", "3 s"},
        {"A [Cooldown 1 s] tail", "A ", "1 s"},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        auto spell = Make(c.text);
        EXPECT_EQ(spell->description, c.description) << c.text;
        EXPECT_EQ(spell->cooldownText, c.cooldown) << c.text;
    }
}

TEST_F(SpellTest, DescriptionIsLaidOutWithFontTwo) {
    AddTestFont(core);
    // Tags stay as they are at construction.
    auto spell = Make("<Distance>3</Distance> [Cooldown 1 s]");
    EXPECT_EQ(spell->descriptionLines, std::vector<std::string>{"<Distance>3</Distance> "});

    // A new description: coloured, laid out 25 characters a line, the colour carried on.
    std::string words;
    for (int i = 0; i < 6; ++i) words += "word ";
    spell->BuildDescription("<PhysicalDamage>" + words + "</PhysicalDamage>end");
    EXPECT_EQ(spell->description, "<Distance>3</Distance> ");
    ASSERT_EQ(spell->descriptionLines.size(), 2u);
    EXPECT_EQ(spell->descriptionLines[0], Escape(0xC0FF8080) + "word word word word word");
    EXPECT_EQ(spell->descriptionLines[1], Escape(0xC0FF8080) + "word " + PopEscape + "end");
}

TEST_F(SpellTest, WithoutFontTwoTheDescriptionIsOneLine) {
    auto spell = Make("A description far longer than two hundred and fifty pixels of any font.");
    EXPECT_EQ(spell->font, nullptr);
    spell->BuildDescription("<MoveSpeed>fast</MoveSpeed>");
    EXPECT_EQ(spell->descriptionLines,
              std::vector<std::string>{Escape(0xC0FFFF80) + "fast" + PopEscape});
    spell->BuildDescription("");
    EXPECT_TRUE(spell->descriptionLines.empty());
}

TEST_F(SpellTest, ServerFlagBits) {
    auto spell = Make();
    const struct {
        uint8_t flags;
        bool targetsSelf, flag1, flag2, flag3, stays, armed, usable;
    } cases[] = {
        {0x00, 0, 0, 0, 0, 0, 0, 1}, {0x01, 1, 0, 0, 0, 0, 0, 1}, {0x02, 0, 1, 0, 0, 0, 0, 1},
        {0x04, 0, 0, 1, 0, 0, 0, 1}, {0x08, 0, 0, 0, 1, 0, 0, 1}, {0x10, 0, 0, 0, 0, 0, 0, 1},
        {0x20, 0, 0, 0, 0, 1, 0, 1}, {0x40, 0, 0, 0, 0, 0, 1, 1}, {0x80, 0, 0, 0, 0, 0, 0, 0},
        {0xFF, 1, 1, 1, 1, 1, 1, 0},
    };
    for (const auto& c : cases) {
        spell->SetFlags(c.flags);
        EXPECT_EQ(spell->flags, c.flags);
        EXPECT_EQ(spell->targetsSelf, c.targetsSelf) << int(c.flags);
        EXPECT_EQ(spell->flag1, c.flag1) << int(c.flags);
        EXPECT_EQ(spell->flag2, c.flag2) << int(c.flags);
        EXPECT_EQ(spell->flag3, c.flag3) << int(c.flags);
        EXPECT_EQ(spell->stays, c.stays) << int(c.flags);
        EXPECT_EQ(spell->armed, c.armed) << int(c.flags);
        EXPECT_EQ(spell->usable, c.usable) << int(c.flags);
    }
}

TEST_F(SpellTest, CooldownRunsOnTheFrameClock) {
    auto spell = Make();
    spell->cooldownTotal = 10000;
    spell->SetCooldownLeft(4000);
    EXPECT_EQ(spell->cooldownStart, Now - 6000);
    core->frameTimeMs = Now + 3999;
    EXPECT_TRUE(spell->IsCoolingDown());
    core->frameTimeMs = Now + 4000;
    EXPECT_FALSE(spell->IsCoolingDown());

    // State 0 ends it at once and clears the cast state.
    spell->SetCooldownLeft(9000);
    spell->sent = spell->armed = true;
    spell->SetState(0);
    EXPECT_FALSE(spell->IsCoolingDown());
    EXPECT_FALSE(spell->sent || spell->armed);

    // State 1 starts it now.
    spell->sent = spell->armed = true;
    spell->SetState(1);
    EXPECT_EQ(spell->cooldownStart, Now + 4000);
    EXPECT_FALSE(spell->sent || spell->armed);
    core->frameTimeMs = Now + 4000 + 9999;
    EXPECT_TRUE(spell->IsCoolingDown());
}

TEST_F(SpellTest, StateTwoStartsTheCooldownOnlyWhenNotArmed) {
    auto spell = Make();
    spell->cooldownTotal = 1000;
    spell->cooldownStart = 123;
    spell->armed = spell->sent = true;
    spell->SetState(2);
    EXPECT_EQ(spell->cooldownStart, 123u);
    EXPECT_TRUE(spell->armed);
    EXPECT_FALSE(spell->sent);

    spell->armed = false;
    spell->sent = true;
    spell->SetState(2);
    EXPECT_EQ(spell->cooldownStart, Now);
    EXPECT_FALSE(spell->sent);

    // Other states change nothing.
    spell->sent = true;
    spell->SetState(3);
    EXPECT_TRUE(spell->sent);
    EXPECT_EQ(spell->cooldownStart, Now);
}

TEST_F(SpellTest, CoreUpdatesEverySpellOfTheIdAndResetsThemAll) {
    core->spells = {Make("", 4).release(), Make("", 9).release(), Make("", 4).release()};
    EXPECT_EQ(core->FindSpell(4), core->spells[0]);
    EXPECT_EQ(core->FindSpell(9), core->spells[1]);
    EXPECT_EQ(core->FindSpell(5), nullptr);

    core->UpdateSpell(4, 0x21, 8000, 3000);
    core->UpdateSpell(5, 0x80, 1, 1);  // no such spell
    for (Spell* spell : {core->spells[0], core->spells[2]}) {
        EXPECT_EQ(spell->flags, 0x21);
        EXPECT_TRUE(spell->targetsSelf && spell->stays && spell->usable);
        EXPECT_EQ(spell->cooldownTotal, 8000u);
        EXPECT_EQ(spell->cooldownStart, Now - 5000);
    }
    EXPECT_EQ(core->spells[1]->flags, 0);
    EXPECT_EQ(core->spells[1]->cooldownTotal, 0u);

    core->spells[1]->SetFlags(0x7F);
    core->spells[1]->sent = true;
    core->ResetSpells();
    for (Spell* spell : core->spells) {
        EXPECT_EQ(spell->flags, 0);
        EXPECT_FALSE(spell->targetsSelf || spell->flag1 || spell->flag2 || spell->flag3 ||
                     spell->stays || spell->armed || spell->usable || spell->sent);
        EXPECT_EQ(spell->cooldownTotal, 0u);
        EXPECT_EQ(spell->cooldownStart, 0u);
    }
}

TEST_F(SpellTest, CastsArmSpellsThatStayAndClearTheTargetingSpell) {
    auto staying = Make();
    staying->SetFlags(0x20);
    core->targetingSpell = staying.get();
    staying->Cast(3);
    EXPECT_TRUE(staying->armed);
    EXPECT_FALSE(staying->sent);
    EXPECT_EQ(core->targetingSpell, nullptr);
    // The second use fires it.
    core->targetingSpell = staying.get();
    staying->CastOnCreature(3, 77);
    EXPECT_FALSE(staying->armed);
    EXPECT_TRUE(staying->sent);
    EXPECT_EQ(core->targetingSpell, nullptr);

    auto once = Make();
    core->targetingSpell = once.get();
    once->CastAtPosition(0, -1, 2, 0);
    EXPECT_TRUE(once->sent);
    EXPECT_FALSE(once->armed);
    EXPECT_EQ(core->targetingSpell, nullptr);
}

TEST_F(SpellTest, ToggleArmedFiresOnlyAnArmedSpell) {
    auto spell = Make();
    spell->SetFlags(0x20);
    EXPECT_FALSE(spell->ToggleArmed(1));
    EXPECT_TRUE(spell->armed);
    EXPECT_TRUE(spell->ToggleArmed(1));
    EXPECT_FALSE(spell->armed);
    EXPECT_TRUE(spell->sent);

    auto plain = Make();
    EXPECT_FALSE(plain->ToggleArmed(1));
    EXPECT_FALSE(plain->armed);
    EXPECT_TRUE(plain->sent);
}

// --- Loading data/Veltor.spells -------------------------------------------------------------

// The lines tools/datagen/spells.py writes for the sample, built from what was loaded.
std::vector<std::string> Summary(uint32_t revision, const std::vector<Spell*>& spells) {
    const auto hex = [](const std::string& text) {
        return ToHex(reinterpret_cast<const uint8_t*>(text.data()), text.size());
    };
    std::vector<std::string> lines = {"revision " + std::to_string(revision) + " count " +
                                      std::to_string(spells.size())};
    for (Spell* s : spells) {
        lines.push_back("spell " + std::to_string(s->id) + " icon " + std::to_string(s->iconShape));
        lines.push_back(" name " + hex(s->name));
        lines.push_back(" description " + hex(s->description));
        lines.push_back(" cooldown " + hex(s->cooldownText));
        lines.push_back(" mana " + hex(s->manaText));
        lines.push_back(" type " + hex(s->typeText));
        lines.push_back(" marked " + hex(ReplaceSpellTags(s->description)));
    }
    return lines;
}

using SpellFileTest = SpellTest;

TEST_F(SpellFileTest, LoadsTheGeneratedSpellsFieldByField) {
    CopyDataFile(VELTOR_SAMPLE_DATA "/Veltor.spells", "Veltor.spells");
    const uint32_t versionBefore = core->dataVersion;
    ASSERT_TRUE(core->spells.empty());
    core->LoadSpells();
    const std::vector<std::string> expected = ReadLines(TestDataPath("spells/sample.txt"));
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(Summary(core->dataVersion - versionBefore, core->spells), expected);
    for (Spell* spell : core->spells) {
        EXPECT_FALSE(spell->usable || spell->sent || spell->armed);
        EXPECT_EQ(spell->slotIcon, nullptr);
    }
}

// Two records: id 3 with icon 40, then id 4 with a description of `descriptionLength` claimed.
std::vector<uint8_t> TwoSpells(uint16_t count, uint16_t descriptionLength = 4) {
    PackBytes file;
    file.U32(21).U16(count);
    file.U16(3).U32(40).Raw({2, 'H', 'i'}).U16(0).Raw({1, '9', 0});
    file.U16(4).U32(41).Raw({1, 'Z'}).U16(descriptionLength).Raw({'D', 'e', 's', 'c'});
    file.Raw({2, '1', '0', 3, 'B', 'u', 'f'});
    return file.bytes;
}

TEST_F(SpellFileTest, ReadsOnlyTheRecordsTheCountNames) {
    std::vector<uint8_t> file = TwoSpells(1);
    file.push_back(0xEE);
    WriteDataFile("Veltor.spells", file);
    core->LoadSpells();
    ASSERT_EQ(core->spells.size(), 1u);
    EXPECT_EQ(core->spells[0]->id, 3u);
    EXPECT_EQ(core->spells[0]->iconShape, 40u);
    EXPECT_EQ(core->spells[0]->name, "Hi");
    EXPECT_EQ(core->spells[0]->manaText, "9");
    EXPECT_EQ(core->spells[0]->typeText, "");

    WriteDataFile("Veltor.spells", TwoSpells(2));
    core->LoadSpells();
    ASSERT_EQ(core->spells.size(), 3u);
    EXPECT_EQ(core->spells[2]->description, "Desc");
    EXPECT_EQ(core->spells[2]->typeText, "Buf");
}

TEST_F(SpellFileTest, ShortOrLyingFilesEndTheProgram) {
    std::vector<std::vector<uint8_t>> damaged = {TwoSpells(3), TwoSpells(2, 5),
                                                 TwoSpells(2, 0xFFFF)};
    const std::vector<uint8_t> whole = TwoSpells(2);
    for (size_t size = 0; size < whole.size(); ++size)
        damaged.emplace_back(whole.begin(), whole.begin() + size);
    for (const std::vector<uint8_t>& file : damaged) {
        WriteDataFile("Veltor.spells", file);
        fake.boxes.clear();
        const uint32_t versionBefore = core->dataVersion;
        try {
            core->LoadSpells();
            ADD_FAILURE() << "loaded " << ToHex(file);
        } catch (const ProgramExit& exit) {
            EXPECT_NE(exit.code, 0u);
        }
        ASSERT_EQ(fake.boxes.size(), 1u) << ToHex(file);
        EXPECT_EQ(fake.boxes[0].title, "Veltor - Error");
        EXPECT_EQ(fake.boxes[0].text, "Failed to load \"Veltor.spells\".");
        EXPECT_EQ(core->dataVersion, versionBefore);
    }
    EXPECT_TRUE(core->spells.empty());
}

// --- Drawing ------------------------------------------------------------------------------------

// Spells drawn with the generated sample shapes as the Core's table.
class SpellDrawTest : public SpriteData {
protected:
    void SetUp() override {
        SpriteData::SetUp();
        sample = Load("sample");
        startUpShapes = core->shapes;
        core->shapes = sample.get();
        core->frameTimeMs = Now;
        AddTestFont(core);
        spell = std::make_unique<Spell>(core, 1, IconShape, "Name", "", "", "");
        spell->SetFlags(0);
        RecordingDriver::Install();
    }
    void TearDown() override {
        spell.reset();
        core->shapes = startUpShapes;
        sample.reset();
        SpriteData::TearDown();
    }

    // The characters the test font drew in a colour, read back from the glyphs' source x.
    static std::string DrawnText(const std::vector<std::string>& calls, const std::string& position,
                                 uint32_t colour) {
        char tail[64];
        snprintf(tail, sizeof tail, ",0x%X,img:%u)", colour, GlyphImage);
        std::string text;
        bool first = true;
        for (const std::string& call : calls) {
            if (call.rfind("DrawImagePartTinted(", 0) != 0 || call.find(tail) == std::string::npos)
                continue;
            if (first && call.rfind("DrawImagePartTinted(" + position + ",", 0) != 0)
                return "starts elsewhere: " + call;
            first = false;
            const size_t sx = call.find(',', call.find(',') + 1) + 1;
            text += char(std::stoi(call.substr(sx)));
        }
        return text;
    }

    std::unique_ptr<Shapes> sample;
    Shapes* startUpShapes = nullptr;
    std::unique_ptr<Spell> spell;
};

TEST_F(SpellDrawTest, ReadyUnusableAndArmedIcons) {
    spell->DrawSlot(10, 20);
    spell->SetFlags(0x80);
    spell->DrawSlot(10, 20);
    spell->SetFlags(0x40);
    spell->cooldownStart = Now - 256;
    spell->DrawSlot(10, 20);
    EXPECT_EQ(RecordingDriver::Take(),
              (std::vector<std::string>{"DrawImage(10,20,img:0)",
                                        "DrawImageTinted(10,20,0x64FF8080,img:0)",
                                        "DrawImageTinted(10,20,0xBFFFFFFF,img:0)"}));
}

TEST_F(SpellDrawTest, CoolingIconFillsFromTheBottom) {
    spell->cooldownTotal = 1000;
    spell->cooldownStart = Now - 250;  // 750 ms left: a quarter ready, 8 rows
    spell->DrawSlot(10, 20);
    EXPECT_EQ(RecordingDriver::Take(),
              (std::vector<std::string>{"FillRect(10,20,32,32,0xFF000000,0x3)",
                                        "DrawImagePartTinted(10,20,0,0,32,24,0x64FF8080,img:0)",
                                        "DrawImagePartTinted(10,44,0,24,32,8,0xE0FFA0A0,img:0)",
                                        "DrawImagePartTinted(10,44,0,24,32,1,0x80FFFFFF,img:0)"}));
}

TEST_F(SpellDrawTest, OutstandingCastShowsNothingReady) {
    spell->sent = true;  // and no cooldown at all
    spell->DrawSlot(0, 0);
    EXPECT_EQ(RecordingDriver::Take(),
              (std::vector<std::string>{"FillRect(0,0,32,32,0xFF000000,0x3)",
                                        "DrawImagePartTinted(0,0,0,0,32,32,0x64FF8080,img:0)"}));
}

TEST_F(SpellDrawTest, CountdownWithTheTimerOption) {
    spell->cooldownTotal = 20000;
    spell->cooldownStart = Now - 8000;  // 12 s left
    spell->DrawSlot(10, 20);
    EXPECT_EQ(DrawnText(RecordingDriver::Take(), "12,21", 0xE0FFFFFF), "");  // option off

    core->options.atimer = 1;
    core->options.push = 0;
    spell->DrawSlot(10, 20);
    std::vector<std::string> calls = RecordingDriver::Take();
    EXPECT_EQ(DrawnText(calls, "13,22", 0x80000000), "12.0");
    EXPECT_EQ(DrawnText(calls, "12,21", 0xE0FFFFFF), "12.0");

    core->options.push = 1;
    core->frameTimeMs = Now + 8450;  // 3.55 s left
    spell->DrawSlot(10, 20);
    calls = RecordingDriver::Take();
    EXPECT_EQ(DrawnText(calls, "13,43", 0x80000000), "3.5");
    EXPECT_EQ(DrawnText(calls, "12,42", 0xE0FFFFFF), "3.5");

    core->frameTimeMs = Now + 11901;  // 99 ms left
    spell->DrawSlot(10, 20);
    EXPECT_EQ(DrawnText(RecordingDriver::Take(), "12,42", 0xE0FFFFFF), "");
}

TEST_F(SpellDrawTest, CastOutstandingLongAfterItsCooldownShowsNoTime) {
    core->options.atimer = 1;
    spell->cooldownTotal = 2000;
    spell->cooldownStart = 1000;
    spell->sent = true;
    spell->DrawSlot(0, 0);
    EXPECT_EQ(RecordingDriver::Take().size(), 2u);  // the black box and the dimmed icon
}

TEST_F(SpellDrawTest, BookIconIsScaledIntoItsBox) {
    spell->DrawIcon(5, 6);
    spell->DrawIcon(5, 6);
    EXPECT_EQ(RecordingDriver::Take(),
              (std::vector<std::string>{"DrawImageScaled(5,6,32,32,img:0)",
                                        "DrawImageScaled(5,6,32,32,img:0)"}));
    EXPECT_NE(spell->bookIcon, nullptr);
    EXPECT_EQ(spell->slotIcon, nullptr);
}

TEST_F(SpellDrawTest, UnknownIconShapeDrawsNothing) {
    Spell unknown(core, 2, MissingShape, "Name", "", "", "");
    unknown.DrawSlot(0, 0);
    unknown.DrawIcon(0, 0);
    EXPECT_TRUE(RecordingDriver::Take().empty());
    EXPECT_EQ(unknown.slotIcon, nullptr);
    EXPECT_EQ(unknown.bookIcon, nullptr);
}

TEST_F(SpellDrawTest, GeneratedSpellsShowTheirIcons) {
    CopyDataFile(VELTOR_SAMPLE_DATA "/Veltor.spells", "Veltor.spells");
    core->LoadSpells();
    ASSERT_FALSE(core->spells.empty());
    for (Spell* loaded : core->spells) {
        loaded->SetFlags(0);
        loaded->DrawSlot(0, 0);
        EXPECT_FALSE(RecordingDriver::Take().empty()) << loaded->name;
    }
    // Their icon items go before the sample shapes do.
    for (Spell* loaded : core->spells) delete loaded;
    core->spells.clear();
}

}  // namespace
