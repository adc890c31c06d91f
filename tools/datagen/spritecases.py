"""Sprite data for the client's unit tests, written under OUT/sprites/:
- sample/data/: the sample sprite files, with beside them what the client must make of them,
  worked out here from the formats: shapes.txt (every record as read, with the derived fields
  and the fall-back slots), frames.bin (every frame image for a few colour keys) and lights.bin
  (every light mask);
- one folder per other case: a header without records, the sample padded to a size that is a
  multiple of 4096, and damaged files that must stop loading."""
import os
import struct

from datagen import compositor, shapeflags as sf, spritefile, sprites
from datagen.spritefile import (TAG_EXTRA, TAG_IDLE, Animation, Layer, Light, Offset, Range, Raw,
                                Shape, Sprite, View, Cell)

SLOT_NAMES = ['icon', 'idle', 'move', 'throw', 'enter', 'leave', 'seated']


def fallbacks(rng):
    """The seven slots of a range after the fall-back rules: 'own', '-' or '=n' (borrowed from
    the animation of slot n)."""
    owner = [None] * 7
    for tag, _ in rng.animations:
        if tag != TAG_EXTRA:
            owner[compositor.SLOT_OF_TAG[tag]] = compositor.SLOT_OF_TAG[tag]
    icon, idle, move, throw, seated = 0, 1, 2, 3, 6
    if owner[icon] is None:
        owner[icon] = owner[idle]
    if owner[idle] is None:
        owner[idle] = owner[icon]
    if owner[move] is None:
        owner[move] = owner[throw] if owner[throw] is not None else owner[idle]
    if owner[throw] is None:
        owner[throw] = owner[move] if owner[move] is not None else owner[idle]
    if owner[seated] is None:
        owner[seated] = owner[idle]
    return ['-' if o is None else 'own' if o == i else '=%d' % o for i, o in enumerate(owner)]


def summary(shape):
    """The text the client's test prints for a shape it loaded (same format, line for line)."""
    word = shape.flags
    code = shape.code or 0
    kind = shape.kind or 0
    bits = [4, 5, 3, 6, 7, 28, 26, 23, 24, 25, 27, 2, 13, 14, 30, 15]   # the booleans, in field order
    lines = ['shape %d bits0 %d bits8 %d bits10 %d ground %d booleans %s' % (
        shape.id, word & 3, (word >> 8) & 3, (word >> 10) & 3, (word >> 12) & 1,
        ''.join('1' if word >> b & 1 else '0' for b in bits))]
    lines.append(' palette %d code %d %d height %d sink %d speed %d kinds %s facing %d' % (
        shape.palette_id or 0, code & 7, (code >> 2) if code >= 4 else 32,
        shape.height or 0, shape.sink or 0, 100 if shape.speed is None else shape.speed,
        ''.join('1' if kind == k else '0' for k in range(1, 6)), shape.facing))
    lines.append(' use %d pickup %d seat %d preview %d unpicked %d avoided %d' % (
        sf.use_class(word), sf.pickup_class(word), int(kind == sf.KIND_SEAT),
        (shape.direction_ids or [shape.id] * 8)[sf.PREVIEW_DIRECTION],
        int(bool(word & sf.NOT_PICKABLE)), int(bool(word & sf.AVOIDED))))
    lines.append(' dirs ' + ' '.join('%d' % d for d in (shape.direction_ids or [shape.id] * 8)))
    for light in shape.lights or []:
        lines.append(' light %d %d %d %d %d %d %d' % (light.p, light.q, light.r, light.s,
                                                      light.width, light.height, light.offset))
    for rng in shape.ranges:
        lines.append(' range %d %d slots %s' % (rng.first, rng.last, ' '.join(fallbacks(rng))))
        slots = {compositor.SLOT_OF_TAG[tag]: anim for tag, anim in rng.animations if tag != TAG_EXTRA}
        extras = [anim for tag, anim in rng.animations if tag == TAG_EXTRA]
        named = [(SLOT_NAMES[slot], slots[slot]) for slot in sorted(slots)]
        named += [('extra %d id %d byte %d' % (i, a.extra_id, a.extra_byte), a) for i, a in enumerate(extras)]
        for name, anim in named:
            lines.append('  ' + name)
            for view in anim.views:
                lines.append('   view %d %d' % (view.width, view.height))
                for cell in view.cells:
                    groups = ' '.join('%d:%s' % (key, ','.join('%d/%d/%d/%d/%d/%d/%d' % (
                        g.p, g.q, g.r, g.s, g.width, g.height, g.offset) for g in group))
                        for key, group in cell.light_groups)
                    lines.append(('    cell groups %d %s' % (len(cell.light_groups), groups)).rstrip())
                    for i, layer in enumerate(cell.layers):
                        lines.append('     layer flags %d last %d total %d frames %s' % (
                            layer.flags & 15, int(i == len(cell.layers) - 1),
                            sum(d for d, _ in layer.keyframes),
                            ' '.join('%d%s' % (d, '' if t is not None else 'n') for d, t in layer.keyframes)))
    return lines


