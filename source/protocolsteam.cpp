// The Steam login (connect kinds 5 and 6) and the store's purchases: the two exchanges of a
// connection that wait for Steam's answer.
#include "core.h"
#include "loginblock.h"
#include "protocol.h"
#include "sessioncallback.h"
#include "steam.h"
#include "windows/game/paneltop.h"
#include "windows/toolkit/windowtypes.h"

namespace {

const char* const AuthorisationFailed = "Steam Authorisation Failed";
// The identity the game server checks the ticket against.
const char* const TicketIdentity = "gameserver";
const uint8_t SteamLogin = 8;
const uint8_t SteamLink = 9;
const uint8_t StorePurchase = 225;
const uint8_t StoreAuthorisation = 226;

}  // namespace

void Protocol::RequestSteamTicket() {
    SteamUser* user = Steam::User();
    ticketHandle = user ? user->GetAuthTicketForWebApi(TicketIdentity) : 0;
    if (ticketHandle == 0) {
        core->OnDisconnect(AuthorisationFailed);
        return;
    }
    delete pending;
    pending = new SessionCallback(core);
    ClearPending();
}

void Protocol::OnSteamCallback(WPARAM, LPARAM lParam) {
    if (!pending) {
        core->ShowStatus("Veltor", "Steam Callback Error.");
        return;
    }
    if (lParam == SessionCallback::TicketAnswer) SendSteamLogin(*pending);
    else if (lParam == SessionCallback::PurchaseAnswer) SendStoreAuthorisation(*pending);
    delete pending;
    pending = nullptr;
}

void Protocol::SendSteamLogin(const SessionCallback& answer) {
    ticketPending = 1;
    SteamUser* user = Steam::User();
    if (answer.ticketResult != 1 || !answer.ticket || !user) {
        core->ShowStatus("Veltor", AuthorisationFailed);
        return;
    }
    SetSessionKey(MakeSessionKey(core->password, challenge));
    const bool linking = core->connectKind == 6;
    uint8_t block[LoginBlockSize];
    if (!EncipherLoginBlock(LoginPlaintext(sessionKey, linking ? core->loginName : ""), block)) {
        core->OnDisconnect("Encryption error.");
        return;
    }
    NetworkMessage message;
    message.AddByte(linking ? SteamLink : SteamLogin);
    message.AddU64(user->GetSteamID());
    message.AddCString("en");
    message.AddU16(uint16_t(answer.ticket->size()));
    for (uint8_t byte : *answer.ticket) message.AddByte(byte);
    for (uint8_t byte : block) message.AddByte(byte);
    flush(message);
}

void Protocol::SendStorePurchase(uint32_t days) {
    Send(StorePurchase, days);
    delete pending;
    pending = new SessionCallback(core);
}

void Protocol::SendStoreAuthorisation(const SessionCallback& answer) {
    Send(StoreAuthorisation, answer.orderId, answer.authorised);
}

// The server's count of the player's noble days, which a purchase raises.
void Protocol::noble_days() {
    const uint32_t days = inBuffer.GetU32();
    if (inBuffer.Failed()) return;
    if (days > core->nobleDaysLeft)
        core->ShowMessage("Store", "Congratulations! You've purchased extra noble days.", 0);
    core->nobleDaysLeft = days;
    core->MarkWindowsDirty(WindowType::Store);
    UpdateHouseWarning(*core);
}
