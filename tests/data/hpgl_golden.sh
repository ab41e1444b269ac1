#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the golden size records of the HP-GL corpus (tests/data/hpgl_golden.tsv) with an
# independent reader, Debian's hp2xx: the true size of each file's drawing, from the range
# of its coordinates (-t true size, -N the data's range rather than the page PS asks for).
# hp2xx is only needed to make the records again, not to run the tests.
#
#   tests/data/hpgl_golden.sh > tests/data/hpgl_golden.tsv
set -eu
DIR=$(dirname "$0")/corpus/hpgl
printf 'file\twidth_mm\theight_mm\n'
for f in "$DIR"/*; do
    name=$(basename "$f")
    hp2xx -t -N -m eps -f /dev/null "$f" 2>&1 |
        sed -n 's/^Width  x  height: *\([0-9.]*\) x \([0-9.]*\) mm.*/\1\t\2/p' |
        sed "s/^/$name\t/"
done
