// The game field's input: the one-shot input modes a press serves, holding and dropping things,
// looking, the click that walks or follows, and the right click that uses a thing next to the
// player or opens its menu.
#include <windows.h>

#include <algorithm>
#include <cstdlib>

#include "core.h"
#include "creature.h"
#include "item.h"
#include "itemplace.h"
#include "mouse.h"
#include "notification.h"
#include "platform.h"
#include "protocol.h"
#include "shape.h"
#include "spell.h"
#include "tile.h"
#include "windows/game/action.h"
#include "windows/game/chatbox.h"
#include "windows/game/console.h"
#include "windows/game/field.h"
#include "world.h"

namespace {

// A right button held this long is a walk, not a click.
constexpr uint64_t RightClickMs = 500;
// The cursor of the use-with mode (Core::SetCursor kinds).
constexpr uint32_t TargetCursor = 1;
// Space moves a thing that can be picked up into equipment slot 2.
constexpr uint8_t PickupSlot = 2;
constexpr uint8_t MoveToSlotMode = 3;
const char* const RightClickHint = "RMB";

bool AltOrCtrlOrShift() { return KeyHeld(VK_MENU) || KeyHeld(VK_CONTROL) || KeyHeld(VK_SHIFT); }

Item* AsItem(Thing* thing) { return static_cast<Item*>(thing); }

uint16_t ShapeIdOf(Thing* thing) { return uint16_t(AsItem(thing)->shapeId); }

// Within one tile of the player in x and y, on the player's floor.
bool IsNear(const Tile& tile, const Creature& player) {
    return std::abs(tile.x - player.position.x) <= 1 && std::abs(tile.y - player.position.y) <= 1 &&
           tile.z == player.position.z;
}

// The creatures one may walk up to: named ones that do not refuse it.
bool CanApproach(const Creature& creature) {
    return !creature.IsUnnamed() && !creature.examineOnly;
}

}  // namespace

void Field::Refuse(const std::string& text) {
    if (World* world = core->world; world && world->notification)
        world->notification->Add(Notification::RefusalKind, text);
}

// --- Pressing ----------------------------------------------------------------------------------

void Field::OnMouseDown(int32_t mx, int32_t my) {
    if (!core->player || !core->world) return;
    uint8_t* modes = core->inputModes;
    if (modes[InputSpellTarget]) {
        CastArmedSpell(mx, my);
    } else if (modes[InputTradeSelect] || modes[InputPartySelect]) {
        const bool trade = modes[InputTradeSelect] != 0;
        modes[trade ? InputTradeSelect : InputPartySelect] = modes[InputDrop] = 0;
        ChoosePartner(mx, my, trade);
    } else if (modes[InputTarget]) {
        modes[InputTarget] = modes[InputDrop] = 0;
        ChooseUseTarget(mx, my);
    } else if (modes[InputUseWith]) {
        modes[InputUseWith] = modes[InputDrop] = 0;
        UseHeldThingOn(mx, my);
    } else if (const Tile* tile = core->world->PickThing(mx, my, true, false)) {
        Hold(tile);
        modes[InputDragArmed] = 1;
    }
}

// The armed ability goes to the creature under the point when it aims at creatures, else (or
// when there is none) to the tile on the player's floor when it aims at tiles.
void Field::CastArmedSpell(int32_t mx, int32_t my) {
    World* world = core->world;
    const Creature* player = core->player;
    if (Spell* spell = core->targetingSpell) {
        bool handled = false;
        if (spell->TargetsCreature()) {
            const Creature* creature = world->PickCreature(mx, my, true);
            if (!creature && !spell->TargetsTile()) {
                Refuse("You need to select a creature.");
            } else if (creature && spell->IsCoolingDown()) {
                Refuse("Please wait while cooling down.");
                handled = true;
            } else if (creature) {
                spell->CastOnCreature(core->barSlot, creature->id);
                handled = true;
            }
        }
        if (!handled && spell->TargetsTile()) {
            const Tile* tile = world->PickThing(mx, my, true, true);
            if (!tile) {
                Refuse("You need to select a tile.");
            } else if (spell->IsCoolingDown()) {
                Refuse("Please wait while cooling down.");
            } else {
                const Position& at = player->position;
                spell->CastAtPosition(core->barSlot, tile->x - at.x, tile->y - at.y,
                                      tile->z - at.z);
            }
        }
    }
    core->targetingSpell = nullptr;
    core->inputModes[InputSpellTarget] = core->inputModes[InputDrop] = 0;
}

