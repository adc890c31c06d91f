// Entering and leaving the game: the game screen, the old world and windows, the chat texts sent
// on entry, the side-panel records saved on leaving, and the logout question.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core.h"
#include "creature.h"
#include "spell.h"
#include "support/creatureworld.h"
#include "support/recordingconnection.h"
#include "tile.h"
#include "windows/game/chatbox.h"
#include "windows/game/console.h"
#include "windows/game/container.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/panel.h"
#include "windows/toolkit/panellist.h"
#include "windows/toolkit/sure.h"
#include "windows/toolkit/windowtypes.h"
#include "world.h"

namespace {

using Texts = std::vector<std::string>;

// Takes any quit request off the thread's queue; true when there was one.
bool QuitPosted() {
    MSG message;
    bool posted = false;
    while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) posted = true;
    return posted;
}

// A window that reports its deletion.
class ProbeWindow : public Window {
public:
    ProbeWindow(Core* core, bool* deleted, uint32_t type = 300) : Window(core), deleted(deleted) {
        typeId = type;
    }
    ~ProbeWindow() override { *deleted = true; }
    bool* deleted;
};

class ProbeSure : public Sure {
public:
    ProbeSure(Core* core, bool* deleted)
        : Sure(core, "Logout", "Are you sure you want to logout?", Sure::Logout),
          deleted(deleted) {}
    ~ProbeSure() override { *deleted = true; }
    bool* deleted;
};

class ProbeCreature : public Creature {
public:
    ProbeCreature(Core* core, uint32_t id, Position at, int* deletions)
        : Creature(core, id, SampleShape::Person, 0, {}, at, "Probe", 100, 125, 0),
          deletions(deletions) {}
    ~ProbeCreature() override { ++*deletions; }
    int* deletions;
};

class GameTest : public CreatureWorld {
protected:
    void SetUp() override {
        CreatureWorld::SetUp();
        QuitPosted();
    }
    // The Core deletes the world, which leaving the game may have done already.
    void TearDown() override {
        QuitPosted();
        core.reset();
    }

    // In the game with the player "Ann" and a creature the player follows, both in the world.
    void InGame() {
        core->inGame = 1;
        FloorAround(10, 10, 1);
        SpawnPlayer({10, 10, 7}, "Ann");
        auto* followed = new ProbeCreature(core.get(), 99, {11, 10, 7}, &creatureDeletions);
        world->AddCreature(followed);
        world->GetTile(followed->position.Packed(), 7)->AddCreature(followed);
        core->followTarget = followed;
        core->targets = {followed};
    }

    Sure* LogoutBox() {
        Sure* found = nullptr;
        for (Window* window : core->windows)
            if (auto* box = dynamic_cast<Sure*>(window); box && box->action == Sure::Logout)
                found = box;
        return found;
    }

    int LogoutBoxes() {
        return int(std::count_if(core->windows.begin(), core->windows.end(), [](Window* window) {
            return dynamic_cast<Sure*>(window) != nullptr;
        }));
    }

    int creatureDeletions = 0;
    // For the probes that live until the Core goes.
    bool lateDeleted = false;
};

// --- Leaving -----------------------------------------------------------------------------------

TEST_F(GameTest, LeavingDeletesTheGameAndLeavesOnlyTheMainScreen) {
    InGame();
    bool consoleDeleted = false, fieldDeleted = false;
    core->consoleWindow =
        core->AddWindow(new ProbeWindow(core.get(), &consoleDeleted, WindowType::Console));
    core->fieldWindow =
        core->AddWindow(new ProbeWindow(core.get(), &fieldDeleted, WindowType::Field));
    core->activeWindow = nullptr;
    core->gameHalted = 1;

    core->LeaveGame();
    EXPECT_TRUE(consoleDeleted);
    EXPECT_TRUE(fieldDeleted);
    ASSERT_EQ(core->windows.size(), 1u);
    EXPECT_EQ(core->windows[0]->typeId, WindowType::Desktop);
    EXPECT_EQ(core->activeWindow, core->windows[0]);
    EXPECT_EQ(core->consoleWindow, nullptr);
    EXPECT_EQ(core->fieldWindow, nullptr);
    // The creatures leave the world before it goes, and nothing keeps pointing at them.
    EXPECT_EQ(core->world, nullptr);
    EXPECT_EQ(core->player, nullptr);
    EXPECT_EQ(creatureDeletions, 1);
    EXPECT_EQ(core->followTarget, nullptr);
    EXPECT_TRUE(core->targets.empty());
    EXPECT_EQ(core->inGame, 0);
    EXPECT_EQ(core->gameHalted, 0);
}

