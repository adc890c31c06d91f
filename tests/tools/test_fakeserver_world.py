"""Checks of the fake server's world messages against a reader written here from the protocol
(the tile stream, the area, the strips of each step, creature records), and of the sample world:
what a player entering it receives and how its steps are answered."""
import struct
import unittest

from datagen import sprites
from fakeserver import sampleworld, worldmessages as wm
from fakeserver.sampleworld import SampleWorld, WorldSession
from fakeserver.server import FakeServer, Scenario
from fakeserver.wire import Reader
from test_fakeserver import ToyClient

PALETTE_SHAPES = {sprites.POTION, sprites.PERSON}
STACKABLE_SHAPES = {sprites.COINS, sprites.ARROWS, sprites.POTION}


def read_item(r, low):
    shape = low + 256 * r.u8()
    count = r.var15() if shape in STACKABLE_SHAPES else 1
    sub_id = r.u32() if shape in PALETTE_SHAPES else 0
    return shape, count, sub_id


def read_creature(r):
    creature_id, shape = r.u32(), r.u16()
    sub_id = r.u32() if shape in PALETTE_SHAPES else 0
    health, speed, flags = r.u8(), r.u16(), r.u8()
    flags2 = r.u8() if flags & 0x80 else 0
    name = r.bytes8().decode()
    lights = []
    while True:
        low = r.u8()
        if low == 255:
            break
        lights.append(low + 256 * r.u8())
    return dict(id=creature_id, shape=shape, sub_id=sub_id, health=health, speed=speed,
                flags=flags, flags2=flags2, name=name, lights=lights)


class StreamReader:
    """The client's reading of a tile stream: one run counter over every rectangle and floor."""

    def __init__(self, reader):
        self.r, self.skip, self.tiles = reader, 0, {}

    def read(self, rectangles, floors):
        for z in floors:
            for x0, y0, w, h in rectangles:
                for y in range(y0, y0 + h):
                    for x in range(x0, x0 + w):
                        self.position((x, y, z))
        return self.tiles

    def position(self, at):
        if self.skip:
            self.skip -= 1
            return
        while True:
            b = self.r.u8()
            if b < 250:
                self.tiles.setdefault(at, ([], []))[0].append(read_item(self.r, b))
            elif b == 252:
                self.tiles.setdefault(at, ([], []))[1].append(read_creature(self.r))
            elif b in (253, 254):
                self.skip = self.r.varstop()
                return
            elif b == 255:
                return
            else:
                raise AssertionError('marker %d' % b)


def read_area(message):
    """(tag, offset, view floor, up, down, light, tiles by position relative to the player)."""
    r = Reader(message)
    assert r.u8() == 48
    tag = r.u32()
    offset = r.u8() if tag else 0
    view, up, down, light = r.u8(), r.u8(), r.u8(), r.u16()
    tiles = StreamReader(r).read([wm.area_rectangle(0, 0)], wm.floor_order(0 + 128, up, down))
    assert r.remaining() == 0, 'bytes after the area'
    relative = {(x, y, z - 128): t for (x, y, z), t in tiles.items()}
    return tag, offset, view, up, down, light, relative


GRASS = ((sprites.GRASS, 1, 0),)


