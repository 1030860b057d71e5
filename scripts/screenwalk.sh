#!/usr/bin/env bash
# Takes a picture of every screen of the workbench, in Chinese and in English, first without
# hardware and then connected to the simulated bench with two motors:
#   scripts/screenwalk.sh [OUT_DIR]   (default build/screenwalk; one folder per language)
# Each folder also gets texts.tsv, every text the screens showed. Runs under Xvfb in a scratch
# working directory, so the user's config.xml is left alone.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
bin="${TRIVANE_BIN:-$root/build/bin}"
out="${1:-build/screenwalk}"
case "$out" in /*) ;; *) out="$root/$out" ;; esac

# shellcheck source=scripts/simbench.sh
. "$root/scripts/simbench.sh"

if [ "$(id -u)" -eq 0 ]; then
    export QTWEBENGINE_DISABLE_SANDBOX=1
fi

status=0
for lang in zh_CN en; do
    run="$work/run-$lang"
    mkdir -p "$run"
    ln -s "$bin/i18n" "$run/i18n"
    ln -s "$bin/instruction.pdf" "$run/instruction.pdf"
    # Both motors shown, the device tree too; the language comes from the command line.
    cat >"$run/config.xml" <<'XML'
<?xml version="1.0"?>
<m>
    <c name="setting">
        <c name="show_left_sidebar" type="1" value="true"/>
        <c name="enable_multiple_devices" type="1" value="true"/>
    </c>
</m>
XML
    rm -rf "${out:?}/$lang"
    mkdir -p "$out/$lang"
    if ! (cd "$run" && TRIVANE_SCREENWALK="$out/$lang" TRIVANE_SCREENWALK_PNG=1 \
        TRIVANE_SCREENWALK_PORT="$link" TRIVANE_SCREENWALK_DEVICES=2 \
        timeout 600 xvfb-run -a -s "-screen 0 1280x800x24" "$bin/trivane" --language "$lang" \
        >"$work/trivane-$lang.log" 2>&1); then
        echo "the screen walk in $lang failed; the workbench said:" >&2
        tail -20 "$work/trivane-$lang.log" >&2
        status=1
        continue
    fi
    echo "$lang: $(find "$out/$lang" -name '*.png' | wc -l) pictures in $out/$lang"
done
exit $status
