"""Writes the seeds of the client's fuzz harness, one folder per target:

    fuzzseeds.py SAMPLE_DATA TESTDATA OUT

The data file targets get the generator's sample files and test cases; the map record target the
sample atlas's records deciphered, after their check block; the recordings target a recording
built here. The protocol targets get the fake server's messages framed as it sends them (plain,
as before the login is accepted): the login and avatar-selection answers, and in the game state
the sample world's entry, the player's steps, the wanderers' moves and the server's notices."""
import os
import shutil
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import veltorxtea as xtea  # noqa: E402
from fakeserver import messages, notices, recording, steam, transfer  # noqa: E402
from fakeserver import worldmessages as wm  # noqa: E402
from fakeserver.gamemessages import counter_check  # noqa: E402
from fakeserver.messages import Avatar  # noqa: E402
from fakeserver.sampleworld import WorldSession  # noqa: E402
from fakeserver.wire import server_frame  # noqa: E402

CHECK_SIZE = 16
THUMBNAIL_BYTES = 190 * 150 * 4


def write(out, target, name, data):
    folder = os.path.join(out, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), 'wb') as f:
        f.write(data)


def copy(out, target, name, path):
    if os.path.exists(path):
        folder = os.path.join(out, target)
        os.makedirs(folder, exist_ok=True)
        shutil.copyfile(path, os.path.join(folder, name))


def data_files(sample, testdata, out):
    for target, name in [('settings', 'Veltor.config'), ('skin', 'Veltor.skin'),
                         ('fonts', 'Veltor.font'), ('sprites', 'Veltor.data'),
                         ('spells', 'Veltor.spells'), ('quests', 'Veltor.quests'),
                         ('books', 'Veltor.books'), ('atlas', 'Veltor.maps')]:
        copy(out, target, 'sample', os.path.join(sample, name))
    for case in ('sample', 'damaged'):
        copy(out, 'quests', case, os.path.join(testdata, 'quests', case, 'Veltor.quests'))
    maps = os.path.join(testdata, 'maps')
    copy(out, 'atlas', 'testdata', os.path.join(maps, 'Veltor.maps'))
    for case in sorted(os.listdir(os.path.join(maps, 'atlas'))):
        copy(out, 'atlas', case, os.path.join(maps, 'atlas', case, 'Veltor.maps'))
    copy(out, 'save', 'carry', os.path.join(maps, 'carry', 'Veltor.game'))
    copy(out, 'save', 'scenario', os.path.join(maps, 'scenario', 'Veltor.game'))
    for case in sorted(os.listdir(os.path.join(maps, 'save'))):
        copy(out, 'save', case, os.path.join(maps, 'save', case, 'Veltor.game'))
    map_records(maps, out)


def map_records(maps, out):
    """Each record of the test atlas deciphered with its key (atlas.txt), after the check block."""
    keys = {}
    with open(os.path.join(maps, 'atlas.txt')) as f:
        for line in f:
            words = line.split()
            if len(words) >= 4 and words[0] == 'map':
                keys[int(words[1])] = bytes.fromhex(words[3])
    with open(os.path.join(maps, 'Veltor.maps'), 'rb') as f:
        atlas = f.read()
    _, count = struct.unpack_from('<II', atlas, 0)
    entries = [struct.unpack_from('<HI', atlas, 8 + 6 * i) for i in range(count)]
    ends = [offset for _, offset in entries[1:]] + [len(atlas)]
    for (map_id, offset), end in zip(entries, ends):
        if map_id not in keys:
            continue
        record = atlas[offset:end]
        whole = len(record) // 8 * 8
        plain = xtea.decrypt(keys[map_id], record[:whole]) + record[whole:]
        write(out, 'maprecords', 'map%d' % map_id, plain[CHECK_SIZE:])


