"""Builds the frame images of shapes the way the client must: renders fragment trees into 32-bit
images (0xAARRGGBB) with the integer rules of the sprite format, and places each result in a
frame sized to whole 32-pixel tiles, anchored bottom-right. Works on the model that
spritefile.read gives and on the bytes of the pixel file."""
import struct
from dataclasses import dataclass
from typing import List

from datagen import imagepack, spritefile
from datagen.spritefile import Blend, Mix, Offset, Recolour, Sprite, Tint

PALETTE_MASK = 127

# Sixteen ramps of eight opaque shades, light to dark.
RAMPS = [
    0xFFFCFCFC, 0xFFD5D5D5, 0xFFB5B5B5, 0xFF828282, 0xFF5A5A5A, 0xFF484848, 0xFF282828, 0xFF161616,
    0xFFCBAD85, 0xFFB3874D, 0xFF966D38, 0xFF7F5723, 0xFF6D3A1B, 0xFF5A2C10, 0xFF441D06, 0xFF301302,
    0xFFEFD8C5, 0xFFEEC09A, 0xFFF2AF76, 0xFFF78F39, 0xFFF87120, 0xFFC85B20, 0xFF8C3C20, 0xFF5F310B,
    0xFFEEE5C5, 0xFFECDB9A, 0xFFEFD576, 0xFFF2CB39, 0xFFF1BF20, 0xFFC39A20, 0xFF886A20, 0xFF5D4C0B,
    0xFFE3E5C5, 0xFFD6DB9A, 0xFFCED576, 0xFFC0CB39, 0xFFAFBF20, 0xFF8E9A20, 0xFF616A20, 0xFF474C0B,
    0xFFD2E5C5, 0xFFB4DB9A, 0xFF9DD576, 0xFF75CB39, 0xFF4EBF20, 0xFF3F9A20, 0xFF276A20, 0xFF254C0B,
    0xFFCFE5DB, 0xFFAEDBC5, 0xFF94D5B6, 0xFF67CB9B, 0xFF3CBF81, 0xFF319A68, 0xFF1D6A45, 0xFF1F4C36,
    0xFFCFE5E5, 0xFFAED8DA, 0xFF94D2D4, 0xFF67C6C9, 0xFF3CB8BC, 0xFF319497, 0xFF1D6768, 0xFF1F494B,
    0xFFCFDBE5, 0xFFAEC5DA, 0xFF94B5D4, 0xFF6799C9, 0xFF3C7EBC, 0xFF316597, 0xFF1D4468, 0xFF1F364B,
    0xFFCFCEE5, 0xFFAEACDA, 0xFF9490D4, 0xFF6760C9, 0xFF3C33BC, 0xFF312A97, 0xFF1D1768, 0xFF1F1D4B,
    0xFFD6C5E5, 0xFFBC9BDA, 0xFFA977D4, 0xFF863BC9, 0xFF6403BC, 0xFF510297, 0xFF352068, 0xFF2D0C4B,
    0xFFE1C5E5, 0xFFD19BDA, 0xFFC777D4, 0xFFB53BC9, 0xFFA203BC, 0xFF830297, 0xFF592068, 0xFF420C4B,
    0xFFECC5E5, 0xFFE79BDA, 0xFFE877D4, 0xFFE83BC9, 0xFFE403BC, 0xFFB80297, 0xFF812068, 0xFF580C4B,
    0xFFEFC5D7, 0xFFEE9BBE, 0xFFF277AC, 0xFFF73B8B, 0xFFF8036B, 0xFFC80256, 0xFF8C2039, 0xFF5F0C2F,
    0xFFEFC5D0, 0xFFEE9BAF, 0xFFF27795, 0xFFF73B68, 0xFFF8033D, 0xFFC80232, 0xFF8C201F, 0xFF5F0C20,
    0xFFEFC7C5, 0xFFEE9E9A, 0xFFF27C76, 0xFFF74239, 0xFFF80C20, 0xFFC80920, 0xFF8C0120, 0xFF5F0F0B,
]
PALETTES = {
    0: [0] + [0xFFFFFFFF] * 127 + [0] * 128,
    1: RAMPS + [0] * 128,
}
DEFAULT_PALETTE = 1

