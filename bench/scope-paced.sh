#!/bin/bash
# The oscilloscope on the paced simulated line: eight float channels at 1,000 Hz through
# trivane-cli scope record for SECONDS (default 600), 921,600 baud (the line is ~92% busy).
# Prints records received and lost, what the bench's line buffer overflowed and the samples it
# skipped, and the recorder's CPU share and peak memory. Run it on a quiet machine:
#   bench/scope-paced.sh [SECONDS]
set -euo pipefail
seconds=${1:-600}
bin=$(cd "$(dirname "$0")/.." && pwd)/build/bin
for exe in trivane-sim trivane-cli; do
    [ -x "$bin/$exe" ] || { echo "build/bin/$exe is missing: build first" >&2; exit 1; }
done

work=$(mktemp -d)
mkfifo "$work/control"
"$bin/trivane-sim" --control <"$work/control" >"$work/sim.out" 2>"$work/sim.err" &
sim=$!
exec 3>"$work/control"
trap 'exec 3>&-; kill "$sim" 2>/dev/null || true; wait "$sim" 2>/dev/null || true; rm -rf "$work"' EXIT
for _ in $(seq 1 100); do
    [ -s "$work/sim.out" ] && break
    sleep 0.1
done
port=$(head -n 1 "$work/sim.out")

echo "recording ${seconds} s from $port ..." >&2
record=("$bin/trivane-cli" scope record --port "$port" --rate 1000 --seconds "$seconds"
    --channels mechPos,mechVel,iqf,torque,VBUS,elecAngle,limit_torque,loc_kp
    --out "$work/wave.txt" --json)
if [ -x /usr/bin/time ]; then
    /usr/bin/time -f "recorder: %P of a core, peak RSS %M KiB" -o "$work/time" "${record[@]}" \
        >"$work/result.json" || true
else
    TIMEFORMAT="recorder: %P%% of a core"
    exec 4>&2  # the recorder's progress stays on the terminal
    { time "${record[@]}" >"$work/result.json" 2>&4 || true; } 2>"$work/time"
fi

echo status >&3
for _ in $(seq 1 50); do
    grep -q overflow "$work/sim.out" && break
    sleep 0.1
done
field() { grep -o "\"$1\":[0-9]*" "$work/result.json" | cut -d: -f2; }
if [ -n "$(field records)" ]; then
    echo "scope: $(field records) records received, $(field lost) lost"
else
    echo "the recording failed:" >&2
    cat "$work/result.json" >&2
fi
grep -o "overflow [0-9]*" "$work/sim.out" | sed 's/^/bench line buffer: /; s/$/ bytes/'
grep -o "scope samples skipped [0-9]*" "$work/sim.out" || echo "bench skipped no samples"
cat "$work/time"
