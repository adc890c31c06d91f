"""Server messages of the world and its creatures: the full area (op 48), the player's steps
(ops 56, 112 and 113) with the strips of new tiles they carry, creature records, creature steps
and floating numbers, the light word (op 34), missiles (op 73), the player status (op 18) and the
world map's selection and position (ops 78 and 77); a forced step (op 58) and a re-read of the
area (op 111), things entering, leaving and changing on tiles and effects there (ops 64 to 72),
screen shakes (op 57), the creatures' effects, turns, health, forced steps, names, looks, lights
and speed (ops 74 to 76, 100, 105, 107, 114, 115, 117, 118) and the player's points,
statistics and status effects (ops 19, 21, 23, 24).

Positions are the server's own (x, y, z); the client places the first area around its player
and follows every later message relative to it. The area is 24 x 20 tiles with the player at
column 11, row 9. A tile stream walks rectangles row by row, floor after floor, with one run
counter across all of them:

    b < 250   an item record whose shape id is b + 256 x the next byte
    252       a creature record
    254 n     the position ends, and the next n positions (a stop-bit varint) are empty
    255       the position ends
"""
from datagen import shapeflags
from fakeserver.gamemessages import item_record
from fakeserver.requests import sample_shape_flags
from fakeserver.wire import Writer

VIEW_WIDTH, VIEW_HEIGHT = 24, 20
PLAYER_COLUMN, PLAYER_ROW = 11, 9

# Directions 0 north to 7 north-west, clockwise: (dx, dy).
DELTAS = [(0, -1), (1, -1), (1, 0), (1, 1), (0, 1), (-1, 1), (-1, 0), (-1, -1)]
NORTH_WEST, SOUTH_EAST = 7, 3

CREATURE_MARKER, RUN_MARKER, END_MARKER = 252, 254, 255
FIRST_MARKER = 250         # the lowest byte that is a marker rather than a shape id's low byte
DAYLIGHT = 0x80            # light word: light level 0, the day flag
MORE_FLAGS, EFFECTS = 0x80, 0x04    # flags bit 7: flags2 follows; flags2 bit 2: effects follow
FULL_HEALTH = 200

STEP, FLOOR_UP, FLOOR_DOWN, WALK_REFUSED = 56, 112, 113, 160


class Creature:
    """A creature as the client sees it; position (x, y, z) in server coordinates."""

    def __init__(self, creature_id, name, position, shape, sub_id=0, health=FULL_HEALTH,
                 speed=220, flags=0, flags2=0, lights=()):
        self.id, self.name, self.position = creature_id, name, tuple(position)
        self.shape, self.sub_id, self.health, self.speed = shape, sub_id, health, speed
        self.flags, self.flags2, self.lights = flags, flags2, list(lights)


def creature_record(writer, creature):
    """Appends the creature record (without its marker or opcode) to the writer."""
    writer.u32(creature.id).u16(creature.shape)
    if shapeflags.has_palette(sample_shape_flags().get(creature.shape, 0)):
        writer.u32(creature.sub_id)
    writer.u8(creature.health).u16(creature.speed)
    flags = creature.flags | (MORE_FLAGS if creature.flags2 else 0)
    if creature.flags2 & EFFECTS:
        raise ValueError('creature effects are not encoded')
    writer.u8(flags)
    if flags & MORE_FLAGS:
        writer.u8(creature.flags2)
    writer.string8(creature.name)
    return _light_shapes(writer, creature.lights)


def _light_shapes(writer, shapes):
    """Appends a list of light shapes: each a u16, the list ended by a byte 255."""
    for shape in shapes:
        if shape & 0xFF == 0xFF:
            raise ValueError('a light shape whose low byte is 255 ends the list')
        writer.u16(shape)
    return writer.u8(0xFF)


def tile_stream(positions):
    """The tile stream of positions in reading order; each is (items, creatures) or empty.
    items: (shape, count, sub_id) tuples bottom first; creatures: `Creature`s."""
    writer = Writer()
    open_position, run = False, 0

    def close():
        if open_position and run:
            writer.u8(RUN_MARKER).varstop(run)
        elif open_position:
            writer.u8(END_MARKER)
        elif run:
            writer.u8(RUN_MARKER).varstop(run - 1)

    for content in positions:
        items, creatures = content if content else ((), ())
        if not items and not creatures:
            run += 1
            continue
        close()
        for shape, count, sub_id in items:
            if shape & 0xFF >= FIRST_MARKER:
                raise ValueError('shape %d: its low byte would read as a marker' % shape)
            item_record(writer, shape, count, sub_id)
        for creature in creatures:
            creature_record(writer.u8(CREATURE_MARKER), creature)
        open_position, run = True, 0
    close()
    return writer.bytes()