// The leaving may run inside the active window's handler: it leaves the list at once and is
// deleted at the next tick.
TEST_F(GameTest, TheActiveWindowOutlivesLeavingAndTheNextTickDeletesIt) {
    InGame();
    bool otherDeleted = false, activeDeleted = false;
    core->AddWindow(new ProbeWindow(core.get(), &otherDeleted));
    core->AddWindow(new ProbeWindow(core.get(), &activeDeleted));

    core->LeaveGame();
    EXPECT_TRUE(otherDeleted);
    EXPECT_FALSE(activeDeleted);
    ASSERT_EQ(core->windows.size(), 1u);
    EXPECT_EQ(core->windows[0]->typeId, WindowType::Desktop);
    EXPECT_EQ(core->activeWindow, core->windows[0]);
    core->Tick();
    EXPECT_TRUE(activeDeleted);
    EXPECT_TRUE(core->closedWindows.empty());
    EXPECT_EQ(core->windows.size(), 1u);
}

// A control taken out as the active window may still be deleted by its owner's destructor.
TEST_F(GameTest, AClosedWindowItsOwnerRemovesIsNotDeletedTwice) {
    InGame();
    class Owner : public Window {
    public:
        explicit Owner(Core* core) : Window(core) {}
        ~Owner() override { core->RemoveWindow(control); }
        Window* control = nullptr;
    };
    bool deleted = false;
    auto* owner = new Owner(core.get());
    core->AddWindow(owner);
    owner->control = core->AddWindow(new ProbeWindow(core.get(), &deleted));
    core->LeaveGame();
    EXPECT_TRUE(deleted);
    EXPECT_TRUE(core->closedWindows.empty());
    core->Tick();
}

TEST_F(GameTest, TheCoreDeletesAWindowClosedBeforeTheNextTick) {
    InGame();
    core->AddWindow(new ProbeWindow(core.get(), &lateDeleted));
    core->LeaveGame();
    core.reset();
    EXPECT_TRUE(lateDeleted);
}

TEST_F(GameTest, OutsideTheGameLeavingOnlyAddsTheMainScreen) {
    Window* notice = core->AddWindow(new ProbeWindow(core.get(), &lateDeleted));
    core->gameHalted = 1;
    core->LeaveGame();
    EXPECT_FALSE(lateDeleted);
    ASSERT_EQ(core->windows.size(), 2u);
    EXPECT_EQ(core->windows[1]->typeId, WindowType::Desktop);
    EXPECT_EQ(core->activeWindow, notice);  // the bottom window
    EXPECT_EQ(core->gameHalted, 0);
}

// Containers 7 and 2 on the right, the status panel pinned on top and container 5 pinned to the
// bottom (collapsed) on the left.
TEST_F(GameTest, LeavingSavesThePanelsWithTheContainersNumberedInOrder) {
    InGame();
    auto* right = new Panel(core.get(), nullptr, Panel::Right);
    auto* left = new Panel(core.get(), nullptr, Panel::Left);
    core->rightPanel = core->AddWindow(right);
    core->leftPanel = core->AddWindow(left);
    auto add = [&](Panellist* window, int32_t height, std::vector<Panellist*>& column) {
        window->height = height;
        core->AddWindow(window);
        column.push_back(window);
        return window;
    };
    add(new Container(core.get(), right, 7, 8), 150, right->normal);
    add(new Container(core.get(), right, 2, 4), 120, right->normal);
    Panellist* status = add(new Panellist(core.get()), 157, left->normal);
    status->typeId = WindowType::Paneltop;
    status->windowId = 2;
    status->pinned = 1;
    Panellist* pinned = add(new Container(core.get(), left, 5, 6), 100, left->bottom);
    pinned->pinned = 1;
    pinned->collapsed = 1;
    core->panelRecords = {{"Ann", {"old"}, {}}, {"Bob", {"b1"}, {"b2"}}};

    core->LeaveGame();
    EXPECT_EQ(core->panelDataLayout,
              "Bob;1;b1;b2;|Ann;2;20,3,0,0,150,8;20,1,0,0,120,4;50,2,1,0,157;20,2,2,1,100,6;");

    // Read back, the same avatar gets its own layout and the other one keeps its record.
    core->panelRecords.clear();
    core->ParsePanelData();
    core->avatarName = "Ann";
    EXPECT_EQ(core->GetPanelData(false), "20,3,0,0,150,8;20,1,0,0,120,4;");
    EXPECT_EQ(core->GetPanelData(true), "50,2,1,0,157;20,2,2,1,100,6;");
    EXPECT_EQ(core->panelLayoutFallback, 0);
    core->avatarName = "Bob";
    EXPECT_EQ(core->GetPanelData(false), "b1;");
    EXPECT_EQ(core->GetPanelData(true), "b2;");
}

