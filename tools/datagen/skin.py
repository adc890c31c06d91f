"""Writes data/Veltor.skin, the interface skin pack: a u32 data version, a u16 image count, then
per image its u16 id, u16 width, u16 height and the pixels (rows from the top, 32-bit 0xAARRGGBB
little-endian) padded to a multiple of 8 bytes and enciphered with the pixel key.

The sample skin draws plain, legible interface art at the places the windows take their pieces
from: frame pieces, buttons in three states, check boxes, scroll-bar pieces, item cells, gauges,
the brewing and crafting pictures, smileys and status icons."""
import math
import os
import struct

from PIL import Image, ImageDraw, ImageFont

from datagen.imagepack import bgra, enciphered_pixels

VERSION = 11
FILE_NAME = 'Veltor.skin'
DEJAVU = '/usr/share/fonts/truetype/dejavu/'

LIGHT = (214, 196, 150, 255)
MID = (140, 118, 80, 255)
DARK = (40, 31, 21, 255)
FACE = (96, 80, 58, 255)
HOVER_FACE = (124, 106, 78, 255)
PRESSED_FACE = (66, 54, 38, 255)
TROUGH = (28, 23, 17, 255)
INK = (240, 228, 200, 255)
CLEAR = (0, 0, 0, 0)

SMILEY_Y = 372
# Smiley icons by the mouth they show (the emoticons ":)", ":(", ":o" and the like).
SMILING = {1, 2, 5, 8, 10, 17, 18, 24, 27, 28, 29, 31, 33}
FROWNING = {3, 6, 13, 19, 25, 26, 32}
OPEN_MOUTHED = {4, 7, 11, 22}
SMILEY_COUNT = 33
STATUS_ICON_COUNT = 30
MARKER_ICON_COUNT, MARKER_ICON_SIZE = 25, 16


def pack_skin(version, images):
    """The pack of (id, width, height, pixel bytes) images, in the given order."""
    out = [struct.pack('<IH', version, len(images))]
    for image_id, width, height, pixels in images:
        assert len(pixels) == width * height * 4
        out.append(struct.pack('<HHH', image_id, width, height))
        out.append(enciphered_pixels(pixels))
    return b''.join(out)


def bevel(draw, x, y, w, h, light, dark):
    """A one-pixel edge: top and left light, bottom and right dark."""
    draw.rectangle((x, y, x + w - 1, y), fill=light)
    draw.rectangle((x, y, x, y + h - 1), fill=light)
    draw.rectangle((x, y + h - 1, x + w - 1, y + h - 1), fill=dark)
    draw.rectangle((x + w - 1, y, x + w - 1, y + h - 1), fill=dark)


def panel(draw, x, y, w, h, face, sunken=False):
    """A filled box with a raised (or sunken) one-pixel bevel."""
    draw.rectangle((x, y, x + w - 1, y + h - 1), fill=face)
    light, dark = (DARK, LIGHT) if sunken else (LIGHT, DARK)
    bevel(draw, x, y, w, h, light, dark)


def frame_block(draw, x, y, size):
    """A square frame with a 2-pixel border and a transparent inside: corners and edges of the
    skinned frames are cut from it."""
    bevel(draw, x, y, size, size, LIGHT, DARK)
    bevel(draw, x + 1, y + 1, size - 2, size - 2, MID, MID)


def button_faces(draw, x, y, w, h, step, mark=None):
    """Normal, hover and pressed looks of a button, `step` apart; mark(draw, x, y, w, h) draws
    its symbol."""
    for state, face in enumerate((FACE, HOVER_FACE, PRESSED_FACE)):
        bx, by = (x + state * step[0], y + state * step[1])
        panel(draw, bx, by, w, h, face, sunken=state == 2)
        if mark:
            shift = 1 if state == 2 else 0
            mark(draw, bx + shift, by + shift, w, h)


def close_mark(draw, x, y, w, h):
    cx, cy = x + w // 2, y + h // 2
    draw.line((cx - 3, cy - 3, cx + 3, cy + 3), fill=INK)
    draw.line((cx - 3, cy + 3, cx + 3, cy - 3), fill=INK)


