#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core.h"
#include "creature.h"
#include "protocolstate.h"
#include "render.h"
#include "support/creatureworld.h"
#include "support/drawntext.h"
#include "support/recordingconnection.h"
#include "support/recordingdriver.h"
#include "support/spritedata.h"
#include "support/testcore.h"
#include "windows/dialogs/look.h"
#include "windows/game/chatbox.h"
#include "windows/game/console.h"
#include "windows/toolkit/input.h"
#include "windows/toolkit/panel.h"
#include "windows/toolkit/panellist.h"
#include "windows/toolkit/windowtypes.h"

namespace {

constexpr uint32_t PersonShape = 200;  // the sample person (tools/datagen/sprites.py)

TEST(ConsoleTest, TheChatLineSendsTypingNotices) {
    std::unique_ptr<Core> core = MakeTestCore();
    core->shapes = LoadSpriteCase(core.get(), "sample").release();
    Creature player(core.get(), 1, PersonShape, 0, {}, Position{}, "Hero", 100, 100, 0);
    core->player = &player;
    RecordingConnection connection(core.get());
    auto* console = static_cast<Console*>(core->AddWindow(new Console(core.get())));
    auto* line = new Input(core.get(), console, 224);
    core->AddWindow(line);
    console->AttachChatLine(line);
    const auto type = [](Input* input, const std::string& keys) {
        for (char c : keys) input->OnChar(static_cast<unsigned char>(c));
    };

    type(line, "hi");
    EXPECT_EQ(connection.SentOpcodes(1), std::vector<uint8_t>{196});
    EXPECT_TRUE(player.typing);
    line->OnBackspace();
    line->OnBackspace();
    EXPECT_EQ(connection.SentOpcodes(2), (std::vector<uint8_t>{196, 197}));
    EXPECT_FALSE(player.typing);
    line->OnBackspace();
    line->SetText("again");
    line->Clear();
    line->OnDelete();
    EXPECT_EQ(connection.SentOpcodes(4), (std::vector<uint8_t>{196, 197, 196, 197}));

    // Other inputs never tell.
    auto* field = new Input(core.get(), console, 64, {10, 20, 150, 18}, 0, 0);
    core->AddWindow(field);
    type(field, "quiet");
    EXPECT_EQ(connection.SentOpcodes().size(), 4u);
    core->player = nullptr;
}

}  // namespace

namespace {

const char* const DefaultLeft = "50,2,1,0,157;40,0,2,0,199";
const char* const DefaultRight = "21,41,2,0,200";

class ConsolePanelsTest : public ::testing::Test {
protected:
    void SetUp() override {
        core = MakeTestCore();
        core->panelLeftLayout = DefaultLeft;
        core->panelRightLayout = DefaultRight;
        core->options.bar = 1;
    }

    void Wide() { core->options.widescreen = core->options.panel = core->options.inventory = 1; }

    void Open() {
        console = static_cast<Console*>(core->AddWindow(new Console(core.get())));
        console->CreatePanels();
        left = static_cast<Panel*>(core->leftPanel);
        right = static_cast<Panel*>(core->rightPanel);
    }

    Panellist* Find(uint32_t type) { return dynamic_cast<Panellist*>(core->FindWindow(type)); }

    static std::vector<uint32_t> Types(const std::vector<Panellist*>& windows) {
        std::vector<uint32_t> types;
        for (const Panellist* window : windows) types.push_back(window->typeId);
        return types;
    }

