#pragma once
// The client's one way to Steam: the Steam API library beside the program (SteamLibraryName),
// loaded at run time. A missing library, a missing entry point or a failed SteamAPI_Init all
// mean that Steam is not running: the calls below then do nothing and User answers null.
#include "steamapi.h"

constexpr const char* SteamLibraryName = "steam_api.dll";

namespace Steam {
// Loads the library and starts Steam; true when Steam runs.
bool Start();
// Shuts Steam down when the library was loaded, whether or not Steam started, and unloads it.
void Shutdown();
void RunCallbacks();
// The user interface of the current Steam context; null while Steam is not running.
SteamUser* User();
// True when the library took the callback object.
bool Register(SteamCallbackBase* callback, int32_t callbackId);
void Unregister(SteamCallbackBase* callback);
}  // namespace Steam

// A callback object registered for Answer's callback id while it lives, which hands each answer
// to a member function of its owner.
template <class Owner, class Answer>
class SteamCallback : public SteamCallbackBase {
public:
    using Handler = void (Owner::*)(const Answer& answer);

    SteamCallback(Owner* owner, Handler handler)
        : owner(owner), handler(handler), registered(Steam::Register(this, Answer::CallbackId)) {}
    ~SteamCallback() {
        if (registered) Steam::Unregister(this);
    }
    SteamCallback(const SteamCallback&) = delete;
    SteamCallback& operator=(const SteamCallback&) = delete;

    void Run(void* answer) override { (owner->*handler)(*static_cast<const Answer*>(answer)); }
    int32_t GetCallbackSizeBytes() override { return int32_t(sizeof(Answer)); }

private:
    Owner* owner;
    Handler handler;
    bool registered;
};
