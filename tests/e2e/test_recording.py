"""The real client recording a game session the fake server asks it to record: the block it
writes into data/Veltor.record, read by the fake server's own reader, holds the frames exactly as
they were sent and is stopped when the connection ends."""
import struct
import time
import unittest

from datagen import config
from fakeserver.messages import enter_game
from fakeserver.recording import RECEIVED_FRAME, read_blocks, start_recording
from fakeserver.server import Close, FakeServer, Frame, Pause, Scenario
from harness import ClientTestCase

DATA_FILES = ["Veltor.data", "Veltor.shapes", "Veltor.books", "Veltor.quests", "Veltor.maps",
              "Veltor.skin", "Veltor.font", "Veltor.spells"]
CLIENT_VERSION = 14
RECORDINGS = "data/Veltor.record"
SILENT_MESSAGE = b"\x20"  # a game message without fields that changes nothing


class RecordingTest(ClientTestCase):
    time_limit = 120

    def test_frames_of_the_recording_are_kept_as_sent_until_the_server_hangs_up(self):
        scenario = Scenario(on={(1, 7): [Frame(enter_game()), Frame(start_recording()),
                                         Pause(0.5), Frame(SILENT_MESSAGE), Pause(0.5), Close()]})
        server = FakeServer(scenario).start()
        self.addCleanup(server.stop)
        folder = self.run_folder()
        folder.write("data/" + config.FILE_NAME,
                     config.test_client_variant("127.0.0.1", server.port, "tester", "secret", 0).file)
        client = self.start_client(folder)

        def stopped():
            path = folder.file(RECORDINGS)
            return path.exists() and path.stat().st_size >= 4 and folder.read(RECORDINGS)[:4] != bytes(4)

        deadline = time.monotonic() + 60
        while not stopped() and time.monotonic() < deadline:
            time.sleep(0.1)
        self.assertTrue(stopped(), "no stopped recording; transcript: %s" % server.transcript.events)
        self.assertTrue(client.running())

        data = folder.read(RECORDINGS)
        blocks = read_blocks(data)
        self.assertEqual(len(blocks), 1)
        block = blocks[0]
        self.assertEqual(block.length, len(data))
        revisions = sum(struct.unpack("<I", folder.read("data/" + name)[:4])[0] for name in DATA_FILES)
        self.assertEqual((block.version, block.data_version), (CLIENT_VERSION, revisions & 0xFFFFFFFF))
        self.assertEqual(len(block.thumbnail), 190 * 150 * 4)
        self.assertLessEqual(block.start, block.stop)

        # The frame sent after the start, enciphered as it went over the wire; the start's own
        # frame came before the recording.
        sent = [f for f in server.transcript.of("server_frame") if f["ops"] == [SILENT_MESSAGE[0]]]
        self.assertEqual(len(sent), 1)
        self.assertTrue(sent[0]["encrypted"])
        self.assertEqual([(kind, frame.hex()) for _, kind, frame in block.records],
                         [(RECEIVED_FRAME, sent[0]["data"])])
        elapsed = block.records[0][0]
        self.assertTrue(300 <= elapsed <= block.stop - block.start, elapsed)


if __name__ == "__main__":
    unittest.main()
