"""Server messages of the game state, each an opcode and its fields. An item record is a u16
shape id, then a var15 count when the shape is stackable and a u32 sub-id when it has several
palettes; the fake server knows the shapes of the sample sprite data."""
import functools

from datagen import shapeflags
from fakeserver.requests import sample_shape_flags
from fakeserver.wire import Writer

EQUIPMENT_SLOTS = 15


@functools.lru_cache(maxsize=None)
def _shape_flags():
    return sample_shape_flags()


def item_record(writer, shape, count=1, sub_id=0):
    """Appends the item record of a sample shape to the writer."""
    flags = _shape_flags().get(shape, 0)
    writer.u16(shape)
    if shapeflags.is_stackable(flags):
        writer.var15(count)
    if shapeflags.has_palette(flags):
        writer.u32(sub_id)
    return writer


def attach(player_id, equipment=None):
    """Op 16, entering the game as the creature player_id; equipment maps slots 0 to 14 to
    (shape, count, sub_id) tuples, the other slots are empty."""
    writer = Writer(16).u32(player_id)
    for slot in range(EQUIPMENT_SLOTS):
        if equipment and slot in equipment:
            item_record(writer, *equipment[slot])
        else:
            writer.u16(0)
    return writer.bytes()


def counter_check(count):
    """Op 241: the number of messages the server has sent, this one included."""
    return Writer(241).u16(count).bytes()


def notification_line(kind, text):
    """Op 94: a line of the given kind shown over the game field."""
    return Writer(94).u8(kind).string_var(text).bytes()


def speech(creature_id, text):
    """Op 192: a creature in the world says the text in Main."""
    return Writer(192).u32(creature_id).string_var(text).bytes()


def private_message(name, text):
    """Op 193: a player writes to the player alone."""
    return Writer(193).string8(name).string_var(text).bytes()


def speech_kind(creature_id, kind, text):
    """Op 195: server speech of a kind, shown as plain lines over the creature."""
    return Writer(195).u32(creature_id).u8(kind).string_var(text).bytes()


def typing(creature_id, on):
    """Ops 196 and 197: a creature starts or stops typing."""
    return Writer(196 if on else 197).u32(creature_id).bytes()


def friend_update(friend_id, state, second, name):
    """Op 203: a friend's record changes."""
    return Writer(203).u32(friend_id).u8(state).u8(second).string8(name).bytes()


def friend_added(friend_id, status):
    """Op 204: the answer to the oldest friend request (client request 64)."""
    return Writer(204).u32(friend_id).u8(status).bytes()


def friend_removed(friend_id):
    """Op 205: a friend leaves the list."""
    return Writer(205).u32(friend_id).bytes()


def channel_message(channel, name, text):
    """Op 206: a chat message on a channel."""
    return Writer(206).u8(channel).string8(name).string_var(text).bytes()


# Ops without fields that the client reads and does nothing with.
IDLE_OPS = (32, 33, 81, 200, 201, 207)
# Ops without fields that tell the player has died and end the game.
DEATH_OPS = (17, 49)


def bare(op):
    """A message that is its opcode alone: one of IDLE_OPS or DEATH_OPS."""
    if op not in IDLE_OPS + DEATH_OPS:
        raise ValueError("op %d has fields" % op)
    return Writer(op).bytes()


def use_with_mode():
    """Op 132: the next click of the player chooses what an item is used with."""
    return Writer(132).bytes()


def unused_value(value):
    """Op 182: a u32 the client reads and ignores."""
    return Writer(182).u32(value).bytes()


def unused_notice(first, second, kind, text):
    """Op 191: two signed bytes, a u8 and a text, all read and ignored by the client."""
    return Writer(191).u8(first & 0xFF).u8(second & 0xFF).u8(kind).string_var(text).bytes()


def banned():
    """Op 224: the player has been banned."""
    return Writer(224).bytes()
