"""World-map data for the client's unit tests, written under OUT/maps/:
- Veltor.maps, the sample atlas, and atlas.txt: each map's key and what the client must load
  from it (names and label texts in the client's one-byte form, as hex; page pixels as an
  FNV-1a hash);
- carry/: a save whose accounts were written for other world rectangles, and per account the
  mask the client must carry over onto the sample's world rectangle (<account>.mask);
- atlas/<case>/: damaged or odd atlases and what selecting a map in them must do (case.txt);
- save/<case>/: damaged saves, with the account that plays, the message it must be shown and the
  accounts the next save must hold (case.txt);
- scenario/: a save, the sample atlas and the moves of one session (moves.txt) whose save the
  end-to-end test reads back."""
import os
import struct

import veltorxtea
from datagen import maps
from datagen.maps import AtlasMap, Label, Page, Part, SaveRecord

WORLD_KEY = maps.MAP_KEYS[maps.WORLD_MAP_ID]
OTHER_KEY = veltorxtea.key_bytes(1, 2, 3, 4)
ATLAS_UNREADABLE = 'Failed to load "Veltor.maps".'
MAP_SIZE_INVALID = 'Failed to load map, invalid size.'


def fnv1a(data):
    value = 0x811C9DC5
    for byte in data:
        value = ((value ^ byte) * 0x01000193) & 0xFFFFFFFF
    return value


def summary(atlas_map, key):
    """What the client's test prints for a map it loaded, line for line."""
    lines = ['map %d key %s name %s' % (atlas_map.map_id, key.hex(),
                                        maps.convert_text(atlas_map.name).hex())]
    for page in atlas_map.pages:
        lines.append(' page %s %d %d %08x' % (maps.convert_text(page.name).hex(), page.width,
                                              page.height, fnv1a(page.pixels)))
        for part in page.parts:
            lines.append('  part %d %d %d %d %d %d %d %d' % (*part.page_rect, *part.world_rect))
            for label in part.labels:
                lines.append('   label %d %d %d %s' % ((label.x - part.world_rect[0]) & 0xFFFF,
                                                       (label.y - part.world_rect[1]) & 0xFFFF,
                                                       label.icon,
                                                       maps.convert_text(label.text).hex()))
    return lines


def pattern_mask(rect, seed):
    width, height = maps.rect_size(rect)
    return bytes((x * 7 + y * 13 + seed) % 256 for y in range(height) for x in range(width))


def shifted(rect, dx, dy):
    return (rect[0] + dx, rect[1] + dy, rect[2] + dx, rect[3] + dy)


def carry_records():
    """Accounts saved for other world rectangles: moved, inside, overlapping, the same."""
    world = maps.WORLD_RECT
    rects = {501: shifted(world, 7, -5), 502: world, 503: (1100, 1100, 1150, 1130),
             504: (900, 1200, 1100, 1300), 505: (2000, 2000, 2010, 2010)}
    return [SaveRecord(account, rect, pattern_mask(rect, account)) for account, rect in rects.items()]


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'wb') as f:
        f.write(data)


def write_case(folder, files, lines):
    for name, data in files.items():
        write(os.path.join(folder, name), data)
    write(os.path.join(folder, 'case.txt'), ('\n'.join(lines) + '\n').encode('latin-1'))


def atlas_of(maps_and_keys, version=1):
    return maps.pack_atlas(version, [(m.map_id, veltorxtea.encrypt(key, maps.plain_record(m, key)))
                                     for m, key in maps_and_keys])


