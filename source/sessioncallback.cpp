#include "sessioncallback.h"

#include "core.h"
#include "screen.h"

// The ticket's size travels as a u16 in the Steam login: every size the buffer holds fits.
static_assert(SteamTicketAnswer::TicketCapacity <= 0xFFFF, "ticket sizes fit the login's u16");

SessionCallback::SessionCallback(Core* core)
    : core(core),
      ticketCallback(this, &SessionCallback::OnAuthSessionAvailable),
      purchaseCallback(this, &SessionCallback::OnAuthMicroAvailable) {}

SessionCallback::~SessionCallback() = default;

void SessionCallback::OnAuthSessionAvailable(const SteamTicketAnswer& answer) {
    ticketResult = answer.result;
    ticket.reset();
    if (answer.ticketSize >= 0 && answer.ticketSize <= SteamTicketAnswer::TicketCapacity)
        ticket.emplace(answer.ticket, answer.ticket + answer.ticketSize);
    PostMessageA(core->hwnd, SteamMessage, WPARAM(uint32_t(answer.result)), TicketAnswer);
}

void SessionCallback::OnAuthMicroAvailable(const SteamPurchaseAnswer& answer) {
    orderId = answer.orderId;
    authorised = answer.authorised;
    PostMessageA(core->hwnd, SteamMessage, WPARAM(uint32_t(answer.orderId)), PurchaseAnswer);
}
