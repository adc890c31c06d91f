#!/usr/bin/env python3
"""Writes the client's sample data files into OUTDIR/data: every module of this package that has
a write_sample(data_dir) function writes its file."""
import importlib
import os
import pkgutil
import sys

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def writers():
    import datagen
    for info in sorted(pkgutil.iter_modules(datagen.__path__), key=lambda m: m.name):
        module = importlib.import_module('datagen.' + info.name)
        if hasattr(module, 'write_sample'):
            yield module


def main(out_dir):
    data_dir = os.path.join(out_dir, 'data')
    os.makedirs(data_dir, exist_ok=True)
    for module in writers():
        module.write_sample(data_dir)


if __name__ == '__main__':
    main(sys.argv[1])
