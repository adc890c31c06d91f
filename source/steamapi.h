#pragma once
// The part of the Steam API that the client uses, declared once for the client and for any
// library that stands in for Steam: the library's C entry points, the callback objects it calls
// back, the two answers it delivers, and the user interface of version "SteamUser023". The client
// never links these entry points; it loads the library at run time (steam.h).
#include <cstdint>

using HSteamUser = int32_t;

// An object the library calls with each answer of the callback id it was registered for, from
// inside SteamAPI_RunCallbacks. The library delivers only to objects whose size matches its own.
class SteamCallbackBase {
public:
    virtual void Run(void* answer) = 0;
    virtual int32_t GetCallbackSizeBytes() = 0;

protected:
    ~SteamCallbackBase() = default;
};

// Callback 168: the ticket asked for with GetAuthTicketForWebApi.
struct SteamTicketAnswer {
    static const int32_t CallbackId = 168;
    static const int32_t TicketCapacity = 2560;
    uint32_t handle;
    int32_t result;  // 1: the ticket is valid
    int32_t ticketSize;
    uint8_t ticket[TicketCapacity];
};
static_assert(sizeof(SteamTicketAnswer) == 2572, "the size the library delivers");

// Callback 152: the player's answer to a micro-transaction the game server started.
struct SteamPurchaseAnswer {
    static const int32_t CallbackId = 152;
    uint32_t appId;
    alignas(8) uint64_t orderId;
    uint8_t authorised;  // non-zero: the player authorised the purchase
};
static_assert(sizeof(SteamPurchaseAnswer) == 24, "the size the library delivers");

// The user interface of version SteamUserVersion: the operations the client calls.
class SteamUser {
public:
    // A ticket handle, 0 on failure; the ticket itself arrives later as callback 168.
    virtual uint32_t GetAuthTicketForWebApi(const char* identity) = 0;
    virtual uint64_t GetSteamID() = 0;
    virtual void CancelAuthTicket(uint32_t handle) = 0;

protected:
    ~SteamUser() = default;
};

constexpr const char* SteamUserVersion = "SteamUser023";

// What the client keeps per Steam context. SteamInternal_ContextInit calls `fill` whenever the
// library's context changed since `counter` was stored (the first time, and after Steam was
// started anew), then answers the context itself.
struct SteamContext {
    void (*fill)(SteamContext* context);
    uintptr_t counter;
    SteamUser* user;
};

extern "C" {
bool SteamAPI_Init();
void SteamAPI_Shutdown();
void SteamAPI_RunCallbacks();
void SteamAPI_RegisterCallback(SteamCallbackBase* callback, int32_t callbackId);
void SteamAPI_UnregisterCallback(SteamCallbackBase* callback);
HSteamUser SteamAPI_GetHSteamUser();
void* SteamInternal_FindOrCreateUserInterface(HSteamUser user, const char* version);
void* SteamInternal_ContextInit(void* context);
}
