#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages the project builds, tests and runs with.
# Does nothing when they are all present; needs root (or sudo) otherwise.
set -euo pipefail

packages=(
    g++ cmake ninja-build pkg-config ccache
    qt6-base-dev qt6-qpa-plugins qt6-l10n-tools qt6-translations-l10n qt6-svg-dev libgl-dev
    libusb-dev libmicrohttpd-dev libcpp-httplib-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    fonts-wqy-zenhei fonts-arphic-ukai
    hershey-fonts-data unifont
    xvfb xauth
    chromium
)
# Extra tools for fuzzing and the comparison benchmarks, on request.
if [[ "${1:-}" == "--extras" ]]; then
    packages+=(clang libclang-rt-14-dev hp2xx libdxflib-dev imagemagick)
    # scripts/reader-pictures.sh: the reference renderings and the side-by-side pictures.
    packages+=(python3-ezdxf python3-pil librsvg2-bin)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=""
[[ $(id -u) -ne 0 ]] && sudo="sudo"
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
