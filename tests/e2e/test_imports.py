"""Every program the build makes is linked statically: it imports only DLLs that Windows
itself provides (those of the Wine prefix's system folder), no MinGW runtime."""
import os
import re
import subprocess
import unittest
from pathlib import Path

BUILD = Path(os.environ["VELTOR_EXE"]).parent
SYSTEM = Path(os.environ["WINEPREFIX"]) / "drive_c/windows/system32"


def imported_dlls(exe):
    objdump = os.environ.get("VELTOR_ARCH", "i686") + "-w64-mingw32-objdump"
    dump = subprocess.run([objdump, "-p", str(exe)], capture_output=True,
                          text=True, check=True, timeout=60).stdout
    return re.findall(r"DLL Name: (\S+)", dump)


class ImportsTest(unittest.TestCase):
    def test_programs_import_only_system_dlls(self):
        system_dlls = {path.name.lower() for path in SYSTEM.glob("*.dll")}
        self.assertIn("kernel32.dll", system_dlls)
        programs = [exe for exe in BUILD.rglob("*.exe") if "CMakeFiles" not in exe.parts]
        self.assertIn(BUILD / "Veltor.exe", programs)
        for exe in programs:
            with self.subTest(program=exe.name):
                dlls = imported_dlls(exe)
                self.assertIn("KERNEL32.dll", dlls)
                self.assertEqual([dll for dll in dlls if dll.lower() not in system_dlls], [])

    def test_the_client_loads_direct3d_9_at_run_time(self):
        # So it starts where Direct3D 9 is missing, and OpenGL takes over.
        dlls = [dll.lower() for dll in imported_dlls(BUILD / "Veltor.exe")]
        self.assertNotIn("d3d9.dll", dlls)


if __name__ == "__main__":
    unittest.main()
