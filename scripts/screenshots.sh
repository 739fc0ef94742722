#!/usr/bin/env bash
# Starts Vexa on a virtual display and saves screenshots of the main window, the context
# menus and each dialog under build/screenshots/.
# Usage: scripts/screenshots.sh [TRACE]
set -euo pipefail
cd "$(dirname "$0")/.."
trace=$(realpath -- "${1:-samples/isdn-call.trc}")
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > build.log 2>&1
cmake --build build -j2 --target vexa_screenshots vexa vexa_isdn_parser >> build.log 2>&1
out=build/screenshots
mkdir -p "$out"
export XDG_CONFIG_HOME=$(mktemp -d)
VEXA_COMPONENT_PATH=build/bin xvfb-run -a -s "-screen 0 1600x1000x24" build/bin/vexa_screenshots "$out" "$trace"
