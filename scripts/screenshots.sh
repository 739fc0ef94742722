#!/usr/bin/env bash
# Starts Vexa on a virtual display and saves screenshots of the main window, the context
# menus, each dialog, a cut list cell's tool tip and a fitted column, and the call flow and
# summary windows of an ISDN, a DECT and an IP sample, under BUILD/screenshots/. The user
# guide's pictures (resources/help/) are chosen from them.
# Usage: scripts/screenshots.sh [TRACE]
# BUILD (the build folder, default build) and JOBS (parallel build jobs, default 2) may be
# set in the environment.
set -euo pipefail
cd "$(dirname "$0")/.."
trace=$(realpath -- "${1:-samples/isdn-call.trc}")
build=${BUILD:-build}
log=$build/screenshots-build.log
scripts/install-deps.sh
mkdir -p "$build"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > "$log" 2>&1
cmake --build "$build" -j"${JOBS:-2}" --target vexa_screenshots vexa vexa_isdn_parser vexa_dect_parser \
  vexa_ip_parser >> "$log" 2>&1 || { tail -30 "$log"; exit 1; }
out=$build/screenshots
mkdir -p "$out"
export XDG_CONFIG_HOME=$(mktemp -d)
VEXA_COMPONENT_PATH=$build/bin xvfb-run -a -s "-screen 0 1600x1000x24" "$build/bin/vexa_screenshots" "$out" "$trace" \
  "$PWD/samples"
