#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "control.h"
#include "creature.h"
#include "mouse.h"
#include "protocol.h"
#include "screen.h"
#include "support/creatureworld.h"
#include "support/fakeplatform.h"
#include "support/recordingconnection.h"
#include "windows/dialogs/map.h"
#include "windows/game/console.h"
#include "windows/game/container.h"
#include "windows/game/paneltop.h"
#include "windows/toolkit/input.h"
#include "windows/toolkit/list.h"
#include "windows/toolkit/panel.h"
#include "windows/toolkit/sure.h"
#include "windows/toolkit/windowtypes.h"
#include "world.h"

namespace {

using Request = std::vector<uint8_t>;
using Requests = std::vector<Request>;

constexpr uint8_t North = 0, NorthEast = 1, East = 2, South = 4, NorthWest = 7;

// Key codes of a US keyboard: scan codes, extended keys plus 256.
constexpr uint32_t CodeW = 0x11, CodeA = 0x1E, CodeS = 0x1F, CodeD = 0x20, CodeQ = 0x10;
constexpr uint32_t CodeP = 0x19, CodeM = 0x32, CodeI = 0x17, CodeF1 = 0x3B, CodeF5 = 0x3F;
constexpr uint32_t CodeUp = 0x148, CodeLeft = 0x14B, CodeRight = 0x14D, CodeKeypad8 = 0x48;
constexpr uint32_t CodeKeypad9 = 0x49, CodeEnter = 0x1C, CodeEscape = 0x01, CodeTab = 0x0F;
constexpr uint32_t CodeBackspace = 0x0E, CodeShift = 0x2A, CodeCtrl = 0x1D;

Request Walk(uint8_t direction) { return {32, direction}; }

LPARAM Param(uint32_t keyCode) {
    return static_cast<LPARAM>(((keyCode & 0xFF) << 16) | ((keyCode & 256) ? 1u << 24 : 0) | 1);
}

// Takes any quit request off the thread's queue; true when there was one.
bool QuitPosted() {
    MSG message;
    bool posted = false;
    while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) posted = true;
    return posted;
}

class Owner : public Window {
public:
    Owner(Core* core, uint32_t type) : Window(core) {
        Build();
        typeId = type;
        width = 300;
        height = 200;
    }
    void OnSubmit() override { ++submits; }
    // Deletes this window: nothing may touch it afterwards.
    void Close() override { core->RemoveWindow(this); }
    int submits = 0;
};

class ControlTest : public CreatureWorld {
protected:
    void SetUp() override {
        CreatureWorld::SetUp();
        QuitPosted();
        FloorAround(10, 10, 2);
        uint32_t* keys = core->keys;
        keys[KeyNorth] = CodeW;
        keys[KeyWest] = CodeA;
        keys[KeySouth] = CodeS;
        keys[KeyEast] = CodeD;
        keys[KeyF1] = CodeF1;
        keys[KeyPrint] = CodeP;
        keys[KeyMode] = CodeM;
        keys[KeyInvite] = CodeI;
        dialog = static_cast<Owner*>(core->AddWindow(new Owner(core.get(), 300)));
        field = AddInput(dialog);
        control = new Control(core.get());
    }
    void TearDown() override {
        delete control;
        QuitPosted();
        CreatureWorld::TearDown();
    }
    Input* AddInput(Window* owner) {
        auto* input = new Input(core.get(), owner, 40, {10, 10, 200, 18}, 0, 0);
        core->AddWindow(input);
        core->focusedInput = input;
        return input;
    }
    // The game with the chat line focused.
    Input* EnterGame() {
        SpawnPlayer({10, 10, 7});
        core->inGame = 1;
        auto* console = new Console(core.get());
        core->AddWindow(console);
        core->consoleWindow = console;
        Input* line = AddInput(console);
        console->AttachChatLine(line);
        return line;
    }
    void Press(WPARAM virtualKey, uint32_t keyCode) {
        control->OnKeyDown(virtualKey, Param(keyCode));
    }
    void Type(const std::string& text) {
        for (char c : text) control->OnChar(static_cast<unsigned char>(c), 0);
    }

    FakePlatform fake;
    Owner* dialog = nullptr;
    Input* field = nullptr;
    Control* control = nullptr;
};

// --- Walking ---------------------------------------------------------------------------------

struct WalkCase {
    const char* name;
    WPARAM virtualKey;
    uint32_t keyCode;
    std::set<int> held;
    bool numLock;
    bool pushToTalk;
    Requests sent;
};

