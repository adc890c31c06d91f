"""A fake game server for tests: listens on loopback, speaks the framed protocol in both
directions (message counter, XTEA once the login is accepted), checks the login block, answers
the login and avatar-selection states as a scenario says, and records every client frame with
the request it carries (the game state's requests decoded field by field, fakeserver.requests).

    server = FakeServer(Scenario(answer='invalid'), transcript_path='t.jsonl')
    server.start()            # server.port is the port to connect to
    ...
    server.stop()
"""
import json
import socket
import threading
import time

import veltorxtea as xtea
from datagen import sprites
from fakeserver import login, messages, requests, steam, transfer
from fakeserver.messages import Avatar
from fakeserver.wire import ClientFrameCutter, Reader, WireError, server_frame


class Frame:
    """A server frame holding messages; enciphered when encryption is on at the time it is sent
    (the payload is then filled with zero bytes, keep-alives, to whole 8-byte blocks)."""

    def __init__(self, *message_list, pad=True):
        self.messages = list(message_list)
        self.pad = pad


class Raw:
    """Bytes sent exactly as given (malformed frames)."""

    def __init__(self, data):
        self.data = bytes(data)


class Close:
    """Closes the connection."""


class Pause:
    """Waits before the next action."""

    def __init__(self, seconds):
        self.seconds = seconds


def oversized_header():
    """A long-form header announcing the largest payload the header can express."""
    return Raw(b'\xff\xff\xff\xff')


def overrunning_frame(state):
    """A frame whose one message announces a 200-byte text but holds 4 bytes, followed by a
    valid frame whose bytes a reader that ignores the frame's end would consume."""
    opcode = 3 if state == 0 else 10
    bad = bytes([opcode]) + (200).to_bytes(2, 'little') + b'abcd'
    return Raw(server_frame(bad) + server_frame(messages.KEEP_ALIVE * 8))


ANSWERS = {
    'ip_blocked': messages.ip_blocked,
    'timeout': messages.login_timeout,
    'invalid': messages.invalid_login,
    'too_old': messages.client_too_old,
    'unknown': lambda: bytes([77]),
}


class Scenario:
    """What the server does. Options (keyword arguments):

    accounts     {name: password} that may log in (name and password as 8-bit bytes or str)
    steam_tickets the Steam tickets (bytes) whose Steam logins are accepted
    challenge    the u32 of the hello
    answer       to a valid login: 'accept', one of ANSWERS' keys, or 'close'
    accept_frames 1: op 2 and the avatar list in one frame; 2: in two frames
    account_id, avatars, notice, noble_days: the avatar list
    split        send every piece of at most this many bytes on its own (0: whole)
    join         send all frames of one answer in one piece
    long_header  use the long form of the frame header for every frame
    on           {(state, opcode): [actions] or callable(session, request) -> [actions]}
                 replacing the built-in answer to that request
    """

    def __init__(self, **options):
        self.accounts = {'tester': 'secret'}
        self.steam_tickets = []
        self.challenge = 0x01020304
        self.answer = 'accept'
        self.accept_frames = 1
        self.account_id = 7
        self.avatars = [Avatar(1001, 'Aria', shape=sprites.PERSON, outfit=sprites.PERSON_OUTFIT)]
        self.notice = ''
        self.noble_days = 0
        self.split = 0
        self.join = False
        self.long_header = False
        self.on = {}
        for name, value in options.items():
            if not hasattr(self, name):
                raise TypeError('unknown scenario option %r' % name)
            setattr(self, name, value)

    def password_of(self, account):
        for name, password in self.accounts.items():
            if _raw(name) == account:
                return _raw(password)
        return None

    def respond(self, session, request):
        """The actions answering one decoded client request."""
        custom = self.on.get((request['state'], request['op']))
        if custom is not None:
            return custom(session, request) if callable(custom) else list(custom)
        state, op = request['state'], request['op']
        if state == 0 and op == 1:
            return [Frame(messages.hello(self.challenge))]
        if state == 0 and op in (2, steam.STEAM_LOGIN, steam.STEAM_LINK):
            return self.answer_login(request)
        if state == 0 and op in (3, 4, 5):
            return [Frame(messages.login_text('Request received.'))]
        if state == 1 and op == 6:
            # The new avatar looks like the first one (its shape decides the outfit field).
            look = self.avatars[0] if self.avatars else Avatar(0, '')
            created = Avatar(2000 + len(self.avatars), request['name'], shape=look.shape, outfit=look.outfit)
            return [Frame(messages.one_avatar(created))]
        if state == 1 and op == 7:
            return [Frame(messages.enter_game())]
        if state == 0 and op == transfer.TRANSFER:
            return transfer.accept_hello(session, request)
        return []

    def answer_login(self, request):
        if not request.get('login_ok'):
            return [Frame(messages.invalid_login())]
        if self.answer == 'close':
            return [Close()]
        if self.answer != 'accept':
            return [Frame(ANSWERS[self.answer]())]
        accepted = messages.login_accepted()
        avatars = messages.avatar_list(self.account_id, self.avatars, self.notice, self.noble_days)
        if self.accept_frames == 2:
            return [Frame(accepted), Frame(avatars)]
        return [Frame(accepted, avatars)]


