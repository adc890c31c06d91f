"""Pictures of the sample atlas: a world map of sea, coasts, lowlands, forests and mountains with
rivers, roads and towns; the two cloud layers laid over its unexplored parts; and floor plans of
underground maps. Every picture is a PIL RGBA image, the same for the same seed."""
import math

import numpy
from PIL import Image, ImageDraw

DEEP_SEA = (28, 62, 112)
SHALLOWS = (62, 118, 164)
SAND = (214, 198, 146)
GRASS = (112, 158, 78)
FOREST = (54, 108, 58)
HILLS = (142, 128, 90)
ROCK = (138, 132, 128)
SNOW = (236, 238, 242)
RIVER = (70, 126, 176)
ROAD = (122, 84, 48)
TOWN = (168, 36, 30)
INK = (34, 26, 20)

# Elevation bands: (upper bound, colour), from the sea floor up.
BANDS = [(0.34, DEEP_SEA), (0.42, SHALLOWS), (0.45, SAND), (0.64, GRASS), (0.74, HILLS),
         (0.86, ROCK), (9.0, SNOW)]
SEA_LEVEL = 0.42


def smooth_noise(rng, width, height, cells_x, cells_y):
    """Random values on a coarse grid, smoothly enlarged to width x height, in 0..1."""
    grid = rng.random((cells_y, cells_x)).astype(numpy.float32)
    image = Image.fromarray(grid, mode='F').resize((width, height), Image.BICUBIC)
    return numpy.clip(numpy.asarray(image), 0.0, 1.0)


def elevation(rng, width, height):
    """An island: layered noise, lowered towards the edges."""
    height_map = (0.55 * smooth_noise(rng, width, height, 5, 4)
                  + 0.30 * smooth_noise(rng, width, height, 12, 9)
                  + 0.15 * smooth_noise(rng, width, height, 30, 22))
    ys, xs = numpy.mgrid[0:height, 0:width]
    edge = numpy.hypot((xs - width / 2) / (width / 2), (ys - height / 2) / (height / 2))
    return height_map + 0.27 - 0.42 * edge ** 2


def terrain_colours(height_map, moisture):
    """Colour per elevation band; damp lowlands become forest; slopes shaded from the north-west."""
    rgb = numpy.zeros(height_map.shape + (3,), dtype=numpy.float32)
    lower = -9.0
    for upper, colour in BANDS:
        band = (height_map >= lower) & (height_map < upper)
        rgb[band] = colour
        lower = upper
    forest = (height_map >= 0.47) & (height_map < 0.66) & (moisture > 0.55)
    rgb[forest] = FOREST
    gy, gx = numpy.gradient(height_map)
    light = numpy.clip(1.0 - 9.0 * (gx + gy), 0.75, 1.25)
    land = height_map >= SEA_LEVEL
    rgb[land] *= light[land, None]
    return numpy.clip(rgb, 0, 255).astype(numpy.uint8)


def downhill_path(height_map, start, steps=400):
    """Cells from start, each the lowest of the eight neighbours, until the sea or a hollow."""
    h, w = height_map.shape
    x, y = start
    path = [start]
    for _ in range(steps):
        if height_map[y, x] < SEA_LEVEL:
            break
        neighbours = [(x + dx, y + dy) for dx in (-1, 0, 1) for dy in (-1, 0, 1)
                      if (dx or dy) and 0 <= x + dx < w and 0 <= y + dy < h]
        nx, ny = min(neighbours, key=lambda p: height_map[p[1], p[0]])
        if height_map[ny, nx] >= height_map[y, x]:
            break
        x, y = nx, ny
        path.append((x, y))
    return path


def nearest_land(height_map, x, y):
    """The land cell nearest to (x, y) (the cell itself when it is land)."""
    ys, xs = numpy.nonzero((height_map >= 0.48) & (height_map < 0.7))
    best = numpy.argmin((xs - x) ** 2 + (ys - y) ** 2)
    return int(xs[best]), int(ys[best])