    std::unique_ptr<Core> core;
    Console* console = nullptr;
    Panel* left = nullptr;
    Panel* right = nullptr;
};

TEST_F(ConsolePanelsTest, TheDefaultLayoutsFillBothColumnsInTheWideLayout) {
    Wide();
    Open();
    ASSERT_NE(left, nullptr);
    ASSERT_NE(right, nullptr);
    EXPECT_EQ(left->typeId, WindowType::PanelLeft);
    EXPECT_EQ(right->typeId, WindowType::PanelRight);

    // The status panel at the top of the left column, pinned, and the ability bar at its bottom.
    Panellist* status = Find(WindowType::Paneltop);
    Panellist* bar = Find(WindowType::Spellbar);
    ASSERT_EQ(left->normal, std::vector<Panellist*>{status});
    ASSERT_EQ(left->bottom, std::vector<Panellist*>{bar});
    // The status panel takes the height of its rows and buttons, not the layout's 157.
    EXPECT_EQ(status->y, 0);
    EXPECT_TRUE(status->pinned);
    EXPECT_EQ(left->topReserve, status->height + 1);
    EXPECT_EQ(bar->height, 199);
    EXPECT_EQ(bar->y + bar->height, 600 - 1);
    EXPECT_EQ(left->y, status->height + 1);
    EXPECT_EQ(left->y + left->height + 1, bar->y);

    // The minimap, which no layout brought, pinned on top of the right column, the equipment at
    // its bottom.
    EXPECT_EQ(Types(right->normal), std::vector<uint32_t>{WindowType::Panelmap});
    EXPECT_EQ(Types(right->bottom), std::vector<uint32_t>{WindowType::Equipment});
    EXPECT_TRUE(right->normal[0]->pinned);
    EXPECT_EQ(right->normal[0]->y, 0);
    // The equipment keeps its own height in a column, whatever the layout says.
    EXPECT_EQ(right->bottom[0]->height, 239);
    EXPECT_EQ(right->x, 800 - 156);
    for (Panellist* window : {status, bar}) EXPECT_EQ(window->x, 0);
}

TEST_F(ConsolePanelsTest, InTheNormalLayoutEquipmentAndAbilityBarStandBesideTheConsole) {
    Open();
    Panellist* status = Find(WindowType::Paneltop);
    ASSERT_EQ(left->normal, std::vector<Panellist*>{status});
    EXPECT_EQ(left->topReserve, status->height + 1);
    EXPECT_TRUE(left->bottom.empty());
    EXPECT_EQ(Types(right->normal), std::vector<uint32_t>{WindowType::Panelmap});
    for (uint32_t type : {WindowType::Equipment, WindowType::Spellbar}) {
        Panellist* window = Find(type);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->panel, nullptr);
        EXPECT_EQ(window->owner, console);
    }
    // The equipment stands at the console's right end, as high as the console.
    Panellist* equipment = Find(WindowType::Equipment);
    EXPECT_EQ(equipment->x, console->x + console->width - 156);
    EXPECT_EQ(equipment->y, console->y);
}

TEST_F(ConsolePanelsTest, EntriesAreRestoredWithTheirHeightCollapseAndPin) {
    Wide();
    core->avatarName = "Ann";
    core->panelRecords = {{"Ann",
                           {"52,0,0,1,120", "20,5,0,0,110,8", "53,0,0,0,100", "99,1,1,1,100",
                            "21,41,2,0", "20,300,0,0,90,8", "20,6,0,0,90", "54,0,0,0,150"},
                           {"40,0,1,0,180", "40,0,2,0,199", "50,2,2,0,157"}}};
    Open();

    // Friends list collapsed, then the container 5 with its 8 slots, then the minimap; the
    // party list, an unknown type, a cut entry and containers with a bad number or without
    // their slot count are skipped.
    ASSERT_EQ(Types(right->normal),
              (std::vector<uint32_t>{WindowType::Friendlist, WindowType::Container,
                                     WindowType::Panelmap}));
    EXPECT_TRUE(right->normal[0]->collapsed);
    EXPECT_EQ(right->normal[0]->height, 120);
    EXPECT_EQ(right->normal[1]->Serialize(), "20,5,0,0,110,8");
    EXPECT_FALSE(right->normal[2]->pinned);
    // Without an equipment entry the equipment is made and pinned to the bottom.
    EXPECT_EQ(Types(right->bottom), std::vector<uint32_t>{WindowType::Equipment});

    // The first ability bar entry wins: pinned to the top, at its own fixed height; the status
    // panel to the bottom.
    EXPECT_EQ(Types(left->normal), std::vector<uint32_t>{WindowType::Spellbar});
    EXPECT_EQ(left->normal[0]->height, 199);
    EXPECT_EQ(left->topReserve, 200);
    EXPECT_EQ(Types(left->bottom), std::vector<uint32_t>{WindowType::Paneltop});
}

TEST_F(ConsolePanelsTest, ContainersComeBackOnlyFromTheAvatarsOwnLayout) {
    Wide();
    core->avatarName = "Bob";
    core->panelRecords = {{"Ann", {"20,5,0,0,110,8"}, {}}};
    Open();
    EXPECT_EQ(core->panelLayoutFallback, 1);
    EXPECT_EQ(core->FindWindow(WindowType::Container), nullptr);
}

