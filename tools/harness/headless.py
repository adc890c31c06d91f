"""Shows the client without a display (used by scripts/run.sh): runs it in FOLDER on a private
Xvfb, writes a screenshot to FOLDER/screen.png after a few seconds, then closes its window and
reports how it ended. A message box it shows instead (a failed start-up) is reported, its
screenshot taken, and pressed. Exits with the client's exit code.

usage: python3 -m harness.headless FOLDER [SECONDS]
"""
import sys
import time
from pathlib import Path

from harness.client import Client, session


def show(folder, seconds):
    client = Client(folder, folder / "client.log")
    try:
        window = client.wait_window_or_box()
        if window.text:
            print(f'run: the client shows "{window.title}": {window.text}')
        else:
            print(f'run: the client\'s window "{window.title}" (class {window.class_name}) is up')
            time.sleep(seconds)
        session().screenshot(folder / "screen.png")
        print(f"run: screenshot in {folder / 'screen.png'}")
        if window.text:
            client.probe.press_ok(window.hwnd)
        else:
            client.close()
        exit_code = client.wait_exit()
        print(f"run: the client ended with exit code {exit_code}")
        return exit_code
    finally:
        client.kill()


if __name__ == "__main__":
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__.strip())
    sys.exit(show(Path(sys.argv[1]).resolve(), float(sys.argv[2]) if len(sys.argv) == 3 else 3))