void Field::ChoosePartner(int32_t mx, int32_t my, bool trade) {
    const Creature* creature = core->world->PickCreature(mx, my, true);
    if (!creature || !creature->playerFlag) {
        Refuse("You did not select a player.");
    } else if (creature == core->player) {
        Refuse(trade ? "You cannot trade with yourself." : "You cannot start party with yourself.");
    } else if (Protocol* connection = core->activeConnection) {
        if (trade) connection->SendTradeRequest(creature->id);
        else if (core->HasPartyInvite(creature->id)) connection->SendPartyAccept(creature->id);
        else connection->SendPartyInvite(creature->id);
    }
}

// The server waits for what a use goes to: a creature, or a thing on the floor shown there.
void Field::ChooseUseTarget(int32_t mx, int32_t my) {
    World* world = core->world;
    Protocol* connection = core->activeConnection;
    if (const Creature* creature = world->PickCreature(mx, my, false)) {
        if (connection) connection->SendUseOnCreature(creature->id);
        return;
    }
    const Tile* tile = world->PickThing(mx, my, true, false);
    if (tile && core->dragFrom) {
        if (connection)
            connection->SendUseWithMap(tile->x, tile->y, tile->z, core->pickStack,
                                       ShapeIdOf(core->dragFrom));
        return;
    }
    Refuse("Unable to pick a field thing.");
    if (connection) connection->SendUseCancel();
}

void Field::UseHeldThingOn(int32_t mx, int32_t my) {
    World* world = core->world;
    const Creature* player = core->player;
    Protocol* connection = core->activeConnection;
    const Creature* creature = world->PickCreature(mx, my, false);
    if (creature && creature->position.z == player->position.z) {
        if (!connection || !core->dragTo) return;
        const uint16_t heldId = ShapeIdOf(core->dragTo);
        if (!ItemPlace::IsTile(core->useItemX))
            connection->SendUseSlotItemOnCreature(uint8_t(core->useItemY), core->useItemZ,
                                                  creature->id, heldId);
        else
            connection->SendUseMapItemOnCreature(core->useItemX - player->position.x,
                                                 core->useItemY - player->position.y,
                                                 core->useItemIndex, creature->id, heldId);
        return;
    }
    const Tile* tile = world->PickThing(mx, my, true, false);
    if (!tile) return;
    if (tile->z != player->position.z) {
        Refuse("You cannot use this item with a different layer.");
    } else if (core->dragFrom) {
        core->dropX = tile->x;
        core->dropY = tile->y;
        core->dropZ = tile->z;
        core->UseThing(ShapeIdOf(core->dragFrom));
    }
}

void Field::Hold(const Tile* tile) {
    core->useItemX = tile->x;
    core->useItemY = tile->y;
    core->useItemZ = tile->z;
    core->useItemIndex = core->pickStack;
    core->dragTo = core->dragFrom;
}

// --- Releasing ---------------------------------------------------------------------------------

void Field::OnMouseUp(int32_t mx, int32_t my) {
    World* world = core->world;
    Creature* player = core->player;
    const uint8_t* modes = core->inputModes;
    if (!world || !player || modes[InputSpellTarget]) return;
    if (modes[InputDrop]) {
        // A drop goes to the thing under the point, or else to the tile under it.
        const Tile* bare = world->PickThing(mx, my, false, false);
        const Tile* target = world->PickThing(mx, my, true, false);
        if (!target) target = bare;
        if (!target) return;
        core->dropX = target->x;
        core->dropY = target->y;
        core->dropZ = target->z;
        core->DropThing();
        return;
    }
    if (!modes[InputDragArmed]) return;
    const Tile* held = world->GetTileXY(core->useItemX, core->useItemY, core->useItemZ);
    if (!held || held->things.empty()) return;

    if (AltOrCtrlOrShift()) {
        Look(mx, my);
    } else if (KeyHeld(VK_SPACE)) {
        Thing* thing = core->dragTo;
        if (!thing || !thing->shape || thing->shape->pickupClass == 0) return;
        core->moveCount = AsItem(thing)->count;
        core->dropX = ItemPlace::EquipmentSlot;
        core->dropY = 0;
        core->dropZ = PickupSlot;
        core->MoveThing(thing, false, false, MoveToSlotMode);
    } else {
        Click(mx, my, player);
    }
}