TEST_F(ConsolePanelsTest, WithTheBarOffTheAbilityBarLeavesItsColumn) {
    Wide();
    core->options.bar = 0;
    Open();
    Panellist* bar = Find(WindowType::Spellbar);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->panel, nullptr);
    EXPECT_FALSE(bar->pinned);
    EXPECT_TRUE(left->bottom.empty());
    EXPECT_EQ(left->bottomUsed, 0);
}

TEST_F(ConsolePanelsTest, ABadLayoutStringNeverStopsTheGame) {
    Wide();
    core->panelLeftLayout = ";;, ,;50,x;50;40,0,2,0,99999999999;50,2,1,0,-5;abc";
    core->panelRightLayout = "21,41,2,0,200,7,7,7;;;21;";
    Open();
    // Whatever was read, both columns hold the four windows, each once; the status panel keeps
    // the height of its own rows and buttons.
    for (uint32_t type : {WindowType::Paneltop, WindowType::Spellbar, WindowType::Panelmap,
                          WindowType::Equipment}) {
        int open = 0;
        for (const Window* window : core->windows)
            open += window->typeId == type && window->state == 1;
        EXPECT_EQ(open, 1) << type;
    }
    EXPECT_EQ(Types(left->normal), std::vector<uint32_t>{WindowType::Paneltop});
    EXPECT_EQ(left->normal[0]->height, left->normal[0]->minHeight);
}

TEST_F(ConsolePanelsTest, ASavedLayoutComesBackWithItsContainersNumberedInOrder) {
    Wide();
    core->shapes = LoadSpriteCase(core.get(), "sample").release();
    Creature player(core.get(), 1, PersonShape, 0, {}, Position{}, "Ann", 100, 100, 0);
    core->player = &player;
    core->avatarName = "Ann";
    core->panelRecords = {
        {"Ann", {"20,7,0,1,120,8", "20,3,0,0,100,4"}, {"50,2,1,0,157", "20,9,2,0,90,6"}}};
    Open();
    core->SavePanelLayout();
    const std::string saved = core->panelDataLayout;
    // The status panel, with every option of the test core off, is 6 pixels high; the minimap is
    // a column wide and 17 pixels higher.
    EXPECT_EQ(saved,
              "Ann;4;20,2,0,1,120,8;20,1,0,0,100,4;54,255,1,0,173;21,255,2,0,239;"
              "50,255,1,0,6;20,3,2,0,90,6;40,255,2,0,199;");

    // Entered again with what was saved, the columns save the same layout.
    while (!core->windows.empty()) core->RemoveWindow(core->windows.back());
    core->panelRecords.clear();
    core->ParsePanelData();
    Open();
    EXPECT_TRUE(right->normal[0]->collapsed);
    core->SavePanelLayout();
    EXPECT_EQ(core->panelDataLayout, saved);
    core->player = nullptr;
}

}  // namespace