# Animation slots of a range, in tag order; extras are numbered from EXTRA_SLOT on.
SLOT_OF_TAG = {0: 0, 1: 1, 2: 2, 3: 3, 4: 4, 5: 5, 7: 6}
EXTRA_SLOT = 7


def tints(palette_id, key):
    colours = PALETTES[palette_id]
    return [colours[(key >> shift) & PALETTE_MASK] for shift in (0, 8, 16, 24)]


def split(c):
    return (c >> 24) & 255, (c >> 16) & 255, (c >> 8) & 255, c & 255


def join(a, r, g, b):
    return (a << 24) | (r << 16) | (g << 8) | b


def multiply(p, c):
    return join(*(x * y // 255 for x, y in zip(split(p), split(c))))


def lay_over(p, q):
    """Pixel p laid over pixel q."""
    pa, qa = p >> 24, q >> 24
    wa, wb = pa * 255, qa * (255 - pa)
    s = wa + wb
    alpha = s // 255
    if alpha == 0:
        return 0
    _, pr, pg, pb = split(p)
    _, qr, qg, qb = split(q)
    return join(alpha, (qr * wb + pr * wa) // s, (qg * wb + pg * wa) // s, (qb * wb + pb * wa) // s)


@dataclass
class Image:
    x: int            # distance of the right edge from the anchor, leftwards
    y: int            # distance of the bottom edge from the anchor, upwards
    width: int
    height: int
    pixels: List[int]

    def at(self, result, c, r):
        """This image's pixel at column c, row r of the image result (same anchor), or None."""
        cc = c - (result.x + result.width) + (self.x + self.width)
        rr = r - (result.y + result.height) + (self.y + self.height)
        if 0 <= cc < self.width and 0 <= rr < self.height:
            return self.pixels[rr * self.width + cc]
        return None


def empty():
    return Image(0, 0, 0, 0, [])


class PixelFile:
    """The bytes of "data/Veltor.shapes" with its sprite blocks deciphered once each."""

    def __init__(self, data):
        self.data = data
        self._sprites = {}

    def sprite(self, offset, width, height):
        if (offset, width, height) not in self._sprites:
            size = width * height * 4
            end = offset + spritefile.padded(size)
            if end > len(self.data):
                raise ValueError('sprite block past the end of the pixel file')
            block = imagepack.deciphered_pixels(self.data[offset:end], size)
            self._sprites[offset, width, height] = spritefile.unpack_pixels(block)
        return list(self._sprites[offset, width, height])


class Compositor:
    def __init__(self, pixel_file, tint_colours):
        self.pixel_file = pixel_file
        self.tints = tint_colours

    def render(self, node):
        if node is None:
            return empty()
        if isinstance(node, Sprite):
            if node.offset == 0:
                return empty()
            return Image(node.x, node.y, node.width, node.height,
                         self.pixel_file.sprite(node.offset, node.width, node.height))
        if isinstance(node, Offset):
            if node.child is None:
                return empty()
            image = self.render(node.child)
            image.x += node.dx
            image.y += node.dy
            return image
        if isinstance(node, Tint):
            if node.child is None:
                return empty()
            image = self.render(node.child)
            image.pixels = [multiply(p, node.color) for p in image.pixels]
            return image
        if isinstance(node, Blend):
            return self.blend(node)
        if isinstance(node, Mix):
            return self.mix(node)
        if isinstance(node, Recolour):
            return self.recolour(node)
        raise TypeError(node)

    def blend(self, node):
        if node.below is None or node.above is None:
            return self.render(node.above if node.below is None else node.below)
        below, above = self.render(node.below), self.render(node.above)
        x, y = min(below.x, above.x), min(below.y, above.y)
        result = Image(x, y, max(below.x + below.width, above.x + above.width) - x,
                       max(below.y + below.height, above.y + above.height) - y, [])
        for r in range(result.height):
            for c in range(result.width):
                p, q = above.at(result, c, r), below.at(result, c, r)
                if p is None:
                    result.pixels.append(0 if q is None else q)
                else:
                    result.pixels.append(lay_over(p, 0 if q is None else q))
        return result

    def mix(self, node):
        if node.first is None or node.second is None:
            return empty()
        first, second = self.render(node.first), self.render(node.second)
        x, y = max(first.x, second.x), max(first.y, second.y)
        width = min(first.x + first.width, second.x + second.width) - x
        height = min(first.y + first.height, second.y + second.height) - y
        if width <= 0 or height <= 0:
            return empty()
        result = Image(x, y, width, height, [])
        for r in range(height):
            for c in range(width):
                result.pixels.append(multiply(first.at(result, c, r), second.at(result, c, r)))
        return result

    def recolour(self, node):
        if node.image is None or node.mask is None:
            return self.render(node.mask if node.image is None else node.image)
        image, mask = self.render(node.image), self.render(node.mask)
        for r in range(image.height):
            for c in range(image.width):
                m = mask.at(image, c, r)
                if m is None:
                    continue
                for key, tint in zip(node.keys, self.tints):
                    if m == key:
                        i = r * image.width + c
                        image.pixels[i] = multiply(image.pixels[i], tint)
        return image

    def frame(self, tree):
        """(width, height, pixels) of the frame image of one keyframe."""
        if tree is None:
            return 1, 1, [0]
        f = self.render(tree)
        width = max(32, (f.x + f.width + 31) // 32 * 32)
        height = max(32, (f.y + f.height + 31) // 32 * 32)
        pixels = [0] * (width * height)
        left, top = width - f.width - f.x, height - f.height - f.y
        for r in range(f.height):
            row = (top + r) * width + left
            pixels[row:row + f.width] = f.pixels[r * f.width:(r + 1) * f.width]
        return width, height, pixels


def keyframes(shape):
    """Every keyframe that owns its images: ((range, slot, view, cell, layer, keyframe), tree)."""
    for ri, rng in enumerate(shape.ranges):
        extra = 0
        for tag, anim in rng.animations:
            if tag == spritefile.TAG_EXTRA:
                slot, extra = EXTRA_SLOT + extra, extra + 1
            else:
                slot = SLOT_OF_TAG[tag]
            for vi, view in enumerate(anim.views):
                for ci, cell in enumerate(view.cells):
                    for li, layer in enumerate(cell.layers):
                        for ki, (_, tree) in enumerate(layer.keyframes):
                            yield (ri, slot, vi, ci, li, ki), tree


def frame_images(shape, pixel_file, key):
    """((range, slot, view, cell, layer, keyframe), width, height, pixels) for one colour key;
    pixel_file is a PixelFile."""
    palette = DEFAULT_PALETTE if shape.palette_id is None else shape.palette_id
    compositor = Compositor(pixel_file, tints(palette, key))
    for address, tree in keyframes(shape):
        yield (address,) + compositor.frame(tree)


def light_mask(light, pixel_file):
    """The full mask of a light record: a border of 0xFF000000 around the stored pixels."""
    inner = light.width - 2
    count = inner * (light.height - 2)
    stored = spritefile.unpack_pixels(pixel_file.data[light.offset:light.offset + count * 4])
    if len(stored) != count:
        raise ValueError('light mask past the end of the pixel file')
    border = 0xFF000000
    rows = [[border] * light.width]
    for r in range(light.height - 2):
        rows.append([border] + stored[r * inner:(r + 1) * inner] + [border])
    rows.append([border] * light.width)
    return [p for row in rows for p in row]


def pixel_bytes(pixels):
    return struct.pack('<%dI' % len(pixels), *pixels)
