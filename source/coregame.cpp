// Leaving the game and the program: back to the main screen with the lists of the game emptied.
#include <windows.h>

#include "core.h"
#include "windows/front/desktop.h"

void Core::ConfirmLogout() {
    if (!inGame || testWalker.testing) PostQuitMessage(0);
}

void Core::LeaveGame() {
    inGame = 0;
    gameHalted = 0;
    AddWindow(new Desktop(this));
    activeWindow = windows.front();
}

void Core::ClearSessionLists() {
    spellPairs.clear();
    statTable.clear();
    friends.clear();
    partyInvites.clear();
    guilds.clear();
    party.clear();
    pingSamples.clear();
    pingTimes.clear();
    questProgress.clear();
    quests.clear();
}
