#!/bin/bash
# Builds the IP component's fuzz targets into BUILD_DIR and runs each for a fixed number of
# inputs, seeded from the IP sample traces and the real messages of the tests. Exits non-zero
# when a target crashes, hangs or a sanitizer reports. A whole trace costs more than a message,
# so the line reader gets a quarter of RUNS.
#   tests/fuzz/run_ip.sh BUILD_DIR [RUNS]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build="${1:?usage: run_ip.sh BUILD_DIR [RUNS]}"
runs="${2:-20000}"
cxx="${CXX_FUZZ:-$(command -v clang++ || command -v clang++-14)}"

cmake -S "$here/ip" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "${FUZZ_BUILD_JOBS:-1}" >/dev/null

corpus="$build/corpus"
rm -rf "$corpus"
mkdir -p "$corpus/lines" "$corpus/decoder"
cp "$root"/samples/ip-*.trc "$corpus/lines/"
# The decoder: each real message, its first octet choosing how it is read.
python3 - "$corpus/decoder" "$root"/tests/ip/corpus <<'PY'
import sys, os
out, src = sys.argv[1], sys.argv[2]
n = 0
for name, choice in (("ras.tsv", 0), ("h225cs.tsv", 1), ("h245.tsv", 2)):
    for line in list(open(os.path.join(src, name)))[1:]:
        cols = line.rstrip("\n").split("\t")
        n += 1
        with open(os.path.join(out, "seed%03d" % n), "wb") as f:
            f.write(bytes([choice]) + bytes.fromhex(cols[2]))
PY

status=0
run() {  # target corpus runs
  local target="$1" dir="$2" n="$3"
  mkdir -p "$build/artifacts/$target"
  echo "== $target ($n runs)"
  if ! "$build/$target" -runs="$n" -max_len=8192 -timeout=10 -rss_limit_mb=2048 \
       -artifact_prefix="$build/artifacts/$target/" "$dir" >"$build/$target.log" 2>&1; then
    echo "$target FAILED; see $build/$target.log"
    tail -n 40 "$build/$target.log"
    status=1
  else
    grep -E "^#[0-9]+ +DONE" "$build/$target.log" || tail -n 1 "$build/$target.log"
  fi
}
run ip_decoder_fuzz "$corpus/decoder" "$runs"
run ip_lines_fuzz "$corpus/lines" $((runs / 4))
exit $status