def write_expectations(folder, data, pixels):
    revision, header, shapes = spritefile.read(data)
    table = {s.id: s for s in shapes}           # a later record replaces an earlier one
    pixel_file = compositor.PixelFile(pixels)
    version = (revision + struct.unpack_from('<I', pixels)[0]) & 0xFFFFFFFF
    lines = [('version %d header %s' % (version, ' '.join(map(str, header)))).rstrip()]
    frames, lights = [], []
    for shape_id in sorted(table):
        shape = table[shape_id]
        lines += summary(shape)
        keys = [0] if shape.palette_id is None and shape_id != sprites.FRAGMENTS else sprites.PALETTE_KEYS
        for key in keys:
            for (r, slot, v, c, la, k), w, h, px in compositor.frame_images(shape, pixel_file, key):
                frames.append(struct.pack('<IIBBBHBBHH', shape_id, key, r, slot, v, c, la, k, w, h)
                              + compositor.pixel_bytes(px))
        for i, light in enumerate(shape.lights or []):
            lights.append(struct.pack('<IBHH', shape_id, i, light.width, light.height)
                          + compositor.pixel_bytes(compositor.light_mask(light, pixel_file)))
    with open(os.path.join(folder, 'shapes.txt'), 'w') as f:
        f.write('\n'.join(lines) + '\n')
    for name, records in (('frames.bin', frames), ('lights.bin', lights)):
        with open(os.path.join(folder, name), 'wb') as f:
            f.write(struct.pack('<I', len(records)) + b''.join(records))


def single(shape_id, tree):
    return sprites.simple(shape_id, tree)


def page_filler(length):
    """A shape record that brings a data file of length bytes to a multiple of 4096: cells of one
    layer each, holding empty sprites (7 bytes a keyframe) and null trees (3 bytes)."""
    need = -length % 4096 + 4096
    for cells in range(1, 40):
        fixed = 15 + 2 * cells          # id, flags, facing, last, tag, views, w, h, end; layers
        for empties in range(3):
            nulls, left = divmod(need - fixed - 7 * empties, 3)
            if left == 0 and nulls + empties <= 255 * cells:
                frames = [(1, Sprite())] * empties + [(2, None)] * nulls
                per = -(-len(frames) // cells)
                layers = [Cell([Layer(frames[i * per:(i + 1) * per])]) for i in range(cells)]
                if all(c.layers[0].keyframes for c in layers):
                    return Shape(9999, [Range(255, [(TAG_IDLE, Animation([View(cells, 1, layers)]))])])
    raise ValueError('no filler for %d bytes' % length)


def damaged_cases(pixels_end):
    """(name, shapes, tail) of files that must stop loading; pixels_end is the pixel file's size."""
    ok = sprites.simple(1, sprites.sprite(sprites.block(4, 4, 1)))
    idle = Animation([View(1, 1, [Cell([Layer([(10, None)])])])])
    light = Light(1, 2, 3, 4, 5, 6, None, pixels_end - 8)       # needs 3 x 4 x 4 bytes
    return [
        ('tag-8', [ok, Shape(7, [Range(255, [(8, idle)])])], b''),
        ('tag-254', [ok, Shape(7, [Range(255, [(254, idle)])])], b''),
        ('fragment-7', [ok, single(7, Raw(b'\x07'))], b''),
        ('fragment-255', [ok, single(7, Offset(1, 1, Raw(b'\xff')))], b''),
        ('palette-2', [ok, sprites.simple(7, None, palette_id=2)], b''),
        ('repeated-idle', [ok, Shape(7, [Range(255, [(TAG_IDLE, idle), (TAG_IDLE, idle)])])], b''),
        ('sprite-past-end', [ok, single(7, Sprite(3, 3, None, 0, 0, pixels_end - 32))], b''),
        # 36 bytes of pixels end the file exactly; their padding to 40 does not fit.
        ('sprite-padding-past-end', [ok, single(7, Sprite(3, 3, None, 0, 0, pixels_end - 36))], b''),
        ('sprite-far-away', [ok, single(7, Sprite(256, 256, None, 0, 0, 0xFFFFFFF0))], b''),
        ('light-past-end', [ok, sprites.simple(7, None, lights=[light])], b''),
        ('deep-tree', [ok, single(7, sprites.chain(sprites.FRAGMENT_DEPTH_LIMIT + 1))], b''),
        ('truncated', [ok], spritefile.SpriteWriter(0).shape(sprites.simple(7, None))[:-3]),
    ]


def write_case(folder, shapes, tail=b'', header=(5, 6)):
    spritefile.write(os.path.join(folder, 'data'), 11, list(header), shapes, 22, tail)


def write_cases(out_dir):
    root = os.path.join(out_dir, 'sprites')
    sample = os.path.join(root, 'sample')
    sprites.write_sample(os.path.join(sample, 'data'))
    with open(os.path.join(sample, 'data', 'Veltor.data'), 'rb') as f:
        data = f.read()
    with open(os.path.join(sample, 'data', 'Veltor.shapes'), 'rb') as f:
        pixels = f.read()
    write_expectations(sample, data, pixels)

    write_case(os.path.join(root, 'empty'), [], header=(3, 0, 7))
    shapes = sprites.corpus()
    shapes.append(page_filler(len(spritefile.encode(11, [5, 6], shapes, 22)[0])))
    write_case(os.path.join(root, 'page-sized'), shapes)
    # The damaged cases share one small pixel file: 4 bytes of revision and the 4 x 4 sprite.
    pixels_end = 4 + 64
    for name, shapes, tail in damaged_cases(pixels_end):
        write_case(os.path.join(root, name), shapes, tail)
