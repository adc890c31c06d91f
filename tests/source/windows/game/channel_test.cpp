// Chat pages with the test font (7 px a character): the lines each add operation builds, the
// wrapping into display lines, the arrival stamps, the selection copied to the clipboard and the
// speaker menu.
#include "windows/game/channel.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core.h"
#include "creature.h"
#include "font.h"
#include "support/chatconsole.h"
#include "support/fakeplatform.h"
#include "support/spritedata.h"
#include "support/testcore.h"
#include "windows/game/action.h"
#include "windows/game/console.h"
#include "windows/toolkit/input.h"
#include "windows/toolkit/windowtypes.h"

namespace {

const std::string White = MakeColorCode(255, 255, 255, 255);
const std::string Grey = MakeColorCode(224, 224, 224, 224);
const std::string NpcName = MakeColorCode(192, 160, 90, 255);
const std::string NpcText = MakeColorCode(192, 160, 90, 224);

// The rectangle a page takes its place from.
class Box : public Window {
public:
    Box(Core* core, int32_t boxWidth) : Window(core) {
        x = 40;
        y = 40;
        width = boxWidth;
        height = 300;
    }
};

// Whether a line ends at a piece boundary, walked from its start.
bool EndsBetweenPieces(const std::string& line) {
    size_t i = 0;
    while (i < line.size()) i += line[i] == '\0' ? 5 : line[i] == '\x01' ? 2 : 1;
    return i == line.size();
}

class ChannelTest : public ::testing::Test {
protected:
    void SetUp() override { core = MakeTestCore(); }

    // A page whose text may be `room` pixels wide (the page is 9 wider, its box 18 more).
    Channel* Page(int32_t room, uint32_t id = ChannelId::World) {
        page.reset();
        box = std::make_unique<Box>(core.get(), room + 9 + 18);
        page = std::make_unique<Channel>(core.get(), box.get(), id, "World", 1);
        return page.get();
    }

