// Speech texts over a world with the test font (7 px a character, so 35 characters fill a
// 250-px line), driven by the frame clock; the player stands at (100, 100, 7).
#include "paragraph.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "core.h"
#include "creature.h"
#include "font.h"
#include "paragraphs.h"
#include "support/creatureworld.h"
#include "support/drawntext.h"
#include "support/recordingdriver.h"
#include "world.h"

namespace {

using namespace std::string_literals;

constexpr Position Home{100, 100, 7};
constexpr uint32_t TextColour = 0xE0E0E0E0;

// A text of `count` lines of 35 characters: 34-letter words, each with its space.
std::string Lines(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += std::string(34, char('a' + i)) + " ";
    return text;
}

// Whether a line ends at a piece boundary, walked from its start.
bool EndsBetweenPieces(const std::string& line) {
    size_t i = 0;
    while (i < line.size()) i += line[i] == '\0' ? 5 : line[i] == '\x01' ? 2 : 1;
    return i == line.size();
}

class ParagraphTest : public CreatureWorld {
protected:
    void SetUp() override {
        CreatureWorld::SetUp();
        player = SpawnPlayer(Home, "Hero");
        bob = Spawn(Position{101, 100, 7}, "Bob");
        speech = world->paragraphs;
    }

    // One frame of the speech texts at Start + ms over an 800 x 600 field; the calls it made.
    std::vector<std::string> DrawAt(uint64_t ms) {
        At(ms);
        RecordingDriver::Install();
        speech->Draw(0, 0, 800, 600);
        return RecordingDriver::Take();
    }
    // The alpha of the texts drawn at Start + ms in the speech colour; -1 when none were.
    int32_t TextAlphaAt(uint64_t ms) {
        for (const DrawnText& text : DrawnTexts(DrawAt(ms)))
            if ((text.colour & 0xFFFFFF) == (TextColour & 0xFFFFFF))
                return int32_t(text.colour >> 24);
        return -1;
    }
    Paragraph* Only() {
        const std::vector<Paragraph*> texts = speech->Texts();
        return texts.size() == 1 ? texts[0] : nullptr;
    }

    Creature* player = nullptr;
    Creature* bob = nullptr;
    Paragraphs* speech = nullptr;
};

TEST_F(ParagraphTest, AShortLineLivesTheShortestTimeWithFades) {
    speech->Add("hello", bob);
    Paragraph* text = Only();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->style, Paragraph::StyleBubble);
    EXPECT_EQ(text->lines, std::vector<std::string>{"hello"});
    EXPECT_EQ(text->lineEnds[0] - text->lineStarts[0], 2500u);
    EXPECT_EQ(TextAlphaAt(127), int32_t(224 * (127 / 255.0f)));  // fading in
    EXPECT_EQ(TextAlphaAt(1000), 224);
    EXPECT_EQ(TextAlphaAt(2400), int32_t(224 * (100 / 255.0f)));  // fading out
    EXPECT_EQ(speech->Texts().size(), 1u);
    DrawAt(2501);
    EXPECT_TRUE(speech->Texts().empty());
}

TEST_F(ParagraphTest, LinesTypeOutAtTheSpeakersSpeed) {
    speech->Add("hello", bob);
    const std::vector<DrawnText> drawn = DrawnTexts(DrawAt(52));
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].text, "hel");  // characters at 0, 26 and 52 ms
}

TEST_F(ParagraphTest, ALongTextShowsEightLinesAtATime) {
    speech->Add(Lines(12), bob);
    Paragraph* text = Only();
    ASSERT_NE(text, nullptr);
    ASSERT_EQ(text->lines.size(), 12u);
    const uint64_t interval = 26 * 35;
    for (size_t i = 0; i < 12; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(text->lines[i], std::string(34, char('a' + i)) + " ");
        EXPECT_EQ(text->lineStarts[i], Start + i * interval);
        if (i + 8 < 12) {
            EXPECT_EQ(text->lineEnds[i], text->lineStarts[i + 8]);
        }
        // A line queued behind the text's life still shows.
        EXPECT_GE(text->lineEnds[i], text->lineStarts[i] + 2500);
    }
    for (uint64_t now = Start; now < Start + 14000; now += 10) {
        size_t showing = 0;
        for (size_t i = 0; i < 12; ++i)
            showing += text->lineStarts[i] <= now && now < text->lineEnds[i];
        ASSERT_LE(showing, 8u) << now - Start;
    }
}

