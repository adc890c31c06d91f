"""Recordings: the game-state messages that start and stop one, and a reader of the recordings
file the client writes (data/Veltor.record).

The file holds blocks one after another. A block: u32 length of the whole block, u32 0, u32 client
version, u32 data version, u64 start time (ms), u64 stop time (ms), u32 thumbnail size and the
thumbnail, then records until the stop: u32 milliseconds since the start, u8 kind, then for kind 0
a server frame exactly as received (header and payload, still enciphered when encryption is on)
and for kind 1 the payload of one of the client's movement or speech requests (ops 32, 33, 40
and 60), never enciphered."""
from fakeserver.wire import Reader, Writer

START = 249
STOP = 251
HEADER_SIZE = 32
RECEIVED_FRAME = 0
OWN_REQUEST = 1


def start_recording():
    return Writer(START).bytes()


def stop_recording():
    """The stop carries four u32 fields the client does not use."""
    return Writer(STOP).u32(1).u32(2).u32(3).u32(4).bytes()


class Block:
    def __init__(self, length, version, data_version, start, stop, thumbnail, records):
        self.length, self.version, self.data_version = length, version, data_version
        self.start, self.stop, self.thumbnail, self.records = start, stop, thumbnail, records


def _server_frame(r):
    start = r.pos
    size = r.u16()
    if size >= 0x8000:
        size = (size - 0x8000) + (r.u16() << 15)
    r.take(size + 1)
    return r.data[start:r.pos]


def _own_request(r):
    start = r.pos
    op = r.u8()
    if op in (32, 33, 40):
        r.u8()
    elif op == 60:
        r.take(r.u8())
    else:
        raise ValueError('op %d is not recorded' % op)
    return r.data[start:r.pos]


def read_block(data):
    """One block from the start of the bytes; its records as (ms, kind, bytes)."""
    r = Reader(data)
    length, zero, version, data_version = r.u32(), r.u32(), r.u32(), r.u32()
    start, stop = r.u64(), r.u64()
    thumbnail = r.take(r.u32())
    if zero != 0 or length > len(data):
        raise ValueError('not a stopped block')
    r = Reader(data[:length])
    r.pos = HEADER_SIZE + 4 + len(thumbnail)
    records = []
    while r.remaining():
        ms, kind = r.u32(), r.u8()
        records.append((ms, kind, _server_frame(r) if kind == RECEIVED_FRAME else _own_request(r)))
    return Block(length, version, data_version, start, stop, thumbnail, records)


def read_blocks(data):
    """Every block of a recordings file that holds only stopped blocks."""
    blocks, at = [], 0
    while at < len(data):
        block = read_block(data[at:])
        blocks.append(block)
        at += block.length
    return blocks
