#!/usr/bin/env bash
# Installs what is missing, builds Vexa once and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > build.log 2>&1 || { cat build.log; exit 1; }
cmake --build build -j2 >> build.log 2>&1 || { tail -50 build.log; exit 1; }
export QT_QPA_PLATFORM=offscreen
status=0
ctest --test-dir build -j2 --output-on-failure || status=1
if [ -x tests/fuzz/run.sh ]; then
  tests/fuzz/run.sh build/fuzz || status=1
fi
if [ -x tests/fuzz/run_ip.sh ]; then
  tests/fuzz/run_ip.sh build/fuzz-ip || status=1
fi
exit $status
