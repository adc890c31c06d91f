"""End-to-end harness: runs the built client under Wine (on a private Xvfb when there is no
display) in a prepared folder, finds its windows, drives them and reads what it wrote.

    folder = RunFolder()                   # temporary folder, the sample data in data/
    with folder.start_client() as client:  # started under Wine, killed on leaving the block
        client.wait_window()
        client.close()
        exit_code = client.wait_exit()
"""
from harness.client import MAIN_CLASS, MAIN_TITLE, Client, RunFolder, Session, session
from harness.testcase import ClientTestCase

__all__ = ["MAIN_CLASS", "MAIN_TITLE", "Client", "ClientTestCase", "RunFolder", "Session",
           "session"]
