"""Writes data/Veltor.spells, the ability definitions: a u32 revision, a u16 record count, then
per record its u16 spell id, u32 icon shape id, and four texts of 8-bit characters, each after
its length: the name (u8 length), the description (u16), the mana text (u8) and the type text
(u8).

A description may end in a cooldown part, "[Cooldown 12 s]", which the client cuts off and keeps
apart ("12 s"), and may carry value markup ("<PhysicalDamage>40</PhysicalDamage>") that the
client colours when the server sends a description. The sample uses every field, every tag, the
cooldown forms the client treats apart, and a description longer than 255 bytes.

write_cases(OUT) writes OUT/spells/sample.txt: what the client must make of the sample, record by
record, with every text in hexadecimal: the kept description, the cooldown text and the
description after markup."""
import os
import struct
from dataclasses import dataclass

from datagen import sprites

REVISION = 0x00010003
FILE_NAME = 'Veltor.spells'
ENCODING = 'cp1252'
MAX_TAG_REPLACEMENTS = 255

# The markup tags in the order the client replaces them, with their colours (0xAARRGGBB).
TAGS = [
    ('DurationSeconds', 0xFFFFFFFF), ('DurationMillis', 0xFFFFFFFF), ('Duration', 0xFFFFFFFF),
    ('PhysicalDamage', 0xC0FF8080), ('MagicalDamage', 0xC08080FF), ('RestoreHealth', 0xC0FF8080),
    ('RestoreMana', 0xC08080FF), ('MoveSpeed', 0xC0FFFF80), ('Distance', 0xFFFFFFFF),
    ('AutoAttackSpeed', 0xFFFFFFFF), ('PhysicalAttackBonus', 0xC0FFC080),
    ('MagicalAttackBonus', 0xFFFFFFFF), ('GlobalDefenseBonus', 0xFFFFFFFF),
    ('PhysicalDefenseBonus', 0xFFFFFFFF), ('MagicalDefenseBonus', 0xFFFFFFFF),
    ('PercentageHealth', 0xC080F580), ('PercentageDamage', 0xC0FFC080),
    ('PercentageChance', 0xFFFFFFFF),
]


@dataclass
class SpellRecord:
    spell_id: int
    icon: int
    name: str
    description: str
    mana: str
    kind: str

    def record(self):
        name, description = self.name.encode(ENCODING), self.description.encode(ENCODING)
        mana, kind = self.mana.encode(ENCODING), self.kind.encode(ENCODING)
        return (struct.pack('<HIB', self.spell_id, self.icon, len(name)) + name +
                struct.pack('<H', len(description)) + description +
                struct.pack('<B', len(mana)) + mana + struct.pack('<B', len(kind)) + kind)


def pack_spells(revision, records):
    return struct.pack('<IH', revision, len(records)) + b''.join(r.record() for r in records)


