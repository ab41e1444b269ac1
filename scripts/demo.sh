#!/usr/bin/env bash
# The program's main job without a plotter: installs what is missing, builds a release,
# prepares a demo installation directory whose Inkvale.ini points at 127.0.0.1, and runs
# the headless front end on a sample marker from the corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$(pwd)

bash scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release --target inkvale-cli

demo="$top/build/demo-home"
mkdir -p "$demo"
# 127.0.0.1 as the machine stores it (first octet in the lowest byte).
cat > "$demo/Inkvale.ini" <<'INI'
[Para]
MachineIP=16777343
CommuVia=0
INI

corpus="$top/../shared/corpus"
[[ -d "$corpus" ]] || corpus="$top/tests/data/corpus"
sample="$corpus/hpgl/hp2xx-inter.hp"
cli="$top/build/release/tools/cli/inkvale-cli"
echo "Loading $sample"
"$cli" --home "$demo" curves "$sample" | head -5
