#pragma once
// Stand-ins for the parts of the client that are not built yet: each does the least the core
// needs to start, run a frame and shut down, and is replaced by the real class or function.
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "core.h"
#include "driver/gfxcore.h"
#include "font.h"
#include "item.h"
#include "render.h"
#include "shapes.h"

// --- Data files --------------------------------------------------------------------------------
// Opens a data file for reading, or ends the program with "Failed to load \"<shownName>\".".
FILE* OpenDataFile(Core* core, const char* path, const char* shownName);
// Adds the leading u32 of an open data file to Core::dataVersion.
void AddDataVersion(Core* core, FILE* file);

// Decodes UTF-8 text from the data files and the server in place, one byte a character: the low
// byte of each character; a malformed or cut sequence becomes "?". (The quest journal's code
// brings the client's own.)
void ConvertText(std::string& text);

// --- World model --------------------------------------------------------------------------------
class Creature {
public:
    void Walk(uint32_t direction);
};

// Ambient light of the world: the light value last applied (bit 7 a flag, the low 7 bits the
// level).
class Weather {
public:
    uint32_t lightValue = 0;
};

class World {
public:
    virtual ~World();
    void UpdateCreatures();

    Weather* weather = nullptr;
};

class Spell {
public:
    virtual ~Spell();
};

// --- Network ------------------------------------------------------------------------------------
// The Steam callback holder a connection keeps during a Steam login (replaced by the Steam login).
class SessionCallback {
public:
    virtual ~SessionCallback();
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

// The world-map window (type 176).
class Map : public Window {
public:
    // Recomputes the view from the map driver's selection.
    void UpdateView();
};

// The minimap panel (type 54).
class Panelmap : public Window {
public:
    void CenterOnPlayer();
};

// --- Front screens (replaced by the avatar list window) ------------------------------------------
// One avatar of the account, in wire order.
struct AvatarEntry {
    uint32_t id = 0;
    uint8_t extraByte = 0;
    uint32_t shapeId = 0;
    uint32_t subId = 0;  // outfit colours; 0 when the shape takes none
    uint16_t level = 0;
    std::string name;
    uint32_t extraWord = 0;
};

// The avatar list: keeps the avatars it is given.
class Avatars : public Window {
public:
    explicit Avatars(Core* core);
    void SetAvatarList(std::vector<AvatarEntry> list);
    void AddAvatar(AvatarEntry entry);

    std::vector<AvatarEntry> avatars;
};