def floor_order(z, up, down):
    """The floors a message carries: z up to z + up, then z - 1 down to z - down."""
    if z + up > 255 or z - down < 0:
        raise ValueError('floors %d to %d leave 0 to 255' % (z - down, z + up))
    return list(range(z, z + up + 1)) + list(range(z - 1, z - down - 1, -1))


def area_rectangle(x, y):
    """The whole area around a player at (x, y): (x, y, width, height)."""
    return (x - PLAYER_COLUMN, y - PLAYER_ROW, VIEW_WIDTH, VIEW_HEIGHT)


def strips(direction, x, y):
    """The rectangles of new tiles after a step in `direction` to (x, y), in reading order."""
    bx, by = x - PLAYER_COLUMN, y - PLAYER_ROW
    right, bottom = bx + VIEW_WIDTH - 1, by + VIEW_HEIGHT - 1
    top_row, bottom_row = (bx, by, VIEW_WIDTH, 1), (bx, bottom, VIEW_WIDTH, 1)
    table = {
        0: [top_row],
        1: [top_row, (right, by + 1, 1, VIEW_HEIGHT - 1)],
        2: [(right, by, 1, VIEW_HEIGHT)],
        3: [(right, by, 1, VIEW_HEIGHT - 1), bottom_row],
        4: [bottom_row],
        5: [(bx, by, 1, VIEW_HEIGHT - 1), bottom_row],
        6: [(bx, by, 1, VIEW_HEIGHT)],
        7: [top_row, (bx, by + 1, 1, VIEW_HEIGHT - 1)],
    }
    return table[direction]


def positions(rectangles, floors, content):
    """content(x, y, z) for every position of the rectangles on every floor, in reading order."""
    for z in floors:
        for x0, y0, w, h in rectangles:
            for y in range(y0, y0 + h):
                for x in range(x0, x0 + w):
                    yield content(x, y, z)


def full_area(position, up, down, content, tag=0, offset=0, light=DAYLIGHT):
    """Op 48: the area around the player at `position`; `offset` is the byte of the client's
    frame offsets (low four bits x, high four y), sent only with a non-zero tag. The view floor
    is the top floor sent."""
    x, y, z = position
    writer = Writer(48).u32(tag)
    if tag:
        writer.u8(offset)
    writer.u8(up).u8(up).u8(down).u16(light)
    stream = positions([area_rectangle(x, y)], floor_order(z, up, down), content)
    return writer.raw(tile_stream(stream)).bytes()


def transition(direction, position, up, down, content, light=DAYLIGHT):
    """The player's step to `position` (its new place): op 56 in `direction`, op 112 a step
    north-west one floor up, op 113 south-east one floor down. The strips carry floors
    z - down to z + up of the new place."""
    if direction == FLOOR_UP:
        writer, direction = Writer(FLOOR_UP), NORTH_WEST
    elif direction == FLOOR_DOWN:
        writer, direction = Writer(FLOOR_DOWN), SOUTH_EAST
    else:
        writer = Writer(STEP).u8(direction)
    return _transition_fields(writer, direction, position, up, down, content, light).bytes()


def _transition_fields(writer, direction, position, up, down, content, step_value):
    """Appends the fields every transition shares: the view floor offset, the floors up and
    down, the u16 step value and the strips of new tiles after a step in `direction`."""
    x, y, z = position
    writer.u8(up).u8(up).u8(down).u16(step_value)
    stream = positions(strips(direction, x, y), floor_order(z, up, down), content)
    return writer.raw(tile_stream(stream))


def walk_refused():
    return bytes([WALK_REFUSED])


def creature_appear(offset, creature):
    """Op 96: a creature comes into view at (dx, dy, dz) from the player."""
    return creature_record(_deltas(Writer(96), offset), creature).bytes()


def creature_remove(creature_id):
    return Writer(98).u32(creature_id).bytes()


def creature_step(creature_id, direction):
    """Op 104: a creature steps one tile (directions 0 to 7; 16 north-west up a floor, 32
    south-east down one)."""
    return Writer(104).u32(creature_id).u8(direction).bytes()


def creature_damage(creature_id, health, kind, value):
    """Op 106: a creature's health, and a floating number of a kind (2 is damage) over it."""
    return Writer(106).u32(creature_id).u8(health).u8(kind).u16(value).bytes()


