#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draws what the reference reader (Debian's python3-ezdxf) makes of a DXF file as an SVG,
for pictures set beside `inkvale-cli preview`: the same entities as the golden records
(dxf_golden.py: blocks placed by ezdxf, hidden layers and texts left out), flattened to
0.05 drawing units, in black on white, Y up.

usage: tests/data/dxf_reference_svg.py FILE.dxf OUT.svg [WIDTH_PX]
"""

import importlib.util
import os
import sys

from ezdxf import path, recover

HERE = os.path.dirname(os.path.abspath(__file__))
spec = importlib.util.spec_from_file_location("golden", os.path.join(HERE, "dxf_golden.py"))


def ink_entities(doc):
    # dxf_golden.py runs its main on import; take its walk without running it.
    source = open(os.path.join(HERE, "dxf_golden.py")).read().replace("\nmain()\n", "\n")
    scope = {"__file__": os.path.join(HERE, "dxf_golden.py")}
    exec(compile(source, "dxf_golden.py", "exec"), scope)
    return scope["ink"](doc, doc.modelspace())


def main():
    src, out = sys.argv[1], sys.argv[2]
    width = int(sys.argv[3]) if len(sys.argv) > 3 else 1200
    doc, _ = recover.readfile(src)
    polylines = []
    for e in ink_entities(doc):
        try:
            p = path.make_path(e)
        except TypeError:
            continue
        for sub in p.sub_paths():
            pts = [(v.x, v.y) for v in sub.flattening(0.05)]
            if len(pts) > 1:
                polylines.append(pts)
    xs = [x for pl in polylines for x, _ in pl]
    ys = [y for pl in polylines for _, y in pl]
    x0, x1, y0, y1 = min(xs), max(xs), min(ys), max(ys)
    scale = (width - 20) / max(x1 - x0, 1e-9)
    height = int((y1 - y0) * scale) + 20
    with open(out, "w") as f:
        f.write(f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}" height="{height}">\n')
        f.write(f'<rect width="{width}" height="{height}" fill="white"/>\n')
        for pl in polylines:
            d = " ".join(f"{10 + (x - x0) * scale:.2f},{height - 10 - (y - y0) * scale:.2f}"
                         for x, y in pl)
            f.write(f'<polyline points="{d}" fill="none" stroke="black" stroke-width="1"/>\n')
        f.write("</svg>\n")


main()
