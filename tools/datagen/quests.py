"""Writes data/Veltor.quests, the texts of the quest journal. All integers little-endian:

    u32 revision, u32 quest count, then per quest: u16 group id, u16 quest id, u16 stage-entry
    count and per entry u16 stage, i8 span, u32 offset of its stage record; then the records.

A stage record runs from its offset to the next entry's offset in the file (the last one to the
end of the file). It is padded to a multiple of 8 bytes and enciphered with XTEA under its key;
deciphered it holds: the key itself (16 bytes, the check block), the key of the quest's preceding
stage record (16 bytes; zero for the first stage), four u8 values, u8 title length and title, u16
text length and text ("{count}" stands for the stage's progress), u8 marker count and the
markers (u16 x, u16 y, u8 floor, u8 label length and label). Texts are UTF-8.

The key of a stage record is four words: (group id << 16) + quest id, the entry's stage, the
quest's value that the server sends with its progress, and PROGRAM_WORD. The client opens the
record of the stage the player has reached with the server's value and each older one with the
key found in the record opened before it."""
import collections
import os
import struct

import veltorxtea

FILE_NAME = 'Veltor.quests'
REVISION = 5
# The program's fixed last key word.
PROGRAM_WORD = 0x7C1E5B93

Marker = collections.namedtuple('Marker', 'x y floor label')
# values: the four bytes the journal window reads (state, state2, category, category2).
Stage = collections.namedtuple('Stage', 'stage span values title text markers')
Quest = collections.namedtuple('Quest', 'group quest value stages')

# The state byte values the journal window tells apart, and its quest category.
OPEN, COMPLETED, FINISHED, PERCENT, COUNTED = 1, 3, 5, 7, 8
QUESTS, TREASURES, DISCOVERIES = 20, 30, 10

SAMPLE_QUESTS = [
    Quest(1, 101, 0x3B9A41C7, [
        Stage(1, 0, (OPEN, 0, QUESTS, 0), "The Miller's Grain",
              'The miller of Sorvan asks for help: his mill stands still.',
              [Marker(1020, 988, 7, 'Mill')]),
        Stage(2, 5, (COUNTED, 0, QUESTS, 0), "The Miller's Grain",
              'Sacks of grain brought to the mill: {count} of 5.',
              [Marker(1031, 1002, 7, 'Granary'), Marker(1044, 1010, 6, 'Cellar')]),
        Stage(8, 0, (FINISHED, 0, QUESTS, 0), "The Miller's Grain - done",
              'The mill turns again. The miller thanks you.', []),
    ]),
    Quest(1, 102, 0xC0FFEE11, [
        Stage(1, -6, (COUNTED, 0, QUESTS, 0), 'Wolves at the Gate',
              '{count} wolves still prowl the gate. {count} left!',
              [Marker(980, 1011, 7, 'Gate')]),
        Stage(7, 0, (COMPLETED, 0, QUESTS, 0), 'Wolves at the Gate',
              'The gate is safe.', []),
    ]),
    Quest(2, 103, 0x00000000, [
        Stage(3, 0, (OPEN, 0, TREASURES, 0), 'Café Ærø',
              'Naïve travellers say the café pays in silver for a map.',
              [Marker(1500, 700, 8, 'Façade')]),
        Stage(4, 100, (PERCENT, 0, TREASURES, 0), 'Café Ærø',
              'Map pieces: {count} %', []),
    ]),
    # Two quests under one title: the journal shows them as one record.
    Quest(3, 104, 0xFFFFFFFF, [
        Stage(1, 0, (OPEN, 0, DISCOVERIES, 0), 'Tidings from Orlen',
              'A courier brings a sealed letter.', []),
    ]),
    Quest(3, 105, 0x12345678, [
        Stage(2, 0, (OPEN, 0, DISCOVERIES, 0), 'Tidings from Orlen',
              'A second letter, from the harbour master.',
              [Marker(2048, 512, 7, 'Harbour')]),
    ]),
    # A quest the server may name that has no stages in the file.
    Quest(4, 106, 0x2468ACE0, []),
]


def key_words(quest, stage):
    return ((quest.group << 16) + quest.quest, stage, quest.value, PROGRAM_WORD)


def record_key(quest, stage):
    """The 16-byte key of a quest's stage record."""
    return veltorxtea.key_bytes(*key_words(quest, stage))


def plain_record(key, previous_key, stage):
    """A stage record before enciphering, padded to a multiple of 8 bytes."""
    title = stage.title.encode('utf-8')
    text = stage.text.encode('utf-8')
    out = [key, previous_key, bytes(stage.values), struct.pack('<B', len(title)), title,
           struct.pack('<H', len(text)), text, struct.pack('<B', len(stage.markers))]
    for marker in stage.markers:
        label = marker.label.encode('utf-8')
        out.append(struct.pack('<HHBB', marker.x, marker.y, marker.floor, len(label)) + label)
    return veltorxtea.padded(b''.join(out))


def stage_records(quest):
    """The enciphered records of a quest's stages, oldest first, each keyed and carrying the
    key of the stage before it."""
    records, previous = [], bytes(16)
    for stage in quest.stages:
        key = record_key(quest, stage.stage)
        records.append(veltorxtea.encrypt(key, plain_record(key, previous, stage)))
        previous = key
    return records


def build(quests, revision=REVISION, records=None):
    """The file of the quests; records maps a quest id to its list of stage records when they
    are not the ones stage_records makes."""
    records = records or {}
    index_size = 8 + sum(6 + 7 * len(q.stages) for q in quests)
    index, blobs, offset = [struct.pack('<II', revision, len(quests))], [], index_size
    for quest in quests:
        index.append(struct.pack('<HHH', quest.group, quest.quest, len(quest.stages)))
        for stage, record in zip(quest.stages, records.get(quest.quest) or stage_records(quest)):
            index.append(struct.pack('<HbI', stage.stage, stage.span, offset))
            blobs.append(record)
            offset += len(record)
    return b''.join(index + blobs)


def client_text(text):
    """A UTF-8 text as the client keeps it: one byte per character, the low 8 bits of its code
    point."""
    return bytes(ord(c) & 0xFF for c in text)


def progress(stage, entry_stage, span):
    """(reached, goal, count) of a stage entry with a span at the current stage: reached is the
    stage less the entry's, limited to 0 .. |span|; count is what is left for a negative span."""
    goal = abs(span)
    reached = min(max(stage - entry_stage, 0), goal)
    return reached, goal, goal - reached if span < 0 else reached


def lines_at(quest, stage):
    """The journal lines of a quest at a stage, oldest first: every stage entry the player has
    reached, as (values, reached, goal, title, text, markers) with the texts as the client keeps
    them and "{count}" filled in."""
    lines = []
    for entry in quest.stages:
        if entry.stage > stage:
            continue
        text = entry.text
        reached = goal = 0
        if entry.span:
            reached, goal, count = progress(stage, entry.stage, entry.span)
            text = text.replace('{count}', str(count))
        markers = [(m.x, m.y, m.floor, client_text(m.label)) for m in entry.markers]
        lines.append((entry.values, reached, goal, client_text(entry.title), client_text(text),
                      markers))
    return lines


def write_sample(data_dir):
    with open(os.path.join(data_dir, FILE_NAME), 'wb') as out:
        out.write(build(SAMPLE_QUESTS))
