#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the golden records of the DXF corpus from an independent reader (Debian's
python3-ezdxf): for each file the extent, in drawing units (X, then Y), of the entities that
draw ink on a marker, with the blocks placed as ezdxf places them, and the file's model-space
entity counts by type.

usage: tests/data/dxf_golden.py > tests/data/dxf_golden.txt

Only needed to make the records again; the tests read the text file. The extent leaves out
texts (their width depends on the font: ezdxf estimates it, we draw stroke glyphs), points
(a plotter draws no ink for them) and what neither draws (hatches, images, 3D entities,
dimensions), and entities on layers that are off or frozen. Lines:
FILE X_EXTENT Y_EXTENT TYPE=COUNT,TYPE=COUNT...   ("-" for no extent)
"""

import collections
import os
import sys

import ezdxf
from ezdxf import bbox, recover

HERE = os.path.dirname(os.path.abspath(__file__))
CORPUS = os.path.join(HERE, "corpus", "dxf")
DRAWN = {"LINE", "CIRCLE", "ARC", "ELLIPSE", "SPLINE", "LWPOLYLINE", "POLYLINE", "SOLID",
         "TRACE"}
MAX_DEPTH = 32


def hidden(doc, entity):
    layer = doc.layers.get(entity.dxf.layer) if doc.layers.has_entry(entity.dxf.layer) else None
    return layer is not None and (layer.is_off() or layer.is_frozen())


def ink(doc, entities, depth=0):
    for e in entities:
        kind = e.dxftype()
        if hidden(doc, e):
            continue
        if kind == "INSERT" and depth < MAX_DEPTH:
            if e.dxf.name.lower().startswith("*paper_space"):
                continue
            inserts = e.multi_insert() if e.mcount > 1 else [e]
            for one in inserts:
                yield from ink(doc, one.virtual_entities(), depth + 1)
        elif kind == "POLYLINE" and (e.is_poly_face_mesh or e.is_polygon_mesh):
            continue
        elif kind in DRAWN:
            yield e


def record(path):
    doc, _ = recover.readfile(path)
    msp = doc.modelspace()
    counts = collections.Counter(e.dxftype() for e in msp)
    box = bbox.extents(ink(doc, msp), fast=True)
    if not box.has_data:
        return "-", "-", counts
    return f"{box.size.x:.3f}", f"{box.size.y:.3f}", counts


def main():
    print(f"# ezdxf {ezdxf.__version__}: file, X extent, Y extent (drawing units), entities")
    for name in sorted(os.listdir(CORPUS)):
        try:
            x, y, counts = record(os.path.join(CORPUS, name))
        except Exception as e:  # a file the reference cannot read has no record
            print(f"# {name}: not read ({e})")
            continue
        entities = ",".join(f"{k}={v}" for k, v in sorted(counts.items())) or "-"
        print(f"{name} {x} {y} {entities}")


main()
