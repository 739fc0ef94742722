#!/usr/bin/env bash
# Writes the 1,000,000-line benchmark trace (once) and runs the message list benchmark.
# usage: bench/list/run.sh BUILD_DIR [RUNS]
set -eu
build=${1:?usage: run.sh BUILD_DIR [RUNS]}
here=$(cd "$(dirname "$0")" && pwd)
trace=${TMPDIR:-/tmp}/vexa-list-bench-1m-onecall.trc
[ -s "$trace" ] || python3 "$here/make-trace.py" 1000000 "$trace"
VEXA_COMPONENT_PATH=${VEXA_COMPONENT_PATH:-$build/bin} QT_QPA_PLATFORM=offscreen \
  "$build/bin/list_bench" "$trace" "55  66" "${2:-3}"
