#pragma once
// One character, monster or person on the game field, the player's own included: its look by
// direction, the server's queued steps and the animated step between tiles, the player's walking
// ahead of the server, and its drawing in the tile pass and the overlay pass.
#include <cstdint>
#include <deque>
#include <iosfwd>
#include <string>
#include <vector>

#include "position.h"
#include "steprecord.h"

class Core;
class Font;
class ItemPart;
class Render;
class Shape;
class Thing;
class Tile;
struct GfxImage;
struct ShapeCell;

// A health of 200 is a full bar.
constexpr uint8_t FullHealth = 200;

// One creature_move of the server, kept until the step is applied.
struct ServerStep {
    uint32_t direction = NoDirection;
    int8_t floorChange = 0;
    uint32_t viewValue = 0;
    uint32_t weatherValue = 0;
    uint8_t noRebuild = 0;  // flags byte 0: the view is not rebuilt for this step
};

// The things attached to one cell of the creature's 3 x 3 block, with their image parts.
struct AttachedCell {
    std::vector<Thing*> things;  // owned
    std::vector<ItemPart*> lower;
    std::vector<ItemPart*> upper;
};

class Creature {
public:
    // The position is where the server has the creature; speed below 100 counts as 100.
    Creature(Core* owner, uint32_t id, uint32_t shapeId, uint32_t outfit,
             const std::vector<Shape*>& lightShapes, Position position, const std::string& name,
             uint8_t health, uint16_t speed, uint8_t seated);
    virtual ~Creature();
    Creature(const Creature&) = delete;
    Creature& operator=(const Creature&) = delete;

    // Look and state set by the server.
    void SetShape(uint32_t newShapeId);
    void Reshape(uint32_t newShapeId, uint32_t newOutfit);
    void RefreshFrames();
    void SetMoving(uint8_t value);
    void SetSitting(uint8_t value);
    void SetHealth(uint8_t value);
    void SetLightShapes(const std::vector<Shape*>& shapes);
    void StampTime();

    // Things attached to a cell (dx, dy in -1..1) of the block; the creature owns them. A thing
    // for a cell outside the block is deleted.
    void AddToDirectionList(int32_t dx, int32_t dy, Thing* thing);
    Thing* FindEffect(int32_t dx, int32_t dy, Thing* like);
    void RemoveFromDirectionList(int32_t dx, int32_t dy, Thing* thing);
    void ClearAttached();

    // Facing.
    void FaceStep(int32_t dx, int32_t dy);
    void FaceDelta(int32_t dx, int32_t dy);
    void Turn(int32_t dir);
    void SetDirection(int32_t dir);

    // The player's walking: a walking key starts a step ahead of the server, or queues the next.
    void Walk(int32_t dir);
    void QueueWalk(uint32_t dir, bool replace);
    bool AutoWalk();
    uint32_t DrunkDirection(uint32_t dir);

    // Server steps and their animation. Step queues the server's creature_move; false when the
    // creature has left the player's view (the caller removes it). The sixth word is not used.
    bool Step(uint32_t dir, int8_t floorChange, uint32_t viewValue, uint32_t weatherValue,
              uint32_t flags, uint32_t extra);
    // The same from a step record: flags byte 0 is the no-rebuild byte, byte 2 the forced mark
    // (which may intercept the step being walked).
    bool Step(const StepRecord& record);
    // Each frame of a step that the server marked as intercepted (flags byte 2).
    void TraceInterception();
    // The server refused the player's walk.
    void CancelWalk();
    void BeginStep(Tile* tile, uint32_t dir);
    void UpdateWalk();
    void ProcessServerSteps();
    void ApplyServerStep(uint32_t dir, int8_t floorChange);
    void FinishStep();
    void NextStep();
    void DebugDump(std::ostream& out) const;

    // Drawing.
    void PlaceOnDrawTile();
    void RegisterOverhangs();
    void UpdateElevation();
    void Draw(int32_t x, int32_t y);
    void DrawOverhangLower(int32_t column, int32_t row, int32_t x, int32_t y, uint8_t adjust);
    void DrawOverhangUpper(int32_t column, int32_t row, int32_t x, int32_t y, uint8_t adjust);
    // Pass 0: names of every creature; pass 1: bars, names, status icons and typing bubbles.
    void DrawOverlay(float x, float y, uint8_t pass);
    void DrawBars(float x, float y, float health, float mana);
    // The outline of a target, the follow target or the hovered creature; 0xFFFF for x or y
    // means the last position drawn at.
    void DrawMarker(int32_t x, int32_t y, uint8_t alpha);
    // The light grid cell of the creature about the player's position, and the point in it.
    struct LightSpot {
        int32_t column, row, x, y;
    };
    LightSpot LightSpotAt(Position centre) const;
    void AddLights(Position centre);
    void ReleaseImages();

