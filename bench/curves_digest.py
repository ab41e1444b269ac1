#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Prints, or checks, what `inkvale-cli curves` makes of every corpus file and of the
generated garment markers: curve count, vertex count, extents and a SHA-256 of the whole
output, under three roll settings (the default 2.1 m roll, a 3 m roll, and a 0.5 m roll
with splitting on). A change meant to make loading faster must leave every line as it was.

usage: bench/curves_digest.py BUILD_DIR [--check FILE] [--no-markers]

BUILD_DIR holds tools/cli/inkvale-cli and (unless --no-markers) bench/marker_gen.
With --check, the lines are compared with FILE and the differences printed; the exit
status is 1 when any differ.
"""

import argparse
import glob
import hashlib
import os
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
ROLLS = {
    "roll2100": "",
    "roll3000": "PaperLenMm=3000\n",
    "split500": "PaperLenMm=500\nSplitEn=1\nAutoRotate=0\n",
}


def digest(cli, home, path):
    out = subprocess.run([cli, "--home", home, "curves", path], stdout=subprocess.PIPE,
                         stderr=subprocess.DEVNULL).stdout
    lines = out.split(b"\n")
    if not lines[0].startswith(b"curves "):
        return f"fails sha={hashlib.sha256(out).hexdigest()[:16]}"
    vertices = 0
    box = [None, None, None, None]
    for line in lines[1:]:
        for pair in line.split()[2:]:
            x, y = (int(v) for v in pair.split(b","))
            vertices += 1
            if box[0] is None:
                box = [x, y, x, y]
            else:
                box = [min(box[0], x), min(box[1], y), max(box[2], x), max(box[3], y)]
    count = lines[0].split()[1].decode()
    extent = ",".join(str(v) for v in box)
    return f"{count} curves {vertices} vertices box {extent} sha={hashlib.sha256(out).hexdigest()[:16]}"


def inputs(build, work, markers):
    files = sorted(glob.glob(os.path.join(ROOT, "tests/data/corpus/*/*")))
    named = [(os.path.relpath(f, ROOT), f) for f in files]
    if markers:
        gen = os.path.join(build, "bench/marker_gen")
        for kind, name in (("hpgl", "marker.plt"), ("dxf", "marker.dxf")):
            path = os.path.join(work, name)
            subprocess.run([gen, kind, path], check=True, stderr=subprocess.DEVNULL)
            named.append((f"marker_gen {kind}", path))
    return named


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build")
    parser.add_argument("--check")
    parser.add_argument("--no-markers", action="store_true")
    args = parser.parse_args()
    cli = os.path.join(args.build, "tools/cli/inkvale-cli")
    result = []
    with tempfile.TemporaryDirectory(prefix="inkvale-digest-") as work:
        named = inputs(args.build, work, not args.no_markers)
        for roll, extra in ROLLS.items():
            home = os.path.join(work, roll)
            os.mkdir(home)
            with open(os.path.join(home, "Inkvale.ini"), "w", encoding="utf-8") as ini:
                ini.write("[Para]\nMachineIP=16777343\nDxfUnit=40\n" + extra)
            for name, path in named:
                result.append(f"{roll} {name}: {digest(cli, home, path)}")
    if not args.check:
        print("\n".join(result))
        return 0
    with open(args.check, encoding="utf-8") as f:
        expected = [line for line in f.read().splitlines()
                    if not args.no_markers or "marker_gen" not in line]
    differ = [f"- {e}\n+ {r}" for e, r in zip(expected, result) if e != r]
    if len(expected) != len(result):
        differ.append(f"{len(expected)} lines expected, {len(result)} made")
    print("\n".join(differ) if differ else f"{len(result)} loads as before")
    return 1 if differ else 0


if __name__ == "__main__":
    sys.exit(main())