void Field::LookAtHeldThing() {
    if (core->dragTo && core->activeConnection)
        core->activeConnection->SendLookMapItem(core->useItemX, core->useItemY, core->useItemZ,
                                                core->useItemIndex, ShapeIdOf(core->dragTo));
}

// Ctrl+Alt on another player opens a private conversation with it; any other modifier looks.
void Field::Look(int32_t mx, int32_t my) {
    const Creature* creature = core->world->PickCreature(mx, my, false);
    if (!creature) {
        LookAtHeldThing();
        return;
    }
    if (creature->playerFlag && KeyHeld(VK_CONTROL) && KeyHeld(VK_MENU)) {
        auto* console = dynamic_cast<Console*>(core->consoleWindow);
        if (Chatbox* chat = console ? console->mainChatbox : nullptr) {
            chat->OpenChannel(ChannelId::Private, creature->name, 1);
            chat->SelectChannel(chat->FindChannelByIdAndName(ChannelId::Private, creature->name));
        }
        return;
    }
    if (core->activeConnection) core->activeConnection->SendLookCreature(creature->id);
}

// A click on another creature walks up to it (a second click stops that); a click elsewhere
// walks to the tile.
void Field::Click(int32_t mx, int32_t my, Creature* player) {
    World* world = core->world;
    Protocol* connection = core->activeConnection;
    Creature* creature = world->PickCreature(mx, my, true);
    if (creature && creature != player) {
        if (creature == core->followTarget) {
            core->followTarget = nullptr;
            player->followingPath = 0;
        } else if (CanApproach(*creature)) {
            core->followTarget = creature;
            creature->StampTime();
            if (!core->targets.empty()) {
                core->SelectTarget(0, nullptr);
                if (connection) connection->SendTarget(0, 0);
            }
        } else if (connection) {
            connection->SendLookCreature(creature->id);
        }
        return;
    }
    const Creature* below = world->PickCreature(mx, my, false);
    if (below && below->position.z != player->position.z) {
        if (connection) connection->SendLookCreature(below->id);
        return;
    }
    if (WalkTowards(mx, my, player)) return;
    core->followTarget = nullptr;
    player->followingPath = 0;
    LookAtHeldThing();
}

// The player walks to the tile under the point on its own floor, or to the held tile; not
// while sitting, nor to a floor more than one away. True when a path was found.
bool Field::WalkTowards(int32_t mx, int32_t my, Creature* player) {
    World* world = core->world;
    const Position at = player->position;
    if (player->seated || std::abs(int32_t(core->useItemZ) - at.z) > 1) return false;
    const Tile* destination = world->PickThing(mx, my, true, true);
    if (!destination)
        destination = world->GetTileXY(core->useItemX, core->useItemY, core->useItemZ);
    if (!destination) return false;
    const Position goal = destination->GetPosition();
    core->useItemX = goal.x;
    core->useItemY = goal.y;
    core->useItemZ = goal.z;
    core->followTarget = nullptr;
    // A blocked goal has no path, unless it leads to another floor.
    if (!world->WalkTo(player, goal)) return false;
    player->followingPath = 1;
    player->goalPosition = goal;
    PlaceWalkMarker(destination, player);
    return true;
}

// The marker lies on the destination; a destination on another floor is marked where it is seen
// from the lower of the two floors.
void Field::PlaceWalkMarker(const Tile* destination, const Creature* player) {
    const Item* marker = core->interfaceItems.single[3];
    if (!marker) return;
    const int32_t playerFloor = player->position.z, goalFloor = destination->z;
    const int32_t d = std::max(0, playerFloor - goalFloor);
    Tile* tile = core->world->GetTileXY(uint16_t(destination->x + d), uint16_t(destination->y + d),
                                        uint8_t(std::min(playerFloor, goalFloor)));
    if (tile)
        tile->AppendThing(
            new Item(core, marker->shapeId, 0, tile->x, tile->y, tile->z, 1, ItemIdle));
}

