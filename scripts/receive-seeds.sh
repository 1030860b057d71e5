#!/usr/bin/env bash
# Cuts the seed corpus of fuzz_receive from real adapter traffic: a simulated bench session
# (two motor models, calibration, MIT control, a fault frame, a feedback record with CR LF in
# its data) is logged, and the records the host received are grouped into seed files. Each
# seed starts with the byte fuzz_receive reads as its chunk size.
# Usage: scripts/receive-seeds.sh <build dir>   (needs trivane-sim and trivane-cli built)
set -euo pipefail
build=$(cd "${1:?build directory}" && pwd)
root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/fuzz/corpus/receive"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

mkfifo control
"$build/bin/trivane-sim" --motors 2 --models 0:2,4:1 --log session.log --control <control >sim.out &
sim=$!
exec 3>control
for _ in $(seq 50); do [ -s sim.out ] && break; sleep 0.1; done
port=$(head -n 1 sim.out)
cli() { "$build/bin/trivane-cli" "$@" --port "$port" >/dev/null 2>&1 || true; }
cli scan --multi
cli mode motor --can-id 2
cli mit 0 1 2 1 0.1 --can-id 2
echo "crlf 1" >&3
echo "fault 1 0x11 0x2" >&3
cli jog 1.5
cli calibrate
echo "quit" >&3
exec 3>&-
wait "$sim" || true

mkdir -p "$out"
rm -f "$out"/session-*
python3 - "$out" <<'PY'
import sys
out = sys.argv[1]
records = []
for line in open("session.log"):
    parts = line.split()
    if len(parts) > 2 and parts[1] == "TX":
        hexes = []
        for p in parts[2:]:
            if len(p) != 2:
                break
            hexes.append(p)
        records.append(bytes.fromhex("".join(hexes)))
# Runs of consecutive records, read in chunks of 1, 7 and 32 bytes.
for i in range(0, len(records), 8):
    chunk = (0, 6, 31)[(i // 8) % 3]
    with open(f"{out}/session-{i // 8:03d}", "wb") as f:
        f.write(bytes([chunk]) + b"".join(records[i:i + 8]))
PY
ls "$out" | wc -l