class TileStreamTest(unittest.TestCase):
    def test_bytes_of_runs_items_and_ends(self):
        person = wm.Creature(5, 'Al', (0, 0, 0), sprites.PERSON, sub_id=0x01020304, speed=300)
        cases = [
            ('four empty, then grass', [None] * 4 + [(GRASS, ())], 'fe83' '6400' 'ff'),
            ('grass, then three empty', [(GRASS, ())] + [None] * 3, '6400' 'fe83'),
            ('one empty', [None], 'fe80'),
            ('two items', [(GRASS + ((sprites.TREE, 1, 0),), ())], '6400' '7000' 'ff'),
            ('a count and a sub-id', [(((sprites.COINS, 5, 0), (sprites.POTION, 300, 7)), ())],
             '8200' '05' '8400' 'ac02' '07000000' 'ff'),
            ('a run of 200', [(GRASS, ())] + [None] * 200 + [(GRASS, ())],
             '6400' 'fe' '4881' '6400' 'ff'),
            ('a creature without items', [((), (person,))],
             'fc' '05000000' 'c800' '04030201' 'c8' '2c01' '00' '02416c' 'ff' 'ff'),
        ]
        for name, positions, expected in cases:
            with self.subTest(name):
                self.assertEqual(wm.tile_stream(positions).hex(), expected)

    def test_a_shape_whose_low_byte_is_a_marker_is_refused(self):
        for shape in (250, 255, 0x1FA):
            with self.subTest(shape=shape), self.assertRaises(ValueError):
                wm.tile_stream([(((shape, 1, 0),), ())])

    def test_a_run_crosses_rows_rectangles_and_floors(self):
        rectangles, floors = [(0, 0, 3, 2), (5, 5, 1, 2)], [7, 8, 6]
        filled = {(0, 0, 7), (2, 1, 8), (5, 6, 6)}

        def content(x, y, z):
            return (GRASS, ()) if (x, y, z) in filled else None

        stream = wm.tile_stream(wm.positions(rectangles, floors, content))
        # Grass, 12 empty (to the end of floor 7 and into floor 8's second row), grass, 9 empty
        # (floor 8's column, then floor 6's first rectangle and into its second), grass.
        self.assertEqual(stream.hex(), '6400' 'fe8c' '6400' 'fe89' '6400' 'ff')
        tiles = StreamReader(Reader(stream)).read(rectangles, floors)
        self.assertEqual(set(tiles), filled)


class CreatureRecordTest(unittest.TestCase):
    def test_second_flags_and_lights(self):
        creature = wm.Creature(9, 'Bo', (0, 0, 0), sprites.TORCH, flags=0x04, flags2=0x02,
                               lights=[16, 0x1234])
        record = wm.creature_record(wm.Writer(), creature).bytes()
        self.assertEqual(record.hex(), '09000000' '9800' 'c8' 'dc00' '84' '02' '02426f'
                                       '1000' '3412' 'ff')
        self.assertEqual(read_creature(Reader(record))['lights'], [16, 0x1234])

    def test_a_light_whose_low_byte_is_255_is_refused(self):
        creature = wm.Creature(9, 'Bo', (0, 0, 0), sprites.TORCH, lights=[0x1FF])
        with self.assertRaises(ValueError):
            wm.creature_record(wm.Writer(), creature)


