#!/usr/bin/env bash
# Builds Vexa when needed and opens a trace: in the Vexa window when there is a display,
# otherwise as text through vexa-interpret.
# Usage: ./run.sh TRACE
set -euo pipefail
cd "$(dirname "$0")"
if [ $# -lt 1 ]; then echo "Usage: ./run.sh TRACE" >&2; exit 2; fi
trace=$(realpath -- "$1")
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > build.log 2>&1 || { cat build.log; exit 1; }
cmake --build build -j2 >> build.log 2>&1 || { tail -50 build.log; exit 1; }
shift
if [ -x build/bin/vexa ] && [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build/bin/vexa "$trace" "$@"
fi
exec build/bin/vexa-interpret "$@" "$trace"
