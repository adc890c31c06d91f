#include "creature.h"

#include <algorithm>
#include <cmath>
#include <ostream>

#include "control.h"
#include "core.h"
#include "item.h"
#include "mouse.h"
#include "notification.h"
#include "platform.h"
#include "protocol.h"
#include "screen.h"
#include "shape.h"
#include "tile.h"
#include "weather.h"
#include "windows/toolkit/window.h"
#include "world.h"

namespace {

constexpr uint16_t MinimumSpeed = 100;
constexpr uint8_t StatusConstrained = 29;
constexpr float StepLength = 32.0f;
constexpr double StraightStepBase = 8000.0;
constexpr double DiagonalStepBase = 11313.0;
constexpr uint64_t MouseWalkDelayMs = 200;
// The character whose cancelled walks are told in the notification lines.
const char* const DeveloperName = "Devwalk";

bool HasBottomGround(const Tile* tile) {
    return tile && !tile->things.empty() && tile->things.front()->shape &&
           tile->things.front()->shape->ground;
}

bool IsDirection(int32_t dir) { return dir >= 0 && dir <= 7; }

}  // namespace

Creature::Creature(Core* owner, uint32_t id, uint32_t shapeId, uint32_t outfit,
                   const std::vector<Shape*>& lights, Position at, const std::string& name,
                   uint8_t health, uint16_t speed, uint8_t seated)
    : owner(owner),
      render(owner->render),
      speed(std::max(speed, MinimumSpeed)),
      outfit(outfit),
      name(name),
      seated(seated),
      id(id) {
    serverPosition = at;
    SetHealth(health);
    SetShape(shapeId);
    SetLightShapes(lights);
}

Creature::~Creature() {
    if (owner->followTarget == this) owner->followTarget = nullptr;
    if (owner->hoverCreature == this) owner->hoverCreature = nullptr;
    auto& targets = owner->targets;
    targets.erase(std::remove(targets.begin(), targets.end(), this), targets.end());
    if (walking) LeaveDrawTile();
    ReleaseOutfit();
    ClearAttached();
    SetLightShapes({});
    ReleaseImages();
}

bool Creature::IsPlayer() const { return owner->player == this; }

// --- Look ------------------------------------------------------------------------------------

void Creature::SetShape(uint32_t newShapeId) {
    nameFont = owner->GetFont(1);
    ClearStep();
    elevation = 0;
    walkFrame = 0;
    groundSpeed = 100;
    moving = 0;
    moveable = 1;
    walking = 0;
    followingPath = 0;
    path.clear();
    serverSteps.clear();
    position = drawPosition = targetPosition = goalPosition = serverPosition;
    direction = desiredDirection = 4;
    pendingDirection = NoDirection;
    translucent = lightOnly = 0;
    sitReady = 1;
    shapeId = newShapeId;
    ApplyOutfit();
}

void Creature::Reshape(uint32_t newShapeId, uint32_t newOutfit) {
    Shape* previous[8];
    std::copy(std::begin(directionShapes), std::end(directionShapes), previous);
    const uint32_t previousOutfit = outfit;
    shapeId = newShapeId;
    outfit = newOutfit;
    groundSpeed = 100;
    ApplyOutfit();
    // Built before the old ones go, so that images both looks share are not made twice.
    for (Shape* shape : previous)
        if (shape) shape->ReleaseImages(previousOutfit);
}

// The shape, the eight direction shapes with the outfit's images, the facing the shape itself
// stands for, and the frames.
void Creature::ApplyOutfit() {
    Shape* shape = owner->GetShape(shapeId);
    if (!shape) owner->FatalError("Unknown shape id.");
    for (uint32_t d = 0; d < 8; ++d)
        directionShapes[d] = owner->ApplyToShape(shape->directionIds[d], outfit);
    for (uint32_t d = 0; d < 8; ++d) {
        if (directionShapes[d] != shape) continue;
        direction = d;
        break;
    }
    RefreshFrames();
}

void Creature::ReleaseOutfit() {
    for (Shape*& shape : directionShapes) {
        if (shape) shape->ReleaseImages(outfit);
        shape = nullptr;
    }
}

void Creature::RefreshFrames() {
    frames = nullptr;
    if (Shape* shape = directionShapes[direction & 7]) {
        const AnimationSlot slot = moving ? SlotMove : seated ? SlotSeated : SlotIdle;
        const ShapeRange* range = shape->FindEntry(0);
        if (const ShapeAnimation* animation = range ? range->slots[slot] : nullptr)
            frames =
                animation->ViewAt(serverPosition.z)->CellAt(serverPosition.x, serverPosition.y);
    }
    ReleaseImages();
}