class AreaAndStepTest(unittest.TestCase):
    @staticmethod
    def marked(x, y, z):
        """Coins on floor 7, their count naming the position, so that a misplaced tile shows."""
        return (((sprites.COINS, (x % 100) + 100 * (y % 100) + 1, 0),), ()) if z == 7 else None

    def test_floor_order_and_its_bounds(self):
        self.assertEqual(wm.floor_order(7, 1, 1), [7, 8, 6])
        self.assertEqual(wm.floor_order(8, 0, 2), [8, 7, 6])
        self.assertEqual(wm.floor_order(255, 0, 255), list(range(255, -1, -1)))
        for z, up, down in [(255, 1, 0), (0, 0, 1), (7, 249, 0)]:
            with self.subTest(z=z, up=up, down=down), self.assertRaises(ValueError):
                wm.floor_order(z, up, down)

    def test_full_area_fields_and_tiles(self):
        message = wm.full_area((50, 60, 7), 1, 0, self.marked, tag=1, offset=0x21)
        tag, offset, view, up, down, light, tiles = read_area(message)
        self.assertEqual((tag, offset, view, up, down, light), (1, 0x21, 1, 1, 0, wm.DAYLIGHT))
        self.assertEqual(len(tiles), 24 * 20)
        self.assertEqual(tiles[(-11, -9, 0)][0], [(sprites.COINS, 39 + 5100 + 1, 0)])
        self.assertEqual(tiles[(12, 10, 0)][0], [(sprites.COINS, 62 + 7000 + 1, 0)])
        self.assertEqual(wm.full_area((50, 60, 7), 0, 0, self.marked)[:10].hex(),
                         '30' '00000000' '00' '00' '00' '8000')

    def test_each_step_carries_exactly_the_tiles_that_come_into_view(self):
        x, y = 50, 60
        for direction, (dx, dy) in enumerate(wm.DELTAS):
            with self.subTest(direction=direction):
                nx, ny = x + dx, y + dy
                old = self.view(x, y)
                rectangles = wm.strips(direction, nx, ny)
                covered = [p for left, top, w, h in rectangles
                           for p in self.view(left + 11, top + 9, w, h)]
                self.assertEqual(sorted(covered), sorted(self.view(nx, ny) - old))
                self.assertEqual(len(covered), len(set(covered)))

    def test_diagonal_steps_read_the_row_first(self):
        self.assertEqual(wm.strips(1, 0, 0), [(-11, -9, 24, 1), (12, -8, 1, 19)])
        self.assertEqual(wm.strips(3, 0, 0), [(12, -9, 1, 19), (-11, 10, 24, 1)])
        self.assertEqual(wm.strips(5, 0, 0), [(-11, -9, 1, 19), (-11, 10, 24, 1)])
        self.assertEqual(wm.strips(7, 0, 0), [(-11, -9, 24, 1), (-11, -8, 1, 19)])

    @staticmethod
    def view(x, y, w=24, h=20):
        return {(px, py) for px in range(x - 11, x - 11 + w) for py in range(y - 9, y - 9 + h)}

    def test_step_messages(self):
        east = wm.transition(2, (51, 60, 7), 1, 1, self.marked)
        r = Reader(east)
        self.assertEqual((r.u8(), r.u8(), r.u8(), r.u8(), r.u8(), r.u16()),
                         (56, 2, 1, 1, 1, wm.DAYLIGHT))
        tiles = StreamReader(r).read(wm.strips(2, 0, 0), [0, 1, -1])
        self.assertEqual(r.remaining(), 0)
        self.assertEqual(sorted(tiles), [(12, y, 0) for y in range(-9, 11)])
        self.assertEqual(tiles[(12, -9, 0)][0], [(sprites.COINS, 63 + 5100 + 1, 0)])
        for op, direction in [(wm.FLOOR_UP, 7), (wm.FLOOR_DOWN, 3)]:
            with self.subTest(op=op):
                r = Reader(wm.transition(op, (50, 60, 7), 0, 0, self.marked))
                self.assertEqual((r.u8(), r.u8(), r.u8(), r.u8(), r.u16()),
                                 (op, 0, 0, 0, wm.DAYLIGHT))
                tiles = StreamReader(r).read(wm.strips(direction, 0, 0), [0])
                self.assertEqual(len(tiles), 43)
                self.assertEqual(r.remaining(), 0)

    def test_player_status_ends_with_the_light(self):
        r = Reader(wm.player_status(50, 200, -100))
        self.assertEqual((r.u8(), r.u16(), r.u16(), r.u16(), r.u16()), (18, 200, 0, 220, 0))
        r.u32(), r.u32(), r.varint(), r.u16(), r.u8(), r.varint()
        self.assertEqual((r.u16(), r.u16()), (50, 0))
        r.take(30)
        self.assertEqual(r.u8(), 255)
        self.assertEqual((r.u8(), r.u8()), (0, 0))
        self.assertEqual(struct.unpack('b', r.take(1))[0], -100)
        self.assertEqual(r.remaining(), 0)


