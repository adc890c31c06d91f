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

// --- World model --------------------------------------------------------------------------------
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
    // A speech text above a creature.
    void Add(const std::string& text, Creature* speaker);

    std::vector<std::string> texts;
};

class Motions : public EffectList {
public:
    using EffectList::EffectList;
};

class Throws : public EffectList {
public:
    using EffectList::EffectList;
};

// Weather and daylight: the two amounts of falling weather the world's shelter mask follows,
// the light value last applied, and the scroll offsets that follow the camera.
class Weather {
public:
    explicit Weather(Core* owner);
    virtual ~Weather();
    // A new light value after a step of the player; changed: a floor change to another value.
    void Update(uint32_t value, uint8_t changed);
    void Scroll(float dx, float dy);

    Core* owner;
    int32_t rainValue = 0;
    int32_t snowValue = 0;
    uint32_t lightValue = 0;
    float scrollX = 0, scrollY = 0;
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
class Creature;

// A chat page of the console or the chat box: keeps the lines added to it and its tab mark.
class Channel {
public:
    explicit Channel(uint8_t id = 0);
    void AddLine(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha, const std::string& text);
    // A line said by a creature (its speech echoed into the chat).
    void AddNamedLine(const std::string& text, Creature* speaker);
    // A line with a speaker's name (empty for system lines).
    void AddSpeakerText(const std::string& speaker, const std::string& text);
    void SetTabMark(uint8_t mark);

    struct Line {
        std::string text;
        uint32_t colour;  // 0xAARRGGBB
        std::string speaker;
    };
    uint8_t id;
    std::vector<Line> lines;
    uint8_t tabMark = 0;
};

// The chat box: its channels by id.
class Chatbox : public Window {
public:
    explicit Chatbox(Core* core);
    // The channel of an id, or null.
    Channel* FindChannel(uint32_t id);
    // Tab and Shift+Tab with no other input to focus: the next or previous tab, wrapping around.
    void SelectNextTab();
    void SelectPreviousTab();

    std::map<uint32_t, Channel> channels;
    size_t selectedTab = 0;  // index into the channels in id order
};

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

// The friends list window (type 52): only the scroll range that Core::ToggleFoe updates.
class Friendlist : public Window {
public:
    explicit Friendlist(Core* core);
    // 13 pixels a row plus 4; every friend record is a row here.
    void UpdateScroll();

    int32_t scrollTotal = 4;
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