namespace {

// The console of the game screen: its place below the field, the band that makes it taller, the
// bars' texts and tooltips.
class ConsoleScreenTest : public CreatureWorld {
protected:
    void SetUp() override {
        CreatureWorld::SetUp();
        core->panelLeftLayout = DefaultLeft;
        core->panelRightLayout = DefaultRight;
    }
    void TearDown() override {
        UseNullDriver();
        core.reset();
    }
    Console* Enter() {
        core->EnterGame();
        return static_cast<Console*>(core->consoleWindow);
    }
    std::vector<std::string> BarTexts(Console* console) {
        RecordingDriver::Install();
        console->Refresh();
        console->Paint();
        // Texts on one line read as one run with spaces between them.
        std::vector<std::string> texts;
        for (const std::string& run : DrawnTextsIn(RecordingDriver::Take(), 0xE0E0E0E0)) {
            size_t start = 0;
            for (size_t gap = run.find("  "); start < run.size(); gap = run.find("  ", start)) {
                if (gap != start) texts.push_back(run.substr(start, gap - start));
                if (gap == std::string::npos) break;
                start = run.find_first_not_of(' ', gap);
            }
        }
        UseNullDriver();
        return texts;
    }
    std::string TooltipAt(Console* console, int32_t rx, int32_t ry) {
        const size_t before = core->windows.size();
        console->OnMouseUp(console->x + rx, console->y + ry);
        if (core->windows.size() == before) return "";
        auto* look = dynamic_cast<Look*>(core->windows.back());
        return look ? look->title : "";
    }
};

TEST_F(ConsoleScreenTest, TheConsoleIsCentredBelowTheFieldBeforeAndAfterAResize) {
    Console* console = Enter();
    const Window* frame = core->FindWindow(WindowType::Padding);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(console->width, frame->width + 312);
    EXPECT_EQ(console->x, (800 - console->width) / 2);
    EXPECT_EQ(console->height, 220);
    EXPECT_EQ(console->y, 380);
    // The default layouts: the status panel left, the minimap made and pinned on the right.
    const auto* map = dynamic_cast<Panellist*>(core->FindWindow(WindowType::Panelmap));
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(static_cast<Window*>(map->panel), core->rightPanel);
    EXPECT_TRUE(map->pinned);
    EXPECT_EQ(core->focusedInput, console->chatLine);

    core->clientWidth = 1024;
    core->clientHeight = 768;
    core->PlaceWindows();
    EXPECT_EQ(console->width, frame->width + 312);
    EXPECT_EQ(console->x, (1024 - console->width) / 2);
    EXPECT_EQ(console->y + console->height, 768);
}

TEST_F(ConsoleScreenTest, OnlyTheBandBelowTheTopEdgeStartsAResize) {
    Console* console = Enter();
    for (int32_t dy : {0, 1, 6, 7, 30}) {
        console->resizing = 0;
        console->OnMouseDown(console->x + 100, console->y + dy);
        EXPECT_EQ(console->resizing, dy >= 1 && dy <= 6) << dy;
    }
    console->OnMouseUp(console->x + 100, console->y + 3);
    EXPECT_EQ(console->resizing, 0);
}

TEST_F(ConsoleScreenTest, TheBarsShowTheirValuesInSixtyFourBits) {
    Console* console = Enter();
    struct Case {
        uint32_t experience, experienceNext, hp, maxHp, mana, maxMana;
        std::vector<std::string> texts;
    };
    for (const Case& c : std::vector<Case>{
             {3000000000u, 4000000000u, 50, 100, 0, 10, {"75 %", "50 / 100", "0 / 10"}},
             {5, 0, 0, 0, 0, 0, {}},
             {10, 10, 7, 5, 1, 2, {"100 %", "7 / 5", "1 / 2"}}}) {
        core->experience = c.experience;
        core->experienceNext = c.experienceNext;
        core->hp = c.hp;
        core->maxHp = c.maxHp;
        core->mana = c.mana;
        core->maxMana = c.maxMana;
        EXPECT_EQ(BarTexts(console), c.texts) << c.experience;
    }
    // The filled widths: 142 * 3e9 / 4e9, an empty bar for a maximum of 0, never past the bar.
    EXPECT_EQ(FilledWidth(3000000000u, 4000000000u, 142), 106);
    EXPECT_EQ(FilledWidth(5, 0, 142), 0);
    EXPECT_EQ(FilledWidth(7, 5, 234), 234);
}

TEST_F(ConsoleScreenTest, TheBarsTellTheirValuesOnAClick) {
    Console* console = Enter();
    core->experience = 30;
    core->experienceNext = 40;
    core->hp = 0;
    core->maxHp = 0;
    core->mana = 3;
    core->maxMana = 9;
    const int32_t half = console->width / 2;
    EXPECT_EQ(TooltipAt(console, 10, 10), "Experience:  30 / 40");
    EXPECT_EQ(TooltipAt(console, 160, 10), "You seem to be dead.");
    EXPECT_EQ(TooltipAt(console, half + 20, 10), "Mana:  3 / 9");
    core->maxMana = 0;
    EXPECT_EQ(TooltipAt(console, half + 20, 22), "You are all out of mana.");
    EXPECT_EQ(TooltipAt(console, 10, 30), "");
    core->inputModes[InputTradeSelect] = 1;
    EXPECT_EQ(TooltipAt(console, 10, 10), "");
}

TEST_F(ConsoleScreenTest, InTheWideLayoutTheInfoTabSwallowsWhatIsTyped) {
    core->options.widescreen = core->options.panel = core->options.inventory = 1;
    RecordingConnection connection(core.get(), StateGame);
    Console* console = Enter();
    connection.SentSinceLastCall();
    Channel* info = console->mainChatbox->FindChannel(ChannelId::Info);
    ASSERT_NE(info, nullptr);
    EXPECT_TRUE(info->readOnly);
    console->mainChatbox->SelectChannel(info);
    console->chatLine->text = "hello";
    console->OnSubmit();
    EXPECT_TRUE(connection.SentSinceLastCall().empty());
}

}  // namespace
