"""Quest files for the client's unit tests, written under OUT/quests/:
- sample/: the sample Veltor.quests and expected.txt, the journal record each probe (a quest at a
  stage with a server value) must give, worked out here from the plain stage texts (bytes other
  than printable ASCII written as \\xNN);
- damaged/: a Veltor.quests with broken quests beside a good one, and probes.txt, one probe a
  line: "<quest id> <stage> <value> <outcome>", the outcome being "lines <n>", "absent" (no
  journal record) or "fatal <text of the error box>"."""
import os
import struct

import veltorxtea
from datagen import quests
from datagen.quests import Quest, Stage

INVALID_KEY = 'Invalid quest key.'
DAMAGED_FILE = 'Failed to load "Veltor.quests".'


def shown(text):
    """Client text bytes for the expectations: printable ASCII as it is, other bytes as \\xNN."""
    return ''.join(chr(b) if 32 <= b < 127 and b != 0x5C else '\\x%02x' % b for b in text)


def describe(quest, stage):
    """The journal record of one quest built alone at a stage, line for line as the client's
    test prints it; nothing when the quest gets no record."""
    lines = quests.lines_at(quest, stage)
    if not lines:
        return []
    out = ['record total %d title %s' % (len(quest.stages), shown(lines[-1][3]))]
    for values, reached, goal, title, text, markers in lines:
        out.append('line %d %d %d %d count %d goal %d' % (values + (reached, goal)))
        out.append(' title ' + shown(title))
        out.append(' text ' + shown(text))
        out += [' marker %d %d %d %s' % (x, y, floor, shown(label))
                for x, y, floor, label in markers]
    return out


def sample_expectations():
    out = []
    for quest in quests.SAMPLE_QUESTS:
        last = max([s.stage for s in quest.stages], default=0)
        for stage in range(last + 3):
            out.append('probe %d %d %d' % (quest.quest, stage, quest.value))
            out += describe(quest, stage)
        # A value the quest was not enciphered with opens none of its records.
        out.append('probe %d %d %d' % (quest.quest, last + 1, quest.value ^ 0x00010000))
    return out


def enciphered(key, plain):
    return veltorxtea.encrypt(key, veltorxtea.padded(plain))


def stage(number, span=0, title='Step', text='Text', markers=()):
    return Stage(number, span, (1, 0, 20, 0), title, text, list(markers))


def damaged_quests():
    """(quests, replaced records by quest id, probes)."""
    good = Quest(9, 205, 77, [stage(1), stage(2, 3, text='{count} of 3')])
    chain = Quest(9, 201, 1001, [stage(1), stage(2), stage(3)])
    chain_records = quests.stage_records(chain)
    wrong_key = veltorxtea.key_bytes(1, 2, 3, 4)
    chain_records[0] = veltorxtea.encrypt(
        wrong_key, quests.plain_record(wrong_key, bytes(16), chain.stages[0]))

    overrun = Quest(9, 202, 1002, [stage(1)])
    key = quests.record_key(overrun, 1)
    overrun_plain = key + bytes(16) + bytes(4) + b'\x01T' + struct.pack('<H', 500) + b'short'

    short = Quest(9, 203, 1003, [stage(1)])

    markers = Quest(9, 204, 1004, [stage(1)])
    key_m = quests.record_key(markers, 1)
    markers_plain = (key_m + bytes(16) + bytes(4) + b'\x01M' + struct.pack('<H', 1) + b'x' +
                     b'\x03' + struct.pack('<HHBB', 1, 2, 7, 1) + b'A')

    all_quests = [chain, overrun, short, markers, good]
    records = {
        201: chain_records,
        202: [enciphered(key, overrun_plain)],
        203: [bytes(8)],
        204: [enciphered(key_m, markers_plain)],
    }
    probes = [
        (201, 1, 1001, 'absent'),             # the first record read fails: the server's value
        (201, 2, 1001, 'fatal ' + INVALID_KEY),  # a key from the file fails: the file is damaged
        (201, 3, 1001, 'fatal ' + INVALID_KEY),
        (201, 3, 1000, 'absent'),
        (202, 1, 1002, 'fatal ' + DAMAGED_FILE),
        (203, 1, 1003, 'absent'),
        (204, 1, 1004, 'fatal ' + DAMAGED_FILE),
        (205, 4, 77, 'lines 2'),
        (205, 0, 77, 'absent'),
        (299, 1, 1, 'absent'),               # not in the file
    ]
    return all_quests, records, probes


def write_cases(out_dir):
    sample = os.path.join(out_dir, 'quests', 'sample')
    os.makedirs(sample, exist_ok=True)
    quests.write_sample(sample)
    with open(os.path.join(sample, 'expected.txt'), 'w') as f:
        f.write('\n'.join(sample_expectations()) + '\n')

    damaged = os.path.join(out_dir, 'quests', 'damaged')
    os.makedirs(damaged, exist_ok=True)
    all_quests, records, probes = damaged_quests()
    with open(os.path.join(damaged, quests.FILE_NAME), 'wb') as f:
        f.write(quests.build(all_quests, revision=1, records=records))
    with open(os.path.join(damaged, 'probes.txt'), 'w') as f:
        f.write(''.join('%d %d %d %s\n' % probe for probe in probes))
