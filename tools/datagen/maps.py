"""Writes data/Veltor.maps, the world-map atlas, and writes and reads data/Veltor.game, the
explored-area save the client keeps per account. All integers little-endian.

Atlas: u32 data version, u32 entry count N, N x (u16 map id, u32 record offset from the start of
the file), then the records. A record runs to the next entry's offset, the last one to the end of
the file. Each is enciphered with its map's key (the game server sends it when it selects the
map): the whole 8-byte blocks, a shorter tail stays plain. Deciphered: 16-byte check block equal
to the key, u8 page count, u8 name length, name; per page: u16 name length, name, u16 width,
u16 height, width x height x 4 pixel bytes (0xAARRGGBB little-endian, rows from the top), u8 part
count; per part: eight u16 (page x0, y0, x1, y1 in pixels, world x0, y0, x1, y1 in tiles), u16
label count; per label: u16 world x, u16 world y, u8 icon (0 a text label), u8 text length, text.
Texts are UTF-8. Map 1 is the world map: three pages (the map, then two cloud layers) of one pixel
per tile, as large as the world rectangle of its first page's first part.

Save: u32 version 1, u32 entry count N, N x (u32 account id, u32 record offset), then the records
in directory order, each enciphered like a map record under its account key (the account id and
three fixed words of the client). Deciphered: the 16 key bytes, four u16 x0, y0, x1, y1 (the world
rectangle the mask covers), (x1 - x0) x (y1 - y0) mask bytes row-major (255 unexplored, 0 seen),
u8 0, four u32 0."""
import functools
import os
import struct
from dataclasses import dataclass, field

import numpy

import veltorxtea
from datagen import mapart
from datagen.imagepack import bgra

ATLAS_NAME = 'Veltor.maps'
SAVE_NAME = 'Veltor.game'
VERSION = 3
SAVE_VERSION = 1
WORLD_MAP_ID = 1

# The three fixed words of every account key, after the account id.
ACCOUNT_KEY_WORDS = (0x4D61B7C3, 0x92E05A1F, 0x1C3F8D65)

REVEAL_RADIUS = 40
UNEXPLORED = 255
CHECK_SIZE = 16
SAVE_TRAILER = b'\0' + bytes(16)

# The world: one pixel of the map per tile.
WORLD_RECT = (1000, 1000, 1320, 1240)
# The keys the server sends with each map's selection.
MAP_KEYS = {
    1: veltorxtea.key_bytes(0x6A09E667, 0xBB67AE85, 0x3C6EF372, 0xA54FF53A),
    2: veltorxtea.key_bytes(0x510E527F, 0x9B05688C, 0x1F83D9AB, 0x5BE0CD19),
    3: veltorxtea.key_bytes(0xCBBB9D5D, 0x629A292A, 0x9159015A, 0x152FECD8),
}


@dataclass
class Label:
    x: int            # world tile
    y: int
    icon: int         # 0: a text label
    text: str


@dataclass
class Part:
    page_rect: tuple  # x0, y0, x1, y1 in pixels of the page
    world_rect: tuple  # x0, y0, x1, y1 in world tiles
    labels: list = field(default_factory=list)


@dataclass
class Page:
    name: str
    width: int
    height: int
    pixels: bytes     # width x height x 4 bytes, 0xAARRGGBB little-endian
    parts: list = field(default_factory=list)


@dataclass
class AtlasMap:
    map_id: int
    name: str
    pages: list


@dataclass
class SaveRecord:
    account_id: int
    rect: tuple       # x0, y0, x1, y1
    mask: bytes


# --- Atlas -------------------------------------------------------------------------------------

def _text(value, width):
    raw = value.encode('utf-8')
    return struct.pack('<' + width, len(raw)) + raw


def plain_record(atlas_map, key):
    """A map's record before enciphering."""
    out = [key, struct.pack('<B', len(atlas_map.pages)), _text(atlas_map.name, 'B')]
    for page in atlas_map.pages:
        assert len(page.pixels) == page.width * page.height * 4
        out += [_text(page.name, 'H'), struct.pack('<HH', page.width, page.height), page.pixels,
                struct.pack('<B', len(page.parts))]
        for part in page.parts:
            out += [struct.pack('<8H', *part.page_rect, *part.world_rect),
                    struct.pack('<H', len(part.labels))]
            for label in part.labels:
                out += [struct.pack('<HHB', label.x, label.y, label.icon), _text(label.text, 'B')]
    return b''.join(out)


def pack_atlas(version, records):
    """The atlas of (map id, record bytes as stored) entries, in the given order."""
    offset = 8 + 6 * len(records)
    directory = []
    for map_id, record in records:
        directory.append(struct.pack('<HI', map_id, offset))
        offset += len(record)
    return b''.join([struct.pack('<II', version, len(records))] + directory +
                    [record for _, record in records])


