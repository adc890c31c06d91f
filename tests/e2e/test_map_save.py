"""The explored-area save the client writes, read by the tools' own reader: one session of the map
driver (run by the client's unit-test program on data the tools wrote) must leave every account
of the old save carried onto the world rectangle and the player's account revealed by the reveal
and light rules, each record enciphered under its account key with its tail plain."""
import os
import tempfile
import unittest
from pathlib import Path

from datagen import mapcases, maps
from harness import ClientTestCase, session
from harness.commands import run

SCENARIO_TEST = "MapDriverTest.SessionScenarioSaveReadsBack"


def unit_test_program():
    build = Path(os.environ["VELTOR_EXE"]).parent if "VELTOR_EXE" in os.environ else \
        Path(os.environ.get("BUILD_DIR") or Path(__file__).resolve().parents[2] / "build")
    return build / "tests" / "test_source.exe"


def expected_records():
    """The save after the scenario, worked out from its moves."""
    world = maps.WORLD_RECT
    width, height = maps.rect_size(world)
    records = [maps.SaveRecord(r.account_id, world, maps.carry_over(r.rect, r.mask, world))
               for r in mapcases.scenario_save()]
    mask, light, account = bytearray([maps.UNEXPLORED] * width * height), 0, None
    for move in mapcases.scenario_moves():
        if move[0] == "account":
            account = move[1]
        elif move[0] == "light":
            light = move[1]
        elif (light & 127) % 9 <= 3:
            x, y = move[-3:-1] if move[0] == "select" else move[-2:]
            maps.reveal(mask, width, height, x - world[0], y - world[1])
    return records + [maps.SaveRecord(account, world, bytes(mask))]


class MapSaveTest(ClientTestCase):
    time_limit = 120

    def test_the_client_save_reads_back_with_the_tools_reader(self):
        folder = tempfile.TemporaryDirectory(prefix="veltor-mapsave-")
        self.addCleanup(folder.cleanup)
        mapcases.write_scenario(folder.name)
        env = dict(session().env, VELTOR_MAPSAVE_DIR="Z:" + folder.name)
        output = run(["wine", str(unit_test_program()), "--gtest_filter=" + SCENARIO_TEST], env,
                     timeout=100, check=False)
        written = Path(folder.name) / "written.game"
        self.assertIn("[  PASSED  ] 1 test", output, output)
        self.assertTrue(written.exists(), output)

        data = written.read_bytes()
        records = maps.read_save(data)
        expected = expected_records()
        self.assertEqual([r.account_id for r in records], [r.account_id for r in expected])
        for got, want in zip(records, expected):
            with self.subTest(account=got.account_id):
                self.assertEqual(got.rect, want.rect)
                self.assertTrue(got.mask == want.mask, "masks differ at %d cells" % sum(
                    a != b for a, b in zip(got.mask, want.mask)))

        # Each record is 41 bytes and the mask; the bytes past its last whole block are plain.
        _, entries = maps.read_directory(data, "I")
        for _, offset, end in entries:
            length = end - offset
            self.assertEqual(length, 41 + len(expected[0].mask))
            self.assertEqual(data[end - length % 8:end], bytes(length % 8))


if __name__ == "__main__":
    unittest.main()