void Creature::SetMoving(uint8_t value) {
    moving = value;
    RefreshFrames();
}

void Creature::SetSitting(uint8_t value) {
    seated = value;
    RefreshFrames();
}

// From red-brown at 0 through yellow at 100 to green at 200; more counts as 200.
void Creature::SetHealth(uint8_t value) {
    health = std::min(value, FullHealth);
    const int32_t h = health;
    int32_t red = 180, green = 180;
    if (h < 100) green = std::max(360 * h / 200, 40);
    else if (h > 100) red = std::max((72000 - 360 * h) / 200, 40);
    healthColour = 0xFF000028 | uint32_t(red) << 16 | uint32_t(green) << 8;
}

void Creature::SetLightShapes(const std::vector<Shape*>& shapes) {
    for (Shape* shape : lightShapes) shape->ReleaseLights();
    lightShapes.clear();
    for (Shape* shape : shapes) {
        if (!shape) continue;
        shape->LoadLights();
        lightShapes.push_back(shape);
    }
}

void Creature::StampTime() { animationStamp = owner->frameTimeMs; }

// --- Attached things -------------------------------------------------------------------------

void Creature::AddToDirectionList(int32_t dx, int32_t dy, Thing* thing) {
    if (!thing) return;
    if (dx < -1 || dx > 1 || dy < -1 || dy > 1) {
        delete thing;
        return;
    }
    AttachedCell& cell = attached[dx + 1][dy + 1];
    cell.things.push_back(thing);
    for (const auto& part : static_cast<Item*>(thing)->parts)
        (part->IsUpper() ? cell.upper : cell.lower).push_back(part.get());
    if (dx == 0 && dy == 0 && owner->world && thing->shape && thing->shape->hasLights)
        owner->world->AddLightThing(thing);
}

Thing* Creature::FindEffect(int32_t dx, int32_t dy, Thing* like) {
    if (!like || dx < -1 || dx > 1 || dy < -1 || dy > 1) return nullptr;
    const Item* wanted = static_cast<Item*>(like);
    for (Thing* thing : attached[dx + 1][dy + 1].things) {
        const Item* item = static_cast<Item*>(thing);
        if (item->shapeId == wanted->shapeId && item->kind == wanted->kind &&
            item->subId == wanted->subId && item->count == wanted->count)
            return thing;
    }
    return nullptr;
}

void Creature::RemoveFromDirectionList(int32_t dx, int32_t dy, Thing* thing) {
    if (dx < -1 || dx > 1 || dy < -1 || dy > 1) return;
    AttachedCell& cell = attached[dx + 1][dy + 1];
    auto found = std::find(cell.things.begin(), cell.things.end(), thing);
    if (found == cell.things.end()) return;
    cell.things.erase(found);
    for (const auto& part : static_cast<Item*>(thing)->parts) {
        for (auto* list : {&cell.lower, &cell.upper})
            list->erase(std::remove(list->begin(), list->end(), part.get()), list->end());
    }
    if (dx == 0 && dy == 0 && owner->world && thing->shape && thing->shape->hasLights)
        owner->world->RemoveLightThing(thing);
    delete thing;
}

void Creature::ClearAttached() {
    for (int32_t dx = -1; dx <= 1; ++dx) {
        for (int32_t dy = -1; dy <= 1; ++dy) {
            AttachedCell& cell = attached[dx + 1][dy + 1];
            while (!cell.things.empty()) RemoveFromDirectionList(dx, dy, cell.things.back());
        }
    }
}

// --- Facing ----------------------------------------------------------------------------------

void Creature::FaceStep(int32_t dx, int32_t dy) {
    uint32_t d;
    if (dx != 0 && dy != 0) d = dx < 0 ? (dy < 0 ? 7 : 5) : (dy < 0 ? 1 : 3);
    else d = dx < 0 ? 6 : dx > 0 ? 2 : dy < 0 ? 0 : 4;
    direction = desiredDirection = d;
}

void Creature::FaceDelta(int32_t dx, int32_t dy) {
    if (dx < 0) desiredDirection = 6;
    else if (dx > 0) desiredDirection = 2;
    else if (dy < 0) desiredDirection = 0;
    else if (dy > 0) desiredDirection = 4;
    if (walking) return;
    direction = desiredDirection;
    RefreshFrames();
}