class ControlWalk : public ControlTest, public ::testing::WithParamInterface<WalkCase> {};

TEST_P(ControlWalk, KeysWalkThePlayerOrNot) {
    const WalkCase& c = GetParam();
    RecordingConnection connection(core.get());
    EnterGame();
    core->options.push = c.pushToTalk;
    FakePlatform::heldKeys = c.held;
    if (c.numLock) FakePlatform::toggledKeys = {VK_NUMLOCK};
    Press(c.virtualKey, c.keyCode);
    // A turn request sent after the key marks the end of what the key sent.
    core->activeConnection->SendTurn(South);
    Requests sent = connection.SentPayloads(c.sent.size() + 1);
    ASSERT_FALSE(sent.empty());
    sent.pop_back();
    EXPECT_EQ(sent, c.sent);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ControlWalk,
    ::testing::Values(
        WalkCase{"UpArrow", VK_UP, CodeUp, {}, false, false, {Walk(North)}},
        WalkCase{"Keypad9", VK_NUMPAD9, CodeKeypad9, {}, false, false, {Walk(NorthEast)}},
        WalkCase{
            "LeftWithUpHeld", VK_LEFT, CodeLeft, {VK_LEFT, VK_UP}, false, false, {Walk(NorthWest)}},
        WalkCase{"ShiftLeft", VK_LEFT, CodeLeft, {VK_SHIFT}, false, false, {}},
        WalkCase{"CtrlUpTurnsOnly", VK_UP, CodeUp, {VK_CONTROL}, false, false, {{40, North}}},
        WalkCase{"Keypad8NumLockOff", VK_NUMPAD8, CodeKeypad8, {}, false, false, {Walk(North)}},
        WalkCase{"Keypad8NumLockOn", VK_NUMPAD8, CodeKeypad8, {}, true, false, {}},
        WalkCase{"LetterIsTyped", 'W', CodeW, {}, false, false, {}},
        WalkCase{"LetterBindingInPushToTalk", 'W', CodeW, {}, false, true, {Walk(North)}},
        WalkCase{"HeldBindingsPairUp", 'W', CodeW, {'W', 'A'}, false, true, {Walk(NorthWest)}},
        WalkCase{"ArrowInPushToTalk", VK_RIGHT, CodeRight, {}, false, true, {Walk(East)}}),
    [](const ::testing::TestParamInfo<WalkCase>& info) { return std::string(info.param.name); });

TEST_F(ControlTest, AHeldArrowKeepsWalkingOnPoll) {
    RecordingConnection connection(core.get());
    EnterGame();
    FakePlatform::heldKeys = {VK_RIGHT};
    control->PollKeys();
    EXPECT_EQ(connection.SentPayloads(1), Requests{Walk(East)});
}

TEST_F(ControlTest, AHaltedGameNeitherWalksNorTypes) {
    RecordingConnection connection(core.get());
    Input* line = EnterGame();
    core->gameHalted = 1;
    Press(VK_UP, CodeUp);
    FakePlatform::heldKeys = {VK_UP};
    control->PollKeys();
    Type("hi");
    core->gameHalted = 0;  // a halted game sends nothing at all
    core->activeConnection->SendTurn(South);
    EXPECT_EQ(connection.SentPayloads(1).size(), 1u);
    EXPECT_EQ(line->text, "");
}

TEST_F(ControlTest, AHaltedGameOffersOnlyEscapeAndTheScreenshotKey) {
    core->gameHalted = 1;
    Press(VK_BACK, CodeBackspace);
    Press(VK_RETURN, CodeEnter);
    EXPECT_EQ(dialog->submits, 0);
    Press('P', CodeP);
    EXPECT_FALSE(core->screenshotPending);
    FakePlatform::heldKeys = {VK_CONTROL};
    Press('P', CodeP);
    EXPECT_TRUE(core->screenshotPending);
    EXPECT_FALSE(QuitPosted());
    Press(VK_ESCAPE, CodeEscape);  // outside the game the logout question is the quit
    EXPECT_TRUE(QuitPosted());
}

// --- Text input ------------------------------------------------------------------------------

