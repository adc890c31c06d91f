// Entering and leaving the game: the game screen built and taken down, the world created and
// deleted, the lists of the game emptied, and the question before logging out.
#include <windows.h>

#include <algorithm>

#include "core.h"
#include "protocol.h"
#include "textsplit.h"
#include "windows/front/desktop.h"
#include "windows/game/channel.h"
#include "windows/game/chatbox.h"
#include "windows/game/console.h"
#include "windows/game/padding.h"
#include "windows/toolkit/sure.h"
#include "windows/toolkit/windowtypes.h"
#include "world.h"

namespace {

// What the test walker asks for as soon as it is in the game.
const char* const TestWalkerEntryText = "teleport sorvan";

}  // namespace

void Core::ConfirmLogout() {
    if (testWalker.testing) QuitTestWalker();
    else if (!inGame) PostQuitMessage(0);
    else AskLogout();
}

void Core::QuitTestWalker() {
    CloseConnection(0);
    LeaveGame();
    PostQuitMessage(0);
}

// A logout box that has not answered yet is the question already asked.
bool Core::AskLogout() {
    const bool asking = std::any_of(windows.begin(), windows.end(), [](Window* window) {
        const auto* box = dynamic_cast<const Sure*>(window);
        return box && box->action == Sure::Logout && !box->answered;
    });
    if (asking) return false;
    AddWindow(new Sure(this, "Logout", "Are you sure you want to logout?", Sure::Logout));
    return true;
}

void Core::EnterGame() {
    ClearSessionLists();
    targets.clear();
    dragTo = nullptr;
    inputModes[InputDrop] = inputModes[InputDragArmed] = 0;

    DeleteWindowsExcept(nullptr);
    activeWindow = focusedInput = nullptr;
    ForgetGameScreen();
    player = nullptr;
    inGame = 1;

    DeleteWorld();
    world = new World(this);

    // The console builds its chat boxes and the side columns, then the frame registers the game
    // field. The field and its frame go to the bottom of the list: a field wider than the room
    // between the columns lies under them, and the console takes its place from the frame.
    consoleWindow = AddWindow(new Console(this));
    consoleWindow->OnOpen();
    Window* frame = AddWindow(new Padding(this, consoleWindow));
    fieldWindow = FindWindow(WindowType::Field);
    for (Window* bottom : {frame, fieldWindow}) {
        if (!bottom) continue;
        windows.erase(std::find(windows.begin(), windows.end(), bottom));
        windows.insert(windows.begin(), bottom);
    }
    leftPanel = containerPanel = FindWindow(WindowType::PanelLeft);
    equipmentWindow = FindWindow(WindowType::Equipment);
    rightPanel = FindWindow(WindowType::PanelRight);
    paneltopWindow = FindWindow(WindowType::Paneltop);
    PlaceWindows();
    activeWindow = consoleWindow;

    if (!activeConnection) return;
    if (testWalker.testing) activeConnection->SendTalk(ChannelId::Console, TestWalkerEntryText);
    for (const std::string& command : SplitText(enterCommands, ';'))
        if (!command.empty()) activeConnection->SendTalk(ChannelId::Console, command);
}

void Core::LeaveGame() {
    if (inGame) {
        SaveChannelPreset();
        SavePanelLayout();
        // The logout runs inside the active window: it only leaves the list, and the next tick
        // deletes it, once its handler has returned.
        Window* running = activeWindow;
        DeleteWindowsExcept(running);
        closedWindows.insert(closedWindows.end(), windows.begin(), windows.end());
        windows.clear();
        activeWindow = focusedInput = nullptr;
        ForgetGameScreen();
        DeleteWorld();
    }
    inGame = 0;
    gameHalted = 0;
    AddWindow(new Desktop(this));
    activeWindow = windows.front();
}

// The chat channels of the console's boxes become the preset the next game opens.
void Core::SaveChannelPreset() {
    const auto* console = dynamic_cast<const Console*>(consoleWindow);
    if (!console || !console->mainChatbox) return;
    std::string names = console->mainChatbox->GetChannelNames();
    if (!options.widescreen && console->secondChatbox) {
        const std::string more = console->secondChatbox->GetChannelNames();
        if (!more.empty()) names += "," + more;
    }
    channelsPreset = names;
}

// One at a time: a window's destructor may take its controls out of the list.
void Core::DeleteWindowsExcept(Window* kept) {
    for (;;) {
        const auto next = std::find_if(windows.begin(), windows.end(),
                                       [kept](Window* window) { return window != kept; });
        if (next == windows.end()) return;
        Window* window = *next;
        windows.erase(next);
        delete window;
    }
}

void Core::ForgetGameScreen() {
    consoleWindow = leftPanel = fieldWindow = equipmentWindow = rightPanel = paneltopWindow =
        chatBox = nullptr;
    containerPanel = nullptr;
}

// The world does not delete its creatures: they leave it first, and with them every pointer the
// Core keeps to one (the player, the targets, the followed creature).
void Core::DeleteWorld() {
    if (world) world->DetachCreatures();
    delete world;
    world = nullptr;
    player = nullptr;
}

void Core::ClearSessionLists() {
    spellPairs.clear();
    ResetSpells();
    statTable.clear();
    friends.clear();
    partyInvites.clear();
    party.clear();
    pingSamples.clear();
    pingTimes.clear();
    questProgress.clear();
    quests.clear();
    guilds.clear();
    hasHouse = 0;
    houseInfo = HouseInfo{};
}
