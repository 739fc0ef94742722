#!/bin/bash
# Builds the IP component's fuzz targets into BUILD_DIR and runs each for a fixed number of
# inputs, seeded from the IP sample traces and the real messages of the tests. Exits non-zero
# when a target crashes, hangs or a sanitizer reports. A whole trace costs more than a message,
# so the line reader gets a quarter of RUNS.
#   tests/fuzz/run_ip.sh BUILD_DIR [RUNS]
set -euo pipefail
. "$(dirname "$0")/common.sh"

build_targets "$here/ip"

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
fuzz ip_decoder_fuzz "$corpus/decoder" "$runs" 8192 || status=1
fuzz ip_lines_fuzz "$corpus/lines" $((runs / 4)) 8192 || status=1
exit $status
