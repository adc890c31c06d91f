"""Running helper programs and waiting for conditions, always with a time limit."""
import ctypes
import signal
import subprocess
import time

_PR_SET_PDEATHSIG = 1


def die_with_parent():
    """Child-side set-up: the child gets SIGKILL when the process that started it ends, so a test
    killed by its time limit leaves no program of its own behind."""
    libc = ctypes.CDLL(None, use_errno=True)
    libc.prctl(_PR_SET_PDEATHSIG, signal.SIGKILL)


def run(command, env, timeout=30, check=True, capture=True):
    """Runs a command to its end and returns its standard output as text. With capture off its
    output goes nowhere: programs that leave helpers running (wineserver, the first Wine
    program) must not hold a pipe this process would wait on."""
    output = subprocess.PIPE if capture else subprocess.DEVNULL
    result = subprocess.run(command, env=env, stdin=subprocess.DEVNULL, stdout=output,
                            stderr=output, timeout=timeout, preexec_fn=die_with_parent)
    if check and result.returncode != 0:
        error = result.stderr.decode(errors="replace").strip() if capture else ""
        raise RuntimeError(f"{command[0]} failed ({result.returncode}) {error}")
    return result.stdout.decode("latin-1") if capture else ""


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
