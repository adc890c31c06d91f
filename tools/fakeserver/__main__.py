"""Runs the fake game server until interrupted:

    PYTHONPATH=tools python3 -m fakeserver [--port 7171] [--transcript t.jsonl] [--answer invalid]
        [--account NAME:PASSWORD] [--split 1] [--join] [--long-header] [--accept-frames 2]
        [--world]

With --world the chosen avatar enters the sample world (fakeserver.sampleworld) and walks in it.

Prints "port N" once it listens."""
import argparse
import signal
import sys

from fakeserver.sampleworld import SampleWorld
from fakeserver.server import ANSWERS, FakeServer, Scenario


def main():
    parser = argparse.ArgumentParser(prog='fakeserver')
    parser.add_argument('--host', default='127.0.0.1')
    parser.add_argument('--port', type=int, default=0)
    parser.add_argument('--transcript')
    parser.add_argument('--answer', default='accept', choices=['accept', 'close'] + sorted(ANSWERS))
    parser.add_argument('--account', action='append', default=[], help='NAME:PASSWORD')
    parser.add_argument('--split', type=int, default=0)
    parser.add_argument('--join', action='store_true')
    parser.add_argument('--long-header', action='store_true')
    parser.add_argument('--accept-frames', type=int, choices=[1, 2], default=1)
    parser.add_argument('--world', action='store_true')
    args = parser.parse_args()

    options = dict(answer=args.answer, split=args.split, join=args.join,
                   long_header=args.long_header, accept_frames=args.accept_frames)
    if args.world:
        options['on'] = SampleWorld().handlers()
    if args.account:
        options['accounts'] = dict(a.split(':', 1) for a in args.account)
    server = FakeServer(Scenario(**options), args.transcript, args.host, args.port).start()
    print('port %d' % server.port, flush=True)
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    try:
        signal.pause()
    except (KeyboardInterrupt, SystemExit):
        pass
    finally:
        server.stop()


if __name__ == '__main__':
    main()
