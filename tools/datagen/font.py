"""Writes data/Veltor.font, the font pack: a u32 revision, a u16 font count, then per font its u16
id, i16 letter spacing, i16 line height, u16 image width and height, the image pixels (32-bit
0xAARRGGBB little-endian, padded to a multiple of 8 bytes and enciphered with the pixel key), a
u16 glyph count and 12-byte glyph records: u16 code, sx, sy, width + 1, height + 1, advance.

The sample fonts are rasterised from DejaVu Sans: font 1 (the interface font) and font 2, each
with a glyph for every code 32 to 255 of Windows-1252. Glyphs are white with the coverage as
alpha, so that the client tints them with the text colour; each glyph cell starts at the pen
position on the line's top row, so its bitmap includes the glyph's offset from there."""
import os
import struct
from dataclasses import dataclass, field

from PIL import Image, ImageDraw, ImageFont

from datagen.imagepack import bgra, enciphered_pixels

VERSION = 12
FILE_NAME = 'Veltor.font'
DEJAVU = '/usr/share/fonts/truetype/dejavu/'
ATLAS_WIDTH = 256
FIRST_CODE, LAST_CODE = 32, 255


@dataclass
class Glyph:
    code: int
    sx: int
    sy: int
    width: int
    height: int
    advance: int

    def record(self):
        return struct.pack('<6H', self.code, self.sx, self.sy, self.width + 1, self.height + 1,
                           self.advance)


@dataclass
class FontData:
    font_id: int
    letter_spacing: int
    line_height: int
    image: Image.Image
    glyphs: list = field(default_factory=list)


def pack_font(font):
    header = struct.pack('<HhhHH', font.font_id, font.letter_spacing, font.line_height,
                         font.image.width, font.image.height)
    glyphs = struct.pack('<H', len(font.glyphs)) + b''.join(g.record() for g in font.glyphs)
    return header + enciphered_pixels(bgra(font.image)) + glyphs


def pack_fonts(version, fonts):
    return struct.pack('<IH', version, len(fonts)) + b''.join(pack_font(f) for f in fonts)


def character(code):
    """The character of a Windows-1252 code; the five codes the code page leaves undefined
    show a question mark, the delete code nothing."""
    try:
        ch = bytes([code]).decode('cp1252')
    except UnicodeDecodeError:
        return '?'
    return '' if code == 127 else ch


def rasterise(font_id, face, size, letter_spacing, line_height):
    """Draws every code into an atlas, row after row of cells one line high."""
    font = ImageFont.truetype(DEJAVU + face, size)
    ascent, descent = font.getmetrics()
    cell_height = ascent + descent
    cells = []
    for code in range(FIRST_CODE, LAST_CODE + 1):
        ch = character(code)
        advance = round(font.getlength(ch)) if ch else round(font.getlength(' '))
        # Space-like codes get an empty glyph; the others a bitmap as wide as their ink reaches.
        right = font.getbbox(ch, anchor='la')[2] if ch.strip() else 0
        cells.append((code, ch, max(0, right), advance))
    rows, x, y = [], 0, 0
    for code, ch, width, advance in cells:
        if x + width > ATLAS_WIDTH:
            x, y = 0, y + cell_height + 1
        rows.append(Glyph(code, x, y, width, cell_height if width else 0, advance))
        x += width + 1
    height = 1
    while height < y + cell_height:
        height *= 2
    image = Image.new('RGBA', (ATLAS_WIDTH, height), (255, 255, 255, 0))
    coverage = Image.new('L', image.size, 0)
    for glyph, (code, ch, _, _) in zip(rows, cells):
        if glyph.width:
            # Drawn into its own cell so that no neighbour's ink bleeds into it.
            cell = Image.new('L', (glyph.width, cell_height), 0)
            ImageDraw.Draw(cell).text((0, 0), ch, font=font, fill=255, anchor='la')
            coverage.paste(cell, (glyph.sx, glyph.sy))
    image.putalpha(coverage)
    return FontData(font_id, letter_spacing, line_height, image, rows)


def sample_fonts():
    return [rasterise(1, 'DejaVuSans.ttf', 10, 0, 12),
            rasterise(2, 'DejaVuSans-Bold.ttf', 13, 0, 16)]


def write_sample(data_dir):
    with open(os.path.join(data_dir, FILE_NAME), 'wb') as f:
        f.write(pack_fonts(VERSION, sample_fonts()))
