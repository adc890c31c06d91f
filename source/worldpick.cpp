// Picking on the game field: the creature, the item and the tile under a point of the screen,
// the right click on a creature, and the click action that targets a creature or shows how to
// talk to it.
#include <cmath>
#include <string>

#include "core.h"
#include "creature.h"
#include "font.h"
#include "item.h"
#include "protocol.h"
#include "shape.h"
#include "spell.h"
#include "tile.h"
#include "windows/dialogs/look.h"
#include "windows/toolkit/window.h"
#include "world.h"

namespace {

// Creatures other than the player are drawn this far up and left of their tile, in world pixels.
constexpr float CreatureShift = 8;
// A seated creature is drawn this much higher.
constexpr float SeatedLift = 8;
// The ability that lets the player hold two targets at once.
constexpr uint16_t TwoTargetsSpellId = 30;
// What a thing reaching over the point from a neighbour must reach past, on the 32 scale.
constexpr int32_t ReachEdge = 30;

// The colours of the talk hint.
const std::string HintGrey = MakeColorCode(224, 224, 224, 224);
const std::string HintGreen = MakeColorCode(128, 245, 128, 192);

// A creature's box on the screen: a tile's size from (left, top), both edges included.
struct Box {
    int32_t left, top;

    bool Holds(int32_t px, int32_t py, int32_t size) const {
        return px >= left && px <= left + size && py >= top && py <= top + size;
    }
};

float Lift(const Creature& creature) {
    return creature.elevation - (creature.seated ? SeatedLift : 0);
}

int32_t FloorToInt(float value) { return int32_t(std::floor(value)); }

Item* AsItem(Thing* thing) { return static_cast<Item*>(thing); }

// Shown and not passed over by picking.
bool IsPickable(Thing* thing) {
    return !AsItem(thing)->expired && !(thing->shape && thing->shape->notPickable);
}

// How far up and left the thing is drawn (its first image part's elevation).
int32_t Displacement(Thing* thing) {
    const Item* item = AsItem(thing);
    return item->parts.empty() ? 0 : item->parts.front()->elevation;
}

// Whether a thing displaced by d reaches the point at `inTile` of the clicked tile: from that
// tile when it lies in the same column (or row), from the next one otherwise.
bool Reaches(int32_t d, int32_t inTile, bool fromNext) {
    return fromNext ? d >= ReachEdge - inTile : d <= ReachEdge - inTile;
}

// The look-around: where the searched tile lies from the clicked one, and where the point lies
// inside the clicked tile.
struct Around {
    int32_t dx, dy;
    int32_t inX, inY;
};

// The stack index of the first thing of the tile, from the top down, that is picked at the
// point; -1 for none. In the look-around a thing counts when it is drawn over the point; a thing
// drawn in its own tile ends the search of a neighbour, as nothing under it reaches over.
int32_t PickOnTile(const Tile& tile, const Around* around) {
    for (size_t index = tile.things.size(); index-- > 0;) {
        Thing* thing = tile.things[index];
        const int32_t d = Displacement(thing);
        const bool neighbour = around && (around->dx != 0 || around->dy != 0);
        if (neighbour && d == 0) break;
        const bool anySide = thing->shape && thing->shape->kind4;
        const bool over =
            !around || d == 0 || anySide ||
            (Reaches(d, around->inX, around->dx != 0) && Reaches(d, around->inY, around->dy != 0));
        if (over && IsPickable(thing)) return int32_t(index);
    }
    return -1;
}

// The player is drawn at the centre of the view; every other creature at its walk offset from
// its tile.
Box CreatureBox(const FieldView& view, const Creature& creature, const Creature& player) {
    const float s = float(view.tileSize), e = Lift(creature);
    if (&creature == &player)
        return {int32_t(float(view.originX) + CentreColumn * s - e * s / TilePixels),
                int32_t(float(view.originY) + CentreRow * s - e * s / TilePixels)};
    const int32_t column = creature.position.x - player.position.x + CentreColumn;
    const int32_t row = creature.position.y - player.position.y + CentreRow;
    return {FloorToInt(((creature.offsetX - CreatureShift - e) / TilePixels + float(column)) * s) +
                view.originX - view.scrollX,
            FloorToInt((float(row) + (creature.offsetY - CreatureShift - e) / TilePixels) * s) +
                view.originY - view.scrollY};
}

}  // namespace