def light(word):
    """Op 34: the light word: bits 0 to 6 mist * 9 + darkness, bit 7 the day flag, bits 8 to 10
    rain, bits 11 to 13 snow."""
    return Writer(34).u16(word).bytes()


def missile(start, end, reach, shape, count=1, sub_id=0):
    """Op 73: a missile from (dx, dy) to (dx, dy) from the player, on the player's floor, flying
    `reach` percent of the way, shown with the direction shapes of a sample shape."""
    writer = _deltas(Writer(73), (*start, *end, 0)).u8(reach)
    return item_record(writer, shape, count, sub_id).bytes()


STAT_COUNT = 15


def carried_weight(grams, shop_value=0):
    """Op 25: the weight the player carries, in grams, and the value the shop shows."""
    return Writer(25).varint(grams).varint(shop_value).bytes()


def player_status(hit_points, max_hit_points, light, speed=220, mana=0, max_mana=0, capacity=400,
                  experience=0, experience_next=100, skill_pool=1, attribute_points=0,
                  stats=()):
    """Op 18: the player's status record, ending with the light value (-100 to 100). The
    capacity is in grams and the skill pool runs from 0 to 100000; `stats` gives the first
    statistics as (value, progress) pairs, the others are 0."""
    writer = Writer(18).u16(max_hit_points).u16(max_mana).u16(speed).u16(0)
    writer.u32(experience).u32(experience_next).varint(skill_pool).u16(attribute_points).u8(0)
    writer.varint(capacity).u16(hit_points).u16(mana)
    for index in range(STAT_COUNT):
        value, progress = stats[index] if index < len(stats) else (0, 0)
        writer.u8(value).u8(progress)
    writer.u8(255)       # no statistic updates
    writer.u8(0)         # no active status effects
    writer.u8(0)         # no owned outfits
    return writer.u8(light & 0xFF).bytes()


def select_map(map_id, key, page, part, position, markers=()):
    """Op 78: the map the player is on, with the 16-byte key of its atlas record, the page and
    part of it, the player's world position (x, y, z) and the player's markers on that part, each
    (marker id, world x, world y, icon, text)."""
    writer = Writer(78).u16(map_id).raw(key)
    _map_place(writer, page, part, position)
    writer.u16(len(markers))
    for marker_id, x, y, icon, text in markers:
        writer.u16(marker_id).u16(x).u16(y).u8(icon).string8(text)
    return writer.bytes()


def map_position(page, part, position):
    """Op 77: the player's new world position (x, y, z) on a page and part of the same map."""
    return _map_place(Writer(77), page, part, position).bytes()


def _map_place(writer, page, part, position):
    x, y, z = position
    return writer.u8(page & 0xFF).u8(part & 0xFF).u16(x).u16(y).u8(z)


FORCED_FLAG = 0x80         # bit 7 of a forced step's direction byte


def player_points(hit_points, mana):
    """Op 19: the player's hit points and mana."""
    return Writer(19).u16(hit_points).u16(mana).bytes()


def stat_first_and_third(stat_id, first, third):
    """Op 21: the first and third values of a statistic."""
    return Writer(21).u8(stat_id).u8(first).u8(third).bytes()


def active_status_effects(indexes):
    """Op 23: the status effects that are active now, by index; all others are not."""
    writer = Writer(23).u8(len(indexes))
    for index in indexes:
        writer.u8(index)
    return writer.bytes()


def stat_second(stat_id, second):
    """Op 24: the second value of a statistic."""
    return Writer(24).u8(stat_id).u8(second).bytes()


def screen_shake(amplitude, duration_ms):
    """Op 57: the screen shakes with the amplitude for the duration."""
    return Writer(57).u8(amplitude).u16(duration_ms).bytes()


def forced_step(direction, position, up, down, content, value=0, flag=False, step_value=0):
    """Op 58: the player is pushed one tile in `direction` (0 to 7) to `position`, its new place;
    a u16 value and the flag (bit 7 of the direction byte) travel with it, then the fields of a
    transition."""
    writer = Writer(58).u16(value).u8(direction | (FORCED_FLAG if flag else 0))
    return _transition_fields(writer, direction, position, up, down, content,
                              step_value).bytes()


def _deltas(writer, offset):
    """Appends the offsets (a position's dx, dy, dz from the player, or a cell's dx, dy), each
    an i8."""
    for delta in offset:
        writer.u8(delta & 0xFF)
    return writer