TEST_F(ControlTest, TheFocusedInputGetsCharactersAndEditingKeys) {
    Type("abcd");
    Press(VK_BACK, CodeBackspace);
    EXPECT_EQ(field->text, "abc");
    FakePlatform::heldKeys = {VK_SHIFT};
    Press(VK_LEFT, CodeLeft);
    Press(VK_LEFT, CodeLeft);
    FakePlatform::heldKeys = {};
    Type("X");
    EXPECT_EQ(field->text, "aXbc");
    Press(VK_RETURN, CodeEnter);
    EXPECT_EQ(dialog->submits, 1);
}

TEST_F(ControlTest, TabCyclesTheFocusThroughTheInputs) {
    Input* second = AddInput(dialog);
    Press(VK_TAB, CodeTab);
    EXPECT_EQ(core->focusedInput, field);
    Press(VK_TAB, CodeTab);
    EXPECT_EQ(core->focusedInput, second);
    FakePlatform::heldKeys = {VK_SHIFT};
    Press(VK_TAB, CodeTab);
    EXPECT_EQ(core->focusedInput, field);
}

TEST_F(ControlTest, PushToTalkTypingStartsWithEnterAndAnEmptyEnterEndsIt) {
    Input* line = EnterGame();
    core->options.push = 1;
    core->options.widescreen = 1;
    Type("x");
    EXPECT_EQ(line->text, "");
    Press(VK_RETURN, CodeEnter);
    EXPECT_EQ(control->talkLatch, 1);
    Type("x");
    EXPECT_EQ(line->text, "x");
    Press(VK_BACK, CodeBackspace);
    Press(VK_RETURN, CodeEnter);
    EXPECT_EQ(control->talkLatch, 0);
    Type("y");
    EXPECT_EQ(line->text, "");
}

TEST_F(ControlTest, KeyCaptureBindsOnlyKeysWithAOneCharacterName) {
    Input* binding = Input::KeyBinding(core.get(), dialog, 8, {10, 40, 60, 18}, "W", KeyNorth);
    core->AddWindow(binding);
    core->focusedInput = binding;
    Type("z");
    Press(VK_F5, CodeF5);
    EXPECT_EQ(core->keys[KeyNorth], CodeW);
    EXPECT_EQ(binding->text, "W");
    Press('Q', CodeQ);
    EXPECT_EQ(core->keys[KeyNorth], CodeQ);
    EXPECT_EQ(binding->text, "Q");
    Press(VK_TAB, CodeTab);
    EXPECT_NE(core->focusedInput, binding);
}

TEST_F(ControlTest, OutsideTheGameTheArrowsMoveTheListSelection) {
    auto* list = new List(core.get(), dialog, 0, 0, 200, 100);
    for (const char* name : {"Ann", "Bo", "Cy"}) list->AddItem(name);
    core->AddWindow(list);
    Press(VK_DOWN, 0x150);
    Press(VK_NUMPAD2, 0x50);
    EXPECT_EQ(list->selected, 2);
    Press(VK_UP, CodeUp);
    EXPECT_EQ(list->selected, 1);
}

// --- Escape ----------------------------------------------------------------------------------

TEST_F(ControlTest, EscapeOutsideTheGameClosesAModalBoxElseQuits) {
    core->RemoveWindow(field);
    dialog->modal = 1;
    dialog->AddCloseButton();
    Press(VK_ESCAPE, CodeEscape);
    EXPECT_FALSE(QuitPosted());
    EXPECT_EQ(core->FindWindow(300), nullptr);
    Press(VK_ESCAPE, CodeEscape);
    EXPECT_TRUE(QuitPosted());
}

TEST_F(ControlTest, EscapeInTheGameClosesTheTopDialogThenAsksToLogout) {
    core->RemoveWindow(field);
    core->RemoveWindow(dialog);
    EnterGame();
    core->AddWindow(new Owner(core.get(), 140))->AddCloseButton();
    Press(VK_ESCAPE, CodeEscape);
    EXPECT_EQ(core->FindWindow(WindowType::Help), nullptr);
    Press(VK_ESCAPE, CodeEscape);
    auto* box = dynamic_cast<Sure*>(core->windows.back());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->action, Sure::Logout);
    EXPECT_FALSE(QuitPosted());
}

// --- Hotkeys ---------------------------------------------------------------------------------

TEST_F(ControlTest, TheScreenshotHotkeyWaitsForTheLastScreenshot) {
    FakePlatform::heldKeys = {VK_CONTROL};
    core->screenshotBusy = 1;
    Press('P', CodeP);
    EXPECT_FALSE(core->screenshotPending);
    core->screenshotBusy = 0;
    Press('P', CodeP);
    EXPECT_TRUE(core->screenshotPending);
}

