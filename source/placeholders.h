#pragma once
// Stand-ins for the parts of the client that are not built yet: each does the least the core
// needs to start, run a frame and shut down, and is replaced by the real class or function.
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core.h"
#include "windows/toolkit/window.h"
#include "driver/gfxcore.h"
#include "font.h"
#include "item.h"
#include "position.h"
#include "render.h"
#include "shapes.h"

// --- Data files --------------------------------------------------------------------------------
// Opens a data file for reading, or ends the program with "Failed to load \"<shownName>\".".
FILE* OpenDataFile(Core* core, const char* path, const char* shownName);
// Adds the leading u32 of an open data file to Core::dataVersion.
void AddDataVersion(Core* core, FILE* file);

// World-map atlas: adds the atlas's leading word.
class MapDriver {
public:
    explicit MapDriver(Core* owner);
    virtual ~MapDriver();

    Core* owner;
};

struct JournalMarker;
// Replaces the journal markers of the map driver's current map part with these (world
// coordinates, made relative to the part's world origin); false while no map is loaded. This
// stand-in has no maps: it keeps nothing and answers false.
bool PlaceJournalMarkers(MapDriver* driver, const std::vector<JournalMarker>& markers);

// --- World model --------------------------------------------------------------------------------
class Creature {
public:
    void Walk(uint32_t direction);
    void StampTime();

    Position position;  // the tile it stands on
    uint8_t typing = 0;
};

class World {
public:
    virtual ~World();
    void UpdateCreatures();
};

// --- Network ------------------------------------------------------------------------------------
// The Steam callback holder a connection keeps during a Steam login (replaced by the Steam login).
class SessionCallback {
public:
    virtual ~SessionCallback();
};

// --- Windows ------------------------------------------------------------------------------------
// The main screen.
class Desktop : public Window {
public:
    explicit Desktop(Core* core);
};

// --- Game screen (replaced by the game field windows) -------------------------------------------
// The frame around the game field: keeps the field's viewport.
class Padding : public Window {
public:
    Padding(Core* core, Window* owner);
    WindowRect fieldRect{};
};

// The game field window, kept in Core::fieldWindow; its frame is `padding`.
class Field : public Window {
public:
    Field(Core* core, Padding* padding);
    Padding* padding;
};

// A chat page of the console: keeps the lines added to it and its tab mark.
class Channel {
public:
    explicit Channel(uint8_t id);
    void AddLine(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha, const std::string& text);
    void SetTabMark(uint8_t mark);

    struct Line {
        std::string text;
        uint32_t colour;  // 0xAARRGGBB
    };
    uint8_t id;
    std::vector<Line> lines;
    uint8_t tabMark = 0;
};

// The console (Core::consoleWindow): only its chat pages.
class Console : public Window {
public:
    explicit Console(Core* core);
    Channel* FindChannel(uint8_t id);

    std::vector<std::unique_ptr<Channel>> channels;
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
    // What the yes/no box asks of the open list.
    void DeleteSelected();
    void RestoreSelected();
    void Close() override;

    std::vector<AvatarEntry> avatars;
    uint32_t deletions = 0;
    uint32_t restorations = 0;
};

// The window that links an account to Steam.
class Link : public Window {
public:
    explicit Link(Core* core);
};

// --- Game dialogs (replaced by their windows) ----------------------------------------------------
// The inspection tooltip: keeps what it was opened with and closes itself when its time has run
// out; it draws nothing.
class Look : public Window {
public:
    Look(Core* core, std::string title, std::string text, int32_t x, int32_t y, uint8_t hintStyle);
    void Draw() override;

    uint64_t openedAt;
    std::string title;
    std::string text;
    uint8_t hintStyle;
    int32_t lifetimeMs = 5000;
};

// The shop window: only the sale the yes/no box confirms.
class Shop : public Window {
public:
    explicit Shop(Core* core);
    void ConfirmSell();

    uint32_t salesConfirmed = 0;
};