def collapse_mark(draw, x, y, w, h):
    draw.rectangle((x + w // 2 - 3, y + h // 2, x + w // 2 + 3, y + h // 2), fill=INK)


def expand_mark(draw, x, y, w, h):
    collapse_mark(draw, x, y, w, h)
    draw.rectangle((x + w // 2, y + h // 2 - 3, x + w // 2, y + h // 2 + 3), fill=INK)


# Digits and the letter F, 3 by 5 pixels, for the key labels of the ability bar.
TINY = {
    'F': ('###', '#..', '##.', '#..', '#..'), '0': ('###', '#.#', '#.#', '#.#', '###'),
    '1': ('.#.', '##.', '.#.', '.#.', '###'), '2': ('##.', '..#', '.#.', '#..', '###'),
    '3': ('##.', '..#', '.#.', '..#', '##.'), '4': ('#.#', '#.#', '###', '..#', '..#'),
    '5': ('###', '#..', '##.', '..#', '##.'), '6': ('.##', '#..', '###', '#.#', '###'),
    '7': ('###', '..#', '.#.', '.#.', '.#.'), '8': ('###', '#.#', '###', '#.#', '###'),
    '9': ('###', '#.#', '###', '..#', '##.'),
}


def tiny_text(draw, x, y, text, colour):
    for ch in text:
        for row, bits in enumerate(TINY[ch]):
            for col, bit in enumerate(bits):
                if bit == '#':
                    draw.point((x + col, y + row), fill=colour)
        x += 4


def key_labels(draw):
    """The labels F1 to F12, 19 by 9 each, stacked from (80, 121)."""
    for i in range(12):
        x, y = 80, 121 + 9 * i
        panel(draw, x, y, 19, 9, (30, 30, 30, 200))
        text = 'F%d' % (i + 1)
        tiny_text(draw, x + (19 - (4 * len(text) - 1)) // 2, y + 2, text, (255, 255, 255, 255))


def item_cells(draw):
    """36 by 36 cells: empty slot (256, 16), used (256, 56), empty (256, 96), drop mark (256, 136);
    the equipment's empty-slot pictures at (295 + 36 column, 36 row)."""
    panel(draw, 256, 16, 36, 36, (44, 38, 30, 255), sunken=True)
    panel(draw, 256, 56, 36, 36, (58, 50, 38, 255), sunken=True)
    panel(draw, 256, 96, 36, 36, (44, 38, 30, 255), sunken=True)
    panel(draw, 256, 136, 36, 36, (90, 120, 60, 255), sunken=True)
    draw.rectangle((258, 138, 289, 169), outline=(170, 220, 110, 255))
    for row in range(5):
        for col in range(3):
            x, y = 295 + 36 * col, 36 * row
            panel(draw, x, y, 36, 36, (44, 38, 30, 255), sunken=True)
            draw.ellipse((x + 12, y + 8, x + 23, y + 19), outline=(90, 80, 64, 255))
            draw.rectangle((x + 10, y + 21, x + 25, y + 28), outline=(90, 80, 64, 255))


def grid_frame(draw):
    """Pieces of the item-grid frames: 8 by 8 corners and joints in a 3 by 3 block at (87, 27),
    32-pixel horizontal edges at (85, 59), (85, 66), (85, 71) and vertical ones at (54, 41),
    (61, 41), (66, 41)."""
    for row in range(3):
        for col in range(3):
            panel(draw, 87 + 8 * col, 27 + 8 * row, 8, 8, MID)
    for y, h in ((59, 6), (66, 4), (71, 6)):
        draw.rectangle((85, y, 116, y + h - 1), fill=MID)
        draw.rectangle((85, y, 116, y), fill=LIGHT)
        draw.rectangle((85, y + h - 1, 116, y + h - 1), fill=DARK)
    for x, w in ((54, 6), (61, 4), (66, 6)):
        draw.rectangle((x, 41, x + w - 1, 72), fill=MID)
        draw.rectangle((x, 41, x, 72), fill=LIGHT)
        draw.rectangle((x + w - 1, 41, x + w - 1, 72), fill=DARK)


def scroll_pieces(draw):
    """Scroll track (260, 227..236), vertical thumb pieces at x 280, horizontal ones at y 305."""
    draw.rectangle((260, 227, 277, 236), fill=TROUGH)
    bevel(draw, 260, 227, 18, 10, DARK, MID)
    draw.rectangle((260, 230, 277, 233), fill=TROUGH)
    draw.rectangle((260, 230, 260, 233), fill=DARK)
    draw.rectangle((277, 230, 277, 233), fill=MID)
    thumb = (150, 126, 88, 255)
    draw.rectangle((280, 221, 295, 221), fill=thumb)
    draw.rectangle((280, 224, 295, 234), fill=thumb)
    for y in range(226, 234, 2):
        draw.line((283, y, 292, y), fill=LIGHT)
    panel(draw, 280, 263, 16, 3, thumb)
    panel(draw, 280, 267, 16, 3, thumb)
    draw.rectangle((260, 305, 260, 320), fill=thumb)
    draw.rectangle((263, 305, 273, 320), fill=thumb)
    for x in range(265, 273, 2):
        draw.line((x, 308, x, 317), fill=LIGHT)
    panel(draw, 282, 305, 3, 16, thumb)
    panel(draw, 286, 305, 3, 16, thumb)


def gauges(draw):
    """Gauge fills (4 by 4 at x 228), bar caps and edges (x 233..249, y 153..169), bar fills
    (4 by 9 at y 191), the empty bar (101, 142), a skill bar (234..248, 205) and a slider track
    (244..253, 304)."""
    draw.rectangle((228, 207, 231, 210), fill=(200, 40, 40, 255))
    draw.rectangle((228, 215, 231, 218), fill=(50, 90, 220, 255))
    draw.rectangle((228, 223, 231, 226), fill=(220, 190, 60, 255))
    draw.rectangle((216, 191, 219, 199), fill=(50, 90, 220, 255))
    draw.rectangle((222, 191, 225, 199), fill=(200, 40, 40, 255))
    draw.rectangle((228, 191, 231, 199), fill=(220, 190, 60, 255))
    draw.rectangle((101, 142, 200, 150), fill=TROUGH)
    panel(draw, 233, 153, 17, 17, MID)
    draw.rectangle((237, 157, 245, 165), fill=TROUGH)
    draw.rectangle((233, 157, 236, 165), fill=MID)
    draw.rectangle((246, 157, 249, 165), fill=MID)
    panel(draw, 234, 205, 15, 8, MID)
    draw.rectangle((236, 207, 245, 210), fill=TROUGH)
    panel(draw, 244, 304, 10, 18, MID)
    draw.rectangle((247, 311, 251, 314), fill=TROUGH)


def status_panel_pieces(draw):
    """The status panel's connection bars (4 by 9 at y 191: x 251 excellent, 257 good, 263
    moderate and deficient, 269 inadequate), the fill of its capacity and skill-pool bars (275,
    191), its buttons (448, 288/306/324) and the mark beside each button (82, 85)."""
    for x, colour in ((251, (60, 200, 80)), (257, (170, 210, 60)), (263, (230, 150, 40)),
                      (269, (210, 50, 40)), (275, (60, 170, 200))):
        draw.rectangle((x, 191, x + 3, 199), fill=colour + (255,))
    button_faces(draw, 448, 288, 148, 18, (0, 18))
    draw.polygon(((82, 87), (86, 91), (82, 95)), fill=INK)


def palette_colour(index):
    """A sample colour for each of the 128 outfit palette entries: 16 hues in 8 shades."""
    hue, shade = index % 16, index // 16
    angle = hue * 2 * math.pi / 16
    level = 0.35 + 0.65 * (shade + 1) / 8
    return tuple(int(level * (160 + 95 * math.cos(angle + k * 2 * math.pi / 3)))
                 for k in range(3)) + (255,)


def character_pieces(draw):
    """The raise buttons of the attribute window (64 by 64 at x 448, 512, 576; normal, hover,
    pressed and disabled looks at y 0, 64, 128, 192), the outfit palette (120, 155) with its
    16 rows of 8 cells, the palette marker (215, 154) and the outfit arrows: next (0, 128) and
    previous (0, 144), looks at x 0, 18, 36."""
    for x in (448, 512, 576):
        for state, face in enumerate((FACE, HOVER_FACE, PRESSED_FACE, TROUGH)):
            panel(draw, x, 64 * state, 64, 64, face, sunken=state == 2)
            ink = MID if state == 3 else INK
            draw.polygon(((x + 32, 64 * state + 14), (x + 50, 64 * state + 40),
                          (x + 14, 64 * state + 40)), fill=ink)
    panel(draw, 120, 155, 89, 180, DARK)
    for row in range(16):
        for col in range(8):
            x, y = 121 + 11 * col, 156 + 11 * row
            draw.rectangle((x, y, x + 8, y + 8), fill=palette_colour(row * 8 + 7 - col))
    draw.rectangle((215, 154, 226, 165), outline=(255, 255, 255, 255))
    draw.rectangle((216, 155, 225, 164), outline=(0, 0, 0, 255))

    def arrow(direction):
        def mark(draw, x, y, w, h):
            tip, back = (x + 12, x + 6) if direction > 0 else (x + 6, x + 12)
            draw.polygon(((back, y + 4), (tip, y + 8), (back, y + 12)), fill=INK)
        return mark
    button_faces(draw, 0, 128, 18, 16, (18, 0), arrow(1))
    button_faces(draw, 0, 144, 18, 16, (18, 0), arrow(-1))


def smiley(draw, n, x, y):
    """Icon n, 12 by 12: a face whose colour and mouth tell the emoticons apart."""
    if n == 12:  # "<3"
        red = (220, 40, 60, 255)
        draw.ellipse((x + 1, y + 2, x + 6, y + 7), fill=red)
        draw.ellipse((x + 5, y + 2, x + 10, y + 7), fill=red)
        draw.polygon(((x + 1, y + 5), (x + 10, y + 5), (x + 5, y + 11)), fill=red)
        return
    hues = ((250, 210, 40), (250, 160, 40), (230, 90, 60), (140, 200, 250), (180, 230, 120))
    face = hues[n % len(hues)] + (255,)
    draw.ellipse((x, y, x + 11, y + 11), fill=face, outline=(60, 40, 10, 255))
    eye = (30, 20, 10, 255)
    draw.point(((x + 4, y + 4), (x + 7, y + 4)), fill=eye)
    if n in SMILING:
        draw.arc((x + 3, y + 4, x + 8, y + 9), 20, 160, fill=eye)
    elif n in FROWNING:
        draw.arc((x + 3, y + 7, x + 8, y + 11), 200, 340, fill=eye)
    elif n in OPEN_MOUTHED:
        draw.ellipse((x + 5, y + 7, x + 7, y + 9), outline=eye)
    else:
        draw.line((x + 4, y + 8, x + 7, y + 8), fill=eye)


def guide_pictures(draw):
    """The guide's pictures: the walking keys (299, 188) and the mouse (369, 188), 70 by 47
    each, and the chat box's channel button (0, 64), 18 by 16."""
    panel(draw, 299, 188, 70, 47, TROUGH)
    for kx, ky in ((24, 4), (4, 24), (24, 24), (44, 24)):
        panel(draw, 299 + kx, 188 + ky, 20, 18, INK)
    panel(draw, 369, 188, 70, 47, TROUGH)
    draw.ellipse((369 + 22, 188 + 4, 369 + 48, 188 + 43), fill=INK, outline=(20, 20, 20, 255))
    draw.line((369 + 35, 188 + 4, 369 + 35, 188 + 20), fill=(20, 20, 20, 255), width=2)
    panel(draw, 0, 64, 18, 16, FACE)


# The brewing and crafting windows' pictures and the background of their component slots.
BREWING_PICTURE, CRAFTING_PICTURE = (640, 0, 180, 199), (640, 199, 180, 173)
COMPONENT_BACKGROUND = (299, 240, 116, 116)
PICTURE_FACE = (34, 30, 40, 255)
POTION = (150, 60, 210, 255)
STEEL = (70, 130, 220, 255)
SOCKET = (36, 56, 64, 255)


def brewing_picture(draw):
    """A flask of violet potion on a dark ground."""
    x, y, w, h = BREWING_PICTURE
    panel(draw, x, y, w, h, PICTURE_FACE, sunken=True)
    cx = x + w // 2
    draw.rectangle((cx - 12, y + 30, cx + 11, y + 80), fill=LIGHT)
    draw.ellipse((cx - 60, y + 70, cx + 59, y + 189), fill=LIGHT)
    draw.rectangle((cx - 8, y + 34, cx + 7, y + 90), fill=POTION)
    draw.ellipse((cx - 56, y + 74, cx + 55, y + 185), fill=POTION)
    draw.rectangle((cx - 14, y + 20, cx + 13, y + 30), fill=MID)


def crafting_picture(draw):
    """A steel anvil and hammer on a dark ground."""
    x, y, w, h = CRAFTING_PICTURE
    panel(draw, x, y, w, h, PICTURE_FACE, sunken=True)
    draw.polygon(((x + 20, y + 90), (x + 160, y + 90), (x + 140, y + 115), (x + 40, y + 115)),
                 fill=STEEL)
    draw.rectangle((x + 70, y + 115, x + 109, y + 145), fill=STEEL)
    draw.rectangle((x + 45, y + 145, x + 134, y + 160), fill=STEEL)
    draw.rectangle((x + 95, y + 20, x + 104, y + 80), fill=MID)
    draw.rectangle((x + 75, y + 15, x + 124, y + 35), fill=STEEL)


def component_background(draw):
    """A dark panel with a socket under each of the 3 by 3 component slots, 38 pixels apart."""
    x, y, w, h = COMPONENT_BACKGROUND
    panel(draw, x, y, w, h, PICTURE_FACE)
    for col in range(3):
        for row in range(3):
            panel(draw, x + 2 + 38 * col, y + 2 + 38 * row, 36, 36, SOCKET, sunken=True)


def skin_atlas():
    """Skin image 1: the atlas the frames, buttons, cells, gauges and smileys are cut from."""
    image = Image.new('RGBA', (1024, 512), CLEAR)
    draw = ImageDraw.Draw(image)
    # Title-bar buttons: close (row 80), collapse (96), expand (112); looks at x 0, 18, 36.
    for y, mark in ((80, close_mark), (96, collapse_mark), (112, expand_mark)):
        button_faces(draw, 0, y, 18, 16, (18, 0), mark)
    # Frame pieces: style 1 block at (54, 20), style 3 block at (93, 3), style 2 corners (75, 3).
    frame_block(draw, 54, 20, 16)
    frame_block(draw, 93, 3, 18)
    frame_block(draw, 75, 3, 6)
    grid_frame(draw)
    key_labels(draw)
    # Page buttons (0, 251/269/287) and push buttons (219, 253/269/285).
    button_faces(draw, 0, 251, 88, 18, (0, 18))
    button_faces(draw, 219, 253, 54, 16, (0, 16))
    # Check box: clear (65, 236), ticked (79, 236).
    for x in (65, 79):
        panel(draw, x, 236, 14, 14, TROUGH, sunken=True)
    draw.line((82, 242, 84, 245, 89, 239), fill=INK, width=2)
    scroll_pieces(draw)
    item_cells(draw)
    gauges(draw)
    status_panel_pieces(draw)
    guide_pictures(draw)
    character_pieces(draw)
    brewing_picture(draw)
    crafting_picture(draw)
    component_background(draw)
    for n in range(1, SMILEY_COUNT + 1):
        smiley(draw, n, (n - 1) * 12, SMILEY_Y)
    return image


def status_icons():
    """Skin image 9: 12 by 12 icons of the status effects, icon n at x = 12 (n - 1)."""
    image = Image.new('RGBA', (12 * STATUS_ICON_COUNT, 12), CLEAR)
    draw = ImageDraw.Draw(image)
    for n in range(1, STATUS_ICON_COUNT + 1):
        x = 12 * (n - 1)
        colour = (60 + 37 * n % 196, 60 + 71 * n % 196, 60 + 113 * n % 196, 255)
        draw.rounded_rectangle((x, 0, x + 11, 11), 3, fill=colour, outline=(20, 20, 20, 255))
        symbol = n % 4
        if symbol == 0:
            draw.rectangle((x + 3, 5, x + 8, 6), fill=INK)
            draw.rectangle((x + 5, 3, x + 6, 8), fill=INK)
        elif symbol == 1:
            draw.polygon(((x + 6, 2), (x + 9, 8), (x + 2, 8)), fill=INK)
        elif symbol == 2:
            draw.polygon(((x + 2, 3), (x + 9, 3), (x + 6, 9)), fill=INK)
        else:
            draw.ellipse((x + 3, 3, x + 8, 8), fill=INK)
    return image


def marker_icons():
    """Skin image 10: the map markers' 16 by 16 icons, icon n at x = 16 (n - 1): a round badge
    of its own colour with a dark rim."""
    size = MARKER_ICON_SIZE
    image = Image.new('RGBA', (size * MARKER_ICON_COUNT, size), CLEAR)
    draw = ImageDraw.Draw(image)
    for n in range(1, MARKER_ICON_COUNT + 1):
        x = size * (n - 1)
        colour = (80 + 53 * n % 176, 80 + 97 * n % 176, 80 + 31 * n % 176, 255)
        draw.ellipse((x + 2, 2, x + size - 3, size - 3), fill=colour, outline=(20, 20, 20, 255))
    return image


def texture(size, base, seed):
    """A seamless pattern of bricks in shades of the base colour, for tiled backgrounds."""
    image = Image.new('RGBA', (size, size), base + (255,))
    draw = ImageDraw.Draw(image)
    for row in range(0, size, 8):
        offset = 8 if (row // 8) % 2 else 0
        for col in range(-16, size, 16):
            shade = ((col + 3 * row + seed) * 7919) % 13 - 6
            colour = tuple(max(0, min(255, c + shade)) for c in base) + (255,)
            draw.rectangle((col + offset, row, col + offset + 14, row + 6), fill=colour)
    return image


def vignette(size):
    """Skin image 6: clear in the middle, darker towards the edges."""
    image = Image.new('RGBA', (size, size))
    half = (size - 1) / 2
    image.putdata([(0, 0, 0, int(min(1.0, math.hypot(i - half, j - half) / half) ** 2 * 160))
                   for j in range(size) for i in range(size)])
    return image


def backdrop():
    """Skin image 100: the main screen's backdrop, a dusk sky over dark hills."""
    width, height = 512, 295
    image = Image.new('RGBA', (width, height))
    draw = ImageDraw.Draw(image)
    for y in range(height):
        t = y / height
        draw.line((0, y, width, y), fill=(int(40 + 120 * t), int(50 + 60 * t), int(90 - 30 * t), 255))
    hills = [(x, int(200 + 25 * math.sin(x / 47) + 15 * math.sin(x / 13))) for x in range(0, width + 8, 8)]
    draw.polygon(hills + [(width, height), (0, height)], fill=(30, 34, 26, 255))
    return image


def logo():
    """Skin image 101: the game's name, 250 by 109."""
    image = Image.new('RGBA', (250, 109), CLEAR)
    draw = ImageDraw.Draw(image)
    font = ImageFont.truetype(DEJAVU + 'DejaVuSerif-Bold.ttf', 52)
    draw.text((125, 54), 'Veltor', font=font, anchor='mm', fill=(232, 184, 56, 255),
              stroke_width=3, stroke_fill=(40, 24, 8, 255))
    return image


def sample_images():
    """The images of the sample skin: (id, width, height, pixel bytes)."""
    images = {
        1: skin_atlas(),
        2: texture(32, (52, 42, 30), 2),
        3: texture(64, (44, 38, 32), 3),
        4: texture(64, (62, 54, 42), 4),
        6: vignette(64),
        9: status_icons(),
        10: marker_icons(),
        100: backdrop(),
        101: logo(),
    }
    return [(image_id, im.width, im.height, bgra(im)) for image_id, im in images.items()]


def write_sample(data_dir):
    with open(os.path.join(data_dir, FILE_NAME), 'wb') as f:
        f.write(pack_skin(VERSION, sample_images()))
