"""Server messages of the login and avatar-selection states, each an opcode and its fields."""
from fakeserver.wire import Writer

KEEP_ALIVE = b'\x00'


class Avatar:
    """One avatar of the account. `outfit` is None when the avatar's shape has no colour flag:
    the outfit colours are then not on the wire."""

    def __init__(self, avatar_id, name, shape=1, outfit=None, flags=0, value2=0, value3=0):
        self.avatar_id, self.name, self.shape, self.outfit = avatar_id, name, shape, outfit
        self.flags, self.value2, self.value3 = flags, value2, value3

    def entry(self):
        w = Writer().u32(self.avatar_id).u8(self.flags).u16(self.shape)
        if self.outfit is not None:
            w.u32(self.outfit)
        return w.u16(self.value2).string8(self.name).u32(self.value3).bytes()


# State 0 (login)
def hello(challenge):
    return Writer(1).u32(challenge).bytes()


def login_accepted():
    return Writer(2).bytes()


def login_text(text):
    return Writer(3).string16(text).bytes()


def ip_blocked():
    return Writer(4).u32(0).bytes()


def login_timeout():
    return Writer(5).bytes()


def invalid_login():
    return Writer(6).u32(0).u16(0).bytes()


def client_too_old():
    return Writer(250).u8(0).string8('14').string8('https://example.invalid/').bytes()


# State 1 (avatar selection)
def avatar_list(account_id, avatars, notice='', noble_days=0):
    w = Writer(8).u32(account_id).u8(0).u8(len(avatars))
    for avatar in avatars:
        w.raw(avatar.entry())
    return w.string16(notice).u32(noble_days).bytes()


def one_avatar(avatar):
    return Writer(9).raw(avatar.entry()).bytes()


def avatar_text(text):
    return Writer(10).string16(text).bytes()


def enter_game():
    return Writer(11).bytes()


def fatal_text(text):
    return Writer(12).string8(text).bytes()
