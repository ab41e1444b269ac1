#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Times the HP-GL reader on a 30 MB garment marker (bench/marker_gen hpgl: 2 m wide, one
# polyline a line, a label every 40 polylines): the whole `inkvale-cli curves` process next
# to hp2xx reading the same file in one run, both peak memories, and ours against the vertex
# data it ends up with. With --gbench, the Google Benchmark of Read, ToCurves and CleanCurves
# runs first.
#
#   bench/hpgl_vs_hp2xx.sh [BUILD_DIR] [MB] [--gbench]   (BUILD_DIR: a Release build with benchmarks)
set -eu
BUILD=${1:-build/release}
MB=${2:-30}
GBENCH=${3:-}
RUNS=5
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

"$BUILD/bench/marker_gen" hpgl "$WORK/marker.plt" "$MB"
# A private installation directory whose settings never name a real machine.
printf '[Para]\nMachineIP=16777343\n' > "$WORK/Inkvale.ini"

if [ "$GBENCH" = --gbench ]; then
    INKVALE_BENCH_HPGL="$WORK/marker.plt" "$BUILD/bench/bench_hpgl"
fi

# Best of RUNS, as CPU seconds (user + system: the machine may be shared) and wall seconds.
best() {
    out=$1; shift
    best_cpu=999999; best_wall=999999; peak=0
    i=0
    while [ $i -lt $RUNS ]; do
        /usr/bin/time -f '%U %S %e %M' -o "$WORK/time" "$@" > "$out" 2>/dev/null
        read -r user sys wall rss < "$WORK/time"
        cpu=$(echo "$user + $sys" | bc)
        best_cpu=$(echo "if ($cpu < $best_cpu) $cpu else $best_cpu" | bc)
        best_wall=$(echo "if ($wall < $best_wall) $wall else $best_wall" | bc)
        [ "$rss" -gt "$peak" ] && peak=$rss
        i=$((i + 1))
    done
    echo "$best_cpu $best_wall $peak"
}

set -- $(best "$WORK/curves.txt" "$BUILD/tools/cli/inkvale-cli" --home "$WORK" curves "$WORK/marker.plt")
cli_cpu=$1; cli_wall=$2; cli_rss=$3
set -- $(best /dev/null hp2xx -q -m pcl -f /dev/null "$WORK/marker.plt")
hp_cpu=$1; hp_wall=$2; hp_rss=$3

bytes=$(stat -c %s "$WORK/marker.plt")
curves=$(head -n 1 "$WORK/curves.txt")
vertices=$(tail -n +2 "$WORK/curves.txt" | tr -cd ',' | wc -c)
echo
echo "load: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "marker: $bytes bytes, $curves, $vertices vertices"
echo "inkvale-cli curves: ${cli_cpu}s CPU, ${cli_wall}s wall, peak ${cli_rss} KiB"
echo "hp2xx -m pcl:       ${hp_cpu}s CPU, ${hp_wall}s wall, peak ${hp_rss} KiB"
echo "speed ratio (hp2xx / inkvale-cli): CPU $(echo "scale=2; $hp_cpu / $cli_cpu" | bc)," \
     "wall $(echo "scale=2; $hp_wall / $cli_wall" | bc)"
echo "peak memory / vertex data (8 bytes a vertex): " \
     "$(echo "scale=2; $cli_rss * 1024 / ($vertices * 8)" | bc)"
