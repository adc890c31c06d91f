"""Server messages of the containers and equipment, and the texts the client words from a code
or a few numbers. Container 0 is the equipment, 1 to 249 are ordinary containers."""
from fakeserver.gamemessages import item_record
from fakeserver.wire import Writer

# The end of an item list.
LIST_END = 255
# Flag bit of op 80: the container lies inside another one.
HAS_PARENT = 0x80


def container_open(number, title, items, slots=None, icon=0, has_parent=False):
    """Op 80: opens or refills a container; items are (shape, count) pairs in slot order."""
    writer = Writer(80).u8(number).u8(HAS_PARENT if has_parent else 0)
    writer.u8(len(items) if slots is None else slots).u16(icon).string8(title)
    for shape, count in items:
        item_record(writer, shape, count)
    return writer.u8(LIST_END).bytes()


def container_insert(number, slot, items):
    """Op 82: the items inserted at the slot one after the other (the last one ends up first)."""
    writer = Writer(82).u8(number).u8(slot).u8(len(items))
    for shape, count in items:
        item_record(writer, shape, count)
    return writer.bytes()


def container_remove(number, slot):
    """Op 83: the item of the slot is gone."""
    return Writer(83).u8(number).u8(slot).bytes()


def container_closed(number):
    """Op 85: the server closed the container."""
    return Writer(85).u8(number).bytes()


def container_replace(number, slot, shape=0, count=1):
    """Op 87: the slot holds another item, or with shape 0 none."""
    writer = Writer(87).u8(number).u8(slot)
    return (item_record(writer, shape, count) if shape else writer.u16(0)).bytes()


def item_description(name, text="", attributes=(), bonuses=(), requirements=()):
    """Op 163: what an examined item is; attributes and bonuses are (code, value text) pairs,
    requirements (attribute, value) pairs."""
    return description_record(Writer(163), name, text, attributes, bonuses,
                              requirements).bytes()


def hitpoints_lost(attacker_id, damage_type, amount):
    """Op 20: the player lost hit points to the attacker."""
    return Writer(20).u32(attacker_id).u8(damage_type).u16(amount).bytes()


def experience_gained(amount, progress=0):
    """Op 22: experience points gained, and the way to the next level in 1/100000."""
    return Writer(22).u16(amount).varint(progress).bytes()


def server_text(code):
    """Op 95: a fixed text chosen by its code."""
    return Writer(95).u8(code).bytes()


def description_record(writer, name, text="", attributes=(), bonuses=(), requirements=()):
    """Appends an item description (see op 163) to the writer."""
    flags = ((1 if text else 0) | (2 if attributes else 0) | (4 if bonuses else 0) |
             (8 if requirements else 0))
    writer.u8(flags).string8(name)
    if text:
        writer.string8(text)
    for rows in (attributes, bonuses):
        if rows:
            writer.u8(len(rows))
            for code, value in rows:
                writer.u8(code).string8(value)
    if requirements:
        writer.u8(len(requirements))
        for attribute, value in requirements:
            writer.u8(attribute).u8(value)
    return writer


def examine_refused():
    """Op 164: the server refused the oldest examine request; nothing is shown for it."""
    return Writer(164).bytes()


def open_refused():
    """Op 165: the server refused the oldest request to open a container."""
    return Writer(165).bytes()


def container_looked_into(member_id, container, items=()):
    """Op 166: a party member looked into a container: the member's id, the number of items,
    then the names of the container and of each item as bare item descriptions."""
    writer = Writer(166).u32(member_id).u8(len(items))
    for name in (container,) + tuple(items):
        description_record(writer, name)
    return writer.bytes()


def death(corpse, count=1, sub_id=0):
    """Op 252: the player died; the corpse's item record (a shape the client does not know
    stands alone) goes on the player's tile."""
    return item_record(Writer(252), corpse, count, sub_id).bytes()
