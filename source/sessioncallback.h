#pragma once
// What a connection keeps while it waits for Steam: the two Steam callbacks of a Steam login or a
// store purchase, and what they delivered. Steam calls them inside SteamAPI_RunCallbacks; they
// only store the answer and post SteamMessage to the main window, so that the connection acts on
// it from the main loop (Protocol::OnSteamCallback).
#include <cstdint>
#include <optional>
#include <vector>

#include "steam.h"
#include "win32.h"

class Core;

class SessionCallback {
public:
    explicit SessionCallback(Core* core);
    virtual ~SessionCallback();
    SessionCallback(const SessionCallback&) = delete;
    SessionCallback& operator=(const SessionCallback&) = delete;

    // The message's lParam for each kind of answer.
    static const LPARAM TicketAnswer = 0;
    static const LPARAM PurchaseAnswer = 1;

    void OnAuthSessionAvailable(const SteamTicketAnswer& answer);
    void OnAuthMicroAvailable(const SteamPurchaseAnswer& answer);

    int32_t ticketResult = 0;  // 1: success
    // The ticket's bytes; none before a ticket arrived, and none when its size did not fit the
    // answer's buffer.
    std::optional<std::vector<uint8_t>> ticket;
    uint64_t orderId = 0;
    uint8_t authorised = 0;
    Core* core;

private:
    SteamCallback<SessionCallback, SteamTicketAnswer> ticketCallback;
    SteamCallback<SessionCallback, SteamPurchaseAnswer> purchaseCallback;
};
