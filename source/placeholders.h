#pragma once
// Stand-ins for the parts of the client that are not built yet: each does the least the core
// needs to start, run a frame and shut down, and is replaced by the real class or function.
#include <cstdint>
#include <cstdio>
#include <string>

#include "core.h"
#include "windows/toolkit/window.h"
#include "driver/gfxcore.h"
#include "font.h"
#include "render.h"

// --- Settings file (replaced by config.h) -----------------------------------------------------
// Sets the defaults the core needs; reads and writes no file.
class Config {
public:
    Config(Core* owner, const std::string& path);
    virtual ~Config();
    void Write();

    Core* owner;
    std::string path;
};

// --- Data files --------------------------------------------------------------------------------
// Opens a data file for reading, or ends the program with "Failed to load \"<shownName>\".".
FILE* OpenDataFile(Core* core, const char* path, const char* shownName);
// Adds the leading u32 of an open data file to Core::dataVersion.
void AddDataVersion(Core* core, FILE* file);

// Sprite shapes: opens the pixel file, then the sprite data, and adds both leading words.
class Shapes {
public:
    explicit Shapes(Core* owner);
    virtual ~Shapes();
    uint32_t GetHeaderValue(uint32_t index) const;

    Core* owner;
};

// World-map atlas: adds the atlas's leading word.
class MapDriver {
public:
    explicit MapDriver(Core* owner);
    virtual ~MapDriver();

    Core* owner;
};

// --- World model --------------------------------------------------------------------------------
class Thing {
public:
    virtual ~Thing() = default;
};

class Item : public Thing {
public:
    Item(Core* owner, uint32_t shapeId, uint32_t subId, uint16_t x, uint16_t y, uint8_t z,
         uint32_t count, uint32_t kind);
    ~Item() override;
    void Refresh(uint8_t resolve);
    void DrawIcon(int32_t x, int32_t y, Font* font);
    void DrawIconAmount(int32_t x, int32_t y, Font* font);

    uint32_t count = 0;
    uint8_t animated = 0;
};

class Creature {
public:
    void Walk(uint32_t direction);
    void StampTime();

    uint8_t typing = 0;
};

class World {
public:
    virtual ~World();
    void UpdateCreatures();
};

class Spell {
public:
    virtual ~Spell();
};

// --- Network ------------------------------------------------------------------------------------
class SessionCallback;

class Protocol {
public:
    virtual ~Protocol();
    void OnSocketEvent(WPARAM wParam, LPARAM lParam);
    void OnSteamCallback(WPARAM wParam, LPARAM lParam);
    void SendPing();
    void SendTalk(uint8_t channel, const std::string& text);
    void SendUseCancel();
    void SendConfirmYes();
    void SendConfirmNo();
    void SendTyping(bool typing);
    void Cancel();

    SessionCallback* sessionCallback = nullptr;
    std::vector<uint8_t> sentOps;  // the opcodes of the requests sent, in order
    uint8_t cancelled = 0;
};

// Decodes each UTF-8 sequence of the text into one byte, the low byte of its code point.
void ConvertText(std::string& text);

// --- Windows ------------------------------------------------------------------------------------
// The main screen.
class Desktop : public Window {
public:
    explicit Desktop(Core* core);
};
