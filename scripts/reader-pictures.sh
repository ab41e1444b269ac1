#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Pictures of what the readers make of six corpus files, each beside an independent reader's
# rendering of the same file: on the left `inkvale-cli preview` (paper frame, grid and the
# settings' pen colours, as the window's preview paints it), on the right hp2xx for HP-GL and
# ezdxf (tests/data/dxf_reference_svg.py: its own INSERT walk, texts left out) for DXF.
# The preview fits the roll's width into its height, so each file is previewed on a roll just
# as wide as its drawing (PaperLenMm from `inkvale-cli info`): a 50 mm drawing on the default
# 2.1 m roll would be a few pixels.
# Differences between the two are for a person to judge; nothing here compares pixels.
#
#   bash scripts/reader-pictures.sh OUT_DIR [BUILD_DIR]   (BUILD_DIR: default build/dev)
#
# Needs the Debian packages hp2xx, python3-ezdxf, python3-pil and librsvg2-bin (installed by
# `scripts/setup.sh --extras`); says which are missing otherwise. The build and the tests
# need none of them.
set -euo pipefail
if [[ $# -lt 1 || $# -gt 2 ]]; then
    echo "usage: bash scripts/reader-pictures.sh OUT_DIR [BUILD_DIR]" >&2
    exit 2
fi
top=$(cd "$(dirname "$0")/.." && pwd)
out=$(mkdir -p "$1" && cd "$1" && pwd)
build=$(realpath "${2:-$top/build/dev}")
cli="$build/tools/cli/inkvale-cli"
corpus="$top/tests/data/corpus"
python=/usr/bin/python3 # Debian's, where python3-ezdxf and python3-pil live
width=640               # of each half

missing=()
command -v hp2xx >/dev/null || missing+=(hp2xx)
command -v rsvg-convert >/dev/null || missing+=(librsvg2-bin)
"$python" -c "import ezdxf" 2>/dev/null || missing+=(python3-ezdxf)
"$python" -c "import PIL" 2>/dev/null || missing+=(python3-pil)
if [[ ${#missing[@]} -gt 0 ]]; then
    echo "reader-pictures.sh: missing Debian packages: ${missing[*]}" >&2
    echo "  install them with: apt-get install ${missing[*]}" >&2
    exit 2
fi
if [[ ! -x "$cli" ]]; then
    echo "reader-pictures.sh: no $cli; build it first: cmake --build --preset dev --target inkvale-cli" >&2
    exit 2
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -m 700 "$work/runtime"
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work/runtime"
hp2xx_version=$(hp2xx -h x 2>&1 </dev/null | sed -n 's/.*\(V [0-9.]*\) .*/\1/p' | head -n 1)
ezdxf_version=$("$python" -c "import ezdxf; print(ezdxf.__version__)")

# NAME FILE TITLE: one picture, OUT_DIR/reader-NAME.png.
picture() {
    local name=$1 file=$2 title=$3 ref="$work/$1-ref" caption roll
    # A private installation directory whose settings never name a real machine.
    printf '[Para]\nMachineIP=16777343\n' >"$work/Inkvale.ini"
    roll=$("$cli" --home "$work" info "$file" --json |
        "$python" -c 'import json, math, sys; print(math.ceil(json.load(sys.stdin)["width_mm"] * 1.02) + 1)')
    printf 'PaperLenMm=%s\n' "$roll" >>"$work/Inkvale.ini"
    "$cli" --home "$work" preview "$file" -o "$work/$name-inkvale.png" --width "$width" >/dev/null
    case "$file" in
    *.dxf | *.DXF)
        "$python" "$top/tests/data/dxf_reference_svg.py" "$file" "$ref.svg" "$width"
        caption="ezdxf $ezdxf_version"
        ;;
    *)
        # -N: the drawing's own extent, not the page PS asks for; pens 0.2 mm wide.
        hp2xx -q -N -p 22222222 -m svg -f "$ref.svg" "$file" </dev/null 2>/dev/null
        # A margin of 1 % around hp2xx's view box: lines on the drawing's edge (a plot's
        # frame) would otherwise be cut in half by it.
        "$python" -c '
import re, sys
path = sys.argv[1]
svg = open(path).read()
m = re.search(r"viewBox=\"0 0 ([0-9.]+) ([0-9.]+)\"", svg)
w, h = float(m.group(1)), float(m.group(2))
d = 0.01 * max(w, h)
svg = svg.replace(m.group(0), f"viewBox=\"{-d:.3f} {-d:.3f} {w + 2 * d:.3f} {h + 2 * d:.3f}\"", 1)
open(path, "w").write(svg)' "$ref.svg"
        caption="hp2xx ${hp2xx_version#V }"
        ;;
    esac
    rsvg-convert -w "$width" -b white -o "$ref.png" "$ref.svg"
    "$python" "$top/scripts/side_by_side.py" "$out/reader-$name.png" "$title" \
        "$work/$name-inkvale.png" "inkvale-cli preview" "$ref.png" "$caption"
    echo "$out/reader-$name.png"
}

picture aama "$corpus/dxf/astm-parser-drill-holes.DXF" \
    "AccuMark AAMA marker with drill holes and notches (astm-parser-drill-holes.DXF)"
picture blocks "$corpus/dxf/ezdxf-custom_blocks.dxf" \
    "One block placed three times, turned 0°, 44° and 325° (ezdxf-custom_blocks.dxf)"
picture spline "$corpus/dxf/ezdxf-uncommon.dxf" \
    "SPLINE among the less common entities (ezdxf-uncommon.dxf)"
picture pe "$corpus/hpgl/ezdxf-PLOTFILE.plt" \
    "HP-GL/2 driver output, PE encoded polylines (ezdxf-PLOTFILE.plt)"
picture scaled "$corpus/hpgl/hp2xx-286x192.5_lh.hpg" \
    "HP-GL under IP/SC scaling and RO 90 (hp2xx-286x192.5_lh.hpg)"
picture texts "$corpus/hpgl/hp2xx-spectrum.plt" \
    "Labels sized with SI and slanted with SL on a plot turned by RO 90 (hp2xx-spectrum.plt)"
