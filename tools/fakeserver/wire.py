"""The game protocol's field encodings and frame headers, in both directions.

All integers are little-endian. Server frames: a u16 L; below 0x8000 the payload is L + 1 bytes,
otherwise a second u16 H follows and the payload is (L - 0x8000) + (H << 15) + 1 bytes. Client
frames: u16 payload length - 1, then the client's message counter as one byte (login and avatar
selection) or two bytes (game), then the payload."""
import struct


class WireError(Exception):
    """A field or frame that cannot be read from the bytes given."""


class Reader:
    """Reads fields from a byte string; every read past the end raises WireError."""

    def __init__(self, data):
        self.data = bytes(data)
        self.pos = 0

    def remaining(self):
        return len(self.data) - self.pos

    def take(self, n):
        if n > self.remaining():
            raise WireError('need %d bytes at %d, have %d' % (n, self.pos, self.remaining()))
        chunk = self.data[self.pos:self.pos + n]
        self.pos += n
        return chunk

    def u8(self):
        return self.take(1)[0]

    def u16(self):
        return struct.unpack('<H', self.take(2))[0]

    def u32(self):
        return struct.unpack('<I', self.take(4))[0]

    def u64(self):
        return struct.unpack('<Q', self.take(8))[0]

    def var15(self):
        first = self.u8()
        return first if first < 128 else (first - 128) + (self.u8() << 7)

    def varint(self):
        value, shift = 0, 0
        while True:
            byte = self.u8()
            if shift >= 28 and byte > 15:
                raise WireError('varint does not fit 32 bits')
            value |= (byte & 127) << shift
            if byte < 128:
                return value
            shift += 7

    def varstop(self):
        value = 0
        for shift in range(0, 35, 7):
            byte = self.u8()
            value |= (byte & 127) << shift
            if byte >= 128:
                return value & 0xFFFFFFFF
        raise WireError('stop-bit varint longer than five bytes')

    def bytes8(self):
        return self.take(self.u8())

    def bytes16(self):
        return self.take(self.u16())

    def text8(self):
        """A u8-counted string the client wrote as UTF-8."""
        return self.bytes8().decode('utf-8', errors='replace')


class Writer:
    """Builds a message: an opcode and its fields."""

    def __init__(self, opcode=None):
        self.data = bytearray()
        if opcode is not None:
            self.u8(opcode)

    def u8(self, v):
        self.data += struct.pack('<B', v)
        return self

    def u16(self, v):
        self.data += struct.pack('<H', v)
        return self

    def u32(self, v):
        self.data += struct.pack('<I', v)
        return self

    def var15(self, n):
        return self.u8(n) if n < 128 else self.u8(128 + n % 128).u8(n >> 7)

    def varint(self, v):
        while v >= 128:
            self.u8(0x80 | (v & 127))
            v >>= 7
        return self.u8(v)

    def varstop(self, v):
        while v >= 128:
            self.u8(v & 127)
            v >>= 7
        return self.u8(0x80 | v)

    def string8(self, text):
        raw = encode_text(text)
        return self.u8(len(raw)).raw(raw)

    def string16(self, text):
        raw = encode_text(text)
        return self.u16(len(raw)).raw(raw)

    def string_var(self, text):
        """A text whose byte count goes first as a varint."""
        raw = encode_text(text)
        return self.varint(len(raw)).raw(raw)

    def raw(self, data):
        self.data += bytes(data)
        return self

    def bytes(self):
        return bytes(self.data)


def encode_text(text):
    """Server texts are sent as UTF-8 (the client decodes them to its 8-bit text)."""
    return text.encode('utf-8') if isinstance(text, str) else bytes(text)


def latin1_to_utf8(raw):
    """What the client sends for an 8-bit text: every byte as the code point of the same value."""
    return bytes(raw).decode('latin-1').encode('utf-8')


def server_frame_header(payload_length, long_form=False):
    """The header of a server frame; the long form is used when needed or when asked for."""
    value = payload_length - 1
    if value < 0:
        raise ValueError('a frame carries at least one byte')
    if value < 0x8000 and not long_form:
        return struct.pack('<H', value)
    if value >> 15 > 0xFFFF:
        raise ValueError('payload too long for a frame header')
    return struct.pack('<HH', 0x8000 | (value & 0x7FFF), value >> 15)


def server_frame(payload, long_form=False):
    return server_frame_header(len(payload), long_form) + bytes(payload)


def client_frame(payload, counter, two_byte_counter):
    """A client frame as the client sends it (the tools use it to play the client's side)."""
    counter_bytes = struct.pack('<H', counter & 0xFFFF) if two_byte_counter else bytes([counter & 0xFF])
    return struct.pack('<H', len(payload) - 1) + counter_bytes + bytes(payload)


class ServerFrameCutter:
    """Cuts server frames out of a byte stream (the tools use it to play the client's side)."""

    def __init__(self):
        self.buffer = bytearray()

    def feed(self, data):
        """Adds received bytes and returns the payloads of every frame now complete."""
        self.buffer += data
        frames = []
        while len(self.buffer) >= 2:
            low = struct.unpack_from('<H', self.buffer)[0]
            if low < 0x8000:
                header, length = 2, low + 1
            elif len(self.buffer) >= 4:
                header = 4
                length = (low - 0x8000) + (struct.unpack_from('<H', self.buffer, 2)[0] << 15) + 1
            else:
                break
            if len(self.buffer) < header + length:
                break
            frames.append(bytes(self.buffer[header:header + length]))
            del self.buffer[:header + length]
        return frames


class ClientFrameCutter:
    """Cuts client frames out of a byte stream; the counter width is given per frame by the
    caller, since it follows the protocol state the client was in."""

    def __init__(self):
        self.buffer = bytearray()

    def next_frame(self, two_byte_counter):
        """(size field, counter, payload) of the first complete frame, or None."""
        counter_size = 2 if two_byte_counter else 1
        if len(self.buffer) < 2 + counter_size:
            return None
        size_field = struct.unpack_from('<H', self.buffer)[0]
        total = 2 + counter_size + size_field + 1
        if len(self.buffer) < total:
            return None
        if two_byte_counter:
            counter = struct.unpack_from('<H', self.buffer, 2)[0]
        else:
            counter = self.buffer[2]
        payload = bytes(self.buffer[2 + counter_size:total])
        del self.buffer[:total]
        return size_field, counter, payload
