"""Writes the sample sprite data "data/Veltor.data" and "data/Veltor.shapes": game art that reads
as a game (ground, walls, trees, items and stackables, a creature in eight directions with a walk
animation, effects, the interface pictures the header names) and a corpus of records that
exercises every field of a shape record and every kind of fragment node.

The ids below are shared with the fake server (item records name shapes by id) and with the
client's unit tests, which check the records of the corpus by id."""

from datagen import shapeflags as sf
from datagen.art import Canvas, noise, rgb, shade
from datagen.spritefile import (TAG_ENTER, TAG_EXTRA, TAG_ICON, TAG_IDLE, TAG_LEAVE, TAG_MOVE,
                                TAG_SEATED, TAG_THROW, Animation, Blend, Cell, Layer, Light, Mix,
                                Offset, Range, Recolour, Shape, Sprite, Tint, View, write)

DATA_REVISION = 0x00010002
PIXEL_REVISION = 0x00020001

# Game art.
GRASS, DIRT, WATER, STONE_FLOOR = 100, 101, 102, 103
WALL, WALL_PILLAR, TREE, BUSH = 110, 111, 112, 113
COINS, ARROWS, POTION = 130, 131, 132
BACKPACK, SWORD, SHIELD, KEY = 140, 141, 142, 143
CHAIR, LADDER, TORCH, CHEST, STAIRS = 150, 151, 152, 153, 154
PERSON = 200                   # direction shapes PERSON + 1 + direction
SPARKLE, PUFF = 300, 301
# Interface pictures named by the header (entries 0, 1, 2, 4, 5 and 6; entry 3 is not used).
TARGET_RING, HOVER_MARK, USE_MARK, FRAME_GRID, WALK_MARK, FOG_GRID = 400, 401, 402, 404, 405, 406
HEADER = [TARGET_RING, HOVER_MARK, USE_MARK, 0, FRAME_GRID, WALK_MARK, FOG_GRID]

# Outfit mask colours of the person: the four key colours, in tint order.
OUTFIT_KEYS = [0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00]   # hair, shirt, legs, shoes
PERSON_OUTFIT = 0x0A472C53     # palette 1 indices: hair 0x53, shirt 0x2C, legs 0x47, shoes 0x0A

# Corpus records checked by the unit tests.
EVERY_FIELD = 1000             # every optional field, lights, extras, all slots, two views
CODE_THREE = 1001              # code byte 3, no other option
IDLE_ONLY = 1002               # one range with only an idle animation
FRAGMENTS = 1003               # one keyframe per fragment rule
PALETTE_ZERO = 1004            # palette 0 recolouring
TINY_SPRITE = 1005             # a 3 x 3 sprite, its block last in the pixel file
WIDE_SPRITE = 1006             # a 33 x 20 sprite at (0, 0)
ODD_KIND = 1007                # kind byte 9, palette 1 named
RANGES = 1008                  # ranges 0-0, 1-9, 10-32767, and one that covers nothing
EFFECT_600 = 1010              # idle of three 200 ms keyframes
ICON_64 = 1011                 # 64 x 64 image
ICON_64X32 = 1012              # 64 x 32 image
ZERO_DURATION = 1013           # an animated layer whose durations are all 0
ENTERING = 1014                # enter animation of two keyframes, then idle
OUTLINED = 1015                # a drawn layer and an outline-only layer (flag bit 3)
PALETTE_KEYS = [0, 0x05102840, 0xFF80017F]   # colour keys the frame comparison builds
FRAGMENT_DEPTH_LIMIT = 16      # nodes from a tree's root to its deepest leaf the client accepts


def still(tree, duration=100, flags=0):
    return Layer([(duration, tree)], flags)


def one_cell(*layers):
    return View(1, 1, [Cell(list(layers))])


def animation(*layers):
    return Animation([one_cell(*layers)])


def simple(shape_id, tree, **fields):
    """A shape with one range whose only animation is idle with one still layer."""
    return Shape(shape_id, [Range(255, [(TAG_IDLE, animation(still(tree)))])], **fields)


def sprite(canvas, x=0, y=0):
    return Sprite(canvas.width, canvas.height, canvas.pixels, x, y)


