#pragma once
// The client's model of the visible world while the player is in the game: the floors sorted by
// z, the creatures, the on-field effect lists, weather and notification lines, the light map and
// the fade images, the view rebuild that decides which floors and cells are drawn, the player's
// path search and picking on the game field.
#include <array>
#include <cstdint>
#include <vector>

#include "fieldview.h"
#include "layer.h"
#include "position.h"

class Core;
class Creature;
class Item;
class Motions;
class Notification;
class Paragraphs;
class Shape;
class Thing;
class Throws;
class Tile;
class Weather;
struct GfxOverlay;
struct GfxRenderTarget;

// The light grid: cell (gx, gy) lights view tile (gx - 2, gy - 2); the player's tile is cell
// (12, 10). Cells are packed colours 0xAARRGGBB.
constexpr int32_t LightColumns = 28;
constexpr int32_t LightRows = 24;
// The fade images: the visible field of 21 x 17 tiles.
constexpr int32_t FadeWidth = 672;
constexpr int32_t FadeHeight = 544;
// The local grid of the path search: 32 columns by 28 rows of the player's floor, the player at
// cell (10, 8); cell (x, y) is map position (player x - 10 + x, player y - 8 + y) and has the
// index y + 28x. A cell holds 1 when it cannot be entered.
constexpr int32_t PathColumns = 32;
constexpr int32_t PathRows = 28;
constexpr int32_t PathStartX = 10;
constexpr int32_t PathStartY = 8;
constexpr size_t PathCells = PathColumns * PathRows;
using PathGrid = std::array<uint8_t, PathCells>;

class World {
public:
    explicit World(Core* owner);
    virtual ~World();
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    // Floors and tiles. GetLayer creates a missing floor; FindLayer does not.
    Layer* GetLayer(uint8_t z);
    Layer* FindLayer(int32_t z) const;
    // Positions are packed x | y << 16.
    Tile* GetTile(uint32_t packed, uint8_t z);
    Tile* GetTileXY(uint16_t x, uint16_t y, uint8_t z);
    Tile* GetTileIfExists(uint32_t packed, uint8_t z);
    Tile* CreateTile(Position position);

    // Creatures (owned) and the things that emit light (not owned).
    void AddCreature(Creature* creature);
    // The one way a creature leaves the world: off the tiles that hold it, out of the world's
    // lists and the Core's target, follow, hover and player pointers, and deleted.
    void RemoveCreature(Creature* creature);
    // The player moves to a new centre: every other creature out of view of it leaves.
    void Shift(Position centre);
    Creature* GetCreature(uint32_t id) const;
    void AddLightThing(Thing* thing);
    void RemoveLightThing(Thing* thing);

    // The light level (the mean of red, green and blue) of the grid cell under a point of the
    // world image; 0 outside the grid.
    uint32_t GetLightAt(int32_t px, int32_t py) const;

    // The settings page's floor-fade switch: makes or deletes the two fade images.
    void SetSmoothRendering(bool on);

    // Recomputes every view table for the player's floor and marks the hidden layers.
    void RebuildView(uint8_t floor);
    void FindRoof();
    void ComputeCover();
    void FloodCover(const Layer* roof, int32_t x, int32_t y);
    void UpdateFade();
    void ComputeSideCover();
    void ComputeSkyMask();
    void ComputeOcclusion();

    // The reset of a full-map message, in this order; and the world-modify message's emptying.
    void ClearEffects();
    void DetachCreatures();
    void ClearLayers();
    void DeleteTiles();

    // Whether the creature can sit down on the seat at the top of its tile, or stand up from it:
    // it stands still and is ready to.
    bool CanSitOrStand(const Creature* creature);
    // Turns the creature the seat's way and sits it down, or stands it up, telling the server;
    // false when it cannot.
    bool SitOrStand(Creature* creature);
    // Popup menus on the own creature (or sitting down without a modifier key) and on others.
    bool ShowSelfMenu(int32_t x, int32_t y, Creature* player, Position position);
    bool ShowCreatureMenu(int32_t x, int32_t y, Creature* player, Creature* creature);

    // Picking on the game field; nothing is found without the player creature or a field wide
    // enough to show tiles. The geometry comes from the field window at every call.
    FieldView GetFieldView() const;
    // The first creature added to the world whose box holds the point, hidden ones passed over:
    // on the player's floor, or on the floor shown at the point.
    Creature* PickCreature(int32_t x, int32_t y, bool sameFloor);
    // The tile of the item under the point, which goes to Core::dragFrom with its stack index
    // in Core::pickStack; null when none. lookAround also finds things on the tiles east, south
    // and south-east that are drawn over the point; playerFloor searches the player's floor
    // rather than the one shown there.
    Tile* PickThing(int32_t x, int32_t y, bool lookAround, bool playerFloor);
    // A right click: the self menu on the own creature, a creature's menu on another one; true
    // when a menu was opened.
    bool OnFieldRightClick(int32_t x, int32_t y);
    // The click action on a creature: targets it or lets it go, or for a creature one talks to
    // shows how to speak to it.
    void ShowTalkHint(int32_t x, int32_t y, Creature* player, Creature* creature);

