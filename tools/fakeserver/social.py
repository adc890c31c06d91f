"""Server messages about the party and the friend list: the invitation and its withdrawal
(176, 177), the party started or joined (178), disbanded (179), a new leader (180), someone
invited (181), a member joining (183), leaving (184) and a member's health and mana (185), and
the whole friend list (202), and a player's new name (119). Strings carry a u8 count."""
from fakeserver.wire import Writer


def party_invite(inviter_id, name):
    """Op 176: a player invites the player to a party."""
    return Writer(176).u32(inviter_id).string8(name).bytes()


def party_invite_withdrawn(inviter_id):
    """Op 177: the invitation is withdrawn."""
    return Writer(177).u32(inviter_id).bytes()


def party_started(members):
    """Op 178: the party's members, each (creature id, health, mana, name); health and mana
    run from 0 to 200."""
    writer = Writer(178).u8(len(members))
    for creature_id, health, mana, name in members:
        writer.u32(creature_id).u8(health).u8(mana).string8(name)
    return writer.bytes()


def party_disbanded():
    """Op 179: the party ends."""
    return Writer(179).bytes()


def party_leader(creature_id):
    """Op 180: the member leads the party now."""
    return Writer(180).u32(creature_id).bytes()


def party_invited(creature_id, name):
    """Op 181: someone was invited to the party."""
    return Writer(181).u32(creature_id).string8(name).bytes()


def party_joined(creature_id, health, mana, name):
    """Op 183: a member joins."""
    return Writer(183).u32(creature_id).u8(health).u8(mana).string8(name).bytes()


def party_left(creature_id):
    """Op 184: a member leaves."""
    return Writer(184).u32(creature_id).bytes()


def party_member_status(creature_id, health, mana):
    """Op 185: a member's health and mana; health 0 is a death."""
    return Writer(185).u32(creature_id).u8(health).u8(mana).bytes()


def friend_list(friends):
    """Op 202: the whole friend list, each (friend id, status, group, note, name); the note comes
    before the name."""
    writer = Writer(202).u8(0).u8(len(friends))
    for friend_id, status, group, note, name in friends:
        writer.u32(friend_id).u8(status).u8(group).string8(note).string8(name)
    return writer.bytes()


def player_renamed(old_name, new_name):
    """Op 119: a player's name changed; the friend, party, house guest and muted lists follow."""
    return Writer(119).string8(old_name).string8(new_name).bytes()