TEST_F(GameTest, WithoutAPlayerNoLayoutIsSaved) {
    core->inGame = 1;
    core->panelRecords = {{"Ann", {"a"}, {}}};
    core->panelDataLayout = "unchanged";
    core->LeaveGame();
    EXPECT_EQ(core->panelDataLayout, "unchanged");
    ASSERT_EQ(core->panelRecords.size(), 1u);
}

TEST_F(GameTest, LeavingKeepsTheOpenChatChannelsForTheNextGame) {
    const struct {
        const char* what;
        bool widescreen;
        std::vector<std::pair<uint32_t, std::string>> main, second;
        std::string preset;
    } cases[] = {
        {"main and second box",
         false,
         {{0, "Main"}, {3, "World"}, {7, "Help"}, {240, "Info"}, {255, "Bob"}},
         {{240, "Info"}, {9, "NPC"}},
         "World,Help,NPC"},
        {"second box without chat channels", false, {{3, "World"}}, {{240, "Info"}}, "World"},
        {"widescreen", true, {{3, "World"}}, {{9, "NPC"}}, "World"},
        {"no chat channels", false, {{0, "Main"}}, {}, ""},
    };
    for (const auto& c : cases) {
        core->inGame = 1;
        core->options.widescreen = c.widescreen;
        core->channelsPreset = "World,Help,NPC,Trade";
        auto* console = new Console(core.get());
        core->consoleWindow = core->AddWindow(console);
        console->mainChatbox = new Chatbox(core.get(), console, Chatbox::MainKind);
        console->secondChatbox = new Chatbox(core.get(), console, Chatbox::SecondKind);
        for (auto [box, channels] : {std::pair{console->mainChatbox, &c.main},
                                     std::pair{console->secondChatbox, &c.second}}) {
            core->AddWindow(box);
            for (const auto& [id, name] : *channels) box->OpenChannel(id, name, 1);
        }
        core->LeaveGame();
        EXPECT_EQ(core->channelsPreset, c.preset) << c.what;
    }
}

// --- Entering ----------------------------------------------------------------------------------

