"""The server's messages about the player's house, an auctioneer's rental list and guilds.

A house of the rental list is a dict with the keys of RENTAL_HOUSE_FIELDS; the integers are
little-endian and the texts u8-counted. Guilds of the guild list are (id, name, value, members)
with members as (flags, name, value); invitations are (id, guild name, leader name, leader value,
guild value)."""
from fakeserver.wire import Writer

# The fields of a house of the rental list (op 154), in wire order, with their kinds.
RENTAL_HOUSE_FIELDS = [
    ('house', 'u32'), ('type', 'u16'), ('size', 'u16'), ('rent', 'u32'), ('current_bid', 'u32'),
    ('auction_seconds', 'u32'), ('town', 'string'), ('name_first', 'string'),
    ('name_second', 'string'), ('description', 'string'), ('bid_holder', 'string'),
    ('owner', 'string'),
]
RENTAL_HOUSE_DEFAULTS = {'type': 1, 'size': 100, 'rent': 1000, 'current_bid': 0, 'auction_seconds': 0,
                         'town': 'Northport', 'name_first': 'Elm', 'name_second': 'Lane 3',
                         'description': '', 'bid_holder': '', 'owner': ''}

GUILD_OPCODE = 227
GUILD_LIST, GUILD_FOUND_OPEN, GUILD_FOUND_CLOSE = 1, 2, 3


def house_info(house_id, house_type, size, rent, seconds_to_due, town, name_first, name_second,
               guests=()):
    """Op 146: the player's own house; guests as (name, role), role 1 the owner."""
    writer = Writer(146).u32(house_id).u16(house_type).u16(size).u32(rent).u32(seconds_to_due)
    writer.u32(len(guests)).string8(town).string8(name_first).string8(name_second)
    for name, role in guests:
        writer.string8(name).u32(role)
    return writer.bytes()


def house_lost():
    """Op 147: the player has no house any more."""
    return Writer(147).u32(0).bytes()


def bank_balance(copper):
    """Op 148: the player's bank balance in copper coins."""
    return Writer(148).u32(copper).bytes()


def rental_open(title, houses=()):
    """Op 154: an auctioneer's rental list; each house a dict of RENTAL_HOUSE_FIELDS (the
    missing ones take RENTAL_HOUSE_DEFAULTS; 'house' is needed)."""
    writer = Writer(154).string8(title).u32(len(houses))
    for house in houses:
        values = dict(RENTAL_HOUSE_DEFAULTS, **house)
        for key, kind in RENTAL_HOUSE_FIELDS:
            if kind == 'string':
                writer.string8(values[key])
            else:
                getattr(writer, kind)(values[key])
    return writer.bytes()


def auction_update(house_id, kind, current_bid, auction_seconds, name):
    """Op 155: a house of the open rental list changes; kind 1: it is sold to `name`."""
    return Writer(155).u32(house_id).u32(kind).u32(current_bid).u32(auction_seconds).string8(name).bytes()


def rental_close():
    """Op 156: the rental list closes."""
    return Writer(156).bytes()


def auction_notice(text):
    """Op 157: a notice in a box titled "Auction"."""
    return Writer(157).string8(text).bytes()


def guild_list(guilds=(), invitations=(), own=True):
    """Op 227 sub 1: the player's guilds and the invitations to other guilds."""
    writer = Writer(GUILD_OPCODE).u8(GUILD_LIST).u8(1 if own else 0).u8(len(guilds))
    for guild_id, name, value, members in guilds:
        writer.u16(guild_id).string8(name).u32(value).u16(len(members))
        for flags, member, member_value in members:
            writer.u8(flags).string8(member).u32(member_value)
    writer.u8(len(invitations))
    for guild_id, name, leader, leader_value, value in invitations:
        writer.u16(guild_id).string8(name).string8(leader).u32(leader_value).u32(value)
    return writer.bytes()


def guild_found_open():
    """Op 227 sub 2: the guild founding window opens."""
    return Writer(GUILD_OPCODE).u8(GUILD_FOUND_OPEN).bytes()


def guild_found_close():
    """Op 227 sub 3: the guild founding window closes."""
    return Writer(GUILD_OPCODE).u8(GUILD_FOUND_CLOSE).bytes()
