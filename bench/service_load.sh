#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# inkvale-service under load, on loopback only: the plotter simulator as its machine, a
# marker printed once quietly and once while service_load keeps STREAMS event streams,
# SLOW slow-header clients and POLLERS pollers open and times control requests. Prints the
# two job times, the control latencies and the service's memory.
#
#   bench/service_load.sh BUILD_DIR [STREAMS SLOW POLLERS]
#   e.g. bench/service_load.sh build/dev 1000 200 200
set -euo pipefail
build=${1:?build directory}
streams=${2:-1000} slow=${3:-200} pollers=${4:-200}
here=$(cd "$(dirname "$0")" && pwd)
service="$build/tools/service/inkvale-service"
sim="$build/tools/sim/inkvale-plotter-sim"
load="$build/bench/service_load"
if [[ ! -x "$load" ]]; then
    load=$(mktemp)
    g++ -std=c++20 -O2 -pthread "$here/service_load.cpp" -o "$load"
fi
home=$(mktemp -d)
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; rm -rf "$home"; }
trap cleanup EXIT
mkdir -p "$home/auto" "$home/man"
port=$((21000 + RANDOM % 8000))
# 127.0.0.91, as the MachineIP integer: 127 + 91 * 2^24.
"$sim" --listen 127.0.0.91 --port 5291 --quiet --param CarriageMaxSpeed=250 --param FeedSpeed=50 \
    --speed slow >/dev/null 2>&1 &
pids+=($!)
cat >"$home/Inkvale.ini" <<INI
[Para]
MachineIP=$((127 + 91 * 16777216))
AutoStartEnable=1
AutoDir=$home/auto/
ManDir=$home/man/
[Service]
Port=$port
INI
"$service" --home "$home" 2>"$home/log.txt" &
spid=$!
pids+=($spid)
for _ in $(seq 100); do curl -sf "http://127.0.0.1:$port/api/status" >/dev/null && break; sleep 0.1; done
token=$(cat "$home/Service.token")
marker="IN;SP1;PU0,0;PD32000,0,32000,8000,0,8000,0,0;PU;"

# Seconds from the upload to the job's end (the job shows in the status, then leaves).
job_seconds() {
    local start end seen=0
    start=$(date +%s.%N)
    curl -sf -H "X-Inkvale-Token: $token" --data-binary "$marker" \
        "http://127.0.0.1:$port/api/upload?name=$1" >/dev/null
    for _ in $(seq 3000); do
        if curl -sf "http://127.0.0.1:$port/api/status" | grep -q '"job": {'; then
            seen=1
        elif ((seen)); then
            break
        fi
        sleep 0.05
    done
    end=$(date +%s.%N)
    echo "$end - $start" | bc
}

quiet=$(job_seconds quiet.plt)
echo "job quiet: ${quiet} s; service memory $(awk '/VmRSS/ {print $2}' /proc/$spid/status) kB"
"$load" --port "$port" --token "$token" --pid "$spid" --streams "$streams" --slow "$slow" \
    --pollers "$pollers" --seconds 40 &
lpid=$!
sleep 3
loaded=$(job_seconds loaded.plt)
wait $lpid || true
echo "job under load: ${loaded} s (quiet ${quiet} s)"