TEST_F(GameTest, EnteringReplacesTheWindowsAndTheWorld) {
    InGame();
    bool oldDeleted = false;
    core->AddWindow(new ProbeWindow(core.get(), &oldDeleted));
    core->friends = {{1, 0, "Bo", 0, "", 0}};
    core->spells.push_back(new Spell(core.get(), 1, 0, "Heal", "", "5", "Support"));
    core->spells[0]->cooldownTotal = 500;

    At(5000);
    core->EnterGame();
    EXPECT_TRUE(oldDeleted);
    EXPECT_EQ(creatureDeletions, 1);
    EXPECT_EQ(core->followTarget, nullptr);
    EXPECT_EQ(core->player, nullptr);
    ASSERT_NE(core->world, nullptr);
    EXPECT_EQ(core->world->createdAt, Start + 5000);
    EXPECT_TRUE(core->world->creatures.empty());
    EXPECT_EQ(core->inGame, 1);
    EXPECT_TRUE(core->friends.empty());
    EXPECT_EQ(core->spells[0]->cooldownTotal, 0u);

    // At the bottom the game field the frame made and the frame above it, then the console and
    // the side columns with their windows; the console is the active window.
    ASSERT_GE(core->windows.size(), 5u);
    EXPECT_EQ(core->windows[0]->typeId, WindowType::Field);
    EXPECT_EQ(core->windows[1]->typeId, WindowType::Padding);
    EXPECT_EQ(core->windows[2]->typeId, WindowType::Console);
    EXPECT_EQ(core->windows[3]->typeId, WindowType::PanelRight);
    EXPECT_EQ(core->windows[4]->typeId, WindowType::PanelLeft);
    EXPECT_EQ(core->fieldWindow, core->windows[0]);
    EXPECT_EQ(core->consoleWindow, core->windows[2]);
    EXPECT_EQ(core->rightPanel, core->windows[3]);
    EXPECT_EQ(core->leftPanel, core->windows[4]);
    EXPECT_EQ(core->paneltopWindow, core->FindWindow(WindowType::Paneltop));
    EXPECT_EQ(core->equipmentWindow, core->FindWindow(WindowType::Equipment));
    EXPECT_NE(core->paneltopWindow, nullptr);
    EXPECT_EQ(core->activeWindow, core->consoleWindow);
    // The console's chat boxes with their first pages (Info, Main) and the pages' scroll bars
    // follow the columns' windows.
    std::vector<uint32_t> chatTypes;
    for (const Window* window : core->windows)
        if (window->typeId == WindowType::Chatbox || window->typeId == WindowType::Channel)
            chatTypes.push_back(window->typeId);
    EXPECT_EQ(chatTypes, (std::vector<uint32_t>{WindowType::Chatbox, WindowType::Chatbox,
                                                WindowType::Channel, WindowType::Channel}));
}

TEST_F(GameTest, EnteringSendsTheTestWalkersTextAndTheConsoleCommands) {
    const struct {
        bool testing;
        std::string commands;
        Texts sent;
    } cases[] = {
        {false, "", {}},
        {false, "join World;;join Trade;", {"join World", "join Trade"}},
        {true, "", {"teleport sorvan"}},
        {true, "join Help", {"teleport sorvan", "join Help"}},
        {false, ";", {}},
    };
    for (const auto& c : cases) {
        RecordingConnection connection(core.get());
        core->testWalker.testing = c.testing;
        core->enterCommands = c.commands;
        core->EnterGame();
        Texts sent;
        for (const std::vector<uint8_t>& payload : connection.SentPayloads(c.sent.size())) {
            // Console-channel chat: op 241 and a text of one length byte.
            ASSERT_GE(payload.size(), 2u) << c.commands;
            EXPECT_EQ(payload[0], 241) << c.commands;
            EXPECT_EQ(payload[1], payload.size() - 2) << c.commands;
            sent.emplace_back(payload.begin() + 2, payload.end());
        }
        EXPECT_EQ(sent, c.sent) << c.commands;
        core->CloseConnection(0);
        core->DeleteClosedConnections();
    }
}

// --- Closing the main window -------------------------------------------------------------------

TEST_F(GameTest, ClosingOutsideTheGameEndsTheProgram) {
    core->ConfirmLogout();
    EXPECT_TRUE(QuitPosted());
    EXPECT_EQ(LogoutBoxes(), 0);
}

TEST_F(GameTest, ClosingInTheGameAsksOnceWhileTheQuestionWaits) {
    InGame();
    core->ConfirmLogout();
    Sure* box = LogoutBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->name, "Logout");
    EXPECT_EQ(box->text, "Are you sure you want to logout?");
    EXPECT_EQ(core->activeWindow, box);

    core->ConfirmLogout();
    EXPECT_EQ(LogoutBoxes(), 1);
    // Not even when something else has come over the box.
    core->AddWindow(new ProbeWindow(core.get(), &lateDeleted));
    core->ConfirmLogout();
    EXPECT_EQ(LogoutBoxes(), 1);
    EXPECT_FALSE(QuitPosted());

    // Once it said no, the next close request asks again.
    box->OnCommand(box->FindButton(ButtonId::No));
    EXPECT_EQ(LogoutBoxes(), 0);
    core->ConfirmLogout();
    EXPECT_EQ(LogoutBoxes(), 1);
}