def sample_spells():
    return [
        SpellRecord(1, sprites.SPARKLE, 'Fireball',
                    'Hurls a ball of fire that deals <MagicalDamage>40-55</MagicalDamage> magical '
                    'and <PhysicalDamage>10</PhysicalDamage> physical damage to a creature up to '
                    '<Distance>6</Distance> tiles away. [Cooldown 2.5 s]',
                    '30', 'Attack'),
        SpellRecord(2, sprites.POTION, 'Healing Light',
                    'Restores <RestoreHealth>120</RestoreHealth> health and '
                    '<RestoreMana>15</RestoreMana> mana over <DurationSeconds>5</DurationSeconds> '
                    'seconds, and a further <PercentageHealth>10%</PercentageHealth> of your '
                    'maximum health. [Cooldown 12 s]',
                    '45', 'Support'),
        # A cooldown part without a blank is kept whole, word and all.
        SpellRecord(3, sprites.TORCH, 'Swift Step',
                    'Raises your movement speed by <MoveSpeed>25%</MoveSpeed> for '
                    '<DurationMillis>1500</DurationMillis> ms, and you attack '
                    '<AutoAttackSpeed>15%</AutoAttackSpeed> faster for <Duration>8 s</Duration>.'
                    '[Cooldown:30s]',
                    '20', 'Movement'),
        # No cooldown part and no mana cost.
        SpellRecord(4, sprites.SHIELD, 'Iron Skin',
                    'Your skin hardens: <GlobalDefenseBonus>+8</GlobalDefenseBonus> defence, '
                    '<PhysicalDefenseBonus>+12</PhysicalDefenseBonus> against blows and '
                    '<MagicalDefenseBonus>+6</MagicalDefenseBonus> against spells.',
                    '', 'Passive'),
        # A description longer than 255 bytes.
        SpellRecord(5, sprites.SWORD, 'Battle Cry',
                    'You roar and your allies answer. For the next twenty seconds everyone in '
                    'your party gains <PhysicalAttackBonus>+20%</PhysicalAttackBonus> physical '
                    'and <MagicalAttackBonus>+10%</MagicalAttackBonus> magical attack, and each '
                    'of their blows has a <PercentageChance>25%</PercentageChance> chance to '
                    'strike a second time for <PercentageDamage>60%</PercentageDamage> of its '
                    'damage. The cry carries <Distance>8</Distance> tiles; creatures further '
                    'than <Distance>8</Distance> tiles away do not hear it. [Cooldown 1 min]',
                    '60', 'Party buff'),
        # A name beyond ASCII, a description that begins with its cooldown part (kept whole),
        # and a tag the client does not know (kept as it is).
        SpellRecord(6, sprites.KEY, 'Caf\u00e9 Blessing',
                    '[Cooldown 5 min] A warm blessing: <Warmth>+3</Warmth> to your '
                    'spirits.',
                    '10', 'Blessing'),
        # Every text empty.
        SpellRecord(7, sprites.COINS, 'Recall', '', '', ''),
    ]


def kept_description(description):
    """The description less its cooldown part, and the cooldown text; a description that
    begins with the cooldown part, or has none, is kept whole."""
    at = description.find(b'[Cooldown')
    if at <= 0:
        return description, b''
    cooldown = description[at + 1:].split(b']', 1)[0]
    if b' ' in cooldown:
        cooldown = cooldown.split(b' ', 1)[1]
    return description[:at], cooldown


def escape(colour):
    return bytes([0, (colour >> 16) & 255, (colour >> 8) & 255, colour & 255, colour >> 24])


def mark_up(text):
    for name, colour in TAGS:
        text = text.replace(b'<%s>' % name.encode(), escape(colour), MAX_TAG_REPLACEMENTS)
        text = text.replace(b'</%s>' % name.encode(), escape(0), MAX_TAG_REPLACEMENTS)
    return text


def summary(revision, records):
    """The text the client's test prints for the spells it loaded (same format, line for line)."""
    lines = ['revision %d count %d' % (revision, len(records))]
    for r in records:
        description, cooldown = kept_description(r.description.encode(ENCODING))
        lines += ['spell %d icon %d' % (r.spell_id, r.icon),
                  ' name ' + r.name.encode(ENCODING).hex(),
                  ' description ' + description.hex(),
                  ' cooldown ' + cooldown.hex(),
                  ' mana ' + r.mana.encode(ENCODING).hex(),
                  ' type ' + r.kind.encode(ENCODING).hex(),
                  ' marked ' + mark_up(description).hex()]
    return lines


def write_sample(data_dir):
    with open(os.path.join(data_dir, FILE_NAME), 'wb') as f:
        f.write(pack_spells(REVISION, sample_spells()))


def write_cases(out_dir):
    folder = os.path.join(out_dir, 'spells')
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, 'sample.txt'), 'w') as f:
        f.write('\n'.join(summary(REVISION, sample_spells())) + '\n')