def read_directory(data, id_format):
    """(version, [(id, offset, end)]) of an atlas ('H' ids) or a save ('I' ids); ValueError when
    the directory or its offsets do not fit the file."""
    version, count = struct.unpack_from('<II', data, 0)
    entry = struct.calcsize('<' + id_format + 'I')
    table_end = 8 + entry * count
    if table_end > len(data):
        raise ValueError('directory longer than the file')
    ids_offsets = [struct.unpack_from('<' + id_format + 'I', data, 8 + entry * i) for i in range(count)]
    ends = [offset for _, offset in ids_offsets[1:]] + [len(data)]
    entries = [(i, offset, end) for (i, offset), end in zip(ids_offsets, ends)]
    for _, offset, end in entries:
        if not table_end <= offset <= end <= len(data):
            raise ValueError('record offsets out of order or outside the file')
    return version, entries


class _Reader:
    def __init__(self, data):
        self.data, self.pos = data, 0

    def take(self, size):
        if self.pos + size > len(self.data):
            raise ValueError('record shorter than its contents')
        chunk = self.data[self.pos:self.pos + size]
        self.pos += size
        return chunk

    def unpack(self, fmt):
        return struct.unpack('<' + fmt, self.take(struct.calcsize('<' + fmt)))

    def text(self, width):
        (size,) = self.unpack(width)
        return self.take(size)


def read_record(record, key):
    """The map of a stored record, or None when it does not decipher with the key. Texts stay
    the stored UTF-8 bytes."""
    plain = veltorxtea.decrypt(key, record)
    if plain[:CHECK_SIZE] != key:
        return None
    reader = _Reader(plain)
    reader.take(CHECK_SIZE)
    (page_count,) = reader.unpack('B')
    atlas_map = AtlasMap(None, reader.text('B'), [])
    for _ in range(page_count):
        name = reader.text('H')
        width, height = reader.unpack('HH')
        page = Page(name, width, height, reader.take(width * height * 4))
        (part_count,) = reader.unpack('B')
        for _ in range(part_count):
            values = reader.unpack('8H')
            part = Part(values[:4], values[4:])
            (label_count,) = reader.unpack('H')
            for _ in range(label_count):
                x, y, icon = reader.unpack('HHB')
                part.labels.append(Label(x, y, icon, reader.text('B')))
            page.parts.append(part)
        atlas_map.pages.append(page)
    return atlas_map


def read_atlas(data, keys):
    """{map id: map} of every record that deciphers with its id's key."""
    _, entries = read_directory(data, 'H')
    maps = {}
    for map_id, offset, end in entries:
        atlas_map = read_record(data[offset:end], keys[map_id])
        if atlas_map is not None:
            atlas_map.map_id = map_id
            maps[map_id] = atlas_map
    return maps


# --- Explored-area save ------------------------------------------------------------------------

def account_key(account_id):
    return veltorxtea.key_bytes(account_id, *ACCOUNT_KEY_WORDS)


def rect_size(rect):
    return rect[2] - rect[0], rect[3] - rect[1]


def save_record(record):
    width, height = rect_size(record.rect)
    assert len(record.mask) == width * height
    key = account_key(record.account_id)
    return veltorxtea.encrypt(key, key + struct.pack('<4H', *record.rect) + bytes(record.mask) +
                              SAVE_TRAILER)


def pack_save(records):
    """A save file of SaveRecords, in the given order."""
    stored = [save_record(record) for record in records]
    offset = 8 + 8 * len(records)
    directory = []
    for record, data in zip(records, stored):
        directory.append(struct.pack('<II', record.account_id, offset))
        offset += len(data)
    return b''.join([struct.pack('<II', SAVE_VERSION, len(records))] + directory + stored)


def read_save(data):
    """The SaveRecords of a save file, in directory order; ValueError for anything that does not
    follow the format (a record that does not decipher, lying sizes, a wrong trailer)."""
    _, entries = read_directory(data, 'I')
    records = []
    for account_id, offset, end in entries:
        key = account_key(account_id)
        stored = data[offset:end]
        plain = veltorxtea.decrypt(key, stored)
        if plain[:CHECK_SIZE] != key:
            raise ValueError('record of account %d does not decipher' % account_id)
        reader = _Reader(plain)
        reader.take(CHECK_SIZE)
        rect = reader.unpack('4H')
        width, height = rect_size(rect)
        if width < 0 or height < 0:
            raise ValueError('negative extent')
        mask = reader.take(width * height)
        if reader.take(len(SAVE_TRAILER)) != SAVE_TRAILER or reader.pos != len(plain):
            raise ValueError('record of account %d has a wrong trailer' % account_id)
        records.append(SaveRecord(account_id, tuple(rect), mask))
    return records


def carry_over(stored_rect, stored_mask, world_rect):
    """A stored mask moved onto the world rectangle by world position; new cells unexplored."""
    width, height = rect_size(world_rect)
    stored_width, stored_height = rect_size(stored_rect)
    old = numpy.frombuffer(bytes(stored_mask), dtype=numpy.uint8).reshape(stored_height, stored_width)
    new = numpy.full((height, width), UNEXPLORED, dtype=numpy.uint8)
    dx, dy = stored_rect[0] - world_rect[0], stored_rect[1] - world_rect[1]
    x0, y0 = max(0, dx), max(0, dy)
    x1, y1 = min(width, dx + stored_width), min(height, dy + stored_height)
    if x0 < x1 and y0 < y1:
        new[y0:y1, x0:x1] = old[y0 - dy:y1 - dy, x0 - dx:x1 - dx]
    return new.tobytes()


