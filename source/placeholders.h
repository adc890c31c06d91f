#pragma once
// Stand-ins for the parts of the client that are not built yet: each does the least the core
// needs to start, run a frame and shut down, and is replaced by the real class or function.
#include <cstdint>
#include <cstdio>
#include <string>

#include "core.h"
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
class Item {
public:
    Item(Core* owner, uint32_t shapeId, uint32_t subId, uint16_t x, uint16_t y, uint8_t z,
         uint32_t count, uint32_t kind);
    virtual ~Item();
};

class Creature {
public:
    void Walk(uint32_t direction);
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

    SessionCallback* sessionCallback = nullptr;
};

// --- Windows ------------------------------------------------------------------------------------
class Window {
public:
    virtual ~Window();
    virtual void Paint();
    virtual void Draw();
    virtual void Place(int32_t width, int32_t height);
    virtual void OnOpen();
    virtual void Close();

    Core* core = nullptr;
    Window* owner = nullptr;
    uint32_t typeId = 0;
    uint32_t state = 1;
    uint8_t dirty = 0;
    uint8_t modal = 0;
};

// The main screen.
class Desktop : public Window {
public:
    explicit Desktop(Core* core);
};

class Message : public Window {
public:
    Message(Core* core, const std::string& title, const std::string& text, uint8_t flag);
    std::string title;
    std::string text;
};

class Status : public Window {
public:
    Status(Core* core, const std::string& title, const std::string& text, uint32_t kind);
    std::string title;
    std::string text;
    uint32_t kind;
};
