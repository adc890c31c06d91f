// A stand-in for the Steam API library, built for the tests and never shipped: tests put it
// beside the program under test under the library's name, script it through a control file
// beside it and read the log it writes there.
//
// The control file (ControlName) holds one "key value" line per setting and is read anew at
// every call:
//   init           1: SteamAPI_Init succeeds; without the file or the key it fails
//   steam_id       what GetSteamID answers
//   ticket_handle  what GetAuthTicketForWebApi answers; 0 (the default) is its failure
//   ticket_result  the result code of the ticket answer (default 1, success)
//   ticket         the ticket's bytes in hex
//   ticket_size    the size the ticket answer reports (default: the number of ticket bytes)
//   purchase       "ORDER AUTHORISED": a purchase answer; delivered once, on the next run of the
//                  callbacks, and once more whenever the line changes
// A ticket answer is delivered on the first run of the callbacks after a ticket was asked for.
//
// The log (LogName) gets one line per call: the entry point or operation and its arguments, and
// "deliver ID" for each answer handed to a callback object.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "steamapi.h"

#define STUB_EXPORT extern "C" __declspec(dllexport)

namespace {

const char* const ControlName = "steam_stub.txt";
const char* const LogName = "steam_stub.log";

HMODULE self = nullptr;

std::string Beside(const char* name) {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(self, path, MAX_PATH);
    const std::string library(path, length);
    return library.substr(0, library.find_last_of("\\/") + 1) + name;
}

std::map<std::string, std::string> ReadControl() {
    std::map<std::string, std::string> control;
    FILE* file = std::fopen(Beside(ControlName).c_str(), "r");
    if (!file) return control;
    char line[8192];
    while (std::fgets(line, sizeof line, file)) {
        std::string text(line);
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
        const size_t space = text.find(' ');
        if (space != std::string::npos) control[text.substr(0, space)] = text.substr(space + 1);
    }
    std::fclose(file);
    return control;
}

std::string Setting(const char* key, const char* fallback) {
    const auto control = ReadControl();
    const auto found = control.find(key);
    return found == control.end() ? fallback : found->second;
}

long long Number(const char* key, long long fallback) {
    const std::string text = Setting(key, "");
    return text.empty() ? fallback : std::strtoll(text.c_str(), nullptr, 10);
}

std::vector<uint8_t> HexBytes(const std::string& text) {
    std::vector<uint8_t> bytes;
    std::string digits;
    for (char c : text)
        if (c != ' ') digits += c;
    for (size_t at = 0; at + 1 < digits.size(); at += 2)
        bytes.push_back(uint8_t(std::strtoul(digits.substr(at, 2).c_str(), nullptr, 16)));
    return bytes;
}

void Log(const std::string& line) {
    if (FILE* file = std::fopen(Beside(LogName).c_str(), "a")) {
        std::fprintf(file, "%s\n", line.c_str());
        std::fclose(file);
    }
}

struct Registration {
    SteamCallbackBase* callback;
    int32_t id;
};

bool started = false;
uintptr_t contextCounter = 0;
std::vector<Registration> registrations;
bool ticketAsked = false;
uint32_t askedHandle = 0;
std::string deliveredPurchase;

// Hands an answer to every object registered for its id whose size matches.
template <class Answer>
void Deliver(Answer& answer) {
    const std::vector<Registration> now = registrations;
    for (const Registration& registration : now) {
        if (registration.id != Answer::CallbackId) continue;
        if (registration.callback->GetCallbackSizeBytes() != int32_t(sizeof(Answer))) {
            Log("size mismatch " + std::to_string(Answer::CallbackId));
            continue;
        }
        Log("deliver " + std::to_string(Answer::CallbackId));
        registration.callback->Run(&answer);
    }
}

void DeliverTicket() {
    SteamTicketAnswer answer = {};
    answer.handle = askedHandle;
    answer.result = int32_t(Number("ticket_result", 1));
    const std::vector<uint8_t> bytes = HexBytes(Setting("ticket", ""));
    const size_t copied = bytes.size() < sizeof answer.ticket ? bytes.size() : sizeof answer.ticket;
    if (copied) std::memcpy(answer.ticket, bytes.data(), copied);
    answer.ticketSize = int32_t(Number("ticket_size", int32_t(bytes.size())));
    Deliver(answer);
}

void DeliverPurchase(const std::string& line) {
    SteamPurchaseAnswer answer = {};
    char* end = nullptr;
    answer.orderId = std::strtoull(line.c_str(), &end, 10);
    answer.authorised = uint8_t(std::strtoul(end, nullptr, 10));
    Deliver(answer);
}

class StubUser : public SteamUser {
public:
    uint32_t GetAuthTicketForWebApi(const char* identity) override {
        askedHandle = uint32_t(Number("ticket_handle", 0));
        ticketAsked = askedHandle != 0;
        Log(std::string("GetAuthTicketForWebApi ") + identity + " " + std::to_string(askedHandle));
        return askedHandle;
    }
    uint64_t GetSteamID() override {
        Log("GetSteamID");
        return std::strtoull(Setting("steam_id", "0").c_str(), nullptr, 10);
    }
    void CancelAuthTicket(uint32_t handle) override {
        Log("CancelAuthTicket " + std::to_string(handle));
    }
} user;

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) self = instance;
    return TRUE;
}

STUB_EXPORT bool SteamAPI_Init() {
    started = Number("init", 0) == 1;
    if (started) ++contextCounter;
    Log(std::string("SteamAPI_Init ") + (started ? "1" : "0"));
    return started;
}

STUB_EXPORT void SteamAPI_Shutdown() {
    Log("SteamAPI_Shutdown");
    started = false;
    registrations.clear();
}

STUB_EXPORT void SteamAPI_RunCallbacks() {
    Log("SteamAPI_RunCallbacks");
    if (!started) return;
    if (ticketAsked) {
        ticketAsked = false;
        DeliverTicket();
    }
    const std::string purchase = Setting("purchase", "");
    if (!purchase.empty() && purchase != deliveredPurchase) {
        deliveredPurchase = purchase;
        DeliverPurchase(purchase);
    }
}

STUB_EXPORT void SteamAPI_RegisterCallback(SteamCallbackBase* callback, int32_t callbackId) {
    Log("SteamAPI_RegisterCallback " + std::to_string(callbackId));
    registrations.push_back({callback, callbackId});
}

STUB_EXPORT void SteamAPI_UnregisterCallback(SteamCallbackBase* callback) {
    for (auto at = registrations.begin(); at != registrations.end(); ++at) {
        if (at->callback != callback) continue;
        Log("SteamAPI_UnregisterCallback " + std::to_string(at->id));
        registrations.erase(at);
        return;
    }
}

STUB_EXPORT HSteamUser SteamAPI_GetHSteamUser() { return started ? 1 : 0; }

STUB_EXPORT void* SteamInternal_FindOrCreateUserInterface(HSteamUser steamUser,
                                                          const char* version) {
    Log(std::string("SteamInternal_FindOrCreateUserInterface ") + version);
    const bool known = started && steamUser == 1 && std::strcmp(version, SteamUserVersion) == 0;
    return known ? static_cast<SteamUser*>(&user) : nullptr;
}

STUB_EXPORT void* SteamInternal_ContextInit(void* context) {
    auto* kept = static_cast<SteamContext*>(context);
    if (kept->counter != contextCounter) {
        kept->counter = contextCounter;
        kept->fill(kept);
    }
    return kept;
}
