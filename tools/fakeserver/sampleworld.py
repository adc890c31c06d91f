"""The sample world the fake server lets its players into: a meadow on floor 7 fenced by trees,
with a path, a pond, bushes and a stone house whose upper storey (floor 8) is reached by stairs
and whose cellar (floor 6) by a ladder; a chair, a chest and a torch inside; about twenty
persons, some wandering, one sparring partner who keeps taking hits.

    scenario = Scenario(on=SampleWorld().handlers())

Stepping onto stairs takes the player one floor up (north-west), onto a ladder one floor down
(south-east). Every area and step carries all three floors."""
import random
import threading
import time

from datagen import shapeflags, sprites
from fakeserver import worldmessages as wm
from fakeserver.gamemessages import attach
from fakeserver.messages import enter_game
from fakeserver.requests import sample_shape_flags
from fakeserver.server import Frame

CELLAR, GROUND_FLOOR, UPPER_FLOOR = 6, 7, 8
WIDTH, HEIGHT = 40, 30
HOUSE = (20, 8, 28, 14)                # left, top, right, bottom walls, on every floor
DOOR = (24, 14)
START = (15, 15, GROUND_FLOOR)
SPARRING_PARTNER = 2000
WANDER_PERIOD = 0.5
HOME_RANGE = 4

NAMES = ['Brann', 'Celia', 'Dorn', 'Elva', 'Fenn', 'Greta', 'Hale', 'Ilsa', 'Jorund', 'Kara',
         'Lorn', 'Mira', 'Nils', 'Orla', 'Pell', 'Quinn', 'Runa', 'Sten', 'Tove']


def _house_inside(x, y):
    left, top, right, bottom = HOUSE
    return left < x < right and top < y < bottom


def _house_wall(x, y):
    left, top, right, bottom = HOUSE
    on_edge = x in (left, right) and top <= y <= bottom or y in (top, bottom) and left <= x <= right
    return on_edge and (x, y) != DOOR


def _ground_floor_tile(x, y):
    if x in (0, WIDTH - 1) or y in (0, HEIGHT - 1):
        return [sprites.GRASS, sprites.TREE]
    if _house_wall(x, y):
        return [sprites.STONE_FLOOR, sprites.WALL]
    if _house_inside(x, y) or (x, y) == DOOR:
        return [sprites.STONE_FLOOR]
    if 4 <= x <= 8 and 20 <= y <= 24:
        return [sprites.WATER]
    if y == DOOR[1] + 1 or (x == DOOR[0] and y > DOOR[1]):
        return [sprites.DIRT]
    if (x * 7 + y * 13) % 23 == 0:
        return [sprites.GRASS, sprites.TREE]
    if (x * 5 + y * 3) % 31 == 0:
        return [sprites.GRASS, sprites.BUSH]
    return [sprites.GRASS]


def _storey_tile(x, y):
    if _house_wall(x, y) or (x, y) == DOOR:
        return [sprites.STONE_FLOOR, sprites.WALL]
    if _house_inside(x, y):
        return [sprites.STONE_FLOOR]
    return []


# Things on top of the floors: stairs up, ladders down and the furniture.
FURNISHING = {
    (26, 12, GROUND_FLOOR): [sprites.STAIRS],
    (22, 12, GROUND_FLOOR): [sprites.STONE_FLOOR, sprites.LADDER],
    (22, 10, GROUND_FLOOR): [sprites.STONE_FLOOR, sprites.CHAIR],
    (26, 10, GROUND_FLOOR): [sprites.STONE_FLOOR, sprites.CHEST],
    (21, 9, GROUND_FLOOR): [sprites.STONE_FLOOR, sprites.TORCH],
    (26, 9, UPPER_FLOOR): [sprites.STONE_FLOOR, sprites.LADDER],
    (26, 10, CELLAR): [sprites.STAIRS],
}