    FakePlatform fake;
    std::unique_ptr<Core> core;
    std::unique_ptr<Box> box;
    std::unique_ptr<Channel> page;
};

TEST_F(ChannelTest, EachAddOperationBuildsItsLine) {
    core->shapes = LoadSpriteCase(core.get(), "sample").release();
    constexpr uint32_t Person = 200;  // the sample person (tools/datagen/sprites.py)
    Creature bob(core.get(), 1, Person, 0, {}, Position{}, "Bob", 100, 100, 0);
    Creature keeper(core.get(), 2, Person, 0, {}, Position{}, "Keeper", 100, 100, 0);
    keeper.talk = 1;
    Creature nameless(core.get(), 3, Person, 0, {}, Position{}, " ", 100, 100, 0);
    nameless.talk = 1;
    core->avatarName = "Hero";  // no player creature yet

    Channel* world = Page(300);
    world->AddLine(1, 2, 3, 4, "plain");
    world->AddJoinedLine(0, "on");
    world->AddJoinedLine(1, "off");
    world->AddJoinedLine(4, "note");
    world->AddJoinedLine(2, "dropped");
    world->AddNamedLine(&bob, "hi");
    world->AddNamedLine(&keeper, "buy");
    world->AddNamedLine(&nameless, "psst");
    world->AddSpeakerText("Ann", "yo");
    world->AddSpeakerText(" ", "system");
    EXPECT_EQ(world->rawLines,
              (std::vector<std::string>{
                  MakeColorCode(1, 2, 3, 4) + "plain", MakeColorCode(128, 245, 128, 192) + "on",
                  MakeColorCode(245, 128, 128, 192) + "off", Grey + "note",
                  White + "Bob" + Grey + ": hi", NpcName + "Keeper" + NpcText + ": buy",
                  NpcText + "psst", White + "Ann" + Grey + ": yo", Grey + "system"}));
    EXPECT_EQ(world->unread, 1);

    // In the NPC channel every speaker but the player is styled as an NPC.
    Channel* npc = Page(300, ChannelId::Npc);
    npc->AddSpeakerText("Trader", "welcome");
    npc->AddSpeakerText("Hero", "hello");
    EXPECT_EQ(npc->rawLines, (std::vector<std::string>{NpcName + "Trader" + NpcText + ": welcome",
                                                       White + "Hero" + Grey + ": hello"}));
}

TEST_F(ChannelTest, WordsWrapAtSpacesAndOverLongWordsTakeAHyphen) {
    const struct {
        std::string text;
        std::vector<std::string> lines;
    } cases[] = {
        // Ten characters fit into 70 pixels.
        {"abcdefghijklmnop", {"abcdefghi-", "jklmnop"}},
        {"abcdefghij klm", {"abcdefghij ", "klm"}},
        {"abc defghijk lm", {"abc ", "defghijk ", "lm"}},
        {"short", {"short"}},
        {"two\nlines", {"two\n", "lines"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Channel* world = Page(70);
        world->AppendLine(c.text);
        EXPECT_EQ(world->displayLines, c.lines);
        EXPECT_EQ(world->contentHeight, int32_t(c.lines.size()) * 12 + 4);
    }
}

TEST_F(ChannelTest, ColourCodesGoOnIntoTheNextLine) {
    Channel* world = Page(70);
    world->AppendLine("{r:abcdefgh ijk} lm");
    const std::string red = MakeColorCode(224, 0, 0, 0);
    ASSERT_EQ(world->displayLines.size(), 2u);
    EXPECT_EQ(world->displayLines[0], red + "abcdefgh ");
    EXPECT_EQ(world->displayLines[1], red + "ijk" + MakeColorCode(0, 0, 0, 0) + "lm");
}

TEST_F(ChannelTest, HostileTextsWrapToTheirEnd) {
    Channel* narrow = Page(20 - 9);  // a 20-pixel page
    narrow->AppendLine(std::string(10000, 'w'));
    EXPECT_GE(narrow->displayLines.size(), 5000u);
    for (const std::string& line : narrow->displayLines) ASSERT_FALSE(line.empty());

    for (const std::string& text :
         {std::string("abc\x01"), std::string("abc\0", 4), std::string("abcdefghi\0\xFF\xFF", 12),
          std::string("{r:{g:{b:{y:{m:{c:abcdefghijklmnop} } } :) xD :):):):):):)"),
          std::string(300, '\x01'), std::string(300, '\0')}) {
        Channel* world = Page(70);
        world->AppendLine(text);
        // Only the text's own end may cut a mark short.
        for (size_t i = 0; i + 1 < world->displayLines.size(); ++i)
            EXPECT_TRUE(EndsBetweenPieces(world->displayLines[i]))
                << testing::PrintToString(world->displayLines[i]);
    }
}

TEST_F(ChannelTest, ARewrapWithTheTimeShowsTheArrivalStamps) {
    Channel* world = Page(300);
    FakePlatform::localTime = {2026, 3, 4, 5, 9, 5, 0, 0};
    world->AppendLine("early");
    FakePlatform::localTime = {2026, 3, 4, 5, 21, 40, 0, 0};
    world->AppendLine("late");
    core->options.time = 1;
    world->Rewrap();
    const std::string stamp = MakeColorCode(192, 192, 160, 224);
    EXPECT_EQ(world->displayLines,
              (std::vector<std::string>{stamp + "09:05 early", stamp + "21:40 late"}));
}

TEST_F(ChannelTest, SmileysFollowTheOption) {
    Channel* world = Page(300);
    world->AppendLine("a :) b");
    core->options.smiley = 1;
    world->AppendLine("a :) b");
    EXPECT_EQ(world->displayLines,
              (std::vector<std::string>{"a :) b", "a " + MakeSmileyMark(1) + " b"}));
}

// A chat line that counts how often it was placed.
class CountingInput : public Input {
public:
    explicit CountingInput(Core* core, Window* owner) : Input(core, owner, 224) {}
    void Place(int32_t, int32_t) override { ++places; }
    int places = 0;
};

TEST_F(ChannelTest, AShortPageMovesTheChatLineWithItsText) {
    Console* console = OpenConsole(core.get());
    auto* line = new CountingInput(core.get(), console);
    core->AddWindow(line);
    console->AttachChatLine(line);
    Channel* main = console->FindChannel(ChannelId::Main);
    ASSERT_NE(main, nullptr);
    while (main->displayLines.size() < 15) main->AppendLine("more");
    const int placed = line->places;
    main->AppendLine("no longer");
    EXPECT_EQ(line->places, placed);
    main->Clear();
    EXPECT_EQ(line->places, placed + 1);
    EXPECT_TRUE(main->rawLines.empty() && main->displayLines.empty() && main->stamps.empty());
}

// --- Selection and speaker menu -----------------------------------------------------------

class ChannelMouse : public ChannelTest {
protected:
    void SetUp() override {
        ChannelTest::SetUp();
        window =
            CreateWindowExA(0, "STATIC", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        core->hwnd = window;
        core->options.smiley = 1;
        core->avatarName = "Hero";
        world = Page(300);
    }
    void TearDown() override {
        core->hwnd = nullptr;
        DestroyWindow(window);
    }

    // The client point over character k of display line i (of the lines shown, newest last).
    int32_t X(int32_t k) const { return world->x + 3 + 7 * k + 1; }
    int32_t Y(size_t line) const {
        const int32_t last = int32_t(world->displayLines.size()) - 1;
        return world->y + world->height - 13 - 12 * (last - int32_t(line)) + 3;
    }

    std::string Clipboard() const {
        std::string text;
        if (!OpenClipboard(window)) return "(no clipboard)";
        if (HANDLE data = GetClipboardData(CF_TEXT)) {
            text = static_cast<const char*>(GlobalLock(data));
            GlobalUnlock(data);
        }
        CloseClipboard();
        return text;
    }

    // The rows of the menu a right click at the point opens; empty when none opens.
    std::vector<uint32_t> MenuAt(int32_t mx, int32_t my) {
        const size_t before = core->windows.size();
        world->OnRightDown(mx, my);
        world->OnRightClick(mx, my);
        std::vector<uint32_t> codes;
        if (core->windows.size() == before) return codes;
        auto* menu = dynamic_cast<Action*>(core->windows.back());
        if (!menu) return {99};
        for (const Action::Entry& entry : menu->entries) codes.push_back(entry.code);
        EXPECT_EQ(menu->owner, world);
        core->RemoveWindow(menu);
        return codes;
    }

    HWND window = nullptr;
    Channel* world = nullptr;
};

TEST_F(ChannelMouse, ADragOverThreeLinesCopiesTailMiddleAndHead) {
    world->AddLine(255, 255, 255, 255, "first tail");
    world->AddLine(224, 224, 224, 224, "middle :)");
    world->AddLine(224, 224, 224, 224, "head last");
    world->OnMouseDown(X(6), Y(0));
    EXPECT_TRUE(world->dragging);
    world->OnDrag(X(4), Y(2));
    world->OnMouseUp(X(4), Y(2));
    EXPECT_FALSE(world->dragging);
    EXPECT_EQ(Clipboard(), "tail\nmiddle :)\nhead");

    // Backwards gives the same text; a click without a drag empties the clipboard.
    world->OnMouseDown(X(4), Y(2));
    world->OnDrag(X(6), Y(0));
    world->OnMouseUp(X(6), Y(0));
    EXPECT_EQ(Clipboard(), "tail\nmiddle :)\nhead");
    world->OnMouseDown(X(2), Y(1));
    world->OnMouseUp(X(2), Y(1));
    EXPECT_EQ(Clipboard(), "");
}

TEST_F(ChannelMouse, SelectionEndsBeyondTheLinesAreClamped) {
    world->AddLine(255, 255, 255, 255, "one");
    world->AddLine(255, 255, 255, 255, "two");
    world->dragging = 1;
    world->selStartLine = 0;
    world->selStartChar = 0;
    world->selEndLine = 7;
    world->selEndChar = 900;
    world->Draw();
    EXPECT_EQ(world->SelectedText(), "one\ntwo");
    world->Clear();
    world->Draw();
    EXPECT_EQ(world->SelectedText(), "");
}

TEST_F(ChannelMouse, TheSpeakerMenuOpensOnAPlayersName) {
    core->friends = {{9, 0, "Ann", 0, "", 0}};
    world->AddSpeakerText("Bob", "hi: there");
    world->AddSpeakerText("Ann", "hello");
    world->AddSpeakerText("Hero", "me");
    world->AddLine(255, 255, 255, 255, "Welcome to the world channel!");
    EXPECT_EQ(MenuAt(X(1), Y(0)), (std::vector<uint32_t>{30, 34}));
    EXPECT_EQ(MenuAt(X(1), Y(1)), (std::vector<uint32_t>{30}));  // a friend already
    EXPECT_TRUE(MenuAt(X(7), Y(0)).empty());                     // the message text
    EXPECT_TRUE(MenuAt(X(1), Y(2)).empty());                     // the own name
    EXPECT_TRUE(MenuAt(X(1), Y(3)).empty());                     // no ":" after the name

    Channel* npc = Page(300, ChannelId::Npc);
    world = npc;
    npc->AddSpeakerText("Trader", "welcome");
    EXPECT_TRUE(MenuAt(X(1), Y(0)).empty());

    Channel* timed = Page(300);
    world = timed;
    core->options.time = 1;
    timed->AddSpeakerText("Bob", "hi");
    EXPECT_TRUE(MenuAt(X(1), Y(0)).empty());  // on the time prefix
    EXPECT_EQ(MenuAt(X(8), Y(0)), (std::vector<uint32_t>{30, 34}));
}

}  // namespace