// --- Right click -------------------------------------------------------------------------------

void Field::OnRightClick(int32_t mx, int32_t my) {
    const Mouse* mouse = core->screen ? core->screen->mouse : nullptr;
    World* world = core->world;
    Creature* player = core->player;
    if (!mouse || !world || !player || core->frameTimeMs - mouse->rightPressTime >= RightClickMs)
        return;
    Tile* tile = world->PickThing(mx, my, true, true);
    if (!tile) {
        Refuse("Unable to reach that tile.");
        return;
    }
    const bool nearby = IsNear(*tile, *player);
    const bool modifier = AltOrCtrlOrShift();
    if (nearby && !modifier && tile->UseFlaggedThing()) return;
    const bool fromWorld = world->OnFieldRightClick(mx, my);
    if ((fromWorld && !modifier) || !core->dragFrom) return;
    if (!modifier) {
        if (nearby) UsePickedThing(tile, mx, my, player);
    } else if (nearby || !fromWorld) {
        OpenThingMenu(tile, nearby, fromWorld, mx, my);
    }
}

// The direct action on the thing next to the player: sit on the seat under the player, hold a
// thing that is used with another, open a container, or use the thing.
void Field::UsePickedThing(const Tile* tile, int32_t mx, int32_t my, Creature* player) {
    Thing* thing = core->dragFrom;
    const Shape* shape = thing->shape;
    Protocol* connection = core->activeConnection;
    if (tile->GetPosition() == player->position && thing == tile->things.back() && shape &&
        shape->seat) {
        // Without a modifier key the world's own menu sits down or stands up.
        core->world->ShowSelfMenu(mx, my, player, player->position);
    } else if (shape && shape->useWith) {
        Hold(tile);
        core->inputModes[InputUseWith] = core->inputModes[InputDrop] = 1;
        core->SetCursor(TargetCursor);
    } else if (shape && shape->container) {
        if (!connection) return;
        connection->SendOpenMapItem(tile->x, tile->y, core->pickStack, ShapeIdOf(thing));
        connection->pendingOpens.push_back({uint16_t(mx), uint16_t(my), 255});
    } else if (connection) {
        connection->SendUseMapItem(tile->x, tile->y, core->pickStack, ShapeIdOf(thing));
    }
}

// The rows of a picked thing: appended to the world's menu of a creature on the tile, or in a
// menu of their own. "RMB" marks what a plain right click would do.
void Field::OpenThingMenu(const Tile* tile, bool nearby, bool fromWorld, int32_t mx, int32_t my) {
    auto* menu = fromWorld ? dynamic_cast<Action*>(core->activeWindow) : nullptr;
    const bool own = !menu;
    if (own) menu = new Action(core, nullptr, "", 0);
    else menu->AddEntry(ActionCode::None, "-");
    Hold(tile);

    const Shape* shape = core->dragFrom->shape;
    const bool useWith = shape && shape->useWith, container = shape && shape->container;
    const bool climbable = nearby && tile->HasFlaggedThing();
    const std::string hint = fromWorld ? "" : RightClickHint;
    const std::string actionHint = climbable ? "" : hint;
    if (climbable) menu->AddEntryWithHint(ActionCode::UseItem, "Climb up..", hint);
    if (nearby && useWith) menu->AddEntryWithHint(ActionCode::UseWith, "Use with..", actionHint);
    if (nearby && container) menu->AddEntryWithHint(ActionCode::OpenItem, "Open..", actionHint);
    if (nearby && !useWith && !container && !(climbable && shape && shape->noUseEntry))
        menu->AddEntryWithHint(ActionCode::UseItem, fromWorld ? "Use item" : "Use", actionHint);
    menu->AddEntry(ActionCode::ExamineItem, fromWorld ? "Examine item" : "Examine");
    // The world's menu is opened again so that its size takes in the rows added here.
    menu->Open(mx, my);
    if (own) core->AddWindow(menu);
}