def _raw(text):
    return text.encode('latin-1') if isinstance(text, str) else bytes(text)


class Transcript:
    """Events as JSON lines, kept in memory and, when a path is given, written as they happen."""

    def __init__(self, path=None):
        self.events = []
        self.lock = threading.Lock()
        self.file = open(path, 'w') if path else None

    def add(self, **event):
        with self.lock:
            self.events.append(event)
            if self.file:
                self.file.write(json.dumps(event) + '\n')
                self.file.flush()

    def of(self, kind):
        with self.lock:
            return [e for e in self.events if e['event'] == kind]

    def close(self):
        if self.file:
            self.file.close()


class Session(threading.Thread):
    """One client connection. Tracks the client's protocol state and encryption the way the
    client's dispatchers change them, from the server messages it sends."""

    SEND_PAUSE = 0.004  # between split pieces, so that each arrives in a receive of its own

    def __init__(self, server, sock, number):
        super().__init__(daemon=True)
        self.server, self.sock, self.number = server, sock, number
        self.scenario, self.transcript = server.scenario, server.transcript
        self.state = 0
        self.encrypted = False
        self.key = None
        self.sent_messages = 0
        self.cutter = ClientFrameCutter()
        self.open = True
        self.sending = threading.RLock()  # frames may also be sent by a scenario's own thread

    def run(self):
        self.transcript.add(event='connect', session=self.number)
        try:
            while self.open:
                data = self.sock.recv(4096)
                if not data:
                    self.transcript.add(event='closed', session=self.number, by='client')
                    break
                self.cutter.buffer += data
                while self.open:
                    frame = self.cutter.next_frame(self.state == 2)
                    if frame is None:
                        break
                    self.handle_frame(*frame)
        except OSError as error:
            if self.open:
                self.transcript.add(event='closed', session=self.number, by='error', error=str(error))
        finally:
            self.close()

    def handle_frame(self, size_field, counter, payload):
        event = dict(event='client_frame', session=self.number, state=self.state,
                     encrypted=self.encrypted, size_field=size_field, payload_length=len(payload),
                     counter=counter, expected_counter=self.sent_messages & (0xFFFF if self.state == 2 else 0xFF))
        request = None
        try:
            if self.encrypted:
                if len(payload) % 8:
                    raise WireError('enciphered payload of %d bytes' % len(payload))
                payload = xtea.decrypt(self.key, payload)
            event['payload'] = payload.hex()
            request = self.decode(payload)
            event['request'] = {k: v for k, v in request.items() if k not in ('state',)}
        except WireError as error:
            event['error'] = str(error)
        self.transcript.add(**event)
        if request is not None:
            self.perform(self.scenario.respond(self, request))

    def decode(self, payload):
        r = Reader(payload)
        op = r.u8()
        request = {'state': self.state, 'op': op}
        if self.state == 0 and op == 1:
            request.update(version=r.u32(), data_version=r.u32())
        elif self.state == 0 and op in (2, 5):
            plain = login.decrypt_block(r.take(login.BLOCK_SIZE))
            if op == 2:
                key, account = login.parse_login(plain)
            else:
                key, new_digest, account = login.parse_password_change(plain)
                request['new_password_md5'] = new_digest.hex()
            request.update(account=account.decode('latin-1'), session_key=key.hex())
            password = self.scenario.password_of(account)
            expected = login.session_key(password, self.scenario.challenge) if password is not None else None
            request['login_ok'] = key == expected
            self.key = key  # the client enciphers with its own key, right or wrong
        elif self.state == 0 and op in (steam.STEAM_LOGIN, steam.STEAM_LINK):
            request.update(steam.decode_login(r))
            request['login_ok'] = bytes.fromhex(request['ticket']) in self.scenario.steam_tickets
            self.key = bytes.fromhex(request['session_key'])
        elif self.state == 0 and op == 3:
            request.update(account=r.text8(), extra=r.text8())
        elif self.state == 0 and op == 4:
            request.update(extra=r.text8())
        elif self.state == 0 and op == transfer.TRANSFER:
            request.update(transfer.decode_hello(r))
        elif self.state == 1 and op == 6:
            request.update(choice=r.u8(), name=r.text8())
        elif self.state == 1 and op == 7:
            request.update(avatar_id=r.u32())
        elif self.state == 2:
            request.update(requests.decode(r, op, requests.sample_shape_flags()))
        else:
            request['fields'] = r.take(r.remaining()).hex()
        rest = r.take(r.remaining())
        if rest.strip(b'\x00') or (rest and not self.encrypted):
            raise WireError('%d bytes after op %d' % (len(rest), op))
        return request

    def perform(self, actions):
        with self.sending:
            self._perform(actions)

    def _perform(self, actions):
        pieces = []
        for action in actions:
            if isinstance(action, Frame):
                pieces.append(self.encode(action))
            elif isinstance(action, Raw):
                self.transcript.add(event='server_raw', session=self.number, data=action.data.hex())
                pieces.append(action.data)
            else:
                self.deliver(pieces)
                pieces = []
                if isinstance(action, Pause):
                    time.sleep(action.seconds)
                elif isinstance(action, Close):
                    self.transcript.add(event='closed', session=self.number, by='server')
                    self.close()
                    return
        self.deliver(pieces)

    def encode(self, frame):
        """The frame's bytes; follows the state and encryption changes its messages cause."""
        payload = b''.join(frame.messages)
        ops = [m[0] for m in frame.messages]
        enciphered = self.encrypted
        if enciphered:
            if frame.pad:
                payload += messages.KEEP_ALIVE * (-len(payload) % 8)
            payload = xtea.encrypt(self.key, payload)
        self.sent_messages += sum(1 for op in ops if op != 0)
        for op in ops:
            if self.state == 0 and op == 2:
                self.state = 1
            elif self.state == 1 and op == 11:
                self.state = 2
        if self.state > 0 and self.key is not None:
            self.encrypted = True
        data = server_frame(payload, self.scenario.long_header)
        self.transcript.add(event='server_frame', session=self.number, ops=ops, encrypted=enciphered,
                            data=data.hex())
        return data

    def deliver(self, pieces):
        if not pieces or not self.open:
            return
        if self.scenario.join:
            pieces = [b''.join(pieces)]
        for piece in pieces:
            step = self.scenario.split or len(piece)
            for at in range(0, len(piece), step):
                if at:
                    time.sleep(self.SEND_PAUSE)
                self.sock.sendall(piece[at:at + step])

    def close(self):
        if self.open:
            self.open = False
            try:
                self.sock.shutdown(socket.SHUT_RDWR)
            except OSError:
                pass
            self.sock.close()


