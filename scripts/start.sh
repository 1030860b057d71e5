#!/usr/bin/env bash
# Starts the simulated bench with two motors and the workbench connected to it, with build/bin
# as the working directory. Without a display the workbench runs under Xvfb.
# Extra arguments go to the workbench.
set -euo pipefail
cd "$(dirname "$0")/.."
bin="${TRIVANE_BIN:-$PWD/build/bin}"

# shellcheck source=scripts/simbench.sh
. "$PWD/scripts/simbench.sh"
echo "== simulated bench with two motors on $link"

cd "$bin"
export TRIVANE_PORT="$link"
# The manual viewer's sandbox refuses to run as root.
if [ "$(id -u)" -eq 0 ]; then
    export QTWEBENGINE_DISABLE_SANDBOX=1
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    # A virtual display in a session of its own: Ctrl+C then reaches the workbench alone,
    # which shuts down in order (config.xml written) before the display goes away.
    setsid Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.err" &
    xvfb=$!
    trap 'kill "$sim" "$xvfb" 2>/dev/null || true; wait "$sim" "$xvfb" 2>/dev/null || true; rm -rf "$work"' EXIT
    for _ in $(seq 1 100); do
        [ -s "$work/display" ] && break
        sleep 0.1
    done
    [ -s "$work/display" ] || { echo "Xvfb did not start:" >&2; cat "$work/xvfb.err" >&2; exit 1; }
    export DISPLAY=":$(head -n1 "$work/display")"
    echo "== no display: the workbench runs on the virtual display $DISPLAY (stop it with Ctrl+C)"
fi
status=0
./trivane "$@" || status=$?
exit "$status"
