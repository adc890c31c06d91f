"""The sprite data files: "data/Veltor.data" (shape records and fragment trees, little-endian) and
"data/Veltor.shapes" (a leading revision, then enciphered sprite pixel blocks and plain light
masks addressed by offset). A small model of the records, a writer and an independent reader.

Pixels are lists of 32-bit colours 0xAARRGGBB, rows top first; in the files each colour is a
little-endian u32, so its bytes are B, G, R, A."""
import os
import struct
from dataclasses import dataclass, field
from typing import List, Optional

from datagen import imagepack, shapeflags

TAG_ICON, TAG_IDLE, TAG_MOVE, TAG_THROW, TAG_ENTER, TAG_LEAVE, TAG_EXTRA, TAG_SEATED = range(8)
TAG_END = 255
LAST_OPEN = 255           # a range's stored last of 255 covers up to 32767 and ends the list
LAST_COVERED = 32767
LAYER_LAST = 0x80


# Fragment tree nodes (a None child is the null node, type 0).
@dataclass
class Sprite:                      # type 1
    width: int = 0
    height: int = 0
    pixels: Optional[List[int]] = None   # None: the empty sprite (offset 0)
    x: int = 0
    y: int = 0
    offset: int = 0                # set by the writer, or given to point anywhere


@dataclass
class Offset:                      # type 2
    dx: int
    dy: int
    child: object


@dataclass
class Tint:                        # type 3: every channel times the colour's / 255
    color: int
    child: object


@dataclass
class Blend:                       # type 4
    below: object
    above: object


@dataclass
class Recolour:                    # type 5: mask pixels equal to key i take tint colour i
    keys: List[int]
    image: object
    mask: object


@dataclass
class Mix:                         # type 6
    first: object
    second: object


@dataclass
class Raw:                         # bytes written as they stand (damaged files for tests)
    data: bytes


@dataclass
class Light:
    p: int
    q: int
    r: int
    s: int
    width: int                     # 3 to 258; the mask's border is not stored
    height: int
    pixels: Optional[List[int]] = None   # (width - 2) x (height - 2) inner pixels
    offset: int = 0


@dataclass
class Layer:
    keyframes: list                # [(duration ms, fragment tree or None)]
    flags: int = 0                 # bits 0-3 (bit 3: outline only); the writer adds bit 7


@dataclass
class Cell:
    layers: List[Layer]
    light_groups: list = field(default_factory=list)   # [(u16 key, [Light])]


@dataclass
class View:
    width: int
    height: int
    cells: List[Cell]              # width x height, row by row


@dataclass
class Animation:
    views: List[View]
    extra_id: int = 0              # tag 6 only
    extra_byte: int = 0


@dataclass
class Range:
    last: int                      # as stored: 255 ends the list (covers up to 32767)
    animations: list               # [(tag, Animation)] in file order
    first: int = 0                 # set by the reader


@dataclass
class Shape:
    id: int
    ranges: List[Range]
    flags: int = 0                 # bits without bytes of their own; the writer adds the others
    palette_id: Optional[int] = None
    code: Optional[int] = None
    height: Optional[int] = None
    sink: Optional[int] = None
    speed: Optional[int] = None
    direction_ids: Optional[List[int]] = None
    kind: Optional[int] = None
    lights: Optional[List[Light]] = None
    facing: int = 0

    def flag_word(self):
        word = self.flags
        for value, bit in ((self.palette_id, shapeflags.PALETTE_ID), (self.code, shapeflags.CODE_BYTE),
                           (self.height, shapeflags.HEIGHT), (self.sink, shapeflags.SINK),
                           (self.speed, shapeflags.SPEED), (self.direction_ids, shapeflags.DIRECTION_IDS),
                           (self.kind, shapeflags.KIND), (self.lights, shapeflags.LIGHTS)):
            if value is not None:
                word |= bit
        return word


def pack_pixels(pixels):
    return struct.pack('<%dI' % len(pixels), *pixels)