TEST_F(GameTest, YesLeavesTheGameAndTheNextTickDeletesTheBox) {
    InGame();
    RecordingConnection connection(core.get());
    bool deleted = false;
    Sure* box = new ProbeSure(core.get(), &deleted);
    core->AddWindow(box);
    core->ConfirmLogout();
    EXPECT_EQ(LogoutBoxes(), 1);

    box->OnCommand(box->FindButton(ButtonId::Yes));
    EXPECT_FALSE(deleted);
    EXPECT_EQ(box->answered, 1);
    EXPECT_EQ(core->inGame, 0);
    EXPECT_EQ(core->connection1, nullptr);
    ASSERT_EQ(core->windows.size(), 1u);
    EXPECT_EQ(core->windows[0]->typeId, WindowType::Desktop);
    EXPECT_EQ(core->activeWindow, core->windows[0]);

    core->Tick();
    EXPECT_TRUE(deleted);
    EXPECT_EQ(core->windows.size(), 1u);
}

TEST_F(GameTest, TheTestWalkerLeavesAndEndsAtOnce) {
    InGame();
    RecordingConnection connection(core.get());
    core->testWalker.testing = 1;
    core->ConfirmLogout();
    EXPECT_TRUE(QuitPosted());
    EXPECT_EQ(core->inGame, 0);
    EXPECT_EQ(core->connection1, nullptr);
    EXPECT_EQ(LogoutBoxes(), 0);
    EXPECT_EQ(core->FindWindow(WindowType::Desktop), core->activeWindow);
}

// Both layouts, the client made taller from 480 to 1200 pixels and shorter again, with a layout
// that fills the columns: every window stays in its column, at least its title band high, and
// none overlaps another.
TEST_F(GameTest, AtEveryClientHeightTheColumnsHoldTheirWindowsApart) {
    InGame();
    core->options.bar = core->options.panel = core->options.inventory = 1;
    core->avatarName = "Ann";
    core->panelLeftLayout = "50,2,1,0,157;40,0,2,0,199";
    core->panelRightLayout = "21,41,2,0,200";
    const std::vector<int32_t> upwards = [] {
        std::vector<int32_t> heights;
        for (int32_t h = 480; h <= 1200; h += 24) heights.push_back(h);
        return heights;
    }();
    for (const bool wide : {false, true}) {
        for (const bool taller : {true, false}) {
            SCOPED_TRACE(std::string(wide ? "wide" : "normal") +
                         (taller ? ", taller" : ", shorter"));
            core->options.widescreen = wide;
            core->panelRecords = {
                {"Ann",
                 {"54,0,1,0,150", "52,0,0,0,200", "20,1,0,0,180,8", "21,41,2,0,200"},
                 {"50,2,1,0,157", "20,2,0,0,120,6", "40,0,2,0,199"}}};
            std::vector<int32_t> heights = upwards;
            if (!taller) std::reverse(heights.begin(), heights.end());
            core->clientHeight = uint32_t(heights.front());
            core->EnterGame();
            for (const int32_t h : heights) {
                SCOPED_TRACE(h);
                core->clientHeight = uint32_t(h);
                core->PlaceWindows();
                const int32_t bottom = h - 1 - (wide ? 0 : core->consoleWindow->height);
                for (Window* side : {core->leftPanel, core->rightPanel}) {
                    auto* column = static_cast<Panel*>(side);
                    std::vector<Panellist*> windows = column->AllWindows();
                    std::sort(windows.begin(), windows.end(),
                              [](const Panellist* a, const Panellist* b) { return a->y < b->y; });
                    int32_t free = 0;
                    for (const Panellist* window : windows) {
                        EXPECT_EQ(window->x, column->x);
                        EXPECT_GE(window->y, free);
                        // The status panel alone may be lower: its rows and buttons set it.
                        EXPECT_GE(window->VisibleHeight(),
                                  std::min(Panellist::TitleBand, window->minHeight));
                        free = window->y + window->VisibleHeight() + Panel::Gap;
                    }
                    EXPECT_LE(free - Panel::Gap, bottom);
                }
            }
        }
    }
    core->clientHeight = 600;
}

}  // namespace