FieldView World::GetFieldView() const {
    const WindowRect field =
        owner->fieldWindow ? owner->fieldWindow->GetRect() : WindowRect{0, 0, 0, 0};
    return FieldView(field.x, field.y, field.w, field.h, owner->options.pixel != 0,
                     owner->options.elastic != 0, scrollX, scrollY);
}

Creature* World::PickCreature(int32_t px, int32_t py, bool sameFloor) {
    const Creature* player = owner->player;
    const FieldView view = GetFieldView();
    if (!player || view.Empty()) return nullptr;
    const Position& at = player->position;
    const uint8_t floor = sameFloor
                              ? at.z
                              : visibleFloor[SlotIndex(view.ColumnAt(px) + at.x - CentreColumn,
                                                       view.RowAt(py) + at.y - CentreRow)];
    for (Creature* creature : creatures) {
        if (creature->hidden || creature->position.z != floor) continue;
        if (CreatureBox(view, *creature, *player).Holds(px, py, view.tileSize)) return creature;
    }
    return nullptr;
}

Tile* World::PickThing(int32_t px, int32_t py, bool lookAround, bool playerFloor) {
    owner->dragFrom = nullptr;
    const Creature* player = owner->player;
    const FieldView view = GetFieldView();
    if (!player || view.Empty()) return nullptr;
    const Position& at = player->position;
    const int32_t x = view.ColumnAt(px) + at.x - CentreColumn;
    const int32_t y = view.RowAt(py) + at.y - CentreRow;
    const Layer* layer = FindLayer(playerFloor ? at.z : visibleFloor[SlotIndex(x, y)]);
    // Things of the tiles east and south are drawn over the clicked one: they come first.
    static constexpr int32_t Order[][2] = {{1, 1}, {1, 0}, {0, 1}, {0, 0}};
    for (const auto& [dx, dy] : Order) {
        if (!lookAround && (dx != 0 || dy != 0)) continue;
        Tile* tile = TileAt(layer, x + dx, y + dy);
        if (!tile) continue;
        const Around around{dx, dy, view.InTileX(px), view.InTileY(py)};
        const int32_t index = PickOnTile(*tile, lookAround ? &around : nullptr);
        if (index < 0) continue;
        owner->dragFrom = tile->things[size_t(index)];
        owner->pickStack = uint8_t(index);
        return tile;
    }
    return nullptr;
}

bool World::OnFieldRightClick(int32_t px, int32_t py) {
    Creature* player = owner->player;
    const FieldView view = GetFieldView();
    if (!player || view.Empty()) return false;
    for (Creature* creature : creatures) {
        const bool other = creature != player;
        if (other && (creature->hidden || creature->position.z != player->position.z)) continue;
        if (!CreatureBox(view, *creature, *player).Holds(px, py, view.tileSize)) continue;
        return other ? ShowCreatureMenu(px, py, player, creature)
                     : ShowSelfMenu(px, py, player, player->position);
    }
    return false;
}

void World::ShowTalkHint(int32_t x, int32_t y, Creature* player, Creature* creature) {
    if (creature->notTargetable) return;
    const Spell* ability = owner->FindSpell(TwoTargetsSpellId);
    const bool twoTargets = ability && ability->usable;
    if (owner->IsTarget(creature)) {
        if (twoTargets) ChangeTarget(2, creature);
        else ChangeTarget(0, nullptr);
        return;
    }
    if (!creature->isNpc()) {
        if (!twoTargets) {
            ChangeTarget(0, creature);
            return;
        }
        if (owner->targets.size() >= 2) ChangeTarget(2, owner->targets.front());
        ChangeTarget(1, creature);
        return;
    }
    if (creature->IsUnnamed()) return;
    const std::string text = HintGrey + "Talk to " + HintGreen + creature->name + HintGrey +
                             " by typing a message such as " + HintGreen + "Hi!";
    owner->AddWindow(new Look(owner, "", text, x, y, 0));
}

void World::ChangeTarget(uint8_t mode, Creature* creature) {
    owner->SelectTarget(mode, creature);
    if (Protocol* connection = owner->activeConnection)
        connection->SendTarget(mode, creature ? creature->id : 0);
}
