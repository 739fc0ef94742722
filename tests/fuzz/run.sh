#!/bin/bash
# Builds the ISDN fuzz targets into BUILD_DIR and runs each for a fixed number of inputs,
# seeded from the sample traces. Exits non-zero when a target crashes.
#   tests/fuzz/run.sh BUILD_DIR [RUNS]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build="${1:?usage: run.sh BUILD_DIR [RUNS]}"
runs="${2:-20000}"
cxx="${CXX_FUZZ:-$(command -v clang++ || command -v clang++-14)}"

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j 1 >/dev/null

# Seeds: the sample traces for the line reader, their DATA octets (one message per
# signal, variant octet first) for the decoder.
mkdir -p "$build/corpus/lines" "$build/corpus/decoder"
cp "$root"/samples/isdn-*.trc "$build/corpus/lines/"
python3 - "$build/corpus/decoder" "$root"/samples/isdn-*.trc <<'PY'
import sys, re, os
out = sys.argv[1]
n = 0
for path in sys.argv[2:]:
    octets = []
    for line in open(path, encoding="latin-1"):
        m = re.match(r"\s+DATA (.*)", line)
        if m:
            octets += [int(t, 16) for t in m.group(1).split() if re.fullmatch(r"[0-9A-Fa-f]{2}", t)]
        elif re.match(r"\s+LEN", line) and octets:
            n += 1
            with open(os.path.join(out, "seed%03d" % n), "wb") as f:
                f.write(bytes([1 + n % 4] + octets))
            octets = []
PY

status=0
for target in isdn_decoder_fuzz isdn_lines_fuzz; do
  corpus="$build/corpus/${target#isdn_}"
  corpus="${corpus%_fuzz}"
  mkdir -p "$build/artifacts/$target"
  echo "== $target ($runs runs)"
  if ! "$build/$target" -runs="$runs" -max_len=4096 -timeout=10 -rss_limit_mb=1024 \
       -artifact_prefix="$build/artifacts/$target/" "$corpus" >"$build/$target.log" 2>&1; then
    echo "$target FAILED; see $build/$target.log"
    tail -n 30 "$build/$target.log"
    status=1
  else
    grep -E "^#[0-9]+ +DONE" "$build/$target.log" || tail -n 1 "$build/$target.log"
  fi
done
# The DECT component's own targets.
"$here/run_dect.sh" "$build" "$runs" || status=1
exit $status