def tile_shapes(x, y, z):
    """The shapes of a tile, bottom first; empty outside the world."""
    if not (0 <= x < WIDTH and 0 <= y < HEIGHT):
        return []
    if (x, y, z) in FURNISHING:
        return FURNISHING[(x, y, z)]
    if z == GROUND_FLOOR:
        return _ground_floor_tile(x, y)
    if z in (CELLAR, UPPER_FLOOR):
        return _storey_tile(x, y)
    return []


def _walkable_ground(position):
    flags = [sample_shape_flags().get(shape, 0) for shape in tile_shapes(*position)]
    return (any(f & shapeflags.GROUND for f in flags)
            and not any(f & shapeflags.BLOCKING for f in flags))


def _floor_change(position):
    """The transition that stepping onto `position` leads to, if any."""
    shapes = tile_shapes(*position)
    if sprites.STAIRS in shapes:
        return wm.FLOOR_UP
    if sprites.LADDER in shapes:
        return wm.FLOOR_DOWN
    return None


def sample_creatures():
    """The persons of the world (the player not included), placed on free ground."""
    rng = random.Random(12)
    creatures, taken = [], {START}
    spots = [(x, y, GROUND_FLOOR) for y in range(5, 26) for x in range(4, 27)]
    spots += [(x, y, z) for z in (CELLAR, UPPER_FLOOR) for y in range(9, 14) for x in range(21, 28)]
    spots = [p for p in spots if _walkable_ground(p) and _floor_change(p) is None]
    for number, name in enumerate(NAMES):
        spot = rng.choice([p for p in spots if p not in taken])
        taken.add(spot)
        outfit = rng.getrandbits(32) & 0x7F7F7F7F
        creatures.append(wm.Creature(SPARRING_PARTNER + 1 + number, name, spot, sprites.PERSON,
                                     sub_id=outfit, speed=180 + number * 10))
    creatures.append(wm.Creature(SPARRING_PARTNER, 'Sparring Partner', (16, 12, GROUND_FLOOR),
                                 sprites.PERSON, sub_id=sprites.PERSON_OUTFIT))
    return creatures