def small_page(name, width, height, world_rect, labels=()):
    return Page(name, width, height, bytes(range(256)) * (width * height * 4 // 256) +
                bytes(width * height * 4 % 256), [Part((0, 0, width, height), world_rect, list(labels))])


def small_world(page_sizes):
    rect = (10, 20, 26, 32)
    return AtlasMap(maps.WORLD_MAP_ID, 'Small', [small_page('p%d' % i, w, h, rect) for i, (w, h) in
                                                 enumerate(page_sizes)])


def cut_record(atlas_map, key, cut):
    """An atlas of one map whose deciphered record lost its last `cut` bytes."""
    plain = maps.plain_record(atlas_map, key)[:-cut]
    return maps.pack_atlas(1, [(atlas_map.map_id, veltorxtea.encrypt(key, plain))])


def atlas_cases(out):
    """Each case: the atlas, then 'start <message>' (loading its directory must end the program)
    or 'select <map id> <key> <page> <part> <outcome>', outcome 'accepted', 'refused', 'unloaded'
    (refused, the map left unloaded) or 'fatal <message>'."""
    good = atlas_of([(small_world([(16, 12)] * 3), WORLD_KEY)])
    cases = {
        'short-header': (b'\1\0\0\0\1\0', ['start ' + ATLAS_UNREADABLE]),
        'count-lies': (struct.pack('<IIHI', 1, 50, 1, 14) + bytes(40), ['start ' + ATLAS_UNREADABLE]),
        'offset-past-end': (struct.pack('<IIHI', 1, 1, 1, 400) + bytes(40), ['start ' + ATLAS_UNREADABLE]),
        'offsets-backwards': (struct.pack('<IIHIHI', 1, 2, 1, 40, 2, 30) + bytes(40),
                              ['start ' + ATLAS_UNREADABLE]),
        'offset-in-directory': (struct.pack('<IIHI', 1, 1, 1, 4) + bytes(40), ['start ' + ATLAS_UNREADABLE]),
        # Records too short for a check block, page count and name length fail their check.
        'record-too-short': (struct.pack('<IIHI', 1, 1, 1, 14) + bytes(10),
                             ['select 1 %s 0 0 unloaded' % WORLD_KEY.hex()]),
        'record-of-the-check-block': (maps.pack_atlas(1, [(1, veltorxtea.encrypt(WORLD_KEY, WORLD_KEY + b'\1'))]),
                                      ['select 1 %s 0 0 unloaded' % WORLD_KEY.hex()]),
        'pages-lie': (cut_record(AtlasMap(1, 'W', [small_page('a', 4, 4, (0, 0, 4, 4))] * 2), WORLD_KEY,
                                 4 * 4 * 4 + 20),
                      ['select 1 %s 0 0 fatal %s' % (WORLD_KEY.hex(), MAP_SIZE_INVALID)]),
        'pixels-lie': (cut_record(AtlasMap(2, 'D', [small_page('a', 40, 40, (0, 0, 40, 40))]), WORLD_KEY, 20),
                       ['select 2 %s 0 0 fatal %s' % (WORLD_KEY.hex(), MAP_SIZE_INVALID)]),
        'labels-lie': (cut_record(AtlasMap(2, 'D', [small_page('a', 4, 4, (0, 0, 4, 4),
                                                               [Label(1, 1, 0, 'x'), Label(2, 2, 0, 'yy')])]),
                                  WORLD_KEY, 5),
                       ['select 2 %s 0 0 fatal %s' % (WORLD_KEY.hex(), MAP_SIZE_INVALID)]),
        'wrong-key': (good, ['select 1 %s 0 0 refused' % OTHER_KEY.hex(),
                             'select 1 %s 0 0 accepted' % WORLD_KEY.hex()]),
        'unknown-id-takes-the-first': (good, ['select 9 %s 0 0 accepted' % WORLD_KEY.hex()]),
        'world-of-two-pages': (atlas_of([(small_world([(16, 12)] * 2), WORLD_KEY)]),
                               ['select 1 %s 0 0 refused' % WORLD_KEY.hex()]),
        'world-cloud-page-smaller': (atlas_of([(small_world([(16, 12), (16, 12), (15, 12)]), WORLD_KEY)]),
                                     ['select 1 %s 0 0 refused' % WORLD_KEY.hex()]),
        'world-rect-empty': (atlas_of([(AtlasMap(1, 'E', [small_page('p', 0, 0, (5, 5, 5, 5))] * 3), WORLD_KEY)]),
                             ['select 1 %s 0 0 refused' % WORLD_KEY.hex()]),
        'empty-directory': (struct.pack('<II', 1, 0), ['select 1 %s 0 0 refused' % WORLD_KEY.hex()]),
        'part-out-of-range': (good, ['select 1 %s 0 1 refused' % WORLD_KEY.hex(),
                                     'select 1 %s 3 0 refused' % WORLD_KEY.hex(),
                                     'select 1 %s -1 0 refused' % WORLD_KEY.hex(),
                                     'select 1 %s 2 0 accepted' % WORLD_KEY.hex()]),
    }
    for name, (atlas, lines) in cases.items():
        write_case(os.path.join(out, 'atlas', name), {'Veltor.maps': atlas}, lines)


def save_cases(out):
    """Each case: the save, then 'account <id>' (who plays), 'message <text>' or 'message -',
    and 'kept <ids>' (the accounts the next save holds, in order)."""
    world = maps.WORLD_RECT
    seven = SaveRecord(7, world, pattern_mask(world, 7))
    eight = SaveRecord(8, world, pattern_mask(world, 8))
    good = maps.pack_save([seven, eight])
    record_start = 8 + 16
    seven_size = len(maps.save_record(seven))

    def with_record(index, record_bytes):
        records = [maps.save_record(seven), maps.save_record(eight)]
        records[index] = record_bytes
        directory = struct.pack('<II', 1, 2) + struct.pack('<II', 7, record_start) + \
            struct.pack('<II', 8, record_start + len(records[0]))
        return directory + b''.join(records)

    key = maps.account_key(7)
    negative = veltorxtea.encrypt(key, key + struct.pack('<4H', 50, 0, 40, 10) + maps.SAVE_TRAILER)
    cases = {
        'directory-lies': (struct.pack('<II', 1, 100000) + good[8:], 7, 'Game data is corrupted.', [7]),
        'wrong-key': (with_record(0, veltorxtea.encrypt(maps.account_key(70), maps.save_record(seven))),
                      7, 'Failed to decrypt "Veltor.game".', [7, 8]),
        'mask-cut-short': (with_record(0, maps.save_record(seven)[:seven_size - 100]), 7,
                           'Game data is corrupted.', [7, 8]),
        'negative-extent': (with_record(0, negative), 7, 'Game data is corrupted.', [7, 8]),
        'other-account-damaged': (with_record(1, maps.save_record(eight)[:5000]), 7, '-', [7, 8]),
        'intact': (good, 7, '-', [7, 8]),
    }
    for name, (data, account, message, kept) in cases.items():
        write_case(os.path.join(out, 'save', name), {'Veltor.game': data},
                   ['account %d' % account, 'message ' + message,
                    'kept ' + ' '.join('%d' % k for k in kept)])


def scenario_moves():
    """One session: the world map selected, moves in the light and in the dark, a move beside the
    edge of the world."""
    x0, y0, x1, y1 = maps.WORLD_RECT
    return [('account', 600), ('light', 0), ('select', 1, WORLD_KEY.hex(), 0, 0, x0 + 60, y0 + 50, 7),
            ('move', 0, 0, x0 + 75, y0 + 58), ('light', 13), ('move', 0, 0, x0 + 200, y0 + 120),
            ('light', 137), ('move', 0, 0, x0 + 90, y0 + 65), ('move', 0, 0, x1 - 3, y1 - 1)]


def scenario_save():
    """The save the session starts from: one account saved for a moved world, one for this one."""
    world = maps.WORLD_RECT
    return [SaveRecord(501, shifted(world, -4, 9), pattern_mask(shifted(world, -4, 9), 1)),
            SaveRecord(502, world, pattern_mask(world, 2))]


def write_scenario(folder):
    os.makedirs(folder, exist_ok=True)
    write(os.path.join(folder, 'Veltor.maps'), maps.sample_atlas())
    write(os.path.join(folder, 'Veltor.game'), maps.pack_save(scenario_save()))
    text = '\n'.join(' '.join(str(v) for v in move) for move in scenario_moves()) + '\n'
    write(os.path.join(folder, 'moves.txt'), text.encode('ascii'))


def write_cases(out):
    folder = os.path.join(out, 'maps')
    write(os.path.join(folder, 'Veltor.maps'), maps.sample_atlas())
    lines = []
    for atlas_map in maps.sample_maps():
        lines += summary(atlas_map, maps.MAP_KEYS[atlas_map.map_id])
    write(os.path.join(folder, 'atlas.txt'), ('\n'.join(lines) + '\n').encode('latin-1'))

    records = carry_records()
    write(os.path.join(folder, 'carry', 'Veltor.game'), maps.pack_save(records))
    for record in records:
        write(os.path.join(folder, 'carry', '%d.mask' % record.account_id),
              maps.carry_over(record.rect, record.mask, maps.WORLD_RECT))
    atlas_cases(folder)
    save_cases(folder)
    write_scenario(os.path.join(folder, 'scenario'))
