#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The program's main job without a plotter: installs what is missing, builds a release,
# starts the plotter simulator on 127.0.0.1, prepares a demo installation directory whose
# Inkvale.ini points at it, with the sample markers of samples/ in its manual folder, and
# prints samples/marker.plt (or the marker given) through the same engine the program uses.
# The simulator's printed sheet is left as a PNG next to the render of the same marker; the
# last line printed names both.
#
# With a display (DISPLAY or WAYLAND_DISPLAY set), or with --gui, it starts the desktop program
# instead, on the same simulator and demo folders: its settings file is the one beside the
# built executable, written afresh with the simulator's address. --headless forces the print.
#
#   bash scripts/demo.sh [--gui | --headless] [MARKER]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
gui=-1
sample="$top/samples/marker.plt"
for arg in "$@"; do
    case "$arg" in
    --gui) gui=1 ;;
    --headless) gui=0 ;;
    -*)
        echo "usage: bash scripts/demo.sh [--gui | --headless] [MARKER]" >&2
        exit 2
        ;;
    *) sample=$(realpath "$arg") ;;
    esac
done
if ((gui < 0)); then
    gui=0
    [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]] && gui=1
fi
if ((gui)) && [[ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]]; then
    echo "demo.sh --gui needs a display (DISPLAY or WAYLAND_DISPLAY); try: xvfb-run bash scripts/demo.sh --gui" >&2
    exit 2
fi
if [[ ! -f "$sample" ]]; then
    echo "demo.sh: no marker $sample" >&2
    exit 2
fi
cd "$top"

bash scripts/setup.sh
cmake --preset release >/dev/null
targets=(inkvale-cli inkvale-plotter-sim)
((gui)) && targets+=(inkvale)
cmake --build --preset release --target "${targets[@]}"

bin="$top/build/release"
demo="$top/build/demo"
rm -rf "$demo" && mkdir -p "$demo/manual" "$demo/auto" "$demo/backup"
# 127.0.0.1 as the machine stores it (first octet in the lowest byte); automatic mode ready;
# the folders take DXF drawings as well as HP-GL; a drawing wider than the roll (such as
# samples/marker-wide.plt) is split into roll-width strips with cut marks when it is loaded.
cat > "$demo/Inkvale.ini" <<INI
[Para]
MachineIP=16777343
CommuVia=0
AutoStartEnable=1
SplitEn=1
PrtFileExtension=*.plt;*.hpg;*.dxf;
ManDir=$demo/manual/
AutoDir=$demo/auto/
BackupDir=$demo/backup/
INI

cp "$top"/samples/*.plt "$top"/samples/*.dxf "$demo/manual/"
sheet="$demo/printed-sheet.png"
render="$demo/render.png"

"$bin/tools/sim/inkvale-plotter-sim" --listen 127.0.0.1 --sheet "$sheet" --quiet &
sim=$!
trap 'kill "$sim" 2>/dev/null || true; wait "$sim" 2>/dev/null || true' EXIT
sleep 0.5

if ((gui)); then
    # The program's installation directory is its executable's (writable in a build folder).
    cp "$demo/Inkvale.ini" "$bin/src/app/Inkvale.ini"
    echo "The simulated plotter listens on 127.0.0.1; the manual folder holds the sample markers."
    echo "Printed sheets go to $sheet. Close the window to end the demo."
    "$bin/src/app/inkvale"
    exit 0
fi

export QT_QPA_PLATFORM=offscreen
echo "Printing $sample on the simulated plotter at 127.0.0.1 ..."
"$bin/tools/cli/inkvale-cli" --home "$demo" print "$sample"
"$bin/tools/cli/inkvale-cli" --home "$demo" render "$sample" -o "$render" >/dev/null
# The simulator says goodbye on stderr when it ends; ended here, it does not follow the
# last line.
kill "$sim" 2>/dev/null || true
wait "$sim" 2>/dev/null || true
trap - EXIT

if command -v compare >/dev/null &&
    [[ $(compare -metric AE "$sheet" "$render" null: 2>&1) == 0 ]]; then
    echo "The printed sheet is identical, pixel for pixel, to the render of the same marker."
fi
echo "Printed sheet: $sheet (render of the same marker: $render)"