def recordings(out):
    """Two stopped recordings of a few frames and requests, and one that never stopped."""
    def block(start, stop, records):
        body = b''.join(struct.pack('<IB', ms, kind) + data for ms, kind, data in records)
        header_and_thumbnail = 32 + 4 + THUMBNAIL_BYTES
        length = header_and_thumbnail + len(body) if stop else 0
        header = struct.pack('<IIIIQQ', length, 0, 1, 2, start, stop)
        return header + struct.pack('<I', THUMBNAIL_BYTES) + bytes(THUMBNAIL_BYTES) + body

    frame = server_frame(wm.walk_refused())
    stopped = block(1700000000000, 1700000005000,
                    [(0, recording.RECEIVED_FRAME, frame), (40, recording.OWN_REQUEST, b'\x20\x02')])
    write(out, 'recordings', 'two-and-open',
          stopped + block(1700000009000, 1700000010000, []) + block(1700000011000, 0, []))


class TranscriptSession:
    """Stands in for the fake server's session: the sample world's frames are collected."""
    open = False

    def __init__(self):
        self.frames = []

    def perform(self, actions):
        for action in actions:
            self.frames.append(b''.join(action.messages))


def protocol_streams(out):
    avatars = [Avatar(1, 'Hero', shape=200, outfit=0x01020304, value2=12),
               Avatar(2, 'Rat', shape=200, outfit=0)]
    login = [messages.hello(0x12345678), messages.login_text('Welcome'), messages.ip_blocked(),
             messages.login_timeout(), messages.invalid_login(), messages.client_too_old()]
    for i, message in enumerate(login):
        write(out, 'login', 'message%d' % i, server_frame(message))
    write(out, 'login', 'accepted', server_frame(messages.login_accepted()) +
          server_frame(messages.avatar_list(7, avatars, 'Notice', 30)))
    write(out, 'frames', 'hello-split', b'\x03' + server_frame(messages.hello(1)) +
          server_frame(messages.KEEP_ALIVE * 1000, long_form=True))
    write(out, 'frames', 'texts', b'\x00' + b''.join(server_frame(m) for m in login[1:]))

    selection = [messages.avatar_list(7, avatars, 'Notice', 30), messages.one_avatar(avatars[0]),
                 messages.avatar_text('Wait'), messages.fatal_text('Gone')]
    for i, message in enumerate(selection):
        write(out, 'avatars', 'message%d' % i, server_frame(message))
    write(out, 'avatars', 'enter', server_frame(selection[0]) + server_frame(messages.enter_game()))

    session = TranscriptSession()
    world = WorldSession(session, 1000, 'Hero')
    entry = b''.join(world.entry()[0].messages[1:])  # op 11 belongs to the avatar selection
    steps = []
    for direction in (2, 2, 4, 6, 0, 8):
        steps += [b''.join(frame.messages) for frame in world.walk(direction)]
    wander = [b''.join(world.wander()) for _ in range(6)]
    write(out, 'game', 'entry', server_frame(entry))
    write(out, 'game', 'walk', server_frame(entry) + b''.join(server_frame(s) for s in steps))
    write(out, 'game', 'wander', server_frame(entry) + b''.join(server_frame(w) for w in wander if w))
    notices_and_more = [notices.server_crashed(), notices.server_suspended(),
                        notices.suspension_over(), recording.start_recording(),
                        recording.stop_recording(), steam.noble_days(30), counter_check(1),
                        transfer.transfer('127.0.0.1', 4081, 5, bytes(range(16))),
                        transfer.transfer_done()]
    for i, message in enumerate(notices_and_more):
        write(out, 'game', 'notice%d' % i, server_frame(message))
    write(out, 'avatars', 'enter-world', server_frame(messages.enter_game() + entry))


def main():
    sample, testdata, out = sys.argv[1:4]
    shutil.rmtree(out, ignore_errors=True)
    data_files(sample, testdata, out)
    recordings(out)
    protocol_streams(out)


if __name__ == '__main__':
    main()
