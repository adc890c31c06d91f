"""The flag word of a shape record in "data/Veltor.data" and the meanings the game gives its
fields. The client's Shape reads the same table (source/shape.cpp, Shape::ApplyFlagMeanings);
the generator writes it and the fake server reads it to know what an item record carries."""

# Bits whose presence adds bytes to the record.
PALETTE_ID = 1 << 2      # u8 palette id follows; the item has several palettes (a sub-id on the wire)
CODE_BYTE = 1 << 15      # u8 code byte follows
SINK = 1 << 23           # u8 sink follows
HEIGHT = 1 << 24         # u8 height follows
SPEED = 1 << 25          # u8 ground speed follows
DIRECTION_IDS = 1 << 26  # eight u32 direction shape ids follow
LIGHTS = 1 << 27         # light records follow, and every cell carries light groups
KIND = 1 << 28           # u8 kind follows

# Bits that add nothing to the record.
STACKABLE = 1 << 3       # a count follows the shape id of an item record on the wire
BLOCKING = 1 << 4
NOT_PICKABLE = 1 << 6    # picking on the game field passes over it
GROUND = 1 << 12
COVERS = 1 << 13         # counts in the world's cover pass
AVOIDED = 1 << 30        # the path search avoids it

# Bits 0-1: how the thing is used.
USE_SHIFT, USE_MASK = 0, 3
USE_PLAIN, USE_WITH, USE_CONTAINER, USE_NO_ENTRY = 0, 1, 2, 3

# Bits 8-9: the pickup class; not 0 = the thing can be picked up (it is then movable).
PICKUP_SHIFT, PICKUP_MASK = 8, 3

# Bits 10-11: the floor kind a tile tests for the value 2.
FLOOR_KIND_SHIFT, FLOOR_KIND_MASK = 10, 3

# Values of the kind byte.
KIND_SEAT = 5            # the byte that ends the fixed record part is then the seated direction
KIND_USE_TARGET = 4      # the thing a tile's use action picks (climbable)
SEAT_KEEP_DIRECTION = 255

# Layer flag bits (the flags byte of a cell's layer): an upper layer is drawn over the
# creatures of its tile; the others are lower layers.
LAYER_UPPER = 1 << 0

# The direction shape id whose value names the shape of a creature's preview.
PREVIEW_DIRECTION = 4


def use_flags(use):
    """The flag-word bits of a use class."""
    return (use & USE_MASK) << USE_SHIFT


def pickup_flags(pickup_class):
    return (pickup_class & PICKUP_MASK) << PICKUP_SHIFT


def use_class(flags):
    return (flags >> USE_SHIFT) & USE_MASK


def pickup_class(flags):
    return (flags >> PICKUP_SHIFT) & PICKUP_MASK


def is_stackable(flags):
    return bool(flags & STACKABLE)


def has_palette(flags):
    return bool(flags & PALETTE_ID)