class SampleWorldTest(unittest.TestCase):
    def world(self, at=None):
        world = WorldSession(None, 1001, 'Aria')
        if at:
            world.player.position = at
        return world

    def messages(self, frames):
        return [m for frame in frames for m in frame.messages]

    def test_the_area_holds_the_world_and_everyone(self):
        world = self.world()
        enter, attach, status, area = self.messages(world.entry())
        self.assertEqual((enter[0], attach[0], status[0], status[-1]), (11, 16, 18, 100))
        self.assertEqual(attach[1:5], struct.pack('<I', 1001))
        _, _, view, up, down, _, tiles = read_area(area)
        self.assertEqual((view, up, down), (1, 1, 1))
        creatures = {c['id']: (p, c) for p, (_, cs) in tiles.items() for c in cs}
        self.assertEqual(creatures[1001][0], (0, 0, 0))
        self.assertEqual(creatures[1001][1]['name'], 'Aria')
        self.assertGreaterEqual(len(creatures), 15)
        self.assertEqual(world.known, set(creatures))
        shapes = {s for items, _ in tiles.values() for s, _, _ in items}
        for shape in (sprites.GRASS, sprites.WALL, sprites.TREE, sprites.STAIRS, sprites.CHEST,
                      sprites.CHAIR, sprites.TORCH, sprites.STONE_FLOOR):
            self.assertIn(shape, shapes)
        self.assertEqual({z for (_, _, z) in tiles}, {-1, 0, 1})
        self.assertEqual(len(world.creatures), 21)

    def test_the_player_may_start_elsewhere(self):
        world = WorldSession(None, 1001, 'Aria', start=(24, 11, 7))
        *_, area = self.messages(world.entry())
        tiles = read_area(area)[-1]
        items, creatures = tiles[(0, 0, 0)]
        self.assertEqual([c['id'] for c in creatures], [1001])
        self.assertEqual([shape for shape, _, _ in items], [sprites.STONE_FLOOR])
        self.assertEqual(world.player.position, (24, 11, 7))

    def test_walks_are_answered_with_the_step_or_refused(self):
        start = sampleworld.START
        cases = [
            ('east onto grass', start, 2, [56], (16, 15, 7)),
            ('into a wall', (22, 15, 7), 0, [160], (22, 15, 7)),
            ('into the border trees', (1, 15, 7), 6, [160], (1, 15, 7)),
            ('into the pond', (9, 22, 7), 6, [160], (9, 22, 7)),
            ('onto the stairs and up', (26, 13, 7), 0, [56, 112], (25, 11, 8)),
            ('onto the ladder and down', (26, 10, 8), 0, [56, 113], (27, 10, 7)),
            ('an unknown direction', start, 8, [160], start),
        ]
        for name, at, direction, ops, end in cases:
            with self.subTest(name):
                world = self.world(at)
                world.creatures = {1001: world.player}
                messages = self.messages(world.walk(direction))
                self.assertEqual([m[0] for m in messages], ops)
                self.assertEqual(world.player.position, end)

    def test_a_step_carries_creatures_coming_into_view_and_drops_those_leaving(self):
        world = self.world((15, 15, 7))
        coming, leaving = wm.Creature(7, 'In', (28, 15, 7), 1), wm.Creature(8, 'Out', (4, 15, 7), 1)
        world.creatures = {1001: world.player, 7: coming, 8: leaving}
        world.known = {1001, 8}
        step, = self.messages(world.walk(2))
        r = Reader(step)
        r.take(7)
        tiles = StreamReader(r).read(wm.strips(2, 0, 0), [0, 1, -1])
        self.assertEqual([c['id'] for _, cs in tiles.values() for c in cs], [7])
        self.assertEqual(r.take(r.remaining()), wm.creature_remove(8))
        self.assertEqual(world.known, {1001, 7})

    def test_wanderers_step_appear_and_leave(self):
        world = self.world((15, 15, 7))
        walker = wm.Creature(9, 'W', (26, 15, 7), 1)
        world.creatures[9] = walker
        world.homes[9] = walker.position
        world.known.add(9)
        self.assertEqual(world.step_creature(walker, 2), [wm.creature_step(9, 2)])
        self.assertEqual(world.step_creature(walker, 2),
                         [wm.creature_step(9, 2), wm.creature_remove(9)])
        self.assertNotIn(9, world.known)
        self.assertEqual(world.step_creature(walker, 2), [])
        self.assertEqual(world.step_creature(walker, 6), [])
        appear = world.step_creature(walker, 6)
        self.assertEqual(appear[0][:4], bytes([96, 12, 0, 0]))
        self.assertIn(9, world.known)
        for at, direction in [((25, 12, 7), 2), ((21, 13, 7), 4), ((14, 15, 7), 2)]:
            with self.subTest(at=at):  # onto the stairs, into a wall, onto the player
                walker.position = world.homes[9] = at
                self.assertEqual(world.step_creature(walker, direction), [])
                self.assertEqual(walker.position, at)


class LiveWorldTest(unittest.TestCase):
    def test_entering_and_walking_through_the_server(self):
        scenario = Scenario(on=SampleWorld(wander=False).handlers())
        with FakeServer(scenario) as server:
            client = ToyClient(server.port)
            self.addCleanup(client.sock.close)
            client.login()
            client.frame()
            client.counter, client.state = 2, 1
            client.send(struct.pack('<BI', 7, 1001), encrypted=True)
            entry = client.frame(encrypted=True)
            self.assertEqual(entry[:2], bytes([11, 16]))
            client.counter, client.state = 3, 2
            client.send(bytes([32, 2]), encrypted=True)
            step = client.frame(encrypted=True)
            self.assertEqual(step[:2], bytes([56, 2]))
            self.assertTrue(server.wait_for(
                lambda t: [e['ops'] for e in t.of('server_frame')][-1:] == [[56]]))
            walk = server.transcript.of('client_frame')[-1]['request']
            self.assertEqual((walk['type'], walk['direction']), ('walk', 2))


if __name__ == '__main__':
    unittest.main()