TEST_F(ParagraphTest, TextAddedToAWaitingBubbleIsQueued) {
    speech->Add(Lines(2), bob);
    At(100);
    speech->Add("hi", bob);
    Paragraph* text = Only();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->lineStarts.back(), Start + 2 * 26 * 35);

    speech->Clear();
    At(0);
    speech->Add(Lines(8), bob);
    At(100);
    speech->Add("hi", bob);
    text = Only();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->lineStarts.back(), Start + 8 * 26 * 35 + 500);
}

TEST_F(ParagraphTest, TheOwnCharacterSpeaksTwiceAsFast) {
    speech->Add("hi", player);
    speech->Add("hi", bob);
    const std::vector<Paragraph*> texts = speech->Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0]->msPerChar, 13u);
    EXPECT_EQ(texts[1]->msPerChar, 26u);
    // Before the player's creature exists, the avatar's name tells.
    core->player = nullptr;
    core->avatarName = "Bob";
    EXPECT_EQ(Paragraph(core.get(), bob, "hi").msPerChar, 13u);
}

TEST_F(ParagraphTest, NamelessSpeakersGetPlainGoldLines) {
    for (const std::string& name : {""s, " "s}) {
        SCOPED_TRACE(testing::PrintToString(name));
        speech->Clear();
        bob->name = name;
        speech->Add("hi", bob);
        Paragraph* text = Only();
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(text->style, Paragraph::StylePlain);
        EXPECT_EQ(text->kind, 4);
        const std::vector<std::string> calls = DrawAt(10);
        EXPECT_EQ(DrawnTextsIn(calls, 0xFFE6BE1E), std::vector<std::string>{"hi"});
        EXPECT_TRUE(std::none_of(calls.begin(), calls.end(), [](const std::string& call) {
            return call.rfind("FillRect", 0) == 0;  // no bubble
        }));
    }
}

TEST_F(ParagraphTest, KindAndNpcColoursLeadTheLines) {
    const uint32_t byKind[] = {0xC0FF80FF, 0xC08080FF, 0xC0FF8080, 0xC080F580,
                               0xFFE6BE1E, 0xC0FFFF80, 0xFFE6BE1E};
    for (uint8_t kind = 0; kind < 7; ++kind)
        EXPECT_EQ(Paragraph(core.get(), bob, kind, "x").lines[0], MakeColorCode(byKind[kind]) + "x")
            << int(kind);
    bob->talk = 1;
    EXPECT_EQ(Paragraph(core.get(), bob, 2, "x").lines[0], MakeColorCode(0xE0C0A05A) + "x");
    EXPECT_EQ(Paragraph(core.get(), bob, "x").lines[0], MakeColorCode(0xE0C0A05A) + "x");
    bob->talk = 0;
    EXPECT_EQ(Paragraph(core.get(), bob, "x").lines[0], "x");
}

TEST_F(ParagraphTest, MarkupIsAppliedAndSmileysFollowTheOption) {
    core->options.smiley = 1;
    EXPECT_EQ(Paragraph(core.get(), bob, "{r: hi} :)").lines[0],
              "\0\xE0\0\0\0hi"s + std::string(5, '\0') + MakeSmileyMark(1));
    core->options.smiley = 0;
    EXPECT_EQ(Paragraph(core.get(), bob, "hi :)").lines[0], "hi :)");
}

