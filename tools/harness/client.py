"""The client under test: a prepared run folder, the running program, its windows and input."""
import atexit
import collections
import functools
import itertools
import os
import shutil
import signal
import subprocess
import tempfile
import threading
import time
from pathlib import Path

from datagen import generate
from harness.commands import poll, run
from harness.display import ScreenGrabber, Xvfb, mean_brightness, screenshot
from harness.wine import (MESSAGE_BOX_CLASS, WM_CLOSE, WinProbe, prepare_session,
                          start_program, wine_environment)

# The seconds a closing window took to take the close request, and those from then to the end
# of the program and everything it started.
Closing = collections.namedtuple("Closing", "taking ending")

# How long a busy program stays still in `Client.click_holding`.
BUSY_FRAME = 0.3

MAIN_CLASS = "Quarvel"
MAIN_TITLE = "Veltor"


def _is_main(window):
    return window.visible and (window.class_name, window.title) == (MAIN_CLASS, MAIN_TITLE)


def _group_alive(group):
    try:
        os.killpg(group, 0)
        return True
    except ProcessLookupError:
        return False


def _end_group(group):
    try:
        os.killpg(group, signal.SIGKILL)
    except ProcessLookupError:  # ended meanwhile
        pass


def _is_box(window):
    return window.visible and window.class_name == MESSAGE_BOX_CLASS


class Session:
    """The display, Wine environment and window probe that every client of this process
    shares. The built programs come from VELTOR_EXE, VELTOR_WINPROBE and VELTOR_STEAM_STUB (set
    by CTest), else from the build folder (BUILD_DIR, default build/ in the checkout)."""

    def __init__(self):
        self.root = Path(os.environ.get("VELTOR_ROOT") or Path(__file__).resolve().parents[2])
        build = Path(os.environ.get("BUILD_DIR") or self.root / "build")
        self.exe = Path(os.environ.get("VELTOR_EXE") or build / "Veltor.exe")
        probe = Path(os.environ.get("VELTOR_WINPROBE") or build / "tools/winprobe/winprobe.exe")
        self.steam_stub = Path(os.environ.get("VELTOR_STEAM_STUB")
                               or build / "tests/steam/steam_api.dll")
        self._xvfb = None if os.environ.get("DISPLAY") else Xvfb()
        display = self._xvfb.display if self._xvfb else os.environ["DISPLAY"]
        self.env = wine_environment(self.root, display)
        self._grabber = ScreenGrabber(display)
        prepare_session(self.root, self.env)
        self.probe = WinProbe(probe, self.env)
        self._desktop_holder = self.probe.hold_desktop()

    def close(self):
        # Only the holder: the desktop process ends by itself once no program uses it.
        self._desktop_holder.kill()
        self._desktop_holder.wait(timeout=10)
        self._grabber.close()
        if self._xvfb:
            self._xvfb.stop()

    def screenshot(self, path):
        """A PNG image of the whole screen the clients run on."""
        screenshot(path, self.env)

    def grab(self, x, y, width, height):
        """A rectangle of the screen as it is now, read at once: rows of (red, green, blue)
        bytes."""
        return self._grabber.grab(x, y, width, height)

    def mean_brightness(self, x, y, width, height):
        """The mean colour value (0 to 255) of a rectangle of the screen, as it is now."""
        return mean_brightness(self.env, x, y, width, height)

    def xdotool(self, *args, check=True):
        return run(["xdotool", *map(str, args)], self.env, timeout=20, check=check)


@functools.lru_cache(maxsize=None)
def session():
    """The process's one session, created on first use and closed when the process ends."""
    shared = Session()
    atexit.register(shared.close)
    return shared


class RunFolder:
    """A temporary folder to run the client in: path holds data/ with the generated sample
    data; the clients' Wine output is kept beside it, not in it."""

    def __init__(self):
        self._temp = tempfile.TemporaryDirectory(prefix="veltor-e2e-")
        self.path = Path(self._temp.name) / "run"
        generate.main(self.path)
        self._logs = itertools.count(1)
        self._exe = None

    def place_steam_stub(self, control):
        """Makes the clients of this folder start with Steam: a copy of the client is started
        from the folder, with the test support's stand-in Steam library beside it, scripted by
        `control` (the lines of its control file; tests/support/steamstub tells them)."""
        shared = session()
        self._exe = self.path / shared.exe.name
        shutil.copy(shared.exe, self._exe)
        shutil.copy(shared.steam_stub, self.path / "steam_api.dll")
        self.write("steam_stub.txt", control.encode())

    def steam_calls(self):
        """The lines of the stand-in Steam library's log: the calls it received."""
        log = self.file("steam_stub.log")
        return log.read_text().splitlines() if log.exists() else []

    def start_client(self):
        """Starts a client in this folder."""
        log = Path(self._temp.name) / f"client-{next(self._logs)}.log"
        return Client(self.path, log, self._exe)

    def file(self, name):
        """Path of a file in the run folder, such as "data/Veltor.config"."""
        return self.path / name

    def read(self, name):
        return self.file(name).read_bytes()

    def write(self, name, content):
        self.file(name).write_bytes(content)

    def remove(self, name):
        self.file(name).unlink(missing_ok=True)

    def cleanup(self):
        self._temp.cleanup()