    // What other parts of the client ask of a creature.
    bool isNpc() const { return talk != 0; }
    bool isTyping() const { return typing != 0; }
    bool isVisible() const { return visible != 0; }
    bool isPrivileged() const { return privileged != 0; }
    const std::string& GetName() const { return name; }
    // No name, or the single space the server gives creatures that go unnamed.
    bool IsUnnamed() const { return IsUnnamedName(name); }
    static bool IsUnnamedName(const std::string& name) { return name.empty() || name == " "; }
    bool IsPlayer() const;

    float offsetX = 0, offsetY = 0;
    std::deque<ServerStep> serverSteps;
    uint8_t forcedSpeedOn = 0;
    uint16_t forcedSpeed = 0;
    uint8_t intercepted = 0;
    Position interceptedAt;  // where the creature was when the intercepting step arrived
    uint8_t keepFacing = 0;
    Core* owner;
    Render* render;
    Font* nameFont = nullptr;
    ShapeCell* frames = nullptr;  // the layers of the frame set shown, from the current direction
    Shape* directionShapes[8] = {};
    uint32_t direction = 4;
    uint32_t desiredDirection = 4;
    uint32_t pendingDirection = NoDirection;
    Position position;        // the tile it stands on; a step starts here
    Position serverPosition;  // where the server has it after all queued steps
    Position targetPosition;  // where the current step goes
    Position drawPosition;    // the tile whose walker lists hold it while walking
    Position previousFloorPosition;
    uint8_t between = 0;
    uint16_t speed;
    uint16_t stepSpeed = 100;
    uint8_t groundSpeed = 100;
    float elevation = 0;
    float sink = 0;
    uint8_t health = 0;
    uint32_t healthColour = 0;
    uint32_t outfit;
    std::string name;
    uint8_t moving = 0;
    uint8_t moveable = 1;
    uint8_t walking = 0;
    uint8_t diagonal = 0;
    uint8_t seated = 0;
    uint8_t translucent = 0;  // first display flag: see-through, and other creatures not drawn
    uint8_t lightOnly = 0;    // second display flag: shown as bright as the light around it
    int32_t stepDx = 0, stepDy = 0;
    int32_t walkFrame = 0;
    uint32_t id;
    uint32_t shapeId = 0;
    uint64_t stepStart = 0;
    uint64_t animationStamp = 0;
    AttachedCell attached[3][3];  // [dx + 1][dy + 1]
    std::vector<Shape*> lightShapes;
    uint8_t followingPath = 0;
    std::vector<uint8_t> path;  // directions, the next step last
    Position goalPosition;

    // Flags the server's creature messages set.
    uint8_t hidden = 0;
    uint8_t visible = 1;
    uint8_t typing = 0;
    uint8_t partyMember = 0;
    uint8_t talk = 0;        // a creature one talks to
    uint8_t playerFlag = 0;  // another player's character
    uint8_t examineOnly = 0;
    uint8_t notTargetable = 0;  // clicks and hovering never make it a target
    uint8_t notPushable = 0;    // a drag from its tile never pushes it
    uint8_t privileged = 0;
    uint8_t banned = 0;
    uint8_t sitReady = 1;     // the self menu may offer sitting down
    uint8_t flagged = 0;      // belongs to the world's flagged list
    uint64_t selectedAt = 0;  // when Core::SelectTarget chose it

    int32_t lastMarkerX = 0, lastMarkerY = 0;
    std::vector<GfxImage*> markerImages;  // owned outlines of the frame set, one per frame

private:
    bool IsStair(Position above) const;
    Tile* TileAt(Position p) const;
    Tile* TileOrCreate(Position p) const;
    Tile* RegisteredTile(Position p) const;
    void LeaveDrawTile();
    void MoveToTargetTile();
    void ApplyDesiredDirection();
    void SendTurn();
    void SendWalk(uint32_t dir);
    void Notify(uint8_t kind, const std::string& text);
    bool CanStepOnto(Position next);
    void ApplyOutfit();
    void ReleaseOutfit();
    void ClearStep();

    // Drawing helpers.
    struct BodyPoint {
        int32_t x, y;
    };
    BodyPoint BodyAt(int32_t x, int32_t y) const;
    GfxImage* FrameImage(size_t layer) const;
    void DrawBody(BodyPoint at);
    void DrawParts(const std::vector<ItemPart*>& parts, BodyPoint at);
    void RemoveExpiredAttached();
    void DrawPlayerOverlay(float x, float y);
    void DrawOtherOverlay(float x, float y, float fade);
    void DrawStatusIcons(float x, float top);
    void DrawTypingBubble(float x, float y);
    void Hiccup();
    std::string OverlayText() const;
    float FadeFactor() const;
    size_t MarkerFrame() const;
    void BuildMarkerImages();
};