TEST_F(ParagraphTest, WrappingCutsLongWordsAndEnds) {
    Paragraph word(core.get(), bob, std::string(40, 'w'));
    EXPECT_EQ(word.lines, (std::vector<std::string>{std::string(34, 'w') + "-", "wwwwww"}));

    // 35 characters fit exactly; the space after them ends the line.
    Paragraph exact(core.get(), bob, std::string(35, 'e') + " fff");
    EXPECT_EQ(exact.lines, (std::vector<std::string>{std::string(35, 'e') + " ", "fff"}));

    Paragraph huge(core.get(), bob, std::string(10000, 'h'));
    EXPECT_EQ(huge.lines.size(), 295u);  // 34 and a hyphen to a line
    EXPECT_EQ(huge.lineEnds.back() - huge.lineStarts.back(), 2500u);

    for (const std::string& text : {"ab \0"s, "ab \x01"s, "ab\0\x01\x02"s, "\0"s, "\x01"s}) {
        Paragraph cut(core.get(), bob, text);
        EXPECT_EQ(cut.lines.size(), 1u) << testing::PrintToString(text);
    }
}

TEST_F(ParagraphTest, LinesNeverEndInsideAnEscapeOrSmiley) {
    core->options.smiley = 1;
    std::string text;
    for (int i = 0; i < 30; ++i) text += "{r:ab" + std::string(size_t(i % 7), 'c') + " \"( :)}";
    Paragraph paragraph(core.get(), bob, text);
    ASSERT_GT(paragraph.lines.size(), 3u);
    for (const std::string& line : paragraph.lines)
        EXPECT_TRUE(EndsBetweenPieces(line)) << testing::PrintToString(line);
}

TEST_F(ParagraphTest, TextsOfMarkBytesAndCodesAreLaidOutAndDrawn) {
    core->options.smiley = 1;
    const std::string alphabet = "\0\x01\n\x0b a{r:}\"(-"s;
    std::mt19937 random(15);
    for (int n = 0; n < 100; ++n) {
        std::string text(random() % 300, ' ');
        for (char& c : text) c = alphabet[random() % alphabet.size()];
        SCOPED_TRACE(testing::PrintToString(text));
        speech->Push(new Paragraph(core.get(), bob, uint8_t(n % 2 ? 1 : 0), text));
        speech->Add(text, bob);
        for (int32_t width : {1, 20, 250})
            EXPECT_LE(core->GetFont(1)->LayoutParagraph2(text, width).size(), text.size());
    }
    // The bubble's queue of lines runs for several minutes.
    for (uint64_t ms = 0; ms < 4000000 && !speech->Texts().empty(); ms += 20000) DrawAt(ms);
    EXPECT_TRUE(speech->Texts().empty());
}

TEST_F(ParagraphTest, NeighbouringBubblesSeparateSideways) {
    Creature* ann = Spawn(Position{102, 100, 7}, "Ann");
    speech->Add("hello", bob);
    speech->Add("hello", ann);
    DrawAt(300);
    const std::vector<Paragraph*> texts = speech->Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_TRUE(texts[0]->overlapping && texts[1]->overlapping);
    EXPECT_LT(texts[0]->pushX, 0);
    EXPECT_EQ(texts[1]->pushX, -texts[0]->pushX);
    EXPECT_EQ(texts[0]->pushY, 0);
    EXPECT_EQ(texts[1]->boxX - texts[0]->boxX,
              texts[1]->anchorX - texts[0]->anchorX + 2 * texts[1]->pushX);
}

TEST_F(ParagraphTest, ThePointerFollowsTheSpeakerByItsId) {
    speech->Add("hello", bob);
    DrawAt(300);
    Paragraph* text = Only();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->tail, 10);
    world->RemoveCreature(bob);
    DrawAt(400);
    EXPECT_EQ(text->tail, 0);
    EXPECT_EQ(text->lines.size(), 1u);
}

TEST_F(ParagraphTest, LeavingTheFloorEndsTheText) {
    speech->Add(Lines(3), bob);
    DrawAt(100);
    player->position.z = player->targetPosition.z = 6;
    DrawAt(200);
    Paragraph* text = Only();
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->hiddenByFloor);
    DrawAt(456);
    EXPECT_TRUE(speech->Texts().empty());
}

TEST_F(ParagraphTest, AWorldResetDeletesTheTexts) {
    speech->Add("a", bob);
    speech->Push(new Paragraph(core.get(), player, 3, "b"));
    ASSERT_EQ(speech->Texts().size(), 2u);
    world->ClearEffects();
    EXPECT_TRUE(speech->Texts().empty());
}

}  // namespace
