"""Sprite data for the client's tests of layers, tiles and the world, written under
OUT/sprites/world/data/: one shape per property a tile reads (each property alone, so a test
shows which one decides). Images are 32 x 32 unless said otherwise (frame images come in whole
tiles), so that a drawing names its part by where it lands.

The ids below are shared with the client's tests (tests/source/tile_test.cpp and
tests/source/world_test.cpp)."""
import os

from datagen import shapeflags as sf, spritefile, sprites
from datagen.spritefile import TAG_ENTER, TAG_IDLE, Animation, Layer, Light, Range, Shape

GROUND = 2000          # ground, ground speed 150
SLOW_GROUND = 2001     # ground, ground speed 70
WATER = 2002           # ground and blocking
WALL = 2003            # blocking, counted by the cover pass (bit 13); 32 x 64
BOX = 2004             # pickup class 1 (movable), height 10
STAIR = 2005           # kind 4 (used to climb)
HOLE = 2006            # flag bit 15 (a code byte follows)
AVOIDED = 2007         # ground, avoided by the path search (bit 30)
SEAT = 2008            # kind 5 facing east, height 6; a lower and a 32 x 64 upper layer
SINKER = 2009          # sink 4
FLOOR_KIND2 = 2010     # bits 10-11 = 2
GLASS = 2011           # ground, not pickable (bit 6)
PARTITION = 2012       # blocking and not pickable (bit 6), not ground
LAMP = 2013            # emits light
TREE = 2014            # a lower trunk and an upper 64 x 64 canopy
NO_DROP = 2015         # ground with bit 5: nothing is dropped on it
FLASH = 2016           # two 100 ms keyframes (an effect plays them once)
DOOR = 2017            # an enter animation of two 100 ms keyframes, then idle
THRONE = 2018          # kind 5 that keeps the direction (255)
ROOF = 2019            # ground counted by the cover pass (bit 13)
WALKER = 2020          # a creature's look: one idle frame for every direction


def block(seed, width=32, height=32):
    return sprites.sprite(sprites.block(width, height, seed))


def one(shape_id, seed, **fields):
    """A thing of one 32 x 32 image layer."""
    return sprites.simple(shape_id, block(seed), **fields)


def layered(shape_id, lower, upper, **fields):
    """A thing of a lower and an upper image layer (sprites)."""
    cell = sprites.one_cell(Layer([(100, lower)]), Layer([(100, upper)], sf.LAYER_UPPER))
    return Shape(shape_id, [Range(255, [(TAG_IDLE, Animation([cell]))])], **fields)


def world_shapes():
    flash = Layer([(100, block(30)), (100, block(31))])
    door = Animation([sprites.one_cell(Layer([(100, block(32)), (100, block(33))]))])
    door_open = sprites.animation(sprites.still(block(34)))
    lamp_light = Light(16, 16, 4, 4, 3, 3, [0xFFFFE0A0])
    return [
        one(GROUND, 1, flags=sf.GROUND, speed=150),
        one(SLOW_GROUND, 2, flags=sf.GROUND, speed=70),
        one(WATER, 3, flags=sf.GROUND | sf.BLOCKING),
        sprites.simple(WALL, block(4, height=64), flags=sf.BLOCKING | sf.COVERS),
        one(BOX, 5, flags=sf.pickup_flags(1), height=10),
        one(STAIR, 6, kind=sf.KIND_USE_TARGET),
        one(HOLE, 7, code=3),
        one(AVOIDED, 8, flags=sf.GROUND | sf.AVOIDED),
        layered(SEAT, block(9), block(10, height=64), kind=sf.KIND_SEAT, facing=2, height=6),
        one(SINKER, 11, sink=4),
        one(FLOOR_KIND2, 12, flags=2 << sf.FLOOR_KIND_SHIFT),
        one(GLASS, 13, flags=sf.GROUND | sf.NOT_PICKABLE),
        one(PARTITION, 14, flags=sf.BLOCKING | sf.NOT_PICKABLE),
        sprites.simple(LAMP, block(15), lights=[lamp_light]),
        layered(TREE, block(16), block(17, 64, 64)),
        one(NO_DROP, 18, flags=sf.GROUND | 1 << 5),
        Shape(FLASH, [Range(255, [(TAG_IDLE, sprites.animation(flash))])]),
        Shape(DOOR, [Range(255, [(TAG_ENTER, door), (TAG_IDLE, door_open)])]),
        one(THRONE, 19, kind=sf.KIND_SEAT, facing=sf.SEAT_KEEP_DIRECTION),
        one(ROOF, 20, flags=sf.GROUND | sf.COVERS),
        one(WALKER, 21),
    ]


def write_cases(out_dir):
    spritefile.write(os.path.join(out_dir, 'sprites', 'world', 'data'), 1, [], world_shapes(), 2)
