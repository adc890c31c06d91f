"""Sprite data for the client's tests of layers, tiles and the world, written under
OUT/sprites/world/data/: one shape per property a tile reads (each property alone, so a test
shows which one decides), with sprites of distinct sizes so that a drawing names its part by
where it lands.

The ids below are shared with the client's tests (tests/source/tile_test.cpp and
tests/source/world_test.cpp)."""
import os

from datagen import shapeflags as sf, spritefile, sprites
from datagen.spritefile import TAG_ENTER, TAG_IDLE, Animation, Layer, Light, Range, Shape

GROUND = 2000          # ground, ground speed 150
SLOW_GROUND = 2001     # ground, ground speed 70
WATER = 2002           # ground and blocking
WALL = 2003            # blocking, counted by the cover pass (bit 13); a 32 x 64 sprite
BOX = 2004             # pickup class 1 (movable), height 10; a 20 x 12 sprite
STAIR = 2005           # kind 4 (used to climb)
HOLE = 2006            # flag bit 15 (a code byte follows)
AVOIDED = 2007         # ground, avoided by the path search (bit 30)
SEAT = 2008            # kind 5 facing east, height 6; a lower 24 x 20 and an upper 24 x 30 layer
SINKER = 2009          # sink 4; a 10 x 10 sprite
FLOOR_KIND2 = 2010     # bits 10-11 = 2
GLASS = 2011           # ground with bit 6
PARTITION = 2012       # blocking with bit 6, not ground
LAMP = 2013            # emits light
TREE = 2014            # a lower 16 x 16 trunk and an upper 48 x 48 canopy
NO_DROP = 2015         # ground with bit 5: nothing is dropped on it
FLASH = 2016           # two 100 ms keyframes of 8 x 8 (an effect plays them once)
DOOR = 2017            # an enter animation of two 100 ms keyframes, then idle; 30 x 30
THRONE = 2018          # kind 5 that keeps the direction (255); 26 x 26
ROOF = 2019            # ground counted by the cover pass (bit 13); 32 x 32
WALKER = 2020          # a creature's look: one idle frame for every direction


def block(width, height, seed):
    return sprites.sprite(sprites.block(width, height, seed))


def one(shape_id, size, seed, **fields):
    """A thing of one image layer of size (width, height)."""
    return sprites.simple(shape_id, block(*size, seed), **fields)


def layered(shape_id, lower, upper, **fields):
    """A thing of a lower and an upper image layer; lower and upper are (width, height, seed)."""
    cell = sprites.one_cell(Layer([(100, block(*lower))]), Layer([(100, block(*upper))], sf.LAYER_UPPER))
    return Shape(shape_id, [Range(255, [(TAG_IDLE, Animation([cell]))])], **fields)


def world_shapes():
    flash = Layer([(100, block(8, 8, 30)), (100, block(8, 8, 31))])
    door = Animation([sprites.one_cell(Layer([(100, block(30, 30, 32)), (100, block(30, 30, 33))]))])
    lamp_light = Light(16, 16, 4, 4, 3, 3, [0xFFFFE0A0])
    return [
        one(GROUND, (32, 32), 1, flags=sf.GROUND, speed=150),
        one(SLOW_GROUND, (32, 32), 2, flags=sf.GROUND, speed=70),
        one(WATER, (32, 32), 3, flags=sf.GROUND | sf.BLOCKING),
        one(WALL, (32, 64), 4, flags=sf.BLOCKING | sf.COVERS),
        one(BOX, (20, 12), 5, flags=sf.pickup_flags(1), height=10),
        one(STAIR, (18, 18), 6, kind=sf.KIND_USE_TARGET),
        one(HOLE, (14, 14), 7, code=3),
        one(AVOIDED, (32, 32), 8, flags=sf.GROUND | sf.AVOIDED),
        layered(SEAT, (24, 20, 9), (24, 30, 10), kind=sf.KIND_SEAT, facing=2, height=6),
        one(SINKER, (10, 10), 11, sink=4),
        one(FLOOR_KIND2, (12, 12), 12, flags=2 << sf.FLOOR_KIND_SHIFT),
        one(GLASS, (32, 32), 13, flags=sf.GROUND | 1 << 6),
        one(PARTITION, (32, 32), 14, flags=sf.BLOCKING | 1 << 6),
        sprites.simple(LAMP, block(6, 6, 15), lights=[lamp_light]),
        layered(TREE, (16, 16, 16), (48, 48, 17)),
        one(NO_DROP, (32, 32), 18, flags=sf.GROUND | 1 << 5),
        Shape(FLASH, [Range(255, [(TAG_IDLE, sprites.animation(flash))])]),
        Shape(DOOR, [Range(255, [(TAG_ENTER, door), (TAG_IDLE, sprites.animation(sprites.still(block(30, 30, 34))))])]),
        one(THRONE, (26, 26), 19, kind=sf.KIND_SEAT, facing=sf.SEAT_KEEP_DIRECTION),
        one(ROOF, (32, 32), 20, flags=sf.GROUND | sf.COVERS),
        one(WALKER, (32, 32), 21),
    ]


def write_cases(out_dir):
    spritefile.write(os.path.join(out_dir, 'sprites', 'world', 'data'), 1, [], world_shapes(), 2)
