#!/usr/bin/env python3
"""Writes the program's resource files into a folder: the version number, the icon and the
four cursors (small images of the project's own, drawn here)."""
import os
import struct
import sys

VERSION = 14


def dib(pixels, size):
    """A 32-bit bottom-up DIB as icons and cursors store it: header, BGRA rows, AND mask."""
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = b''.join(
        b''.join(struct.pack('<BBBB', b, g, r, a) for (r, g, b, a) in pixels[y])
        for y in range(size - 1, -1, -1))
    mask_row = ((size + 31) // 32) * 4
    return header + rows + bytes(mask_row * size)


def icon_file(pixels, size, kind, hotspot=(0, 0)):
    """An .ico (kind 1) or .cur (kind 2) with one image; a cursor entry holds its hotspot."""
    image = dib(pixels, size)
    planes, bits = (1, 32) if kind == 1 else hotspot
    entry = struct.pack('<BBBBHHII', size, size, 0, 0, planes, bits, len(image), 22)
    return struct.pack('<HHH', 0, kind, 1) + entry + image


def canvas(size):
    return [[(0, 0, 0, 0)] * size for _ in range(size)]


def plot(img, x, y, colour):
    if 0 <= y < len(img) and 0 <= x < len(img):
        img[y][x] = colour


def arrow(colour):
    img = canvas(32)
    for y in range(20):
        for x in range(y // 2 + 1 if y < 16 else 20 - y):
            edge = x == 0 or x == (y // 2 if y < 16 else 19 - y) or y == 19
            plot(img, x, y, (0, 0, 0, 255) if edge else colour)
    return img


def cross():
    img = canvas(32)
    for i in range(3, 29):
        for d in (-1, 0, 1):
            c = (0, 0, 0, 255) if d else (255, 255, 255, 255)
            plot(img, i, 16 + d, c)
            plot(img, 16 + d, i, c)
    return img


def arrows(vertical_only):
    img = canvas(32)
    for i in range(4, 28):
        plot(img, 16, i, (0, 0, 0, 255))
        if not vertical_only:
            plot(img, i, 16, (0, 0, 0, 255))
    for k in range(5):
        for d in range(-k, k + 1):
            plot(img, 16 + d, 4 + k, (0, 0, 0, 255))
            plot(img, 16 + d, 27 - k, (0, 0, 0, 255))
            if not vertical_only:
                plot(img, 4 + k, 16 + d, (0, 0, 0, 255))
                plot(img, 27 - k, 16 + d, (0, 0, 0, 255))
    return img


def emblem():
    """The program icon: a gold diamond on a dark blue disc."""
    img = canvas(32)
    for y in range(32):
        for x in range(32):
            dx, dy = x - 15.5, y - 15.5
            if dx * dx + dy * dy <= 15.5 * 15.5:
                img[y][x] = (24, 40, 96, 255)
            if abs(dx) + abs(dy) <= 10:
                img[y][x] = (232, 184, 56, 255)
    return img


def main(folder):
    os.makedirs(folder, exist_ok=True)
    files = {
        'version.bin': struct.pack('<I', VERSION),
        'veltor.ico': icon_file(emblem(), 32, 1),
        'cursor2.cur': icon_file(arrow((232, 184, 56, 255)), 32, 2, (0, 0)),
        'cursor3.cur': icon_file(arrows(True), 32, 2, (16, 16)),
        'cursor4.cur': icon_file(arrows(False), 32, 2, (16, 16)),
        'cursor5.cur': icon_file(cross(), 32, 2, (16, 16)),
    }
    for name, data in files.items():
        with open(os.path.join(folder, name), 'wb') as f:
            f.write(data)


if __name__ == '__main__':
    main(sys.argv[1])
