#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Times `inkvale-cli curves` against the dxflib-based reader on one generated DXF.

usage: bench/dxf_compare.py [BUILD_DIR] [--mb N] [--runs N]

BUILD_DIR is a release build with -DINKVALE_BUILD_BENCH=ON (default build/dxf-rel); it
must hold tools/cli/inkvale-cli, bench/bench_dxf (writes the input) and
bench/dxflib_curves. Both programs print the same curve format to a pipe that is thrown
away. Each is run --runs times; the best wall-clock and CPU (user + system) times count,
and the ratio dxflib / inkvale is printed for both (CPU time is the fairer figure on a
busy machine).
"""

import argparse
import os
import subprocess
import sys
import tempfile
import time


def run_once(argv):
    """Wall-clock and CPU seconds of one run, and the first output line."""
    start = time.perf_counter()
    proc = subprocess.Popen(argv, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    first = proc.stdout.readline().decode(errors="replace").strip()
    for _ in iter(lambda: proc.stdout.read(1 << 20), b""):
        pass
    _, status, usage = os.wait4(proc.pid, 0)
    wall = time.perf_counter() - start
    proc.returncode = os.waitstatus_to_exitcode(status)
    if proc.returncode != 0:
        sys.exit(f"{argv[0]} failed ({proc.returncode}): {proc.stderr.read().decode()}")
    return wall, usage.ru_utime + usage.ru_stime, first


def best_of(argv, runs):
    results = [run_once(argv) for _ in range(runs)]
    return min(r[0] for r in results), min(r[1] for r in results), results[0][2]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build", nargs="?", default="build/dxf-rel")
    parser.add_argument("--mb", type=int, default=20)
    parser.add_argument("--runs", type=int, default=5)
    args = parser.parse_args()

    cli = os.path.join(args.build, "tools/cli/inkvale-cli")
    gen = os.path.join(args.build, "bench/bench_dxf")
    ref = os.path.join(args.build, "bench/dxflib_curves")
    with tempfile.TemporaryDirectory(prefix="inkvale-dxf-compare-") as home:
        # The settings of this run: a loopback machine address, millimetre drawings.
        with open(os.path.join(home, "Inkvale.ini"), "w", encoding="utf-8") as ini:
            ini.write("[Para]\nMachineIP=16777343\nDxfUnit=40\nPaperLenMm=2100\n")
        dxf = os.path.join(home, "marker.dxf")
        subprocess.run([gen, f"--write-dxf={dxf}", f"--mb={args.mb}"], check=True)
        size_mb = os.path.getsize(dxf) / 1e6

        ink_wall, ink_cpu, ink_first = best_of([cli, "--home", home, "curves", dxf], args.runs)
        ref_wall, ref_cpu, ref_first = best_of([ref, dxf], args.runs)

    print(f"input            {size_mb:.1f} MB generated DXF")
    print(f"inkvale-cli      wall {ink_wall * 1000:7.1f} ms  cpu {ink_cpu * 1000:7.1f} ms"
          f"  ({size_mb / ink_cpu:.0f} MB/s cpu)  {ink_first}")
    print(f"dxflib_curves    wall {ref_wall * 1000:7.1f} ms  cpu {ref_cpu * 1000:7.1f} ms"
          f"  ({size_mb / ref_cpu:.0f} MB/s cpu)  {ref_first}")
    print(f"ratio dxflib/inkvale  wall {ref_wall / ink_wall:.2f}x  cpu {ref_cpu / ink_cpu:.2f}x")


if __name__ == "__main__":
    main()
