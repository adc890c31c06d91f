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
