#include "steam.h"

#include <windows.h>

#include <string>

namespace {

void FillContext(SteamContext* context);

// The loaded library's entry points; all null while it is not loaded.
struct SteamLibrary {
    HMODULE module = nullptr;
    decltype(&SteamAPI_Init) init = nullptr;
    decltype(&SteamAPI_Shutdown) shutdown = nullptr;
    decltype(&SteamAPI_RunCallbacks) runCallbacks = nullptr;
    decltype(&SteamAPI_RegisterCallback) registerCallback = nullptr;
    decltype(&SteamAPI_UnregisterCallback) unregisterCallback = nullptr;
    decltype(&SteamAPI_GetHSteamUser) getUser = nullptr;
    decltype(&SteamInternal_FindOrCreateUserInterface) findInterface = nullptr;
    decltype(&SteamInternal_ContextInit) contextInit = nullptr;
    bool running = false;
    SteamContext context = {FillContext, 0, nullptr};
};

SteamLibrary steam;

void FillContext(SteamContext* context) {
    context->user = static_cast<SteamUser*>(steam.findInterface(steam.getUser(), SteamUserVersion));
}

template <typename Function>
bool Resolve(const char* name, Function& function) {
    function = reinterpret_cast<Function>(
        reinterpret_cast<void (*)()>(GetProcAddress(steam.module, name)));
    return function != nullptr;
}

bool ResolveAll() {
    return Resolve("SteamAPI_Init", steam.init) && Resolve("SteamAPI_Shutdown", steam.shutdown) &&
           Resolve("SteamAPI_RunCallbacks", steam.runCallbacks) &&
           Resolve("SteamAPI_RegisterCallback", steam.registerCallback) &&
           Resolve("SteamAPI_UnregisterCallback", steam.unregisterCallback) &&
           Resolve("SteamAPI_GetHSteamUser", steam.getUser) &&
           Resolve("SteamInternal_FindOrCreateUserInterface", steam.findInterface) &&
           Resolve("SteamInternal_ContextInit", steam.contextInit);
}

// The library is taken from the program's own folder, never from the working folder.
std::string LibraryPath() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return "";
    const std::string program(path, length);
    return program.substr(0, program.find_last_of("\\/") + 1) + SteamLibraryName;
}

}  // namespace

bool Steam::Start() {
    if (steam.module) return steam.running;
    const std::string path = LibraryPath();
    if (path.empty()) return false;
    steam.module = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!steam.module) return false;
    if (!ResolveAll()) {
        FreeLibrary(steam.module);
        steam = SteamLibrary{};
        return false;
    }
    steam.running = steam.init();
    return steam.running;
}

void Steam::Shutdown() {
    if (!steam.module) return;
    steam.shutdown();
    FreeLibrary(steam.module);
    steam = SteamLibrary{};
}

void Steam::RunCallbacks() {
    if (steam.running) steam.runCallbacks();
}

SteamUser* Steam::User() {
    if (!steam.running) return nullptr;
    auto* context = static_cast<SteamContext*>(steam.contextInit(&steam.context));
    return context ? context->user : nullptr;
}

bool Steam::Register(SteamCallbackBase* callback, int32_t callbackId) {
    if (!steam.running) return false;
    steam.registerCallback(callback, callbackId);
    return true;
}

void Steam::Unregister(SteamCallbackBase* callback) {
    if (steam.running) steam.unregisterCallback(callback);
}
