#!/bin/bash
# Runs the DECT component's fuzz targets (built by run.sh into BUILD_DIR) for a fixed number
# of inputs, seeded from the DECT sample traces. Exits non-zero when a target crashes or a
# sanitizer reports.
#   tests/fuzz/run_dect.sh BUILD_DIR [RUNS]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build="${1:?usage: run_dect.sh BUILD_DIR [RUNS]}"
runs="${2:-20000}"

corpus="$build/corpus-dect"
rm -rf "$corpus"
mkdir -p "$corpus/lines" "$corpus/decoder"
cp "$root"/samples/dect-*.trc "$corpus/lines/"
# The decoder: the DATA octets of each GDI signal of the samples.
python3 - "$corpus/decoder" "$root"/samples/dect-*.trc <<'PY'
import sys, re, os
out = sys.argv[1]
n = 0
for path in sys.argv[2:]:
    octets = []
    for line in open(path, encoding="latin-1"):
        m = re.match(r"\s+DATA (.*)", line)
        if m:
            octets += [int(t, 16) for t in m.group(1).split() if re.fullmatch(r"[0-9A-Fa-f]{2}", t)]
        elif re.match(r"\S", line) and octets:
            n += 1
            with open(os.path.join(out, "seed%03d" % n), "wb") as f:
                f.write(bytes(octets))
            octets = []
PY

status=0
for target in dect_decoder_fuzz dect_lines_fuzz; do
  dir="$corpus/${target#dect_}"
  dir="${dir%_fuzz}"
  mkdir -p "$build/artifacts/$target"
  echo "== $target ($runs runs)"
  if ! "$build/$target" -runs="$runs" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
       -artifact_prefix="$build/artifacts/$target/" "$dir" >"$build/$target.log" 2>&1; then
    echo "$target FAILED; see $build/$target.log"
    tail -n 40 "$build/$target.log"
    status=1
  else
    grep -E "^#[0-9]+ +DONE" "$build/$target.log" || tail -n 1 "$build/$target.log"
  fi
done
exit $status