class FakeServer:
    """Accepts connections on a loopback port, one `Session` thread per connection."""

    def __init__(self, scenario=None, transcript_path=None, host='127.0.0.1', port=0):
        self.scenario = scenario or Scenario()
        self.transcript = Transcript(transcript_path)
        family = socket.AF_INET6 if ':' in host else socket.AF_INET
        self.listener = socket.socket(family, socket.SOCK_STREAM)
        self.listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        self.listener.bind((host, port))
        self.listener.listen(4)
        self.port = self.listener.getsockname()[1]
        self.sessions = []
        self.thread = threading.Thread(target=self.accept_loop, daemon=True)

    def start(self):
        self.thread.start()
        return self

    def accept_loop(self):
        while True:
            try:
                sock, _ = self.listener.accept()
            except OSError:
                return
            sock.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
            session = Session(self, sock, len(self.sessions) + 1)
            self.sessions.append(session)
            session.start()

    def wait_for(self, predicate, timeout=10.0):
        """Waits until predicate(transcript) is true; returns whether it became true."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if predicate(self.transcript):
                return True
            time.sleep(0.01)
        return predicate(self.transcript)

    def stop(self):
        try:
            self.listener.shutdown(socket.SHUT_RDWR)  # wakes the accepting thread
        except OSError:
            pass
        self.listener.close()
        self.thread.join(2)
        for session in self.sessions:
            session.close()
        for session in self.sessions:
            session.join(2)
        self.transcript.close()

    def __enter__(self):
        return self.start()

    def __exit__(self, *exc):
        self.stop()
