#!/usr/bin/env bash
# Installs what is missing, builds, and starts Trivane. Without hardware it starts the
# simulated bench with two motors and connects the workbench to it; without a display it
# runs under Xvfb.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/deps.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j "$(nproc 2>/dev/null || echo 2)"

exec ./scripts/start.sh "$@"