class WorldSession:
    """The world as one connection sees it: where everyone stands and which creatures the
    client knows (those inside its area). Every change and its message are made under one lock
    and sent in that order."""

    def __init__(self, session, player_id, name, seed=1, start=START):
        self.session = session
        self.lock = threading.Lock()
        self.rng = random.Random(seed)
        self.player = wm.Creature(player_id, name, start, sprites.PERSON,
                                  sub_id=sprites.PERSON_OUTFIT)
        self.creatures = {c.id: c for c in sample_creatures()}
        self.creatures[player_id] = self.player
        self.homes = {c.id: c.position for c in self.creatures.values()}
        self.wanderers = [c for c in self.creatures.values()
                          if c.id % 3 == 0 and c is not self.player]
        self.known = set()
        self.damage_step = 0

    # --- what the client sees -------------------------------------------------------------

    def floors(self):
        z = self.player.position[2]
        return z, UPPER_FLOOR - z, z - CELLAR

    def in_view(self, position):
        x, y, z = self.player.position
        left, top, width, height = wm.area_rectangle(x, y)
        return (left <= position[0] < left + width and top <= position[1] < top + height
                and CELLAR <= position[2] <= UPPER_FLOOR)

    def content(self, x, y, z):
        items = [(shape, 1, 0) for shape in tile_shapes(x, y, z)]
        creatures = [c for c in self.creatures.values() if c.position == (x, y, z)]
        self.known.update(c.id for c in creatures)
        return items, creatures

    def occupied(self, position):
        return any(c.position == position for c in self.creatures.values())

    def free(self, position):
        return _walkable_ground(position) and not self.occupied(position)

    # --- messages -------------------------------------------------------------------------

    def entry(self):
        """Entering the game: ops 11, 16, the status with light 100 and the whole area."""
        _, up, down = self.floors()
        area = wm.full_area(self.player.position, up, down, self.content)
        return [Frame(enter_game(), attach(self.player.id), wm.player_status(150, 150, 100), area)]

    def walk(self, direction):
        """The answer to a step of the player: its transitions, or op 160 when refused."""
        if direction >= len(wm.DELTAS):
            return [Frame(wm.walk_refused())]
        dx, dy = wm.DELTAS[direction]
        x, y, z = self.player.position
        target = (x + dx, y + dy, z)
        if not self.free(target):
            return [Frame(wm.walk_refused())]
        messages = [self.step_player(direction, target)]
        change = _floor_change(target)
        if change is not None:
            landing = self.landing(change, target)
            if self.free(landing):
                messages.append(self.step_player(change, landing))
        return [Frame(*messages)]

    def landing(self, change, position):
        x, y, z = position
        return (x - 1, y - 1, z + 1) if change == wm.FLOOR_UP else (x + 1, y + 1, z - 1)

    def step_player(self, direction, position):
        self.player.position = position
        gone = [c for c in self.creatures.values()
                if c.id in self.known and not self.in_view(c.position)]
        self.known.difference_update(c.id for c in gone)
        _, up, down = self.floors()
        message = wm.transition(direction, position, up, down, self.content)
        return message + b''.join(wm.creature_remove(c.id) for c in gone)

    def wander(self):
        """One round of the wanderers' steps and the sparring partner's hit."""
        messages = []
        for creature in self.wanderers:
            if self.rng.random() < 0.4:
                messages += self.step_creature(creature, self.rng.randrange(8))
        partner = self.creatures[SPARRING_PARTNER]
        self.damage_step = (self.damage_step + 1) % 8
        partner.health = wm.FULL_HEALTH - 20 * self.damage_step
        if partner.id in self.known:
            messages.append(wm.creature_damage(partner.id, partner.health, 0, 20))
        return messages

    def step_creature(self, creature, direction):
        dx, dy = wm.DELTAS[direction]
        x, y, z = creature.position
        target = (x + dx, y + dy, z)
        home = self.homes[creature.id]
        near_home = max(abs(target[0] - home[0]), abs(target[1] - home[1])) <= HOME_RANGE
        if not near_home or not self.free(target) or _floor_change(target) is not None:
            return []
        creature.position = target
        was_known, seen = creature.id in self.known, self.in_view(target)
        if was_known and seen:
            return [wm.creature_step(creature.id, direction)]
        if was_known:
            self.known.discard(creature.id)
            return [wm.creature_step(creature.id, direction), wm.creature_remove(creature.id)]
        if seen:
            self.known.add(creature.id)
            px, py, pz = self.player.position
            return [wm.creature_appear((target[0] - px, target[1] - py, z - pz), creature)]
        return []

    # --- running --------------------------------------------------------------------------

    def run_wanderers(self):
        while self.session.open:
            time.sleep(WANDER_PERIOD)
            with self.lock:
                messages = self.wander()
                if messages and self.session.open:
                    self.session.perform([Frame(*messages)])


class SampleWorld:
    """Scenario handlers that let the chosen avatar into the sample world at `start` and walk in
    it; with `wander` off the persons stand still."""

    def __init__(self, wander=True, start=START):
        self.wander = wander
        self.start = start

    def handlers(self):
        return {(1, 7): self.enter, (2, 32): self.walk, (2, 33): self.walk}

    def enter(self, session, request):
        names = {a.avatar_id: a.name for a in session.scenario.avatars}
        world = WorldSession(session, request['avatar_id'], names.get(request['avatar_id'], ''),
                             start=self.start)
        session.world = world
        with world.lock:
            session.perform(world.entry())
        if self.wander:
            threading.Thread(target=world.run_wanderers, daemon=True).start()
        return []

    def walk(self, session, request):
        world = session.world
        with world.lock:
            session.perform(world.walk(request['direction']))
        return []