void Creature::Turn(int32_t dir) {
    if (seated) {
        Notify(2, "You cannot turn while sitting.");
        return;
    }
    const uint32_t before = direction;
    const uint32_t d = IsDirection(dir) ? uint32_t(dir) : NoDirection;  // none faces south
    FaceStep(DirectionDeltaX(d), DirectionDeltaY(d));
    if (direction == before) return;
    RefreshFrames();
    SendTurn();
}

void Creature::SetDirection(int32_t dir) {
    if (!IsDirection(dir)) return;
    if (walking || !moveable || seated) {
        desiredDirection = uint32_t(dir);
        return;
    }
    if (uint32_t(dir) == direction) return;
    direction = uint32_t(dir);
    RefreshFrames();
    SendTurn();
}

void Creature::ApplyDesiredDirection() {
    if (desiredDirection == direction || !IsDirection(int32_t(desiredDirection))) return;
    direction = desiredDirection;
    RefreshFrames();
    SendTurn();
}

uint32_t Creature::DrunkDirection(uint32_t dir) {
    if (owner->IsStatusActive(StatusDrunk) && Random() % 6 == 0) return 2 * uint32_t(Random() % 4);
    return dir;
}

// --- The player's walking --------------------------------------------------------------------

void Creature::Walk(int32_t dir) {
    if (!IsDirection(dir)) return;
    if (seated) {
        Notify(2, "You cannot walk while sitting.");
        return;
    }
    owner->followTarget = nullptr;
    followingPath = 0;
    if (serverSteps.size() >= 2) return;
    if (pendingDirection != NoDirection) {
        if (uint32_t(dir) != pendingDirection && !owner->IsStatusActive(StatusDrunk) &&
            std::fabs(offsetX) < 24 && std::fabs(offsetY) < 24)
            QueueWalk(uint32_t(dir), true);
        return;
    }
    if (!moveable) {
        // Too early in the step to queue the next one.
        if (std::fabs(offsetX) < 12 && std::fabs(offsetY) < 12) return;
        QueueWalk(DrunkDirection(uint32_t(dir)), false);
        return;
    }
    const uint32_t d = DrunkDirection(uint32_t(dir));
    const Position target = StepFrom(position, d);
    Tile* tile = TileAt(target);
    if (HasBottomGround(tile)) {
        if (tile->IsBlockedFor(this)) {
            Turn(int32_t(d));
            Notify(2, "You cannot walk there.");
            return;
        }
    } else if (!IsStair(target)) {
        Turn(int32_t(d));
        return;
    }
    SendWalk(d);
    if (!owner->IsStatusActive(StatusConstrained)) BeginStep(tile, d);
}

// Queues the step after the current one and tells the server, unless the tile refuses it.
void Creature::QueueWalk(uint32_t dir, bool replace) {
    pendingDirection = dir;
    if (!CanStepOnto(StepFrom(targetPosition, dir))) {
        pendingDirection = NoDirection;
        return;
    }
    Protocol* connection = owner->activeConnection;
    if (!connection) return;
    if (replace) connection->SendWalkRedirect(uint8_t(dir));
    else connection->SendWalk(uint8_t(dir));
}

// Ground that does not block this creature, or a stair one floor down.
bool Creature::CanStepOnto(Position next) {
    Tile* tile = TileAt(next);
    if (HasBottomGround(tile)) return !tile->IsBlockedFor(this);
    return IsStair(next);
}

