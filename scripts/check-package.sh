#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package once and checks it as a distribution would: lintian without
# errors or warnings, the AppStream metadata and the desktop entry valid, then installs it,
# asks the installed programs for their version and manual page, prints a sample through the
# installed simulator on loopback, and purges the package again. Needs root (apt-get).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
tools=(lintian appstream desktop-file-utils help2man man-db)
missing=()
for p in "${tools[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [[ ${#missing[@]} -gt 0 ]]; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake --preset package >/dev/null
cmake --build --preset package
(cd build/package && cpack >/dev/null)
deb=$(ls build/package/inkvale_*_amd64.deb)
echo "checking $deb"
lintian --fail-on error,warning "$deb"
appstreamcli validate --no-net packaging/org.inkvale.Inkvale.metainfo.xml
desktop-file-validate packaging/org.inkvale.Inkvale.desktop

export DEBIAN_FRONTEND=noninteractive
apt-get install -y -qq "./$deb" >/dev/null
trap 'apt-get purge -y -qq inkvale >/dev/null || true' EXIT
inkvale-cli --version
man -w inkvale-cli
work=$(mktemp -d)
# The simulator listens on a loopback address of its own; the installed program is told so.
printf '[Para]\nMachineIP=%s\nCommuVia=0\nPrintFileName=0\n' "$((127 + (7 << 24)))" > "$work/Inkvale.ini"
inkvale-plotter-sim --listen 127.0.0.7 --quiet --sheet "$work/sheet.png" --run-for 120000 &
sim=$!
sleep 0.5
QT_QPA_PLATFORM=offscreen timeout 120 inkvale-cli --home "$work" print samples/marker.dxf
kill "$sim" 2>/dev/null || true
wait "$sim" 2>/dev/null || true
test -s "$work/sheet.png"
rm -rf "$work"
echo "package checks passed"
