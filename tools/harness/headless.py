"""Shows the client without a display (used by scripts/run.sh): runs it in FOLDER on a private
Xvfb, writes a screenshot to FOLDER/screen.png after a few seconds, then closes its window and
reports how it ended. A message box it shows instead (a failed start-up) is reported, its
screenshot taken, and pressed. Exits with the client's exit code.

With --play, it first logs in through the login window as a player would, with the account and
password, and enters the game with the first avatar; TRANSCRIPT is the fake server's transcript
(JSON lines), from which it learns when the avatar list and the world have arrived. The seconds
are then counted from the world's arrival.

usage: python3 -m harness.headless FOLDER [SECONDS] [--play ACCOUNT PASSWORD TRANSCRIPT]
"""
import argparse
import json
import time
from pathlib import Path

from harness.client import Client, session
from harness.commands import poll
from harness.frontscreens import enter_game, leave_game

# The fake server's frames of entering the game: the state change, the player, its status and
# the area around it.
WORLD_ARRIVAL = [11, 16, 18, 48]


def server_frames(transcript):
    """The opcodes of the server's frames written to the transcript file so far."""
    if not transcript.exists():
        return []
    lines = transcript.read_text().splitlines()
    events = [json.loads(line) for line in lines if line.endswith("}")]
    return [event["ops"] for event in events if event["event"] == "server_frame"]


def play(client, account, password, transcript):
    enter_game(client, account, password,
               lambda: poll(lambda: len(server_frames(transcript)) >= 2, 30, "avatar list"))
    poll(lambda: WORLD_ARRIVAL in server_frames(transcript), 30, "world")


def show(folder, seconds, login=None):
    client = Client(folder, folder / "client.log")
    try:
        window = client.wait_window_or_box()
        if window.text:
            print(f'run: the client shows "{window.title}": {window.text}')
        else:
            print(f'run: the client\'s window "{window.title}" (class {window.class_name}) is up')
            if login:
                time.sleep(1)  # the main screen's first frames
                play(client, *login)
                print("run: logged in and entered the world")
            time.sleep(seconds)
        session().screenshot(folder / "screen.png")
        print(f"run: screenshot in {folder / 'screen.png'}")
        if window.text:
            client.probe.press_ok(window.hwnd)
        else:
            if login:
                leave_game(client)
            client.close()
        exit_code = client.wait_exit()
        print(f"run: the client ended with exit code {exit_code}")
        return exit_code
    finally:
        client.kill()


def main():
    parser = argparse.ArgumentParser(prog="harness.headless")
    parser.add_argument("folder", type=Path)
    parser.add_argument("seconds", type=float, nargs="?", default=3)
    parser.add_argument("--play", nargs=3, metavar=("ACCOUNT", "PASSWORD", "TRANSCRIPT"))
    args = parser.parse_args()
    login = None
    if args.play:
        account, password, transcript = args.play
        login = (account, password, Path(transcript))
    return show(args.folder.resolve(), args.seconds, login)


if __name__ == "__main__":
    raise SystemExit(main())
