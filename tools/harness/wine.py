"""The Wine session the client runs in, and winprobe, the tool that sees its windows."""
import collections
import os
import subprocess
import tempfile

from harness.commands import die_with_parent, poll, run

# How long a wineserver this session starts outlives the last Wine program (seconds).
SERVER_LINGER = 10

WM_CLOSE = 0x0010
WM_SYSCOMMAND = 0x0112
SC_MINIMIZE = 0xF020

# A top-level window as winprobe lists it; text is a message box's text ("" otherwise).
Window = collections.namedtuple(
    "Window", "hwnd process_id x_window visible class_name title text")
MESSAGE_BOX_CLASS = "#32770"

# Screen position and size of a window's client area, and whether it is minimised.
ClientArea = collections.namedtuple("ClientArea", "x y width height iconic")


def wine_environment(root, display):
    """The environment of every Wine program of a test run (as scripts/wine-env.sh sets it)."""
    env = dict(os.environ)
    # scripts/wine-env.sh chooses the architecture, the prefix and the `wine` on PATH.
    env.setdefault("WINEARCH", "win32")
    env.setdefault("WINEPREFIX", str(root / (".wine64" if env["WINEARCH"] == "win64" else ".wine")))
    env.setdefault("WINEDEBUG", "-all")
    env.setdefault("WINEDLLOVERRIDES", "mscoree,mshtml=")
    env["DISPLAY"] = display
    return env


def prepare_session(root, env):
    """Creates the Wine prefix when needed and makes sure a wineserver is running, started
    outside any test's output pipes. A wineserver that is already running (the test command
    keeps one) is used as it is; one started here ends by itself after the last program."""
    run(["bash", "-c", 'source "$0/scripts/wine-env.sh" && veltor_wine_prefix', str(root)],
        env, timeout=180, capture=False)
    # Exits at once with status 2 when a server of this prefix is already running.
    run(["wineserver", f"-p{SERVER_LINGER}"], env, timeout=30, check=False, capture=False)
    run(["wine", "cmd", "/c", "exit"], env, timeout=60, check=False, capture=False)


def _unescape(field):
    # winprobe escapes backslash, tab, CR and LF so that every window is one line.
    replacements = {"\\": "\\", "t": "\t", "r": "\r", "n": "\n"}
    text, index = [], 0
    while index < len(field):
        if field[index] == "\\" and index + 1 < len(field):
            text.append(replacements.get(field[index + 1], field[index + 1]))
            index += 2
        else:
            text.append(field[index])
            index += 1
    return "".join(text)


def parse_window(line):
    """A line of winprobe's window list."""
    fields = [_unescape(field) for field in line.split("\t")]
    hwnd, process_id, x_window, visible = fields[:4]
    return Window(int(hwnd, 16), int(process_id), int(x_window, 16), visible == "1", *fields[4:])


class WinProbe:
    """Runs tools/winprobe (a Windows console program) in the session's Wine prefix."""

    def __init__(self, exe, env):
        self.exe = str(exe)
        self.env = env

    # Queries that change nothing: run once more when Wine itself fails to start the probe, as
    # it now and then does on a loaded machine.
    QUERIES = ("list", "boxes", "find", "info")

    def _run(self, *args):
        command = ["wine", self.exe, *map(str, args)]
        if args[0] not in self.QUERIES:
            return run(command, self.env, timeout=30)
        try:
            return run(command, self.env, timeout=30)
        except RuntimeError:
            return run(command, self.env, timeout=30)

    def windows(self):
        """Every top-level window of the session, topmost first."""
        return [parse_window(line) for line in self._run("list").splitlines() if line]

    def client_area(self, hwnd):
        x, y, width, height, iconic = map(int, self._run("info", hex(hwnd)).split())
        return ClientArea(x, y, width, height, iconic == 1)

    def post(self, hwnd, message, wparam=0, lparam=0):
        self._run("post", hex(hwnd), hex(message), hex(wparam), hex(lparam))

    def close(self, hwnd):
        """Posts WM_CLOSE to the window and waits until its thread takes it; returns when the
        request was posted and when it was taken, in seconds since 1970 (as time.time())."""
        posted, taken = self._run("close", hex(hwnd)).split()
        return int(posted) / 1000, int(taken) / 1000

    def hold_desktop(self, timeout=60):
        """Starts a probe that keeps the session's desktop up until it is ended, and returns
        its process once the desktop is up. Wine starts its desktop process as a child of the
        first program that needs it, and that process outlives its starter's windows by about
        two seconds: held here, it lies in no client's process group."""
        with tempfile.TemporaryFile() as said:
            holder = subprocess.Popen(["wine", self.exe, "hold"], env=self.env,
                                      stdin=subprocess.DEVNULL, stdout=said,
                                      stderr=subprocess.DEVNULL, start_new_session=True,
                                      preexec_fn=die_with_parent)

            def held_or_ended():
                return os.pread(said.fileno(), 4, 0) == b"held" or holder.poll() is not None
            try:
                poll(held_or_ended, timeout, "desktop held by winprobe")
            except TimeoutError:
                holder.kill()
                raise
        if holder.poll() is not None:
            raise RuntimeError(f"winprobe hold ended with exit code {holder.returncode}")
        return holder

    def press_ok(self, hwnd):
        """Presses the OK button of a message box."""
        self._run("press-ok", hex(hwnd))


def start_program(exe, folder, env, log):
    """Starts a Windows program under Wine in folder, its output going to the open file log.
    It leads a process group of its own, so stopping it touches nothing else."""
    return subprocess.Popen(["wine", str(exe)], cwd=folder, env=env, stdin=subprocess.DEVNULL,
                            stdout=log, stderr=subprocess.STDOUT, start_new_session=True,
                            preexec_fn=die_with_parent)