bool Creature::AutoWalk() {
    World* world = owner->world;
    if (seated || !world) return false;
    // A click on the game field chose the goal, unless the mouse or a followed creature does.
    bool haveGoal = followingPath != 0;
    Position goal = goalPosition;
    Mouse* mouse = owner->screen ? owner->screen->mouse : nullptr;
    if (mouse && KeyHeld(VK_RBUTTON) && owner->options.holdmove && !owner->mouseWalkOff &&
        owner->fieldWindow && owner->fieldWindow->HitTest(mouse->x, mouse->y) &&
        owner->frameTimeMs - mouse->rightPressTime >= MouseWalkDelayMs) {
        if (Tile* picked = world->PickThing(mouse->x, mouse->y, true, true)) {
            const Position at{picked->x, picked->y, picked->z};
            const Position below{uint16_t(at.x + 1), uint16_t(at.y + 1), uint8_t(at.z - 1)};
            Tile* stair = TileAt(below);
            if (!picked->IsBlockedFor(this)) goal = at, haveGoal = true;
            else if (stair && stair->HasStairThing() && !stair->IsBlockedFor(this))
                goal = below, haveGoal = true;
        }
    }
    if (Creature* followed = owner->followTarget) {
        haveGoal = true;
        goal = followed->serverPosition;
        if (followed->serverPosition.z != serverPosition.z) {
            goal = followed->previousFloorPosition;
            Tile* here = TileAt(serverPosition);
            if (goal == serverPosition && here && here->UseFlaggedThing()) return true;
        } else if (std::abs(goal.x - serverPosition.x) <= 1 &&
                   std::abs(goal.y - serverPosition.y) <= 1) {
            goal = serverPosition;
        }
    }
    if (!haveGoal) return false;
    if (goal == serverPosition) {
        followingPath = 0;
        return false;
    }
    goalPosition = goal;
    if (!world->WalkTo(this, goal) || path.empty()) return false;
    followingPath = 1;
    const uint32_t d = DrunkDirection(path.back());
    const Position next = StepFrom(position, d);
    Tile* tile = TileAt(next);
    if (!HasBottomGround(tile)) {
        // The server decides about a step off the ground.
        Turn(int32_t(d));
        moveable = 0;
        SendWalk(d);
        return true;
    }
    if (tile->IsBlockedFor(this)) return false;
    SendWalk(d);
    if (!owner->IsStatusActive(StatusConstrained)) BeginStep(tile, d);
    return true;
}

// --- Server steps ----------------------------------------------------------------------------

bool Creature::Step(uint32_t dir, int8_t floorChange, uint32_t viewValue, uint32_t weatherValue,
                    uint32_t flags, uint32_t /*extra*/) {
    ServerStep entry{dir, floorChange, viewValue, weatherValue, uint8_t((flags & 0xFF) != 0)};
    if (((flags >> 16) & 0xFF) != 0 && !forcedSpeedOn && moving) {
        interceptedAt = position;
        intercepted = 1;
    }
    serverPosition.x = uint16_t(serverPosition.x + DirectionDeltaX(dir));
    serverPosition.y = uint16_t(serverPosition.y + DirectionDeltaY(dir));
    serverPosition.z = uint8_t(serverPosition.z + floorChange);
    if (IsPlayer()) {
        if (floorChange != 0) {
            owner->SelectTarget(0, nullptr);
            if (owner->activeConnection) owner->activeConnection->SendTarget(0, 0);
        }
        Tile* arrival = TileAt(serverPosition);
        if (serverSteps.empty() && !moveable && arrival && !arrival->things.empty() &&
            !arrival->HasStairThing()) {
            entry.noRebuild = 1;
            owner->world->RebuildView(uint8_t(viewValue));
        }
    }
    serverSteps.push_back(entry);
    if (owner->player && !IsNearView(serverPosition, owner->player->serverPosition)) return false;
    if (walking) {
        if (std::fabs(offsetX) < StepLength && std::fabs(offsetY) < StepLength) {
            ProcessServerSteps();
            return true;
        }
        walking = 0;
    } else {
        pendingDirection = NoDirection;
        NextStep();
    }
    ProcessServerSteps();
    return true;
}

bool Creature::Step(const StepRecord& record) {
    const uint32_t flags = record.flags[0] | record.flags[1] << 8 | uint32_t(record.forced) << 16;
    const uint32_t extra = record.forcedValue | uint32_t(record.forcedFlag) << 16;
    return Step(record.direction, int8_t(record.floorChange), record.viewFloor, record.stepValue,
                flags, extra);
}

// The least the step needs: what the trace shows is not known yet.
void Creature::TraceInterception() {}

void Creature::CancelWalk() {
    const char* kind;
    if (moveable) {
        kind = "small";
    } else if (serverSteps.empty()) {
        kind = "full";
        SetMoving(0);
        moveable = 1;
        walking = 0;
        if (World* world = owner->world) {
            world->weather->AddWind(-offsetX, -offsetY);
            world->cameraX -= offsetX;
            world->cameraY -= offsetY;
        }
        LeaveDrawTile();
        ClearStep();
        position = drawPosition = targetPosition = serverPosition;
    } else {
        kind = "small 2";
    }
    pendingDirection = NoDirection;
    if (name == DeveloperName) Notify(1, std::string("Self - cancel walk (") + kind + ")");
}

