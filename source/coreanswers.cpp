// The answers of the yes/no boxes: what "yes" and "no" do for each action code the client asks.
#include "core.h"
#include "mouse.h"
#include "protocol.h"
#include "renderer.h"
#include "windows/dialogs/look.h"
#include "windows/dialogs/shop.h"
#include "windows/front/avatars.h"
#include "windows/front/link.h"
#include "windows/toolkit/sure.h"
#include "windows/toolkit/windowtypes.h"

namespace {

using Outcome = Sure::Outcome;

constexpr int32_t RefusedLogoutHintMs = 2500;

// Refused while the player may not leave (the box stays, a hint says why). Otherwise the game is
// left from inside the box: as the active window it outlives the other windows of the game, and
// it is deleted at the next tick.
Outcome Logout(Sure& box) {
    Core* core = box.core;
    if (!core->CheckPlayerFlag()) {
        core->RefuseLogout();
        return Outcome::Kept;
    }
    core->ActivateWindow(&box);
    core->CloseConnection(0);
    core->LeaveGame();
    return Outcome::Closing;
}

// The shop move, repeated for every stack bought.
Outcome Buy(Sure& box) {
    Core* core = box.core;
    if (!box.item) return Outcome::Closing;
    const int32_t repeats = core->moveMultiplier >= 2 ? core->moveMultiplier : 1;
    for (int32_t i = 0; i < repeats; ++i) core->MoveThing(box.item, false, true, box.moveArg);
    return Outcome::Closing;
}

// The buy move changed the shop item's count; the shop keeps its whole stack.
void CancelBuy(Sure& box) {
    if (!box.item) return;
    box.item->count = box.core->moveStackCount;
    box.item->Refresh(0);
}

Outcome AnswerYes(Sure& box) {
    if (Protocol* connection = box.core->activeConnection) connection->SendConfirmYes();
    return Outcome::Closing;
}

void AnswerNo(Sure& box) {
    if (Protocol* connection = box.core->activeConnection) connection->SendConfirmNo();
}

Outcome LinkSteam(Sure& box) {
    Core* core = box.core;
    if (Window* create = core->FindWindow(WindowType::Create)) create->Close();
    if (Window* avatars = core->FindWindow(WindowType::Avatars)) avatars->Close();
    core->CloseConnection(0);
    Window* link = core->AddWindow(new Link(core));
    link->OnOpen();
    return Outcome::Closing;
}

Avatars* OpenAvatarList(Core* core) {
    return dynamic_cast<Avatars*>(core->FindWindow(WindowType::Avatars));
}

Outcome DeleteAvatar(Sure& box) {
    if (Avatars* avatars = OpenAvatarList(box.core)) avatars->DeleteSelected();
    return Outcome::Closing;
}

Outcome RestoreAvatar(Sure& box) {
    if (Avatars* avatars = OpenAvatarList(box.core)) avatars->RestoreSelected();
    return Outcome::Closing;
}

Outcome DeleteRecording(Sure& box) {
    if (Renderer* list = box.core->recordingList) list->DeleteRecording();
    return Outcome::Closing;
}

// The shop's own sale, then the yes answer; a sale that no longer stands is not answered.
Outcome Sell(Sure& box) {
    auto* shop = dynamic_cast<Shop*>(box.core->FindWindow(WindowType::Shop));
    if (!shop || !shop->ConfirmSell(box.item)) return Outcome::Closing;
    return AnswerYes(box);
}

}  // namespace

void Core::RefuseLogout() {
    const Mouse* mouse = screen ? screen->mouse : nullptr;
    auto* hint = new Look(this, "", "You cannot logout while in combat.", mouse ? mouse->x : 0,
                          mouse ? mouse->y : 0, 0);
    hint->lifetimeMs = RefusedLogoutHintMs;
    AddWindow(hint);
}

void Core::RegisterBoxAnswers() {
    Sure::SetAnswers(Sure::Logout, Logout, nullptr);
    Sure::SetAnswers(Sure::Buy, Buy, CancelBuy);
    Sure::SetAnswers(Sure::SellQuestion, AnswerYes, AnswerNo);
    Sure::SetAnswers(Sure::LinkSteam, LinkSteam, nullptr);
    Sure::SetAnswers(Sure::DeleteAvatar, DeleteAvatar, nullptr);
    Sure::SetAnswers(Sure::RestoreAvatar, RestoreAvatar, nullptr);
    Sure::SetAnswers(Sure::DeleteRecording, DeleteRecording, nullptr);
    Sure::SetAnswers(Sure::Sell, Sell, nullptr);
}
