#!/usr/bin/python3
"""Writes a complete sample data/ folder into OUTDIR: every module of this package that has a
write_sample(data_dir) function writes its file there.

usage: generate.py OUTDIR
"""
import importlib
import pkgutil
import sys
from pathlib import Path

PACKAGE_DIR = Path(__file__).resolve().parent


def writers():
    """The data-file modules of the package, in name order."""
    modules = (importlib.import_module(f"datagen.{info.name}")
               for info in pkgutil.iter_modules([str(PACKAGE_DIR)])
               if info.name != "generate")
    return [module for module in modules if hasattr(module, "write_sample")]


def generate(out_dir):
    """Fills out_dir/data with the sample files and returns that folder."""
    data_dir = Path(out_dir) / "data"
    data_dir.mkdir(parents=True, exist_ok=True)
    for module in writers():
        module.write_sample(data_dir)
    return data_dir


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__.strip())
    sys.path.insert(0, str(PACKAGE_DIR.parent))
    generate(sys.argv[1])