# --- ground ---------------------------------------------------------------------------------

def grass_tile(seed):
    rng = noise(seed)
    c = Canvas(32, 32, rgb(62, 128, 52))
    c.speckle(rng, [rgb(70, 140, 58), rgb(52, 112, 44), rgb(80, 150, 64)], 260)
    for _ in range(10):
        x, y = rng.randrange(32), rng.randrange(2, 32)
        c.line(x, y, x + rng.choice((-1, 0, 1)), y - 2, rgb(38, 96, 34))
    if seed % 2:
        x, y = rng.randrange(4, 28), rng.randrange(4, 28)
        c.put(x, y, rgb(240, 220, 90))
        c.put(x + 1, y, rgb(250, 240, 140))
    return c


def dirt_tile(seed):
    rng = noise(seed)
    c = Canvas(32, 32, rgb(132, 98, 62))
    c.speckle(rng, [rgb(120, 88, 54), rgb(146, 110, 70), rgb(108, 80, 50)], 300)
    c.speckle(rng, [rgb(160, 150, 140)], 6)
    return c


def floor_tile(seed):
    rng = noise(seed)
    c = Canvas(32, 32, rgb(128, 124, 118))
    c.speckle(rng, [rgb(118, 114, 108), rgb(138, 134, 128)], 200)
    c.rect(0, 31, 32, 1, rgb(88, 84, 80))
    c.rect(31, 0, 1, 32, rgb(88, 84, 80))
    c.rect(0, 0, 32, 1, rgb(156, 152, 146))
    c.rect(0, 0, 1, 32, rgb(156, 152, 146))
    return c


def water_tile(phase):
    c = Canvas(32, 32, rgb(40, 88, 170))
    for y in range(32):
        for x in range(32):
            if (x + 2 * y + phase * 5) % 16 < 2 and (y + phase) % 8 < 3:
                c.put(x, y, rgb(110, 160, 225))
            elif (x * 3 + y + phase * 3) % 23 == 0:
                c.put(x, y, rgb(60, 110, 190))
    return c


def ground(shape_id, tile, seeds, speed):
    cells = [Cell([still(sprite(tile(s)))]) for s in seeds]
    view = View(2, 2, cells) if len(cells) == 4 else View(1, 1, cells)
    return Shape(shape_id, [Range(255, [(TAG_IDLE, Animation([view]))])], flags=sf.GROUND, speed=speed)


def water():
    frames = [(400, sprite(water_tile(p))) for p in range(3)]
    return Shape(WATER, [Range(255, [(TAG_IDLE, animation(Layer(frames)))])],
                 flags=sf.GROUND | sf.BLOCKING)


# --- walls and plants -------------------------------------------------------------------------

