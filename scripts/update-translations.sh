#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Refreshes the translation sources from the code: every text marked for translation in src/ and tools/service/
# gets an entry in resources/translations/*.ts, texts no longer in the code are dropped, and
# existing translations are kept. New entries come out "unfinished" until someone translates
# them.
#
#   scripts/update-translations.sh           update the .ts files in place
#   scripts/update-translations.sh --check   fail when a text lacks a finished translation
set -euo pipefail
cd "$(dirname "$0")/.."

lupdate=$(command -v lupdate-qt6 || command -v lupdate || true)
[[ -x /usr/lib/qt6/bin/lupdate ]] && lupdate=/usr/lib/qt6/bin/lupdate
if [[ -z "$lupdate" ]]; then
    echo "lupdate not found (Debian: apt-get install qt6-l10n-tools)" >&2
    exit 2
fi

check=0
[[ "${1:-}" == "--check" ]] && check=1

status=0
for ts in resources/translations/*.ts; do
    target="$ts"
    if ((check)); then
        target=$(mktemp --suffix=.ts)
        cp "$ts" "$target"
    fi
    "$lupdate" -silent -no-obsolete -locations none \
        -tr-function-alias QT_TRANSLATE_NOOP+=INKVALE_TRANSLATE_NOOP src tools/service -ts "$target"
    if ((check)); then
        missing=$(grep -c 'type="unfinished"' "$target" || true)
        if ((missing > 0)); then
            echo "$ts: $missing text(s) without a finished translation:" >&2
            grep -B1 'type="unfinished"' "$target" | grep '<source>' >&2 || true
            status=1
        fi
        if ! cmp -s "$ts" "$target"; then
            echo "$ts is not up to date with the code; run scripts/update-translations.sh" >&2
            diff -u "$ts" "$target" | head -40 >&2 || true
            status=1
        fi
        rm -f "$target"
    fi
done
exit $status
