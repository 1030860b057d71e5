#!/usr/bin/env bash
# Starts what the build produced: the workbench on the simulated bench when it exists,
# otherwise a short tour of the command-line tool.
set -euo pipefail
cd "$(dirname "$0")/.."
bin=build/bin

echo "== trivane-cli converts a small data tree from JSON to XML:"
"$bin/trivane-cli" convert JSON XML -data='{"config": {"scale": 100, "language": "en"}, "list": [1, 2]}'
