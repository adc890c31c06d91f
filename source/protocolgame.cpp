// The game state (state 2) messages of a connection: the dispatch table and the readers the
// handlers share.
#include <string>

#include "core.h"
#include "creature.h"
#include "protocol.h"
#include "shapes.h"
#include "world.h"

namespace {

// Sent by the server to keep the connection alive: not counted.
const uint8_t KeepAlive = 0;
const uint8_t PingReply = 240;
const uint8_t CounterCheck = 241;

}  // namespace

// One message of a game frame; the frame dispatcher calls again while the frame has bytes left.
uint8_t Protocol::ParseGame() {
    ++messageCounter;
    const uint8_t op = inBuffer.GetByte();
    switch (op) {
        case KeepAlive: --messageCounter; break;
        case 16: attach(); break;
        // Messages without fields that change nothing here.
        case 32:
        case 33:
        case 81:
        case 200:
        case 201:
        case 207: break;
        // The world.
        case 34: world_light(); break;
        case 48: map_full(); break;
        case 56: world_step(); break;
        case 57: world_shake(); break;
        case 58: world_move_force(); break;
        case 64: shape_enter(); break;
        case 65: shape_leave(); break;
        case 68: reshape(); break;
        case 69: change_sub_id(); break;
        case 70: change_count(); break;
        case 72: world_effect(); break;
        case 73: throw_effect(); break;
        case 111: world_modify(); break;
        case 112: world_floor_up(); break;
        case 113: world_floor_down(); break;
        // Creatures.
        case 71: creature_effect(); break;
        case 74: creature_effect74(); break;
        case 75: creature_effect75(); break;
        case 76: creature_effect76(); break;
        case 96: creature_appear(); break;
        case 98: creature_remove(); break;
        case 100: creature_turn(); break;
        case 104: creature_move(false); break;
        case 105: creature_status(); break;
        case 106: creature_damage(); break;
        case 107: creature_move(true); break;
        case 114: creature_rename(); break;
        case 115: creature_reshape(); break;
        case 117: creature_lights(); break;
        case 118: creature_respeed(); break;
        case 160: walk_refused(); break;
        case 161: target_lost(); break;
        case 162: creature_sitting(); break;
        case 194: creature_number(); break;
        case 196: creature_typing(true); break;
        case 197: creature_typing(false); break;
        case 224: banned(); break;
        // The player's status and abilities.
        case 18: player_status(); break;
        case 19: player_points(); break;
        case 20: hitpoint_text(); break;
        case 21: stat_first_third(); break;
        case 22: experience_text(); break;
        case 23: status_effects(); break;
        case 24: stat_second(); break;
        case 25: carried_weight(); break;
        case 77: map_position(); break;
        case 78: select_map(); break;
        case 208: spell_bar(); break;
        case 209: spell_bar_slot(); break;
        case 215: spell_state(); break;
        case 216: spell_states(); break;
        case 217: spell_update(); break;
        case 218: new_outfit(); break;
        // Windows, items and trading.
        case 79: open_book(); break;
        case 80: container_attach(); break;
        case 82: container_insert(); break;
        case 83: container_remove(); break;
        case 85: container_closed(); break;
        case 87: container_replace(); break;
        case 88: trade_opened(); break;
        case 89: trade_accepted(); break;
        case 90: trade_ended(); break;
        case 91: trade_request(); break;
        case 92: brew_opened(); break;
        case 93: brew_closed(); break;
        case 144: bank_open(); break;
        case 145: bank(); break;
        case 146: house_invitees(); break;
        case 147: house_lost(); break;
        case 148: bank_balance(); break;
        case 154: rental_open(); break;
        case 155: auction_update(); break;
        case 156: rental_closed(); break;
        case 157: auction_text(); break;
        case 163: item_tooltip(); break;
        case 164: look_refused(); break;
        case 165: open_refused(); break;
        case 166: look_text(); break;
        case 212: craft_opened(); break;
        case 213: craft_closed(); break;
        case 214: shop_items(); break;
        case 219: shop_open(); break;
        case 220: shop_close(); break;
        case 221: shop_item_update(); break;
        case 222: shop_sell_confirm(); break;
        case 223: question_withdrawn(); break;
        case 227: guild(); break;
        // Social, texts and quests.
        case 94: notification_line(); break;
        case 95: server_text(); break;
        case 119: rename(); break;
        case 176: party_invite(); break;
        case 177: party_invite_withdrawn(); break;
        case 178: party_started(); break;
        case 179: party_disbanded(); break;
        case 180: party_leader(); break;
        case 181: party_invited(); break;
        case 182: party_ignored(); break;
        case 183: party_joined(); break;
        case 184: party_left(); break;
        case 185: party_member_status(); break;
        case 191: marker_ignored(); break;
        case 192: speech(); break;
        case 193: private_message(); break;
        case 195: speech_kind(); break;
        case 198: quest_progress(); break;
        case 199: quest_update(); break;
        case 202: friend_list(); break;
        case 203: friend_update(); break;
        case 204: friend_added(); break;
        case 205: friend_removed(); break;
        case 206: channel_message(); break;
        // The connection and the server's state.
        case 17:
        case 49: died(); break;
        case 132: use_with_mode(); break;
        case 252: death(); break;
        case PingReply: core->OnPingReply(); break;
        case CounterCheck: CheckCounter(); break;
        case 225: noble_days(); break;
        case 245: transfer_init(); break;
        case 246: transfer_done(); break;
        case 248: server_crashed(); break;
        case 249: recording_start(); break;
        case 251: recording_end(); break;
        case 253: server_suspended(); break;
        case 254: suspension_over(); break;
        default:
            core->OnDisconnect("unknown header. (" + std::to_string(op) +
                               ", state 2, protocol: " + std::to_string(kind) + ")");
            break;
    }
    return op;
}

// The server's count of the messages it sent, this one included, must match the client's.
void Protocol::CheckCounter() {
    const uint16_t count = inBuffer.GetU16();
    if (!inBuffer.Failed() && count != messageCounter) FailFatally("Counter out of sync.");
}

bool Protocol::ReadItemRest(ItemRecord& item) {
    const Shape* shape = core->GetShape(item.shapeId);
    if (!shape) return false;
    item.count = shape->stackable ? inBuffer.GetVar15() : 1;
    item.subId = shape->hasPalette ? inBuffer.GetU32() : 0;
    return true;
}

bool Protocol::ReadItem(ItemRecord& item) {
    item.shapeId = inBuffer.GetU16();
    return ReadItemRest(item);
}

Position Protocol::ReadRelative() {
    const int8_t dx = int8_t(inBuffer.GetByteOrZero());
    const int8_t dy = int8_t(inBuffer.GetByteOrZero());
    const int8_t dz = int8_t(inBuffer.GetByteOrZero());
    if (!core->player) return Position{};
    const Position& from = core->player->serverPosition;
    return Position{uint16_t(from.x + dx), uint16_t(from.y + dy), uint8_t(from.z + dz)};
}

bool Protocol::NeedWorld(const std::string& text) {
    if (core->world) return true;
    core->OnDisconnect(text);
    return false;
}

Creature* Protocol::FindCreature(uint32_t id) const {
    return core->world ? core->world->GetCreature(id) : nullptr;
}