def ease(t):
    """The soft edge of the reveal, in single precision: 4t^3 below 0.5, else 1 - (2 - 2t)^3 / 2."""
    f = numpy.float32
    t = f(t)
    if t < f(0.5):
        return f(4) * t * t * t
    u = f(2) - f(2) * t
    return f(1) - u * u * u / f(2)


@functools.lru_cache(maxsize=None)
def brush_value(dx, dy):
    """What a reveal lowers the cell (dx, dy) from the player to, or None beyond the radius."""
    f = numpy.float32
    distance = numpy.sqrt(f(dx * dx + dy * dy))
    if distance >= f(REVEAL_RADIUS):
        return None
    return int(f(255) * ease(distance / f(REVEAL_RADIUS)))


def reveal(mask, width, height, x, y):
    """Lowers a bytearray mask around the cell (x, y) relative to its origin; the mask never rises."""
    r = REVEAL_RADIUS
    for dy in range(-r, r + 1):
        for dx in range(-r, r + 1):
            cx, cy = x + dx, y + dy
            value = brush_value(dx, dy)
            if value is not None and 0 <= cx < width and 0 <= cy < height:
                mask[cy * width + cx] = min(mask[cy * width + cx], value)


def convert_text(text):
    """The client's one-byte form of a text: the low byte of each character."""
    return bytes(ord(c) & 0xFF for c in text)


# --- Sample atlas ------------------------------------------------------------------------------

def world_towns():
    """Town names and the world tiles they are wished at (moved onto land by the map art)."""
    return [('Harrowgate', 1090, 1075), ('Saltmere', 1235, 1105), ('Brackenford', 1150, 1180),
            ('Pântano Sombrio', 1060, 1170)]


def world_map():
    x0, y0, x1, y1 = WORLD_RECT
    width, height = x1 - x0, y1 - y0
    towns = world_towns()
    base, placed = mapart.world_map(width, height, [(x - x0, y - y0) for _, x, y in towns], seed=7)
    labels = [Label(x0 + x, y0 + y - 4, 0, name) for (name, _, _), (x, y) in zip(towns, placed)]
    labels += [Label(x0 + placed[0][0] + 12, y0 + placed[0][1] + 6, 3, 'Cinderdeep Mines'),
               Label(x0 + placed[1][0] - 10, y0 + placed[1][1] + 8, 7, 'Ferry to Marrow')]
    world = Part((0, 0, width, height), WORLD_RECT, labels)
    pages = [Page('Veltor', width, height, bgra(base), [world]),
             Page('Fog', width, height, bgra(mapart.fog_layer(width, height, seed=11)),
                  [Part((0, 0, width, height), WORLD_RECT)]),
             Page('Clouds', width, height, bgra(mapart.cloud_layer(width, height, seed=13)),
                  [Part((0, 0, width, height), WORLD_RECT)])]
    return AtlasMap(WORLD_MAP_ID, 'Veltor', pages)


def mines_map():
    """Two pages of floor plans at two pixels a tile; the first page has two parts."""
    upper = Page('Upper halls', 192, 128, bgra(mapart.floor_plan(192, 128, seed=21)), [
        Part((0, 0, 96, 128), (1100, 1060, 1148, 1124), [Label(1110, 1070, 4, 'Shaft')]),
        Part((96, 0, 192, 128), (1200, 1060, 1248, 1124),
             [Label(1230, 1100, 9, 'Forge'), Label(1205, 1063, 0, 'Hall of Embers')])])
    lower = Page('Lower halls', 128, 128, bgra(mapart.floor_plan(128, 128, seed=22, rooms=4)), [
        Part((0, 0, 128, 128), (1100, 1200, 1164, 1264), [])])
    return AtlasMap(2, 'Cinderdeep Mines', [upper, lower])


def marrow_map():
    image, placed = mapart.world_map(160, 120, [(40, 70), (110, 40)], seed=31)
    x0, y0 = 1400, 1000
    labels = [Label(x0 + placed[0][0], y0 + placed[0][1], 0, 'Pântano'),
              Label(x0 + placed[1][0], y0 + placed[1][1], 7, 'Ferry')]
    return AtlasMap(3, 'Isle of Marrow', [
        Page('Marrow', 160, 120, bgra(image), [Part((0, 0, 160, 120), (x0, y0, x0 + 160, y0 + 120), labels)])])


def sample_maps():
    return [world_map(), mines_map(), marrow_map()]


def sample_atlas():
    records = [(m.map_id, veltorxtea.encrypt(MAP_KEYS[m.map_id], plain_record(m, MAP_KEYS[m.map_id])))
               for m in sample_maps()]
    return pack_atlas(VERSION, records)


def write_sample(data_dir):
    with open(os.path.join(data_dir, ATLAS_NAME), 'wb') as f:
        f.write(sample_atlas())
