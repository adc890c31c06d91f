// The popup menus the World offers on the own creature and on other creatures.
#include <string>

#include "core.h"
#include "creature.h"
#include "font.h"
#include "platform.h"
#include "protocol.h"
#include "shape.h"
#include "thing.h"
#include "tile.h"
#include "windows/game/action.h"
#include "world.h"

namespace {

const char* const VocationNames[] = {"Citizen", "Page",     "Apprentice", "Sorcerer",
                                     "Shaman",  "Wizard",   "Cleric",     "Ranger",
                                     "Rogue",   "Marksman", "Knight"};

constexpr uint32_t LevelColour = 0xC0FFFF00;
constexpr uint32_t RightButtonColour = 0xC0E08080;
constexpr uint32_t LeftButtonColour = 0xC080E080;

std::string Hint(uint32_t colour, const std::string& text) { return MakeColorCode(colour) + text; }

std::string VocationName(uint8_t vocation) {
    return vocation < sizeof VocationNames / sizeof *VocationNames ? VocationNames[vocation] : "";
}

bool ModifierHeld() { return KeyHeld(VK_MENU) || KeyHeld(VK_CONTROL) || KeyHeld(VK_SHIFT); }

void Open(Core* core, Action* menu, int32_t x, int32_t y) {
    menu->Open(x, y);
    core->AddWindow(menu);
}

}  // namespace

bool World::CanSitOrStand(const Creature* creature) {
    const Tile* tile = GetTile(creature->position.Packed(), creature->position.z);
    return tile && tile->IsTopSeat() && creature->moveable && !creature->moving &&
           creature->sitReady;
}

bool World::SitOrStand(Creature* creature) {
    if (!CanSitOrStand(creature)) return false;
    const Tile* tile = GetTile(creature->position.Packed(), creature->position.z);
    Protocol* connection = owner->activeConnection;
    const uint32_t facing = tile->things.back()->shape->seatDirection;
    if (facing < 8 && creature->direction != facing) {
        creature->SetDirection(int32_t(facing));
        // Seated, the turn is only kept as the wanted direction: the server hears of it here.
        if (creature->direction != facing && connection) connection->SendTurn(uint8_t(facing));
    }
    const uint8_t sit = creature->seated ? 0 : 1;
    if (connection) connection->SendSit(sit);
    creature->SetSitting(sit);
    creature->sitReady = 0;
    return true;
}

bool World::ShowSelfMenu(int32_t x, int32_t y, Creature* player, Position) {
    // A plain right click on the own creature sits down on the seat under it, or stands up.
    if (!ModifierHeld()) return SitOrStand(player);
    const bool canSit = CanSitOrStand(player);

    auto* menu = new Action(owner, nullptr, player->name, player->id);
    menu->AddEntry(ActionCode::None,
                   (owner->nobleDaysLeft ? "Noble " : "") + VocationName(owner->vocation));
    menu->AddEntryWithHint(ActionCode::None, "Level",
                           Hint(LevelColour, std::to_string(owner->playerLevel)));
    menu->AddEntry(ActionCode::None, "-");
    menu->AddEntry(ActionCode::ViewProgression, "View progression..");
    menu->AddEntry(ActionCode::ChangeOutfit, "Change outfit..");
    if (canSit) {
        menu->AddEntry(ActionCode::None, "-");
        menu->AddEntryWithHint(ActionCode::SitOrStand, player->seated ? "Stand up" : "Sit down",
                               Hint(RightButtonColour, "RMB"));
    }
    Open(owner, menu, x, y);
    return true;
}

bool World::ShowCreatureMenu(int32_t x, int32_t y, Creature* player, Creature* creature) {
    if (!ModifierHeld()) {
        ShowTalkHint(x, y, player, creature);
        return false;
    }
    if ((creature->talk && creature->IsUnnamed()) || creature->examineOnly) {
        auto* menu = new Action(owner, nullptr, "", creature->id);
        menu->AddEntry(ActionCode::ExamineCreature, "Examine");
        Open(owner, menu, x, y);
        return true;
    }

    auto* menu = new Action(owner, nullptr, creature->name, creature->id);
    if (creature->talk) menu->AddEntry(ActionCode::StartTalking, "Start talking..");
    else
        menu->AddEntryWithHint(ActionCode::Attack,
                               owner->IsTarget(creature) ? "Stop attacking" : "Attack",
                               Hint(RightButtonColour, "RMB"));
    const bool otherPlayer = creature->playerFlag != 0;
    if (otherPlayer)
        menu->AddEntryWithHint(ActionCode::Follow,
                               owner->followTarget == creature ? "Stop following" : "Follow",
                               Hint(LeftButtonColour, "LMB"));
    menu->AddEntry(ActionCode::ExamineCreature, "Examine");
    if (otherPlayer) {
        menu->AddEntry(ActionCode::None, "-");
        menu->AddEntry(ActionCode::TradeWith, "Trade with..");
        if (owner->HasPartyInvite(creature->id))
            menu->AddEntry(ActionCode::AcceptInvite, "Accept invite..");
        else menu->AddEntry(ActionCode::PartyWith, "Party with..");
        menu->AddEntry(ActionCode::SendMessage, "Send message..");
    }
    Open(owner, menu, x, y);
    return true;
}
