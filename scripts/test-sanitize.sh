#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the program and its tests under AddressSanitizer and UndefinedBehaviorSanitizer
# and runs the core tests, and of the window's tests those in which a task leaves the
# lists while a dialog is open and the one whose drawings are read on a thread of their own
# (the rest of the window's tests run in scripts/test.sh). The interruption harness prints
# through separate programs for a minute or more, and the print-time test measures the host's
# own pace, which a sanitizer slows down; scripts/test.sh runs both, and the engine's own
# resume tests run here.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --preset asan >/dev/null
cmake --build --preset asan
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS="suppressions=$(pwd)/scripts/lsan.supp"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --preset asan -j2 -LE '^ui$' -E 'ResumeHarness|PrintTimeModel'
ctest --preset asan -L '^ui$' -R '^(DialogWhileJobEndsTest\.|MainWindowEndToEndTest\.AddedFiles)'
