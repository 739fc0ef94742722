#!/bin/bash
# Runs the DECT component's fuzz targets (built by run.sh into BUILD_DIR) for a fixed number
# of inputs, seeded from the DECT sample traces. Exits non-zero when a target crashes or a
# sanitizer reports.
#   tests/fuzz/run_dect.sh BUILD_DIR [RUNS]
set -euo pipefail
. "$(dirname "$0")/common.sh"

corpus="$build/corpus-dect"
rm -rf "$corpus"
mkdir -p "$corpus/lines" "$corpus/decoder"
cp "$root"/samples/dect-*.trc "$corpus/lines/"
# The decoder: the DATA octets of each GDI signal of the samples.
data_seeds "$corpus/decoder" '\S' 0 "$root"/samples/dect-*.trc

status=0
fuzz dect_decoder_fuzz "$corpus/decoder" "$runs" 4096 || status=1
fuzz dect_lines_fuzz "$corpus/lines" "$runs" 4096 || status=1
exit $status
