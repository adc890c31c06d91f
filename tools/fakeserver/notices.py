"""Server messages of the game state in which the server tells about itself."""
from fakeserver.wire import Writer


def server_crashed():
    return Writer(248).bytes()


def server_suspended():
    return Writer(253).bytes()


def suspension_over():
    return Writer(254).bytes()