def wall_canvas():
    c = Canvas(32, 56, rgb(150, 140, 128))
    mortar = rgb(96, 90, 84)
    for row in range(0, 56, 8):
        c.rect(0, row, 32, 1, mortar)
        shift = 0 if (row // 8) % 2 else 8
        for x in range(shift, 32, 16):
            c.rect(x, row, 1, 8, mortar)
    rng = noise(7)
    c.speckle(rng, [rgb(138, 128, 118), rgb(164, 154, 140)], 180)
    c.rect(0, 0, 32, 3, rgb(182, 174, 160))
    c.rect(0, 48, 32, 8, rgb(112, 104, 96))
    return c


def pillar_canvas():
    c = Canvas(16, 60, rgb(160, 150, 138))
    c.rect(0, 0, 16, 4, rgb(190, 182, 168))
    c.rect(0, 52, 16, 8, rgb(112, 104, 96))
    c.rect(12, 4, 4, 48, rgb(126, 118, 108))
    return c


def tree_parts():
    trunk = Canvas(12, 26, rgb(110, 74, 40))
    trunk.rect(8, 0, 4, 26, rgb(86, 56, 30))
    trunk.rect(0, 22, 12, 4, rgb(70, 46, 26))
    canopy = Canvas(56, 44)
    rng = noise(12)
    canopy.ellipse(28, 22, 27, 21, rgb(40, 110, 44), rgb(24, 70, 28))
    for _ in range(40):
        x, y = rng.randrange(8, 48), rng.randrange(6, 38)
        canopy.ellipse(x, y, 3, 3, rgb(56, 136, 56))
    canopy.ellipse(20, 14, 6, 5, rgb(84, 160, 70))
    return trunk, canopy


def tree():
    trunk, canopy = tree_parts()
    tree_top = Blend(sprite(trunk, 10, 0), sprite(canopy, 4, 18))
    return simple(TREE, tree_top, flags=sf.BLOCKING | sf.COVERS)


def bush():
    c = Canvas(28, 22)
    c.ellipse(14, 12, 13, 10, rgb(44, 120, 48), rgb(26, 76, 30))
    c.ellipse(9, 8, 4, 3, rgb(80, 156, 68))
    for x, y in ((6, 14), (18, 10), (13, 16)):
        c.ellipse(x, y, 1.5, 1.5, rgb(200, 40, 40))
    return simple(BUSH, sprite(c, 2, 2), flags=sf.BLOCKING)


# --- items ------------------------------------------------------------------------------------

def coin_pile(count, seed):
    c = Canvas(24, 18)
    rng = noise(seed)
    spots = [(12, 12)] if count == 1 else [(rng.randrange(5, 19), rng.randrange(6, 14)) for _ in range(count)]
    for x, y in spots:
        c.ellipse(x, y, 5, 3, rgb(236, 196, 60), rgb(150, 110, 20))
        c.put(x - 2, y - 1, rgb(255, 240, 160))
    return sprite(c, 4, 4)


def coins():
    ranges = [Range(1, [(TAG_IDLE, animation(still(coin_pile(1, 1))))]),
              Range(9, [(TAG_IDLE, animation(still(coin_pile(3, 2))))]),
              Range(255, [(TAG_IDLE, animation(still(coin_pile(9, 3))))])]
    return Shape(COINS, ranges, flags=sf.STACKABLE | sf.pickup_flags(1))


def arrows():
    c = Canvas(24, 24)
    for i in range(3):
        c.line(2 + i * 3, 22, 18 + i * 3, 4, rgb(150, 110, 60))
        c.line(18 + i * 3, 4, 20 + i * 3, 2, rgb(200, 200, 210))
        c.put(3 + i * 3, 21, rgb(230, 230, 230))
    return simple(ARROWS, sprite(c, 4, 4), flags=sf.STACKABLE | sf.pickup_flags(1))


def potion():
    """A flask whose liquid takes the item's first tint colour (it has several palettes)."""
    glass = Canvas(14, 20)
    glass.ellipse(7, 13, 7, 7, rgb(230, 230, 240, 140), rgb(60, 60, 80))
    glass.rect(5, 0, 4, 6, rgb(140, 100, 60))
    liquid = Canvas(14, 20)
    liquid.ellipse(7, 14, 5.5, 5, rgb(255, 255, 255))
    mask = Canvas(14, 20)
    mask.ellipse(7, 14, 5.5, 5, OUTFIT_KEYS[0])
    tinted = Recolour(OUTFIT_KEYS, sprite(liquid, 9, 6), sprite(mask, 9, 6))
    return simple(POTION, Blend(tinted, sprite(glass, 9, 6)), palette_id=1,
                  flags=sf.STACKABLE | sf.pickup_flags(1) | sf.use_flags(sf.USE_WITH))


def backpack():
    c = Canvas(24, 26)
    c.rect(3, 6, 18, 19, rgb(128, 86, 46))
    c.frame(3, 6, 18, 19, rgb(70, 44, 22))
    c.rect(5, 12, 14, 7, rgb(150, 104, 58))
    c.frame(5, 12, 14, 7, rgb(70, 44, 22))
    c.rect(10, 14, 4, 2, rgb(220, 190, 90))
    c.line(7, 6, 10, 1, rgb(70, 44, 22))
    c.line(17, 6, 14, 1, rgb(70, 44, 22))
    return simple(BACKPACK, sprite(c, 4, 3), kind=3,
                  flags=sf.use_flags(sf.USE_CONTAINER) | sf.pickup_flags(1))


def sword():
    c = Canvas(26, 26)
    c.line(4, 21, 21, 4, rgb(210, 214, 224))
    c.line(5, 21, 22, 4, rgb(150, 156, 170))
    c.line(2, 18, 8, 24, rgb(160, 120, 40))
    c.line(1, 24, 4, 21, rgb(90, 60, 30))
    return simple(SWORD, sprite(c, 3, 3), flags=sf.pickup_flags(2))


def shield():
    c = Canvas(22, 26)
    c.ellipse(11, 12, 10, 12, rgb(150, 40, 40), rgb(200, 190, 170))
    c.rect(10, 2, 2, 21, rgb(220, 200, 120))
    c.rect(2, 11, 18, 2, rgb(220, 200, 120))
    return simple(SHIELD, sprite(c, 5, 3), flags=sf.pickup_flags(2))


def key():
    c = Canvas(20, 10)
    c.ellipse(4, 5, 4, 4, rgb(220, 190, 80), rgb(150, 120, 40))
    c.put(4, 5, 0)
    c.rect(8, 4, 11, 2, rgb(220, 190, 80))
    c.rect(15, 6, 2, 3, rgb(220, 190, 80))
    return simple(KEY, sprite(c, 6, 10), flags=sf.use_flags(sf.USE_WITH) | sf.pickup_flags(1))


def chair():
    c = Canvas(22, 34)
    wood, dark = rgb(150, 100, 56), rgb(96, 62, 32)
    c.rect(3, 0, 16, 16, wood)
    c.frame(3, 0, 16, 16, dark)
    c.rect(1, 16, 20, 6, wood)
    c.frame(1, 16, 20, 6, dark)
    for x in (2, 17):
        c.rect(x, 22, 3, 12, dark)
    return simple(CHAIR, sprite(c, 5, 0), kind=sf.KIND_SEAT, facing=4, height=6)


def chest():
    c = Canvas(26, 20)
    wood, dark, metal = rgb(140, 92, 48), rgb(84, 54, 26), rgb(200, 180, 90)
    c.rect(1, 6, 24, 14, wood)
    c.rect(1, 0, 24, 7, rgb(160, 108, 58))
    c.frame(1, 0, 24, 20, dark)
    c.rect(1, 6, 24, 1, dark)
    c.rect(11, 5, 4, 5, metal)
    return simple(CHEST, sprite(c, 3, 8), kind=3,
                  flags=sf.use_flags(sf.USE_CONTAINER) | sf.BLOCKING)


def stairs():
    """Steps leading up to the north-west; the code byte marks a floor change."""
    c = Canvas(32, 32)
    for step in range(4):
        c.rect(0, step * 8, 32, 8, rgb(150 - step * 14, 140 - step * 14, 128 - step * 14))
        c.rect(0, step * 8, 32, 2, rgb(196, 188, 176))
    return simple(STAIRS, sprite(c), code=1, flags=sf.GROUND)


def ladder():
    c = Canvas(20, 44)
    for x in (2, 16):
        c.rect(x, 0, 3, 44, rgb(130, 90, 50))
    for y in range(4, 44, 8):
        c.rect(4, y, 12, 2, rgb(160, 116, 70))
    return simple(LADDER, sprite(c, 6, 0), kind=sf.KIND_USE_TARGET,
                  flags=sf.use_flags(sf.USE_NO_ENTRY))


def torch():
    stick = Canvas(6, 20, rgb(110, 76, 40))
    stick.rect(4, 0, 2, 20, rgb(80, 54, 28))
    frames = []
    for i in range(3):
        flame = Canvas(10, 14)
        flame.ellipse(5, 9 - i % 2, 4 - (i == 2), 5 + i % 2, rgb(250, 150, 30))
        flame.ellipse(5, 10, 2, 3, rgb(255, 240, 140))
        frames.append((150, Blend(sprite(stick, 13, 4), Offset(2, 20, sprite(flame, 11, 0)))))
    mask = [rgb(255, 200, 120, a) for a in (40, 90, 40, 90, 200, 90, 40, 90, 40)]
    return Shape(TORCH, [Range(255, [(TAG_IDLE, animation(Layer(frames)))])],
                 lights=[Light(16, 16, 4, 4, 5, 5, mask)], flags=sf.pickup_flags(1))


# --- the person, eight directions -----------------------------------------------------------

SKIN, SKIN_DARK, EYE = rgb(236, 188, 150), rgb(200, 150, 116), rgb(40, 30, 30)
CLOTH, CLOTH_DARK = rgb(245, 245, 245), rgb(190, 190, 190)


def person(direction, step, seated):
    """(picture, mask) of 24 x 44: the clothes are light grey in the picture and key colours in
    the mask, so that the outfit tints them."""
    pic, mask = Canvas(24, 44), Canvas(24, 44)
    dx = {0: 0, 1: 1, 2: 2, 3: 1, 4: 0, 5: -1, 6: -2, 7: -1}[direction]
    facing_away = direction in (0, 1, 7)
    side = direction in (2, 6)

    def part(x, y, w, h, colour, key=None):
        pic.rect(x, y, w, h, colour)
        if key is not None:
            mask.rect(x, y, w, h, key)

    # Legs and shoes: a stride swings them apart on frames 1 and 3.
    swing = (0, 3, 0, -3)[step] if not seated else 0
    leg_top, leg_len = (28, 8) if seated else (28, 12)
    if side:
        part(10 + swing, leg_top, 4, leg_len, CLOTH_DARK, OUTFIT_KEYS[2])
        part(10 - swing, leg_top, 4, leg_len, CLOTH, OUTFIT_KEYS[2])
        part(9 + swing + dx, leg_top + leg_len, 6, 3, CLOTH, OUTFIT_KEYS[3])
        part(9 - swing + dx, leg_top + leg_len, 6, 3, CLOTH_DARK, OUTFIT_KEYS[3])
    else:
        part(7, leg_top, 4, leg_len - max(0, swing), CLOTH, OUTFIT_KEYS[2])
        part(13, leg_top, 4, leg_len - max(0, -swing), CLOTH_DARK, OUTFIT_KEYS[2])
        part(6, leg_top + leg_len - max(0, swing), 5, 3, CLOTH, OUTFIT_KEYS[3])
        part(13, leg_top + leg_len - max(0, -swing), 5, 3, CLOTH_DARK, OUTFIT_KEYS[3])
    # Body and arms.
    part(6, 14, 12, 15, CLOTH, OUTFIT_KEYS[1])
    part(6, 27, 12, 2, CLOTH_DARK, OUTFIT_KEYS[1])
    arm = (0, -2, 0, 2)[step] if not seated else 0
    if side:
        part(10 + arm, 15, 4, 11, CLOTH_DARK, OUTFIT_KEYS[1])
        part(10 + arm, 26, 4, 3, SKIN)
    else:
        part(3, 15 + arm, 3, 10, CLOTH_DARK, OUTFIT_KEYS[1])
        part(18, 15 - arm, 3, 10, CLOTH_DARK, OUTFIT_KEYS[1])
        part(3, 25 + arm, 3, 3, SKIN)
        part(18, 25 - arm, 3, 3, SKIN)
    # Head with hair; eyes unless it faces away.
    pic.ellipse(12 + dx * 0.5, 7, 6, 7, SKIN, SKIN_DARK)
    hair_h = 12 if facing_away else 5
    for y in range(0, hair_h):
        for x in range(6, 19):
            if pic.get(x, y) >> 24:
                part(x, y, 1, 1, CLOTH, OUTFIT_KEYS[0])
    if not facing_away:
        eyes = [12 + dx * 2] if side else [9 + dx, 15 + dx]
        for ex in eyes:
            pic.put(ex, 8, EYE)
        pic.rect(11 + dx, 11, 3, 1, SKIN_DARK)
    pic.outline(rgb(30, 24, 24, 200))
    return pic, mask


def person_frame(direction, step, seated=False):
    pic, mask = person(direction, step, seated)
    return Recolour(OUTFIT_KEYS, sprite(pic, 4, 1), sprite(mask, 4, 1))


def person_direction(direction):
    walk = Layer([(100, person_frame(direction, s)) for s in range(4)])
    return Shape(PERSON + 1 + direction, [Range(255, [
        (TAG_IDLE, animation(still(person_frame(direction, 0)))),
        (TAG_MOVE, animation(walk)),
        (TAG_SEATED, animation(still(person_frame(direction, 0, True)))),
    ])], palette_id=1, speed=110)


def person_base():
    base = person_direction(4)
    base.id = PERSON
    base.direction_ids = [PERSON + 1 + d for d in range(8)]
    return base


# --- effects and interface pictures -----------------------------------------------------------

def sparkle():
    frames = []
    for i, radius in enumerate((3, 7, 11)):
        c = Canvas(28, 28)
        c.ellipse(14, 14, radius, radius, rgb(255, 255, 180, 90 + 50 * i), rgb(255, 230, 90))
        c.line(14, 14 - radius - 2, 14, 14 + radius + 2, rgb(255, 255, 255))
        c.line(14 - radius - 2, 14, 14 + radius + 2, 14, rgb(255, 255, 255))
        frames.append((200, sprite(c, 2, 2)))
    return Shape(SPARKLE, [Range(255, [(TAG_IDLE, animation(Layer(frames)))])])


def puff():
    frames = []
    for i in range(4):
        c = Canvas(30, 30)
        c.ellipse(15, 15, 6 + 3 * i, 6 + 3 * i, rgb(210, 210, 210, 200 - 45 * i))
        frames.append((120, Tint(rgb(255, 240, 230, 255), sprite(c, 1, 1))))
    return Shape(PUFF, [Range(255, [(TAG_IDLE, animation(Layer(frames)))])])


def marker(shape_id, colour, cross=False):
    c = Canvas(32, 32)
    if cross:
        for d in range(-1, 2):
            c.line(8 + d, 8, 24 + d, 24, colour)
            c.line(24 + d, 8, 8 + d, 24, colour)
    else:
        c.ellipse(16, 16, 15, 15, 0, colour)
        c.ellipse(16, 16, 14, 14, 0, shade(colour, 0.7))
    return simple(shape_id, sprite(c))


def grid(shape_id, picture):
    """A 4 x 4 view whose cells are the 32-pixel squares of a 128 x 128 picture."""
    cells = []
    for row in range(4):
        for col in range(4):
            piece = Canvas(32, 32)
            for y in range(32):
                piece.pixels[y * 32:(y + 1) * 32] = picture.pixels[(row * 32 + y) * 128 + col * 32:
                                                                   (row * 32 + y) * 128 + col * 32 + 32]
            cells.append(Cell([still(sprite(piece))]))
    return Shape(shape_id, [Range(255, [(TAG_IDLE, Animation([View(4, 4, cells)]))])])


def frame_picture():
    c = Canvas(128, 128)
    c.frame(0, 0, 128, 128, rgb(210, 180, 90))
    c.frame(3, 3, 122, 122, rgb(150, 120, 50))
    for i in range(0, 128, 16):
        c.rect(i, 0, 4, 2, rgb(250, 230, 150))
    return c


def fog_picture():
    c = Canvas(128, 128)
    for y in range(128):
        for x in range(128):
            d = ((x - 64) ** 2 + (y - 64) ** 2) ** 0.5
            c.put(x, y, rgb(12, 14, 24, min(255, int(d * 3))))
    return c


def game_art():
    shapes = [ground(GRASS, grass_tile, (1, 2, 3, 4), 150), ground(DIRT, dirt_tile, (5, 6, 7, 8), 130),
              water(), ground(STONE_FLOOR, floor_tile, (9,), 160),
              simple(WALL, sprite(wall_canvas()), flags=sf.BLOCKING | sf.COVERS, height=0),
              simple(WALL_PILLAR, sprite(pillar_canvas(), 0, 0), flags=sf.BLOCKING | sf.COVERS),
              tree(), bush(), coins(), arrows(), potion(), backpack(), sword(), shield(), key(),
              chair(), ladder(), torch(), chest(), stairs(), person_base()]
    shapes += [person_direction(d) for d in range(8)]
    shapes += [sparkle(), puff(),
               marker(TARGET_RING, rgb(230, 50, 50)), marker(HOVER_MARK, rgb(230, 230, 230)),
               marker(USE_MARK, rgb(90, 200, 250)), grid(FRAME_GRID, frame_picture()),
               marker(WALK_MARK, rgb(250, 220, 80), cross=True), grid(FOG_GRID, fog_picture())]
    return shapes


# --- the corpus -------------------------------------------------------------------------------

def block(width, height, seed, alpha=255):
    """A test sprite: every pixel different, opaque unless alpha says otherwise."""
    rng = noise(seed)
    c = Canvas(width, height)
    c.pixels = [rgb(rng.randrange(256), rng.randrange(256), rng.randrange(256),
                    alpha if alpha is not None else rng.randrange(256)) for _ in range(width * height)]
    return c


def chain(depth):
    """A tree of depth nodes: offsets of 1 down to a sprite."""
    tree = sprite(block(2, 2, 5))
    for _ in range(depth - 1):
        tree = Offset(1, 1, tree)
    return tree


def fragment_cases():
    """One tree per rule of the fragment format, each with its edge cases."""
    a, b = sprite(block(12, 10, 1)), sprite(block(8, 14, 2, None), 3, 2)
    translucent = sprite(block(10, 10, 3, None), 6, 1)
    mask = Canvas(12, 10)
    mask.pixels = [OUTFIT_KEYS[(i // 3) % 4] if i % 5 else 0xFF123456 for i in range(120)]
    double = Canvas(12, 10, 0xFF00FF00)      # equal to two keys below: both tints apply
    clear = sprite(block(14, 12, 7, 0))        # coloured, alpha 0: over nothing it leaves 0
    empty = Sprite()
    return [
        a, empty, None,
        Offset(32, 0, sprite(block(32, 32, 4))), Offset(5, 40, a), Offset(9, 9, None),
        Tint(0xFF80FF40, a), Tint(0x80FFFFFF, translucent), Tint(0xFF000000, None),
        Blend(a, b), Blend(b, translucent), Blend(None, b), Blend(a, None), Blend(None, None),
        Blend(empty, Offset(20, 3, b)), Blend(sprite(block(4, 4, 5), 40, 0), sprite(block(4, 4, 6), 0, 33)),
        Blend(a, clear),
        Mix(a, b), Mix(a, None), Mix(None, b), Mix(a, Offset(30, 0, b)), Mix(translucent, b),
        Recolour(OUTFIT_KEYS, a, sprite(mask)), Recolour(OUTFIT_KEYS, a, Offset(4, 3, sprite(mask))),
        Recolour([0xFF00FF00, 0xFF00FF00, 0xFFFF0000, 0xFF00FF00], a, sprite(double)),
        Recolour(OUTFIT_KEYS, None, sprite(mask)), Recolour(OUTFIT_KEYS, a, None),
        Offset(1, 2, Tint(0xC0C0C0C0, Blend(Mix(a, b), Recolour(OUTFIT_KEYS, translucent, sprite(mask))))),
        chain(FRAGMENT_DEPTH_LIMIT),
    ]


def light(seed, width, height):
    rng = noise(seed)
    pixels = [rgb(rng.randrange(256), rng.randrange(256), rng.randrange(256), rng.randrange(256))
              for _ in range((width - 2) * (height - 2))]
    return Light(rng.randrange(256), rng.randrange(256), rng.randrange(1, 257), rng.randrange(1, 257),
                 width, height, pixels)


def every_field():
    """Every option of a record: all flag bits, every byte they add, lights with groups, three
    ranges, every tag with extras in a shuffled order, two views, several cells and layers."""
    def cell(seed, layers=1):
        groups = [(0x1234 + seed, [light(seed, 4, 3)]), (7, [])] if seed % 2 else []
        lay = [Layer([(40 + i, sprite(block(6 + i, 5, seed * 10 + i), i, 2 * i)),
                      (60, None)], flags=(0x0F if i == layers - 1 else i) | 0x70)
               for i in range(layers)]
        return Cell(lay, groups)

    def anim(seed, views=1):
        return Animation([View(2, 1, [cell(seed + v, 2), cell(seed + v + 1)]) for v in range(views)])

    extra1, extra2 = anim(80), anim(90)
    extra1.extra_id, extra1.extra_byte = 0xDEADBEEF, 0x7E
    extra2.extra_id, extra2.extra_byte = 12, 255
    full = [(TAG_SEATED, anim(10)), (TAG_EXTRA, extra1), (TAG_ICON, anim(20)), (TAG_LEAVE, anim(30)),
            (TAG_IDLE, anim(40, 2)), (TAG_EXTRA, extra2), (TAG_MOVE, anim(50)), (TAG_THROW, anim(60)),
            (TAG_ENTER, anim(70))]
    ranges = [Range(0, full), Range(9, [(TAG_THROW, anim(100))]), Range(255, [(TAG_ENTER, anim(110))])]
    flags = 0x3 | sf.STACKABLE | 0xF0 | (3 << 8) | (2 << 10) | sf.GROUND | (3 << 13) | sf.AVOIDED
    flags |= (0x7F << 16) | (1 << 29) | (1 << 31)          # bits nothing reads
    return Shape(EVERY_FIELD, ranges, flags=flags, palette_id=0, code=4, height=7, sink=5,
                 speed=150, direction_ids=[0x11111111 * (d + 1) for d in range(8)], kind=5,
                 lights=[light(1, 3, 3), light(2, 8, 5)], facing=6)


def idle_only():
    return simple(IDLE_ONLY, sprite(block(16, 16, 30)))


def palette_zero():
    image = sprite(block(12, 12, 40))
    mask = Canvas(12, 12)
    mask.pixels = [OUTFIT_KEYS[i % 4] for i in range(144)]
    return simple(PALETTE_ZERO, Recolour(OUTFIT_KEYS, image, sprite(mask)), palette_id=0)


def corpus_head():
    cases = [(i, t) for i, t in enumerate(fragment_cases())]
    fragments = Shape(FRAGMENTS, [Range(255, [(TAG_IDLE, Animation([
        View(len(cases), 1, [Cell([still(t)]) for _, t in cases])]))])], palette_id=1)
    ranges = Shape(RANGES, [Range(0, [(TAG_IDLE, animation(still(sprite(block(4, 4, 50)))))]),
                            Range(9, [(TAG_IDLE, animation(still(sprite(block(4, 4, 51)))))]),
                            Range(5, [(TAG_ICON, animation(still(sprite(block(4, 4, 52)))))]),
                            Range(255, [(TAG_IDLE, animation(still(sprite(block(4, 4, 53)))))])])
    effect = Shape(EFFECT_600, [Range(255, [(TAG_IDLE, animation(Layer(
        [(200, sprite(block(8, 8, 60 + i))) for i in range(3)])))])])
    zero = Shape(ZERO_DURATION, [Range(255, [(TAG_IDLE, animation(Layer(
        [(0, sprite(block(8, 8, 70 + i))) for i in range(3)])))])])
    entering = Shape(ENTERING, [Range(255, [
        (TAG_ENTER, animation(Layer([(150, sprite(block(8, 8, 80))), (250, sprite(block(8, 8, 81)))]))),
        (TAG_IDLE, animation(still(sprite(block(8, 8, 82)))))])])
    outlined = Shape(OUTLINED, [Range(255, [(TAG_IDLE, animation(
        still(sprite(block(10, 10, 90))), still(sprite(block(12, 12, 91)), flags=8)))])])
    return [every_field(), Shape(CODE_THREE, [Range(255, [])], code=3), idle_only(), fragments,
            palette_zero(), simple(WIDE_SPRITE, sprite(block(33, 20, 20))),
            simple(ODD_KIND, sprite(block(5, 7, 21), 2, 3), kind=9, palette_id=1), ranges,
            effect, simple(ICON_64, sprite(block(64, 64, 22))), simple(ICON_64X32, sprite(block(64, 32, 23))),
            zero, entering, outlined]


def corpus():
    """The corpus; the 3 x 3 sprite comes last so that its block ends the pixel file."""
    return corpus_head() + [simple(TINY_SPRITE, sprite(block(3, 3, 99)))]


def sample_shapes():
    return game_art() + corpus()


def write_sample(data_dir):
    write(data_dir, DATA_REVISION, HEADER, sample_shapes(), PIXEL_REVISION)