TEST_F(ControlTest, HotkeysFlipPushToTalkAndPartySelect) {
    EnterGame();
    FakePlatform::heldKeys = {VK_CONTROL};
    Press('M', CodeM);
    EXPECT_EQ(core->options.push, 1);
    Press('I', CodeI);
    EXPECT_EQ(core->inputModes[InputPartySelect], 1);
    EXPECT_EQ(core->inputModes[InputDrop], 1);
    Press('I', CodeI);
    EXPECT_EQ(core->inputModes[InputPartySelect], 0);
    EXPECT_EQ(Notifications(), (std::vector<std::string>{"2:Switched push-to-talk mode on.",
                                                         "2:Select a player to party with."}));
}

TEST_F(ControlTest, TheMapHotkeyClosesAnOpenWorldMap) {
    EnterGame();
    core->keys[KeyMap] = CodeM;
    core->keys[KeyMode] = 0;
    core->AddWindow(new Map(core.get()));
    FakePlatform::heldKeys = {VK_CONTROL};
    Press('M', CodeM);
    EXPECT_EQ(core->FindWindow(WindowType::Map), nullptr);
    // No map is selected here: the hotkey opens nothing.
    Press('M', CodeM);
    EXPECT_EQ(core->FindWindow(WindowType::Map), nullptr);
}

TEST_F(ControlTest, TheJournalAndHelpHotkeysToggleTheirWindows) {
    constexpr uint32_t CodeJ = 0x24, CodeH = 0x23;
    EnterGame();
    core->keys[KeyJournal] = CodeJ;
    core->keys[KeyHelp] = CodeH;
    FakePlatform::heldKeys = {VK_CONTROL};
    const struct {
        WPARAM virtualKey;
        uint32_t code, type;
    } cases[] = {{'J', CodeJ, WindowType::Questlog}, {'H', CodeH, WindowType::Help}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        Press(c.virtualKey, c.code);
        EXPECT_NE(core->FindWindow(c.type), nullptr);
        Press(c.virtualKey, c.code);
        EXPECT_EQ(core->FindWindow(c.type), nullptr);
    }
}

TEST_F(ControlTest, CtrlWithAnArrowTurnsThePlayer) {
    EnterGame();
    FakePlatform::heldKeys = {VK_CONTROL};
    Press(VK_LEFT, CodeLeft);
    EXPECT_EQ(core->player->direction, 6u);
}

TEST_F(ControlTest, TheStackHotkeyStacksTheContainerUnderThePointer) {
    constexpr uint32_t CodeK = 0x25;
    RecordingConnection connection(core.get());
    EnterGame();
    core->keys[KeyStack] = CodeK;
    core->screen = new Screen(core.get(), 800, 600, 32, 0);
    auto* bag = new Container(core.get(), nullptr, 7, 0, 0, 6, "bag", {});
    core->AddWindow(bag);
    bag->x = bag->y = 100;
    FakePlatform::heldKeys = {VK_CONTROL};
    Mouse* mouse = core->screen->mouse;
    mouse->x = mouse->y = 110;
    Press('K', CodeK);
    EXPECT_TRUE(Notifications().empty());
    mouse->x = 90;
    Press('K', CodeK);
    EXPECT_EQ(Notifications(),
              std::vector<std::string>{"2:Hold your mouse over a container for auto stacking."});
    core->activeConnection->SendTurn(South);
    EXPECT_EQ(connection.SentPayloads(2), (Requests{{86, 7}, {40, South}}));
}

TEST_F(ControlTest, TheFriendsHotkeyOpensTheFriendsList) {
    constexpr uint32_t CodeF = 0x21;
    EnterGame();
    core->keys[KeyFriends] = CodeF;
    auto* column =
        static_cast<Panel*>(core->AddWindow(new Panel(core.get(), nullptr, Panel::Left)));
    auto* statusPanel = new Paneltop(core.get(), column);
    column->Add(statusPanel);
    core->paneltopWindow = statusPanel;
    FakePlatform::heldKeys = {VK_CONTROL};
    Press('F', CodeF);
    Press('F', CodeF);
    int lists = 0;
    for (const Window* window : core->windows) lists += window->typeId == WindowType::Friendlist;
    EXPECT_EQ(lists, 1);
}

}  // namespace
