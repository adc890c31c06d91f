"""The X display the client runs on: the caller's, or a private Xvfb when there is none."""
import os
import select
import subprocess
import tempfile

from harness.commands import die_with_parent, run

SCREEN_SIZE = (1280, 1024)


class Xvfb:
    """A private X server on a free display number, stopped by stop() or with this process."""

    def __init__(self, timeout=15):
        read_end, write_end = os.pipe()
        width, height = SCREEN_SIZE
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{width}x{height}x24",
             "-nolisten", "tcp"],
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            pass_fds=(write_end,), start_new_session=True, preexec_fn=die_with_parent)
        os.close(write_end)
        try:
            self.display = ":" + self._read_display_number(read_end, timeout)
        except BaseException:
            self.stop()
            raise
        finally:
            os.close(read_end)

    def _read_display_number(self, pipe, timeout):
        # Xvfb writes the number followed by a line feed once it accepts clients.
        text = b""
        while not text.endswith(b"\n"):
            ready, _, _ = select.select([pipe], [], [], timeout)
            chunk = os.read(pipe, 16) if ready else b""
            if not chunk:
                raise RuntimeError(f"Xvfb did not start (exit code {self.process.poll()})")
            text += chunk
        return text.decode().strip()

    def stop(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait(timeout=10)


def screenshot(path, env, timeout=20):
    """Writes a PNG image of the whole X screen of env's DISPLAY to path."""
    run(["import", "-window", "root", f"png:{path}"], env, timeout=timeout)


def mean_brightness(env, x, y, width, height, timeout=20):
    """The mean of the red, green and blue values (0 to 255) of a rectangle of the X screen of
    env's DISPLAY, as it is now."""
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "part.rgb")
        run(["import", "-window", "root", "-crop", f"{width}x{height}+{x}+{y}", "-depth", "8",
             f"rgb:{path}"], env, timeout=timeout)
        with open(path, "rb") as part:
            values = part.read()
    if len(values) != width * height * 3:
        raise RuntimeError(f"screen part of {len(values)} bytes for {width} x {height} pixels")
    return sum(values) / len(values)