void Creature::BeginStep(Tile* tile, uint32_t dir) {
    LeaveDrawTile();
    const int32_t dx = DirectionDeltaX(dir), dy = DirectionDeltaY(dir);
    if (!keepFacing) FaceStep(dx, dy);
    targetPosition = StepFrom(position, dir);
    stepDx = dx;
    stepDy = dy;
    if (tile) groundSpeed = tile->groundSpeed;
    stepSpeed = speed;
    stepStart = owner->frameTimeMs;
    moveable = 0;
    walking = 1;
    diagonal = dx != 0 && dy != 0;
    if (IsPlayer()) {
        TileOrCreate(targetPosition);
    } else {
        if (Tile* from = RegisteredTile(position)) from->RemoveCreature(this);
        if (Tile* to = TileOrCreate(targetPosition)) to->AddCreature(this);
    }
    SetMoving(1);
    PlaceOnDrawTile();
}

void Creature::UpdateWalk() {
    if (!moving) return;
    if (!walking) {
        SetMoving(0);
        return;
    }
    const uint64_t now = owner->frameTimeMs;
    const double base = diagonal ? DiagonalStepBase : StraightStepBase;
    const double factor = (forcedSpeedOn ? forcedSpeed : stepSpeed) * groundSpeed / 100.0;
    const double elapsed = double(int64_t(now - stepStart));
    // A speed of 0 from the data would never arrive: such a step ends at once.
    const double progress = factor > 0 ? std::clamp(elapsed / (base / factor), 0.0, 32.0) : 32.0;
    offsetX = float(stepDx * progress);
    offsetY = float(stepDy * progress);
    if (intercepted) TraceInterception();

    const size_t frameCount =
        frames && !frames->layers.empty() ? frames->layers.front()->keyframes.size() : 4;
    const float d = std::fabs(offsetX) > std::fabs(offsetY) ? offsetX : offsetY;
    const float m = std::fabs(d - 1);
    walkFrame = frameCount < 5 ? int32_t(m * 0.125f) % 4 : int32_t(m * 0.25f);

    if (progress < 32.0) return;
    forcedSpeedOn = 0;
    if (serverSteps.empty()) {
        SetMoving(0);  // waits at the end of its step for the server
        return;
    }
    walking = 0;
    const int64_t overrun =
        int64_t(now) - (factor > 0 ? int64_t(base * 32 / factor) : 0) - int64_t(stepStart);
    ProcessServerSteps();
    if (walking) stepStart -= uint64_t(overrun);
}

void Creature::ProcessServerSteps() {
    if (moveable) return;
    while (!moveable && !walking && !serverSteps.empty()) {
        World* world = owner->world;
        const bool player = IsPlayer();
        if (player && !world) return;
        const ServerStep entry = serverSteps.front();
        serverSteps.pop_front();
        if (!player) {
            ApplyServerStep(entry.direction, entry.floorChange);
            NextStep();
            continue;
        }
        if (entry.floorChange != 0) world->viewJumped = 1;
        ApplyServerStep(entry.direction, entry.floorChange);
        if (!entry.noRebuild && (entry.floorChange == 0 || serverSteps.empty()))
            world->RebuildView(uint8_t(entry.viewValue));
        NextStep();
        const bool changed =
            entry.floorChange != 0 && entry.weatherValue != world->weather->lightValue;
        world->weather->Update(entry.weatherValue, changed);
    }
}

void Creature::ApplyServerStep(uint32_t dir, int8_t floorChange) {
    moveable = 1;
    walking = 0;
    targetPosition = StepFrom(position, dir);
    targetPosition.z = uint8_t(position.z + floorChange);
    if (floorChange != 0) {
        pendingDirection = NoDirection;
        if (IsPlayer() && !owner->followTarget) {
            goalPosition = position;
            followingPath = 0;
        }
        previousFloorPosition = position;
        FinishStep();
        return;
    }
    LeaveDrawTile();
    if (IsPlayer()) {
        if (World* world = owner->world) {
            world->weather->AddWind(offsetX, offsetY);
            world->cameraX += offsetX;
            world->cameraY += offsetY;
        }
        MoveToTargetTile();
    }
    offsetX = offsetY = 0;
    drawPosition = position = targetPosition;
}

