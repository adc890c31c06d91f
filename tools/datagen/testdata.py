#!/usr/bin/env python3
"""Writes the data the client's unit tests load besides the sample: testdata.py OUTDIR. Each
module listed writes its cases with write_cases(OUTDIR)."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

from datagen import bookcases, mapcases, questcases, spells, spritecases, worldcases  # noqa: E402

CASE_WRITERS = [questcases, spritecases, spells, mapcases, worldcases, bookcases]


def main(out_dir):
    os.makedirs(out_dir, exist_ok=True)
    for writer in CASE_WRITERS:
        writer.write_cases(out_dir)


if __name__ == '__main__':
    main(sys.argv[1])
