# Sourced by start.sh and screenshot.sh: checks the executables and starts the simulated bench
# with two motors behind a stable link. Sets: work (scratch directory), link (port path),
# sim (its pid), and an EXIT trap that stops it and removes the scratch directory.
# Expects: bin (directory of the executables).

for exe in trivane trivane-sim; do
    if [ ! -x "$bin/$exe" ]; then
        echo "build/bin/$exe is missing: build first (./run.sh builds and starts)" >&2
        exit 1
    fi
done

work=$(mktemp -d)
link="$work/bench"
"$bin/trivane-sim" --motors 2 --port-link "$link" >"$work/sim.out" 2>"$work/sim.err" &
sim=$!
trap 'kill "$sim" 2>/dev/null || true; wait "$sim" 2>/dev/null || true; rm -rf "$work"' EXIT

for _ in $(seq 1 100); do
    [ -e "$link" ] && break
    sleep 0.1
done
if [ ! -e "$link" ]; then
    echo "the simulated bench did not start:" >&2
    cat "$work/sim.err" >&2
    exit 1
fi