class Client:
    """One running client (the built one, or the program exe), started in the folder run_path
    (its working folder, holding data/), its output going to log_path. Its windows are told from those of other Wine programs by
    the process id Wine gives their X windows."""

    def __init__(self, run_path, log_path, exe=None):
        self.session = session()
        self.log_path = log_path
        with open(log_path, "wb") as log:
            self.process = start_program(exe or self.session.exe, run_path, self.session.env, log)
        self.pid = self.process.pid

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.kill()

    @property
    def probe(self):
        return self.session.probe

    def running(self):
        return self.process.poll() is None

    def own(self, windows):
        """The windows of this client among the given ones."""
        found = self.session.xdotool("search", "--pid", self.pid, check=False)
        x_windows = {int(line) for line in found.split()}
        return [window for window in windows if window.x_window in x_windows]

    def own_windows(self):
        """This client's top-level windows, topmost first."""
        return self.own(self.probe.windows())

    def main_window(self):
        """The client's visible main window, or None."""
        return next((window for window in self.own_windows() if _is_main(window)), None)

    def wait_window_or_box(self, timeout=20):
        """Waits until the client shows its main window or a message box, and returns the
        one that came first (a box when both are up)."""
        def shown():
            if not self.running():
                raise RuntimeError(f"client ended with exit code {self.process.returncode} "
                                   f"before showing a window; output:\n{self.output()}")
            windows = self.own_windows()
            return (next((window for window in windows if _is_box(window)), None)
                    or next((window for window in windows if _is_main(window)), None))
        return poll(shown, timeout, f"window of client {self.pid}")

    def wait_window(self, timeout=20):
        """Waits until the main window is shown and returns it; a message box instead (a
        failed start-up) raises RuntimeError with the box's title and text."""
        window = self.wait_window_or_box(timeout)
        if _is_box(window):
            raise RuntimeError(f"client shows the message box \"{window.title}\": "
                               f"{window.text}")
        return window

    def wait_box(self, timeout=20):
        """Waits for a message box of this client and returns it (title and text included)."""
        def shown():
            boxes = [window for window in self.own_windows() if _is_box(window)]
            if not boxes and not self.running():
                raise RuntimeError(f"client ended with exit code {self.process.returncode} "
                                   f"without a message box")
            return boxes[0] if boxes else None
        return poll(shown, timeout, f"message box of client {self.pid}")

    def wait_exit(self, timeout=15):
        """Waits for the program to end and returns its exit code."""
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            self.kill()
            raise TimeoutError(f"client {self.pid} still running after {timeout} s") from None

    def close(self):
        """Asks the main window to close, as its close button does."""
        self.post(WM_CLOSE)

    def post(self, message, wparam=0, lparam=0):
        """Posts a window message to the main window."""
        self.probe.post(self.wait_window().hwnd, message, wparam, lparam)

    def timed_close(self, timeout=15):
        """Closes the main window and waits until the program and every process it started
        have ended. Returns the seconds the window took to take the request (a frame in
        progress finishes first) and the seconds from then to that end."""
        ended = []

        def watch():  # notes the end as it happens, while the probe may still be ending
            self.process.wait()
            poll(lambda: not _group_alive(self.pid), timeout, f"end of process group {self.pid}",
                 interval=0.01)
            ended.append(time.time())
        watcher = threading.Thread(target=watch, daemon=True)
        watcher.start()
        posted, taken = self.probe.close(self.wait_window().hwnd)
        watcher.join(timeout)
        if not ended:
            self.kill()
            raise TimeoutError(f"client {self.pid} still running {timeout} s after closing")
        return Closing(taken - posted, ended[0] - taken)

    def click(self, x, y, button=1):
        """Moves the pointer to (x, y) of the main window's client area and clicks."""
        area = self.probe.client_area(self.wait_window().hwnd)
        self.session.xdotool("mousemove", "--sync", area.x + x, area.y + y, "click", button)

    def click_holding(self, key, x, y, button=1, busy=False):
        """Clicks (x, y) of the client area while holding a key (an X key name such as
        "shift"), as a player holds Shift and clicks. With `busy` the program is held still
        while the click is made, as by a long frame on a loaded machine: it reads the whole click
        afterwards, when the key is no longer held."""
        area = self.probe.client_area(self.wait_window().hwnd)
        self._focus()
        self.session.xdotool("mousemove", "--sync", area.x + x, area.y + y)
        if busy:
            os.killpg(self.pid, signal.SIGSTOP)
        try:
            self.session.xdotool("keydown", key, "click", button, "keyup", key)
            if busy:
                time.sleep(BUSY_FRAME)
        finally:
            if busy:
                os.killpg(self.pid, signal.SIGCONT)

    def key(self, *keys):
        """Presses keys (X key names such as "Return" or "alt+F4") in the main window."""
        self._focus()
        self.session.xdotool("key", *keys)

    def type(self, text):
        """Types text into the main window."""
        self._focus()
        self.session.xdotool("type", "--", text)

    def _focus(self):
        # Without a window manager the keyboard goes to the focused X window.
        self.session.xdotool("windowfocus", self.wait_window().x_window)

    def output(self):
        """What the program and Wine wrote to standard output and error."""
        return self.log_path.read_text(errors="replace")

    def kill(self):
        """Ends the program and every process it started in its group (the Wine helpers it
        may have started too), and waits until the group is gone."""
        if self.running():
            _end_group(self.pid)
            self.process.wait(timeout=10)
        poll(lambda: not _group_alive(self.pid), 10, f"end of process group {self.pid}")
