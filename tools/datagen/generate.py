#!/usr/bin/env python3
"""Writes a complete sample data folder: generate.py OUTDIR fills OUTDIR/data."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

from datagen import sprites  # noqa: E402

WRITERS = [sprites]


def main(out_dir):
    data_dir = os.path.join(out_dir, 'data')
    os.makedirs(data_dir, exist_ok=True)
    for writer in WRITERS:
        writer.write_sample(data_dir)


if __name__ == '__main__':
    main(sys.argv[1])