    // The per-frame pass over the creatures (the least its callers need until the world's
    // drawing is built).
    void UpdateCreatures();
    // Draws the visible floors, markers, missiles, fades, rain and snow and the weather layer
    // into the field's world image; inside the field surface's frame.
    void Draw();
    // Draws over the field rectangle on screen: names and bars, speech texts, floating numbers,
    // the field's image and the notification lines.
    void Tick(int32_t x, int32_t y, int32_t w, int32_t h);
    // Overhang entries hold for the frame that made them: each world frame starts without any,
    // and a creature that leaves takes its own. Null drops every entry.
    void DropOverhangs(const Creature* creature = nullptr);

    // Path search. WalkTo plans the player's route to a tile of the local grid and, when there is
    // one, makes it the creature's path (the next direction last); false leaves the path as it
    // was. FindPath is the search alone: the directions from the start cell to the goal cell,
    // last step first; empty when the goal cannot be reached.
    bool WalkTo(Creature* player, Position goal);
    static std::vector<uint8_t> FindPath(const PathGrid& blocked, uint16_t startX, uint16_t startY,
                                         uint16_t goalX, uint16_t goalY);

    // The light grid's sources (the least their callers need until the world's light code is
    // built).
    // One light shape at a view cell of the light grid, with an in-cell offset, on a floor.
    void AddShapeLight(Shape* shape, int32_t column, int32_t row, int32_t inX, int32_t inY,
                       uint8_t z);
    // The light of an item at a view cell.
    void AddItemLight(Item* item, int32_t column, int32_t row);

    // Camera.
    float baseOffsetX = 0, baseOffsetY = 0;
    float cameraX = 0, cameraY = 0;
    float scrollX = 0, scrollY = 0;
    float cameraRate = 0.4f;
    uint64_t createdAt;

    Core* owner;
    GfxOverlay* lightOverlay = nullptr;
    Paragraphs* paragraphs = nullptr;
    Motions* motions = nullptr;
    Throws* throws = nullptr;
    Weather* weather = nullptr;
    Notification* notification = nullptr;
    std::vector<Creature*> creatures;  // owned
    std::vector<Thing*> lightSources;  // not owned
    std::vector<Layer*> layers;        // owned, by ascending z
    std::vector<Creature*> flaggedCreatures;

    // View tables, one byte per slot.
    uint8_t viewTop = 0;
    uint8_t ceiling = 0;
    uint8_t drawFloor = 0;
    uint8_t solidFloor = 255;  // none yet: the first occlusion pass takes its own minimum
    uint8_t cover[LayerSlotCount] = {};
    uint8_t roofFloor[LayerSlotCount] = {};
    uint8_t coverPrev[LayerSlotCount] = {};
    Position previousCentre;
    Position viewCentre;
    uint8_t coveredFrom[LayerSlotCount] = {};
    uint8_t revealedFrom[LayerSlotCount] = {};
    uint8_t revealedFlag = 0;
    uint8_t coveredFlag = 0;
    uint8_t skyMaskReady = 0;
    uint64_t fadeInStart = 0;
    uint64_t fadeOutStart = 0;
    GfxRenderTarget* fadeInTarget = nullptr;
    GfxRenderTarget* fadeOutTarget = nullptr;
    uint8_t viewJumped = 0;
    uint32_t visibleLayers = 0;
    uint8_t sideCover[LayerSlotCount] = {};
    uint8_t sideRoof[LayerSlotCount] = {};
    uint8_t topFloor[LayerSlotCount] = {};
    uint8_t sideResult[LayerSlotCount] = {};
    uint8_t shiftedTop[LayerSlotCount] = {};
    uint8_t occlusion[LayerSlotCount] = {};
    uint8_t skyCover[LayerSlotCount] = {};
    uint8_t cellFloor[LayerSlotCount] = {};
    uint8_t visibleFloor[LayerSlotCount] = {};  // the floor shown: the highest one drawn in full
    bool skyExposed[LayerSlotCount] = {};
    uint32_t lightGrid[LightColumns * LightRows] = {};

    // Debug switches of the console.
    uint8_t lightingEnabled = 1;
    uint8_t renderAllLayers = 1;
    int32_t renderLayer = 0;  // the floor drawn alone, relative to the player's
    uint8_t showAll = 0;

private:
    // The player's position, or null without a player creature.
    const Position* PlayerPosition() const;
    // The tile of exactly (x, y) on a floor; null off the map.
    static Tile* TileAt(const Layer* layer, int32_t x, int32_t y);
    static bool HasThings(const Tile* tile);
    void DeleteFadeTargets();
    // Changes Core's targets and tells the server.
    void ChangeTarget(uint8_t mode, Creature* creature);
    // Whether the path search may not enter the tile at (x, y) of the layer (see WalkTo).
    bool IsPathBlocked(const Layer* layer, const Creature* player, int32_t x, int32_t y,
                       Position goal) const;
};
