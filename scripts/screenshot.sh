#!/usr/bin/env bash
# Saves a picture of the workbench connected to the simulated bench with two motors:
# scripts/screenshot.sh [OUT.png]   (default docs/screenshot.png)
# TRIVANE_SCREENSHOT_PAGE=param_table, device_info or oscilloscope opens that page instead of the manual.
# TRIVANE_SCREENSHOT_LANG=zh_CN shows the Chinese texts (default en).
# Runs under Xvfb in a scratch working directory, so the user's config.xml is left alone.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
bin="${TRIVANE_BIN:-$root/build/bin}"
out="${1:-docs/screenshot.png}"
case "$out" in /*) ;; *) out="$root/$out" ;; esac

# shellcheck source=scripts/simbench.sh
. "$root/scripts/simbench.sh"

# English texts (or the language asked for), both motors kept, the device list shown.
lang="${TRIVANE_SCREENSHOT_LANG:-en}"
mkdir -p "$work/run"
ln -s "$bin/i18n" "$work/run/i18n"
ln -s "$bin/instruction.pdf" "$work/run/instruction.pdf"
cat >"$work/run/config.xml" <<XML
<?xml version="1.0"?>
<m>
    <c name="language" type="10" value="$lang"/>
    <c name="setting">
        <c name="show_left_sidebar" type="1" value="true"/>
        <c name="enable_multiple_devices" type="1" value="true"/>
    </c>
</m>
XML

cd "$work/run"
export TRIVANE_PORT="$link" TRIVANE_SCREENSHOT="$work/shot.png" TRIVANE_SCREENSHOT_DEVICES=2
if [ "$(id -u)" -eq 0 ]; then
    export QTWEBENGINE_DISABLE_SANDBOX=1
fi
timeout 120 xvfb-run -a -s "-screen 0 1280x800x24" "$bin/trivane" >"$work/trivane.log" 2>&1 || true
if [ ! -s "$work/shot.png" ]; then
    echo "no screenshot was taken; the workbench said:" >&2
    tail -20 "$work/trivane.log" >&2
    exit 1
fi
mkdir -p "$(dirname "$out")"
cp "$work/shot.png" "$out"
echo "saved $out"