// A floor change is done at once: the camera keeps the picture still across the jump.
void Creature::FinishStep() {
    LeaveDrawTile();
    World* world = owner->world;
    if (IsPlayer() && world) {
        const float shift = float((int32_t(targetPosition.z) - int32_t(position.z)) * 32);
        offsetX += shift;
        offsetY += shift;
        world->weather->AddWind(-shift, -shift);
        world->cameraX += offsetX - shift;
        world->cameraY += offsetY - shift;
    }
    ClearStep();
    MoveToTargetTile();
    drawPosition = position = targetPosition;
    if (!moving) SetMoving(1);
    UpdateElevation();
}

void Creature::NextStep() {
    if (!serverSteps.empty()) {
        const ServerStep next = serverSteps.front();
        if (next.floorChange != 0) {
            moveable = walking = 0;
            offsetX = offsetY = 0;
            pendingDirection = NoDirection;
            return;
        }
        Tile* tile = TileOrCreate(StepFrom(position, next.direction));
        BeginStep(tile, next.direction);
        pendingDirection = NoDirection;
        if (IsPlayer() && !next.noRebuild && tile && !tile->things.empty() &&
            !tile->HasBit15Thing())
            owner->world->RebuildView(uint8_t(next.viewValue));
        return;
    }
    if (!IsPlayer()) {
        moveable = 0;
        SetMoving(0);
        return;
    }
    if (pendingDirection == NoDirection) {
        if (AutoWalk()) return;
        ApplyDesiredDirection();
        SetMoving(0);
        // Holding a walking key walks on without a pause.
        if (owner->screen && owner->screen->focused) owner->screen->control->PollKeys();
        return;
    }
    const uint32_t dir = pendingDirection;
    const Position next = StepFrom(position, dir);
    pendingDirection = NoDirection;
    Tile* tile = TileAt(next);
    if (HasBottomGround(tile) || IsStair(next)) {
        BeginStep(tile, dir);
        return;
    }
    // The server answers the walk request sent for the queued step.
    moveable = 0;
    ApplyDesiredDirection();
    SetMoving(0);
}

void Creature::DebugDump(std::ostream& out) const {
    const World* world = owner->world;
    out << "moveable: " << int(moveable) << ", moving_to: " << int(walking)
        << ", moving: " << int(moving) << ", queue: " << serverSteps.size()
        << ", mem_dir: " << pendingDirection << " - Moving  "
        << "; height: " << elevation << "; dx: " << offsetX << ", dy: " << offsetY
        << "; camera: x: " << (world ? world->cameraX : 0)
        << ", y: " << (world ? world->cameraY : 0);
}

// --- Helpers ---------------------------------------------------------------------------------

Tile* Creature::TileAt(Position p) const {
    return owner->world ? owner->world->GetTile(p.Packed(), p.z) : nullptr;
}

Tile* Creature::TileOrCreate(Position p) const {
    if (!owner->world) return nullptr;
    Tile* tile = TileAt(p);
    return tile ? tile : owner->world->CreateTile(p);
}

Tile* Creature::RegisteredTile(Position p) const {
    return owner->world ? owner->world->GetTileIfExists(p.Packed(), p.z) : nullptr;
}

// A tile without ground can still be walked onto over a stair one floor down.
bool Creature::IsStair(Position above) const {
    const Tile* below =
        TileAt({uint16_t(above.x + 1), uint16_t(above.y + 1), uint8_t(above.z - 1)});
    return below && below->HasStairThing();
}

void Creature::LeaveDrawTile() {
    Tile* tile = RegisteredTile(drawPosition);
    if (!tile) return;
    if (between) tile->RemoveBetweenWalker(this);
    else tile->RemoveWalker(this);
}

void Creature::MoveToTargetTile() {
    if (Tile* from = RegisteredTile(position)) from->RemoveCreature(this);
    if (Tile* to = TileOrCreate(targetPosition)) to->AddCreature(this);
}

void Creature::ClearStep() {
    offsetX = offsetY = 0;
    stepDx = stepDy = 0;
}

void Creature::SendTurn() {
    if (owner->activeConnection) owner->activeConnection->SendTurn(uint8_t(direction));
}

void Creature::SendWalk(uint32_t dir) {
    if (owner->activeConnection) owner->activeConnection->SendWalk(uint8_t(dir));
}

void Creature::Notify(uint8_t kind, const std::string& text) {
    if (owner->world && owner->world->notification) owner->world->notification->Add(kind, text);
}
