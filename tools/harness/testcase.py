"""A unittest base class for end-to-end tests: a time limit per test, and clients and run
folders that are always stopped and removed, whatever the test's outcome."""
import signal
import unittest

from harness.client import RunFolder


class ClientTestCase(unittest.TestCase):
    """Each test ends with TimeoutError after time_limit seconds; its cleanups still run."""

    time_limit = 60

    def setUp(self):
        signal.signal(signal.SIGALRM, self._out_of_time)
        signal.alarm(self.time_limit)
        self.addCleanup(signal.alarm, 0)

    def _out_of_time(self, signum, frame):
        raise TimeoutError(f"{self.id()} exceeded its time limit of {self.time_limit} s")

    def run_folder(self):
        """A fresh run folder with the sample data, removed after the test."""
        folder = RunFolder()
        self.addCleanup(folder.cleanup)
        return folder

    def start_client(self, folder):
        """Starts the client in the folder; it is killed after the test if still running."""
        client = folder.start_client()
        self.addCleanup(client.kill)
        return client
