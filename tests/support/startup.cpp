#include "support/startup.h"

#include <cstdio>
#include <filesystem>

#include "driver/gfxcore.h"
#include "screen.h"

InFolder::InFolder(const std::string& path) {
    char current[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, current);
    previous = current;
    SetCurrentDirectoryA(path.c_str());
}

InFolder::~InFolder() { SetCurrentDirectoryA(previous.c_str()); }

TemporaryFolder::TemporaryFolder() {
    static int counter = 0;
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    // A folder of an earlier run may survive (files still open when it ended): never reuse one.
    do {
        path = std::string(base) + "veltor-test-" + std::to_string(GetCurrentProcessId()) + "-" +
               std::to_string(++counter);
    } while (!std::filesystem::create_directory(path));
    inside.emplace(path);
}

TemporaryFolder::~TemporaryFolder() {
    inside.reset();
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

std::map<std::string, uint32_t> StartupDataVersions() {
    return {{"Veltor.data", 1},  {"Veltor.shapes", 2}, {"Veltor.books", 4}, {"Veltor.quests", 8},
            {"Veltor.maps", 16}, {"Veltor.skin", 32},  {"Veltor.font", 64}, {"Veltor.spells", 128}};
}

void WriteStartupData(const std::map<std::string, uint32_t>& versions) {
    std::filesystem::create_directories("data");
    for (const auto& [name, version] : versions) {
        FILE* file = fopen(("data/" + name).c_str(), "wb");
        ASSERT_NE(file, nullptr);
        const unsigned char bytes[4] = {static_cast<unsigned char>(version),
                                        static_cast<unsigned char>(version >> 8),
                                        static_cast<unsigned char>(version >> 16),
                                        static_cast<unsigned char>(version >> 24)};
        fwrite(bytes, 1, sizeof bytes, file);
        // The image packs and the spells go on with an image, font or spell count: none.
        if (name == "Veltor.skin" || name == "Veltor.font" || name == "Veltor.spells")
            fwrite("\0\0", 1, 2, file);
        // The books and quests files go on with an index count: none.
        if (name == "Veltor.books" || name == "Veltor.quests") fwrite("\0\0\0\0", 1, 4, file);
        // The map atlas goes on with its entry count: no maps.
        if (name == "Veltor.maps") fwrite("\0\0\0\0", 1, 4, file);
        // The sprite data goes on with its header list: empty, and no shape records.
        if (name == "Veltor.data") fwrite("\0", 1, 1, file);
        fclose(file);
    }
}

namespace {

BOOL CALLBACK DestroyMainWindow(HWND window, LPARAM) {
    char name[32];
    if (GetClassNameA(window, name, sizeof name) && std::string(name) == "Quarvel")
        DestroyWindow(window);
    return TRUE;
}

}  // namespace

void DiscardFailedStart() {
    _fcloseall();  // files a loader had open when start-up ended
    EnumThreadWindows(GetCurrentThreadId(), DestroyMainWindow, 0);
    delete Screen::instance;
    UnregisterClassA("Quarvel", GetModuleHandleA(nullptr));
    GFX_Unload();
    GFX_ClearErrors();
    DrainMessages();
}

void DrainMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
}

void StartedCore::SetUp() {
    WriteStartupData(StartupDataVersions());
    core = new Core(GetModuleHandleA(nullptr), SW_HIDE, 0);
}

void StartedCore::TearDown() {
    delete core;
    DrainMessages();
}
