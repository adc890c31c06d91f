"""Running helper programs and waiting for conditions, always with a time limit."""
import ctypes
import signal
import subprocess
import tempfile
import time

_PR_SET_PDEATHSIG = 1


def die_with_parent():
    """Child-side set-up: the child gets SIGKILL when the process that started it ends, so a test
    killed by its time limit leaves no program of its own behind."""
    libc = ctypes.CDLL(None, use_errno=True)
    libc.prctl(_PR_SET_PDEATHSIG, signal.SIGKILL)


def run(command, env, timeout=30, check=True, capture=True):
    """Runs a command to its end and returns its standard output as text. The output goes
    through temporary files, not pipes: a Wine program may start helpers that outlive it
    (wineserver, the desktop process) and inherit its output, and a pipe would then stay open
    until they end. With capture off the output goes nowhere."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        target = (out, err) if capture else (subprocess.DEVNULL, subprocess.DEVNULL)
        result = subprocess.run(command, env=env, stdin=subprocess.DEVNULL, stdout=target[0],
                                stderr=target[1], timeout=timeout, preexec_fn=die_with_parent)
        out.seek(0)
        err.seek(0)
        output, error = out.read(), err.read()
    if check and result.returncode != 0:
        raise RuntimeError(f"{command[0]} failed ({result.returncode}) "
                           f"{error.decode(errors='replace').strip()}")
    return output.decode("latin-1")


def poll(probe, timeout, what, interval=0.1):
    """Calls probe() until it returns something true and returns that, or raises TimeoutError
    naming what was awaited."""
    deadline = time.monotonic() + timeout
    while True:
        found = probe()
        if found:
            return found
        if time.monotonic() >= deadline:
            raise TimeoutError(f"no {what} within {timeout} s")
        time.sleep(interval)
