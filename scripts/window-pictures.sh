#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Pictures of the main window while a job prints on the plotter simulator (loopback), for
# docs/screens.md: English, Russian and Chinese on a 1366 x 768 screen, and English with
# QT_SCALE_FACTOR=2 on a 2732 x 1536 one. Qt's off-screen platform stands in for the screens
# (tests/data/screens/); WindowPicturesTest of test_ui does the operator's part.
#
#   bash scripts/window-pictures.sh [OUT_DIR [BUILD_DIR]]   (default: docs/ and build/dev)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
out=$(mkdir -p "${1:-$top/docs}" && cd "${1:-$top/docs}" && pwd)
build=$(realpath "${2:-$top/build/dev}")
test_ui="$build/tests/test_ui"
screens="$top/tests/data/screens"
if [[ ! -x "$test_ui" ]]; then
    echo "window-pictures.sh: no $test_ui; build it first: cmake --build --preset dev --target test_ui" >&2
    exit 2
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -m 700 "$work/runtime"
export INKVALE_WINDOW_PICTURES="$out" XDG_RUNTIME_DIR="$work/runtime"

QT_QPA_PLATFORM="offscreen:configfile=$screens/1366x768.json" \
    "$test_ui" --gtest_filter='Languages/WindowPicturesTest.*'
QT_QPA_PLATFORM="offscreen:configfile=$screens/2732x1536.json" QT_SCALE_FACTOR=2 \
    "$test_ui" --gtest_filter='Languages/WindowPicturesTest.*/en'
ls -l "$out"/window-*.png
