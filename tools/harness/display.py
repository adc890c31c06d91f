"""The X display the client runs on: the caller's, or a private Xvfb when there is none."""
import ctypes
import ctypes.util
import os
import select
import subprocess
import tempfile
import time

from harness.commands import die_with_parent, run

SCREEN_SIZE = (1280, 1024)
# Connecting to the display: tries, and the pause between them in seconds.
OPEN_TRIES, OPEN_PAUSE = 10, 0.5


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


class _XImage(ctypes.Structure):
    # The leading fields of Xlib's XImage, up to the colour masks.
    _fields_ = [(name, ctypes.c_int) for name in ("width", "height", "xoffset", "format")] + [
        ("data", ctypes.c_void_p)] + [
        (name, ctypes.c_int) for name in ("byte_order", "bitmap_unit", "bitmap_bit_order",
                                          "bitmap_pad", "depth", "bytes_per_line",
                                          "bits_per_pixel")] + [
        (name, ctypes.c_ulong) for name in ("red_mask", "green_mask", "blue_mask")]


class ScreenGrabber:
    """Reads parts of an X screen from this process through one Xlib connection: a picture in
    a few milliseconds, where a screenshot program takes a second on a loaded machine, so that
    what lasts a fraction of a second can be caught."""

    _ALL_PLANES, _Z_PIXMAP = 0xFFFFFFFF, 2
    # The only pixel layout read: 32 bits per pixel, blue in the lowest byte (Xvfb at depth 24).
    _MASKS = (0xFF0000, 0xFF00, 0xFF)

    def __init__(self, display):
        xlib = ctypes.CDLL(ctypes.util.find_library("X11"))
        xlib.XOpenDisplay.restype = ctypes.c_void_p
        xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
        xlib.XDefaultRootWindow.restype = ctypes.c_ulong
        xlib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        xlib.XGetImage.restype = ctypes.POINTER(_XImage)
        xlib.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                   ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        xlib.XDestroyImage.argtypes = [ctypes.POINTER(_XImage)]
        xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self._xlib = xlib
        # Once, under load, a display that served the tests before it refused a connection:
        # a few more tries before giving up.
        for _ in range(OPEN_TRIES):
            self._display = xlib.XOpenDisplay(display.encode())
            if self._display:
                break
            time.sleep(OPEN_PAUSE)
        else:
            raise RuntimeError(f"cannot open X display {display}")
        self._root = xlib.XDefaultRootWindow(self._display)

    def grab(self, x, y, width, height):
        """The pixels of a rectangle of the screen as it is now: rows of (red, green, blue)
        bytes, width x height x 3 in all."""
        image = self._xlib.XGetImage(self._display, self._root, x, y, width, height,
                                     self._ALL_PLANES, self._Z_PIXMAP)
        if not image:
            raise RuntimeError(f"no screen part {width} x {height} at ({x}, {y})")
        try:
            part = image.contents
            masks = (part.red_mask, part.green_mask, part.blue_mask)
            if part.bits_per_pixel != 32 or masks != self._MASKS:
                raise RuntimeError(f"screen pixels of {part.bits_per_pixel} bits, masks {masks}")
            stride, line = part.bytes_per_line, width * 4
            data = ctypes.string_at(part.data, stride * height)
        finally:
            self._xlib.XDestroyImage(image)
        if stride != line:
            data = b"".join(data[row * stride:row * stride + line] for row in range(height))
        pixels = bytearray(width * height * 3)
        pixels[0::3], pixels[1::3], pixels[2::3] = data[2::4], data[1::4], data[0::4]
        return bytes(pixels)

    def close(self):
        if self._display:
            self._xlib.XCloseDisplay(self._display)
            self._display = None
