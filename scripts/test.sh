#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds the developer preset and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --preset dev >/dev/null
cmake --build --preset dev
export QT_QPA_PLATFORM=offscreen
ctest --preset dev -j2
