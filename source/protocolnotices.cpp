// The game-state messages in which the server tells about itself: it crashed, it is suspended
// for an update, and the suspension is over. The first two halt the game behind a notice: nothing
// is sent until the game is entered again or left.
#include "core.h"
#include "protocol.h"
#include "windows/front/crash.h"
#include "windows/front/suspend.h"
#include "windows/toolkit/windowtypes.h"

// One notice stands for the crash too, however often the server repeats it.
void Protocol::server_crashed() {
    core->gameHalted = 1;
    if (!core->FindWindow(WindowType::Crash)) core->AddWindow(new Crash(core));
    for (StatusEffect& effect : core->statusEffects) effect.active = 0;
    core->statTable.clear();
}

// One notice stands for the whole suspension, however often the server repeats it.
void Protocol::server_suspended() {
    core->gameHalted = 1;
    if (!core->FindWindow(WindowType::Suspend)) core->AddWindow(new Suspend(core));
}

void Protocol::suspension_over() {
    while (Window* notice = core->FindWindow(WindowType::Suspend)) core->RemoveWindow(notice);
}
