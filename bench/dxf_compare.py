#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Times `inkvale-cli curves` against dxflib on one generated garment DXF, in one run.

usage: bench/dxf_compare.py [BUILD_DIR] [--mb N] [--runs N]

BUILD_DIR is a release build with -DINKVALE_BUILD_BENCH=ON (default build/release); it must
hold tools/cli/inkvale-cli, bench/marker_gen (writes the AAMA-style marker, 2.2 m wide) and
bench/dxflib_curves. Two rows: the marker on a 3 m roll (it fits: no split) and on the
default 2.1 m roll (the load folds it into strips). The peer is dxflib's DL_Dxf::in with an
interface that keeps nothing (dxflib_curves --parse-only). Each program runs --runs times;
the best CPU (user + system, the fair figure on a shared machine) and wall times count, and
the peak memory of our process is set against the vertex data of its result (8 bytes a
vertex).
"""

import argparse
import os
import subprocess
import sys
import tempfile
import time


def run_once(argv):
    """Wall seconds, CPU seconds, peak RSS in bytes and the output's curve and vertex counts."""
    start = time.perf_counter()
    proc = subprocess.Popen(argv, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    first = proc.stdout.readline().decode(errors="replace").strip()
    vertices = 0
    for chunk in iter(lambda: proc.stdout.read(1 << 20), b""):
        vertices += chunk.count(b",")
    _, status, usage = os.wait4(proc.pid, 0)
    wall = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit(f"{argv[0]} failed: {proc.stderr.read().decode()}")
    return wall, usage.ru_utime + usage.ru_stime, usage.ru_maxrss * 1024, first, vertices


def best_of(argv, runs):
    results = [run_once(argv) for _ in range(runs)]
    return (min(r[0] for r in results), min(r[1] for r in results),
            max(r[2] for r in results), results[0][3], results[0][4])


def home_with(root, name, roll_mm):
    home = os.path.join(root, name)
    os.mkdir(home)
    with open(os.path.join(home, "Inkvale.ini"), "w", encoding="utf-8") as ini:
        # A loopback machine address, millimetre drawings, the roll width of the row.
        ini.write(f"[Para]\nMachineIP=16777343\nDxfUnit=40\nPaperLenMm={roll_mm}\n")
    return home


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build", nargs="?", default="build/release")
    parser.add_argument("--mb", type=int, default=20)
    parser.add_argument("--runs", type=int, default=5)
    args = parser.parse_args()

    cli = os.path.join(args.build, "tools/cli/inkvale-cli")
    gen = os.path.join(args.build, "bench/marker_gen")
    ref = os.path.join(args.build, "bench/dxflib_curves")
    with tempfile.TemporaryDirectory(prefix="inkvale-dxf-compare-") as root:
        dxf = os.path.join(root, "marker.dxf")
        made = subprocess.run([gen, "dxf", dxf, str(args.mb)], check=True,
                              stderr=subprocess.PIPE).stderr.decode().strip()
        size_mb = os.path.getsize(dxf) / 1e6
        rows = {"fits a 3 m roll": home_with(root, "fit", 3000),
                "wider than the 2.1 m roll": home_with(root, "wide", 2100)}
        ref_wall, ref_cpu, ref_rss, _, _ = best_of([ref, "--parse-only", dxf], args.runs)
        ours = {name: best_of([cli, "--home", home, "curves", dxf], args.runs)
                for name, home in rows.items()}

    print(f"input: {size_mb:.1f} MB DXF ({made}); load {os.getloadavg()}")
    print(f"dxflib DL_Dxf::in      cpu {ref_cpu:6.3f} s  wall {ref_wall:6.3f} s"
          f"  peak {ref_rss / 2**20:6.1f} MiB")
    for name, (wall, cpu, rss, first, vertices) in ours.items():
        print(f"inkvale-cli, {name:26} cpu {cpu:6.3f} s  wall {wall:6.3f} s"
              f"  peak {rss / 2**20:6.1f} MiB = {rss / (8 * vertices):4.2f}x vertex data"
              f"  ({first}, {vertices} vertices)")
        print(f"    ratio dxflib / inkvale: cpu {ref_cpu / cpu:5.2f}x  wall {ref_wall / wall:5.2f}x")
    fit, wide = ours.values()
    print(f"wide / fitting: cpu {wide[1] / fit[1]:4.2f}x  wall {wide[0] / fit[0]:4.2f}x")


if __name__ == "__main__":
    main()