def world_map(width, height, towns, seed):
    """The drawn world map, and the page positions the towns were moved to (onto dry land).
    towns: list of desired (x, y) page positions."""
    rng = numpy.random.default_rng(seed)
    height_map = elevation(rng, width, height)
    moisture = smooth_noise(rng, width, height, 8, 6)
    image = Image.fromarray(terrain_colours(height_map, moisture), mode='RGB')
    draw = ImageDraw.Draw(image)

    peaks = numpy.argsort(height_map, axis=None)[::-1]
    sources = []
    for index in peaks:
        y, x = divmod(int(index), width)
        if all(math.hypot(x - sx, y - sy) > width / 5 for sx, sy in sources):
            sources.append((x, y))
        if len(sources) == 3:
            break
    for source in sources:
        draw.line(downhill_path(height_map, source), fill=RIVER, width=1)

    placed = [nearest_land(height_map, x, y) for x, y in towns]
    for (x0, y0), (x1, y1) in zip(placed, placed[1:]):
        steps = max(abs(x1 - x0), abs(y1 - y0))
        for i in range(0, steps, 3):
            x, y = x0 + (x1 - x0) * i // steps, y0 + (y1 - y0) * i // steps
            if height_map[y, x] >= SEA_LEVEL:
                draw.rectangle((x, y, x + 1, y), fill=ROAD)
    for x, y in placed:
        draw.rectangle((x - 2, y - 2, x + 2, y + 2), fill=INK)
        draw.rectangle((x - 1, y - 1, x + 1, y + 1), fill=TOWN)
    draw.rectangle((0, 0, width - 1, height - 1), outline=INK)
    return image.convert('RGBA'), placed


def fog_layer(width, height, seed):
    """Cloud layer 1: an even, slightly mottled fog over everything unexplored."""
    rng = numpy.random.default_rng(seed)
    mottle = smooth_noise(rng, width, height, 20, 15)
    rgb = numpy.empty((height, width, 4), dtype=numpy.uint8)
    for channel, base in enumerate((214, 218, 226)):
        rgb[..., channel] = (base + 24 * (mottle - 0.5)).astype(numpy.uint8)
    rgb[..., 3] = 255
    return Image.fromarray(rgb, mode='RGBA')


def cloud_layer(width, height, seed):
    """Cloud layer 2: white heaps of cloud with soft edges and greyer undersides, clear between
    them."""
    rng = numpy.random.default_rng(seed)
    body = 0.65 * smooth_noise(rng, width, height, 7, 5) + 0.35 * smooth_noise(rng, width, height, 18, 13)
    alpha = numpy.clip((body - 0.5) * 5.0, 0.0, 1.0)
    shade = numpy.clip(1.0 - 0.4 * (numpy.roll(body, -3, axis=0) - body), 0.88, 1.0)
    rgba = numpy.empty((height, width, 4), dtype=numpy.uint8)
    rgba[..., 0] = (250 * shade).astype(numpy.uint8)
    rgba[..., 1] = (251 * shade).astype(numpy.uint8)
    rgba[..., 2] = (255 * shade).astype(numpy.uint8)
    rgba[..., 3] = (255 * alpha).astype(numpy.uint8)
    return Image.fromarray(rgba, mode='RGBA')


def floor_plan(width, height, seed, rooms=6):
    """An underground level: rock, rooms joined by corridors, pillars in the larger rooms."""
    rng = numpy.random.default_rng(seed)
    image = Image.new('RGBA', (width, height), (36, 31, 28, 255))
    draw = ImageDraw.Draw(image)
    floor, wall = (138, 124, 102, 255), (70, 60, 50, 255)
    centres = []
    for _ in range(rooms):
        w, h = int(rng.integers(14, 30)), int(rng.integers(12, 24))
        x, y = int(rng.integers(4, width - w - 4)), int(rng.integers(4, height - h - 4))
        draw.rectangle((x, y, x + w, y + h), fill=floor, outline=wall)
        if w > 22 and h > 16:
            for px in (x + 5, x + w - 6):
                draw.rectangle((px, y + 5, px + 1, y + 6), fill=wall)
        centres.append((x + w // 2, y + h // 2))
    for (x0, y0), (x1, y1) in zip(centres, centres[1:]):
        draw.line(((x0, y0), (x1, y0), (x1, y1)), fill=floor, width=3)
    return image
