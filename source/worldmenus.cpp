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

// Menu codes carried out by the menu window.
enum MenuCode : uint32_t {
    MenuNoAction = 0,
    MenuViewProgression = 100,
    MenuChangeOutfit = 101,
    MenuSitOrStand = 103,
    MenuAttack = 110,
    MenuFollow = 111,
    MenuExamine = 112,
    MenuTrade = 113,
    MenuPartyInvite = 114,
    MenuAcceptInvite = 115,
    MenuPrivateMessage = 116,
    MenuStartTalking = 117,
};

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

bool World::ShowSelfMenu(int32_t x, int32_t y, Creature* player, Position position) {
    const Tile* tile = GetTile(position.Packed(), position.z);
    const bool canSit =
        tile && tile->IsTopSeat() && player->moveable && !player->moving && player->sitReady;
    if (!ModifierHeld()) {
        // A plain right click on the own creature sits down on the seat under it, or stands up.
        if (!canSit) return false;
        const uint32_t facing = tile->things.back()->shape->seatDirection;
        if (facing < 8 && player->direction != facing) {
            player->SetDirection(int32_t(facing));
            // Seated, the turn is only kept as the wanted direction: the server hears of it here.
            if (player->direction != facing && owner->activeConnection)
                owner->activeConnection->SendTurn(uint8_t(facing));
        }
        const uint8_t sit = player->seated ? 0 : 1;
        if (owner->activeConnection) owner->activeConnection->SendSit(sit);
        player->SetSitting(sit);
        player->sitReady = 0;
        return true;
    }

    auto* menu = new Action(owner, 0, player->name, player->id);
    menu->AddEntry(MenuNoAction,
                   (owner->nobleDaysLeft ? "Noble " : "") + VocationName(owner->vocation));
    menu->AddEntryWithHint(MenuNoAction, "Level",
                           Hint(LevelColour, std::to_string(owner->playerLevel)));
    menu->AddEntry(MenuNoAction, "-");
    menu->AddEntry(MenuViewProgression, "View progression..");
    menu->AddEntry(MenuChangeOutfit, "Change outfit..");
    if (canSit) {
        menu->AddEntry(MenuNoAction, "-");
        menu->AddEntryWithHint(MenuSitOrStand, player->seated ? "Stand up" : "Sit down",
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
        auto* menu = new Action(owner, 0, "", creature->id);
        menu->AddEntry(MenuExamine, "Examine");
        Open(owner, menu, x, y);
        return true;
    }

    auto* menu = new Action(owner, 0, creature->name, creature->id);
    if (creature->talk) menu->AddEntry(MenuStartTalking, "Start talking..");
    else
        menu->AddEntryWithHint(MenuAttack, owner->IsTarget(creature) ? "Stop attacking" : "Attack",
                               Hint(RightButtonColour, "RMB"));
    const bool otherPlayer = creature->playerFlag != 0;
    if (otherPlayer)
        menu->AddEntryWithHint(MenuFollow,
                               owner->followTarget == creature ? "Stop following" : "Follow",
                               Hint(LeftButtonColour, "LMB"));
    menu->AddEntry(MenuExamine, "Examine");
    if (otherPlayer) {
        menu->AddEntry(MenuNoAction, "-");
        menu->AddEntry(MenuTrade, "Trade with..");
        if (owner->HasPartyInvite(creature->id))
            menu->AddEntry(MenuAcceptInvite, "Accept invite..");
        else menu->AddEntry(MenuPartyInvite, "Party with..");
        menu->AddEntry(MenuPrivateMessage, "Send message..");
    }
    Open(owner, menu, x, y);
    return true;
}