def thing_enter(offset, index, shape, count=1, sub_id=0):
    """Op 64: a thing is put into the stack of the tile at (dx, dy, dz) from the player at the
    index."""
    return item_record(_deltas(Writer(64), offset).u8(index), shape, count, sub_id).bytes()


def thing_leave(offset, index):
    """Op 65: the thing at the index of the tile's stack is gone."""
    return _deltas(Writer(65), offset).u8(index).bytes()


def thing_replace(offset, index, shape, count=1, sub_id=0):
    """Op 68: the thing at the index of the tile's stack becomes another."""
    return item_record(_deltas(Writer(68), offset).u8(index), shape, count, sub_id).bytes()


def thing_sub_id(offset, index, sub_id):
    """Op 69: the thing at the index of the tile's stack takes a new u32 sub-id."""
    return _deltas(Writer(69), offset).u8(index).u32(sub_id).bytes()


def thing_count(offset, index, count):
    """Op 70: the thing at the index of the tile's stack takes a new count (var15)."""
    return _deltas(Writer(70), offset).u8(index).var15(count).bytes()


def tile_effect(offset, shape, count=1, sub_id=0):
    """Op 72: an effect, an item record, plays on the tile at (dx, dy, dz) from the player."""
    return item_record(_deltas(Writer(72), offset), shape, count, sub_id).bytes()


LASTING_EFFECT, PASSING_EFFECT, ENDING_EFFECT = 74, 75, 76


def creature_effect(op, creature_id, cell, shape, count=1, sub_id=0):
    """Ops 74 (a lasting effect starts), 75 (an effect plays once) and 76 (a lasting effect
    ends): the creature, the cell (dx, dy) of the effect from it as i8, the effect's item
    record."""
    return item_record(_deltas(Writer(op).u32(creature_id), cell), shape, count, sub_id).bytes()


def creature_turn(creature_id, direction):
    """Op 100: a creature faces a direction (0 to 7)."""
    return Writer(100).u32(creature_id).u8(direction).bytes()


def creature_health(creature_id, health):
    """Op 105: a creature's health bar, 0 to 200."""
    return Writer(105).u32(creature_id).u8(health).bytes()


def creature_forced_step(creature_id, direction, value=0, flag=False):
    """Op 107: a creature is pushed one tile: the u16 value, then the direction with the flag in
    bit 7."""
    return (Writer(107).u32(creature_id).u16(value)
            .u8(direction | (FORCED_FLAG if flag else 0)).bytes())


def area_reread(position, up, down, content):
    """Op 111: the whole area around the player at `position` again: the floors up and down,
    then the tile stream of the area from the player's floor up, then down."""
    x, y, z = position
    stream = positions([area_rectangle(x, y)], floor_order(z, up, down), content)
    return Writer(111).u8(up).u8(down).raw(tile_stream(stream)).bytes()


def creature_name(creature_id, name):
    """Op 114: a creature takes a new name."""
    return Writer(114).u32(creature_id).string8(name).bytes()


def creature_shape(creature_id, shape, sub_id=0):
    """Op 115: a creature's new look: a shape id, and a u32 sub-id when the shape has several
    palettes."""
    writer = Writer(115).u32(creature_id).u16(shape)
    if shapeflags.has_palette(sample_shape_flags().get(shape, 0)):
        writer.u32(sub_id)
    return writer.bytes()


def creature_lights(creature_id, shapes):
    """Op 117: the shapes whose light a creature gives, each a u16, the list ended by a byte
    255."""
    return _light_shapes(Writer(117).u32(creature_id), shapes).bytes()


def creature_speed(creature_id, speed):
    """Op 118: a creature's speed."""
    return Writer(118).u32(creature_id).u16(speed).bytes()


# Modes of the target list message (op 161).
TARGET_ONLY, TARGET_ADD, TARGET_REMOVE = 0, 1, 2


def target_list(mode, creature_id):
    """Op 161: the creature becomes the only target (TARGET_ONLY; an unknown one: the target
    is lost), joins the targets (TARGET_ADD) or leaves them (TARGET_REMOVE)."""
    return Writer(161).u8(mode).u32(creature_id).bytes()


def sitting(creature_id, seated):
    """Op 162: a creature sits down or stands up."""
    return Writer(162).u32(creature_id).u8(1 if seated else 0).bytes()


def floating_number(creature_id, kind, value):
    """Op 194: a number of the kind rises over the creature."""
    return Writer(194).u32(creature_id).u8(kind).u16(value).bytes()


def new_outfit(outfit_id):
    """Op 218: the player owns one more outfit."""
    return Writer(218).u16(outfit_id).bytes()
