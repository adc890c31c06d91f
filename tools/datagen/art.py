"""Small procedural pixel art for the sample sprites: a canvas of 0xAARRGGBB pixels with a few
drawing operations, and a deterministic noise source."""
import random


def rgb(r, g, b, a=255):
    return (a << 24) | (r << 16) | (g << 8) | b


def shade(colour, factor):
    """The colour with its red, green and blue scaled by factor (alpha kept)."""
    a = colour >> 24
    channels = [min(255, max(0, int(((colour >> s) & 255) * factor))) for s in (16, 8, 0)]
    return rgb(*channels, a)


class Canvas:
    def __init__(self, width, height, fill=0):
        self.width, self.height = width, height
        self.pixels = [fill] * (width * height)

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y * self.width + x] = colour

    def get(self, x, y):
        return self.pixels[y * self.width + x]

    def rect(self, x, y, w, h, colour):
        for yy in range(y, y + h):
            for xx in range(x, x + w):
                self.put(xx, yy, colour)

    def frame(self, x, y, w, h, colour):
        self.rect(x, y, w, 1, colour)
        self.rect(x, y + h - 1, w, 1, colour)
        self.rect(x, y, 1, h, colour)
        self.rect(x + w - 1, y, 1, h, colour)

    def ellipse(self, cx, cy, rx, ry, colour, outline=None):
        for yy in range(int(cy - ry) - 1, int(cy + ry) + 2):
            for xx in range(int(cx - rx) - 1, int(cx + rx) + 2):
                d = ((xx + 0.5 - cx) / rx) ** 2 + ((yy + 0.5 - cy) / ry) ** 2
                if d <= 1.0:
                    inner = ((xx + 0.5 - cx) / max(rx - 1, 0.5)) ** 2 + ((yy + 0.5 - cy) / max(ry - 1, 0.5)) ** 2
                    self.put(xx, yy, outline if outline is not None and inner > 1.0 else colour)

    def line(self, x0, y0, x1, y1, colour):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            self.put(round(x0 + (x1 - x0) * i / steps), round(y0 + (y1 - y0) * i / steps), colour)

    def speckle(self, rng, colours, amount, area=None):
        x0, y0, w, h = area or (0, 0, self.width, self.height)
        for _ in range(amount):
            self.put(x0 + rng.randrange(w), y0 + rng.randrange(h), rng.choice(colours))

    def outline(self, colour):
        """Draws colour on every transparent pixel next to an opaque one."""
        src = list(self.pixels)
        for y in range(self.height):
            for x in range(self.width):
                if src[y * self.width + x] >> 24:
                    continue
                for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                    xx, yy = x + dx, y + dy
                    if 0 <= xx < self.width and 0 <= yy < self.height and src[yy * self.width + xx] >> 24:
                        self.pixels[y * self.width + x] = colour
                        break


def noise(seed):
    return random.Random(seed)