def unpack_pixels(data):
    return list(struct.unpack('<%dI' % (len(data) // 4), data))


def padded(size):
    return (size + 7) & ~7


class SpriteWriter:
    """Collects the pixel file and encodes shape records that point into it."""

    def __init__(self, pixel_revision):
        self.pixels = bytearray(struct.pack('<I', pixel_revision))
        self._blocks = {}

    def _append(self, block, cipher):
        if (block, cipher) not in self._blocks:
            self._blocks[block, cipher] = len(self.pixels)
            self.pixels += imagepack.enciphered_pixels(block) if cipher else block
        return self._blocks[block, cipher]

    def sprite_block(self, pixels):
        return self._append(pack_pixels(pixels), True)

    def light_block(self, pixels):
        return self._append(pack_pixels(pixels), False)

    def fragment(self, node):
        if node is None:
            return b'\x00'
        if isinstance(node, Raw):
            return node.data
        if isinstance(node, Sprite):
            offset = node.offset
            if node.pixels is not None:
                assert len(node.pixels) == node.width * node.height
                offset = self.sprite_block(node.pixels)
            if offset == 0:
                return b'\x01' + struct.pack('<I', 0)
            return b'\x01' + struct.pack('<IBBBB', offset, node.x, node.y, node.width - 1, node.height - 1)
        if isinstance(node, Offset):
            return struct.pack('<BBB', 2, node.dx, node.dy) + self.fragment(node.child)
        if isinstance(node, Tint):
            return struct.pack('<BI', 3, node.color) + self.fragment(node.child)
        if isinstance(node, Blend):
            return b'\x04' + self.fragment(node.below) + self.fragment(node.above)
        if isinstance(node, Recolour):
            return struct.pack('<B4I', 5, *node.keys) + self.fragment(node.image) + self.fragment(node.mask)
        if isinstance(node, Mix):
            return b'\x06' + self.fragment(node.first) + self.fragment(node.second)
        raise TypeError(node)

    def light(self, light):
        offset = light.offset if light.pixels is None else self.light_block(light.pixels)
        return struct.pack('<6BI', light.p, light.q, light.r - 1, light.s - 1,
                           light.width - 3, light.height - 3, offset)

    def lights(self, lights):
        return bytes([len(lights)]) + b''.join(self.light(x) for x in lights)

    def cell(self, cell, with_lights):
        out = bytearray()
        if with_lights:
            out.append(len(cell.light_groups))
            for key, lights in cell.light_groups:
                out += struct.pack('<H', key) + self.lights(lights)
        for i, layer in enumerate(cell.layers):
            last = LAYER_LAST if i == len(cell.layers) - 1 else 0
            out += struct.pack('<BB', layer.flags | last, len(layer.keyframes))
            for duration, tree in layer.keyframes:
                out += struct.pack('<H', duration) + self.fragment(tree)
        return bytes(out)

    def animation(self, anim, with_lights):
        out = bytearray([len(anim.views) - 1])
        for view in anim.views:
            assert len(view.cells) == view.width * view.height
            out += bytes([view.width - 1, view.height - 1])
            for cell in view.cells:
                out += self.cell(cell, with_lights)
        return bytes(out)

    def shape(self, shape):
        word = shape.flag_word()
        out = bytearray(struct.pack('<II', shape.id, word))
        if shape.palette_id is not None:
            out.append(shape.palette_id)
        if shape.code is not None:
            out.append(shape.code)
        if shape.height is not None:
            out.append(shape.height)
        if shape.sink is not None:
            out.append(shape.sink)
        if shape.speed is not None:
            out.append(shape.speed)
        if shape.direction_ids is not None:
            out += struct.pack('<8I', *shape.direction_ids)
        if shape.kind is not None:
            out.append(shape.kind)
        if shape.lights is not None:
            out += self.lights(shape.lights)
        out.append(shape.facing)
        with_lights = shape.lights is not None
        for r in shape.ranges:
            out.append(r.last)
            for tag, anim in r.animations:
                out.append(tag)
                if tag == TAG_EXTRA:
                    out += struct.pack('<IB', anim.extra_id, anim.extra_byte)
                out += self.animation(anim, with_lights)
            out.append(TAG_END)
        return bytes(out)


def encode(revision, header, shapes, pixel_revision, tail=b''):
    """The bytes of both files: (data file, pixel file). tail is appended to the data file."""
    writer = SpriteWriter(pixel_revision)
    data = bytearray(struct.pack('<I', revision))
    data.append(len(header))
    data += struct.pack('<%dI' % len(header), *header)
    for shape in shapes:
        data += writer.shape(shape)
    return bytes(data) + tail, bytes(writer.pixels)


def write(data_dir, revision, header, shapes, pixel_revision, tail=b''):
    data, pixels = encode(revision, header, shapes, pixel_revision, tail)
    os.makedirs(data_dir, exist_ok=True)
    with open(os.path.join(data_dir, 'Veltor.data'), 'wb') as f:
        f.write(data)
    with open(os.path.join(data_dir, 'Veltor.shapes'), 'wb') as f:
        f.write(pixels)


class Reader:
    """Reads "data/Veltor.data" back into the model (sprite and light pixels stay in the pixel
    file, named by their offsets). Damaged data raises ValueError."""

    def __init__(self, data):
        self.data, self.at = data, 0

    def take(self, fmt):
        size = struct.calcsize(fmt)
        if self.at + size > len(self.data):
            raise ValueError('data ends inside a record')
        values = struct.unpack_from(fmt, self.data, self.at)
        self.at += size
        return values if len(values) > 1 else values[0]

    def fragment(self):
        kind = self.take('<B')
        if kind == 0:
            return None
        if kind == 1:
            offset = self.take('<I')
            if offset == 0:
                return Sprite()
            x, y, w, h = self.take('<4B')
            return Sprite(w + 1, h + 1, None, x, y, offset)
        if kind == 2:
            dx, dy = self.take('<2B')
            return Offset(dx, dy, self.fragment())
        if kind == 3:
            return Tint(self.take('<I'), self.fragment())
        if kind == 4:
            return Blend(self.fragment(), self.fragment())
        if kind == 5:
            keys = list(self.take('<4I'))
            return Recolour(keys, self.fragment(), self.fragment())
        if kind == 6:
            return Mix(self.fragment(), self.fragment())
        raise ValueError('fragment type %d' % kind)

    def lights(self):
        out = []
        for _ in range(self.take('<B')):
            p, q, r, s, w, h, offset = self.take('<6BI')
            out.append(Light(p, q, r + 1, s + 1, w + 3, h + 3, None, offset))
        return out

    def animation(self, with_lights):
        views = []
        for _ in range(self.take('<B') + 1):
            w, h = self.take('<2B')
            cells = []
            for _ in range((w + 1) * (h + 1)):
                groups = []
                if with_lights:
                    for _ in range(self.take('<B')):
                        groups.append((self.take('<H'), self.lights()))
                layers = []
                while True:
                    flags, count = self.take('<2B')
                    frames = [(self.take('<H'), self.fragment()) for _ in range(count)]
                    layers.append(Layer(frames, flags & 0x0F))
                    if flags & LAYER_LAST:
                        break
                cells.append(Cell(layers, groups))
            views.append(View(w + 1, h + 1, cells))
        return Animation(views)

    def shape(self):
        shape = Shape(self.take('<I'), [])
        word = self.take('<I')
        shape.flags = word
        if word & shapeflags.PALETTE_ID:
            shape.palette_id = self.take('<B')
        if word & shapeflags.CODE_BYTE:
            shape.code = self.take('<B')
        if word & shapeflags.HEIGHT:
            shape.height = self.take('<B')
        if word & shapeflags.SINK:
            shape.sink = self.take('<B')
        if word & shapeflags.SPEED:
            shape.speed = self.take('<B')
        if word & shapeflags.DIRECTION_IDS:
            shape.direction_ids = list(self.take('<8I'))
        if word & shapeflags.KIND:
            shape.kind = self.take('<B')
        if word & shapeflags.LIGHTS:
            shape.lights = self.lights()
        shape.facing = self.take('<B')
        first, last = 0, 0
        while last != LAST_COVERED:
            stored = self.take('<B')
            last = LAST_COVERED if stored == LAST_OPEN else stored
            r = Range(last, [], first)
            seen = set()
            while True:
                tag = self.take('<B')
                if tag == TAG_END:
                    break
                if tag > TAG_SEATED:
                    raise ValueError('animation tag %d' % tag)
                if tag != TAG_EXTRA and tag in seen:
                    raise ValueError('animation tag %d repeated' % tag)
                seen.add(tag)
                extra = self.take('<IB') if tag == TAG_EXTRA else (0, 0)
                anim = self.animation(shape.lights is not None)
                anim.extra_id, anim.extra_byte = extra
                r.animations.append((tag, anim))
            shape.ranges.append(r)
            first = (last + 1) & 255
        return shape


def read(data):
    """(revision, header, shapes in file order) of a data file's bytes."""
    reader = Reader(data)
    revision = reader.take('<I')
    header = [reader.take('<I') for _ in range(reader.take('<B'))]
    shapes = []
    while reader.at < len(data):
        shapes.append(reader.shape())
    return revision, header, shapes
