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
// A creature with the fields and operations the world, the tiles and the core use (replaced by
// the creature model).
class Creature {
public:
    Creature(Core* owner, uint32_t id, uint32_t shapeId, uint32_t outfit,
             const std::vector<Shape*>& lightShapes, Position position, const std::string& name,
             uint8_t health, uint16_t speed, uint8_t seated);
    Creature() = default;  // a bare creature of no Core
    virtual ~Creature();
    Creature(const Creature&) = delete;
    Creature& operator=(const Creature&) = delete;

    void Walk(int32_t direction);
    void StampTime();
    void FaceStep(int32_t dx, int32_t dy);
    void RefreshFrames();
    void SetDirection(int32_t direction);
    void SetSitting(uint8_t value);
    void UpdateWalk();
    void Draw(int32_t x, int32_t y);
    void DrawOverhangLower(int32_t column, int32_t row, int32_t x, int32_t y, uint8_t adjust);
    void DrawOverhangUpper(int32_t column, int32_t row, int32_t x, int32_t y, uint8_t adjust);

    Core* owner = nullptr;
    uint32_t direction = 4;
    uint32_t desiredDirection = 4;
    Position position;
    std::string name;
    uint8_t moving = 0;
    uint8_t moveable = 1;
    uint8_t walking = 0;
    uint8_t seated = 0;
    uint32_t id = 0;  // the server's creature id
    uint8_t typing = 0;
    uint8_t isPrivileged = 0;  // the player's state byte: may log out in combat
    uint64_t targetTime = 0;   // frame time at which it became a target
    uint8_t talk = 0;
    uint8_t playerFlag = 0;
    uint8_t examineOnly = 0;
    uint8_t sitReady = 1;
};

// Speech texts, floating numbers and projectiles: lists of owned effect objects (replaced by
// the effects).
class FieldEffect {
public:
    virtual ~FieldEffect();
};

class EffectList {
public:
    explicit EffectList(Core* owner);
    virtual ~EffectList();
    EffectList(const EffectList&) = delete;
    EffectList& operator=(const EffectList&) = delete;
    // Deletes every effect and empties the list.
    void Clear();

    Core* owner;
    std::vector<FieldEffect*> effects;  // owned
};

class Paragraphs : public EffectList {
public:
    using EffectList::EffectList;
};

class Motions : public EffectList {
public:
    using EffectList::EffectList;
};

class Throws : public EffectList {
public:
    using EffectList::EffectList;
};

// The on-screen notification lines: keeps the lines it is given.
class Notification {
public:
    explicit Notification(Core* owner);
    virtual ~Notification();
    void Add(uint8_t kind, const std::string& text);

    struct Line {
        uint8_t kind;
        std::string text;
    };
    Core* owner;
    std::vector<Line> lines;
};

// Weather and daylight: the two amounts of falling weather the world's shelter mask follows.
class Weather {
public:
    explicit Weather(Core* owner);
    virtual ~Weather();

    Core* owner;
    int32_t rainValue = 0;
    int32_t snowValue = 0;
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

// The friends list window (type 52): only the scroll range that Core::ToggleFoe updates.
class Friendlist : public Window {
public:
    explicit Friendlist(Core* core);
    // 13 pixels a row plus 4; every friend record is a row here.
    void UpdateScroll();

    int32_t scrollTotal = 4;
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

// --- Game screen: the popup action menu (replaced by the menu window) ---------------------------
// Keeps its title, rows and where it was opened.
class Action : public Window {
public:
    struct Entry {
        uint32_t code;
        std::string label;
        std::string hint;
    };
    Action(Core* core, uint32_t kind, std::string title, uint32_t subjectId);
    void AddEntry(uint32_t code, const std::string& label);
    void AddEntryWithHint(uint32_t code, const std::string& label, const std::string& hint);
    void Open(int32_t screenX, int32_t screenY);

    std::string title;
    uint32_t subjectId;
    std::vector<Entry> entries;
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
