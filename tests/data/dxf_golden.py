#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the golden records of the DXF corpus from an independent reader (Debian's
python3-ezdxf): for each file its extent in drawing units (X, then Y) over the model space
as ezdxf sees it, and its entity counts by type.

usage: tests/data/dxf_golden.py > tests/data/dxf_golden.txt

Only needed to make the records again; the tests read the text file. Lines:
FILE X_EXTENT Y_EXTENT TYPE=COUNT,TYPE=COUNT...   ("-" for an empty model space)
"""

import collections
import os
import sys

import ezdxf
from ezdxf import bbox, recover

HERE = os.path.dirname(os.path.abspath(__file__))
CORPUS = os.path.join(HERE, "corpus", "dxf")
# What the reference draws as well as we do: points and attribute templates count in its
# extents but are no ink on a marker.
NOT_INK = {"POINT", "ATTDEF", "VIEWPORT"}


def record(path):
    doc, _ = recover.readfile(path)
    msp = doc.modelspace()
    counts = collections.Counter(e.dxftype() for e in msp)
    ink = [e for e in msp if e.dxftype() not in NOT_INK]
    box = bbox.extents(ink, fast=True)
    if not box.has_data:
        return "-", "-", counts
    return f"{box.size.x:.3f}", f"{box.size.y:.3f}", counts


def main():
    print(f"# ezdxf {ezdxf.__version__}: file, X extent, Y extent (drawing units), entities")
    for name in sorted(os.listdir(CORPUS)):
        try:
            x, y, counts = record(os.path.join(CORPUS, name))
        except Exception as e:  # a file the reference cannot read has no record
            print(f"# {name}: {e}", file=sys.stderr)
            continue
        entities = ",".join(f"{k}={v}" for k, v in sorted(counts.items())) or "-"
        print(f"{name} {x} {y} {entities}")


main()
