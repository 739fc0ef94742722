#!/bin/bash
# Builds the fuzz targets into BUILD_DIR and runs each for a fixed number of inputs, seeded
# from the sample traces. Exits non-zero when a target crashes or a sanitizer reports.
#   tests/fuzz/run.sh BUILD_DIR [RUNS]
# RUNS (default 20000) is the number of inputs of the components' own targets; the settings
# reader and the ISDN line reader (each input a whole trace, with a new component) get a
# quarter of it, and the document targets, where each input is a whole run
# (and for the list a dozen fills), a twentieth and a fiftieth.
set -euo pipefail
. "$(dirname "$0")/common.sh"

# The ISDN, DECT and document targets; run_dect.sh runs the DECT ones.
build_targets "$here"

# The targets' files (traces, outputs, profiles) go to a folder of their own, in memory
# where there is such a folder, removed at the end.
scratch_parent=/dev/shm
[ -d "$scratch_parent" ] && [ -w "$scratch_parent" ] || scratch_parent="${TMPDIR:-/tmp}"
scratch="$(mktemp -d "$scratch_parent/vexa-fuzz.XXXXXX")"
trap 'rm -rf "$scratch"' EXIT
export TMPDIR="$scratch"

corpus="$build/corpus"
rm -rf "$corpus"
mkdir -p "$corpus/lines" "$corpus/decoder" "$corpus/trace_run" "$corpus/list_fill" "$corpus/settings"
# The line reader: the sample traces as they are.
cp "$root"/samples/isdn-*.trc "$corpus/lines/"
# The decoder: the DATA octets of the samples (one message per signal, variant octet first).
data_seeds "$corpus/decoder" '\s+LEN' 4 "$root"/samples/isdn-*.trc
# The document targets: each sample under the protocol of its family (an ISDN sample under
# one of the four variants) and under one other; the first byte chooses the protocol and,
# in turns, "Include all Rows" and "Include Hex" (see FuzzDocument.h).
python3 - "$corpus/trace_run" "$corpus/list_fill" "$root"/samples/*.trc <<'PY'
import sys, os
outs = sys.argv[1:3]
for k, path in enumerate(sys.argv[3:]):
    text = open(path, "rb").read()
    name = os.path.splitext(os.path.basename(path))[0]
    own = {"dect": 4, "ip": 5}.get(name.split("-")[0], k % 4)
    for protocol in (own, (own + 1 + k) % 6):
        choice = protocol | (k % 4) << 3
        for out in outs:
            with open(os.path.join(out, "%s-%d" % (name, protocol + 1)), "wb") as f:
                f.write(bytes([choice]) + text)
PY
# The settings reader: a profile as the windows write it, and one with escapes.
cat > "$corpus/settings/written.ini" <<'INI'
[Options]
WriteAllRows=NO
WriteHexInfo=YES
DefaultProtocol=3
Red=12
CHeight=-13
CFaceName=DejaVu Sans Mono
SigSeqNo=60
Incoming%20Color=255
Outgoing%20Color=16711680
Open%20Directory=/home/user/traces

[Signal%20Names]
DlrData=DLRDATA
DliuiDatalong=DLIUIDATALONG
INI
printf '[General]\nkey="a \\"quoted\\" value, with \\x00e9 and \\n"\n%%U00E9\\\\path=@Invalid()\n' > "$corpus/settings/escapes.ini"

# The targets run side by side, FUZZ_JOBS (default 1) at a time, the longest first; each
# one's summary is printed when all have ended.
results="$build/results"
rm -rf "$results"
mkdir -p "$results"
jobs_at_once="${FUZZ_JOBS:-1}"
run() {  # target corpus runs
  fuzz "$1" "$2" "$3" 4096 > "$results/$1.out" || touch "$results/$1.failed"
}
# The DECT component's own targets, in a script of their own.
run_dect() {
  "$here/run_dect.sh" "$build" "$runs" > "$results/dect.out" 2>&1 || touch "$results/dect.failed"
}
start() {
  while [ "$(jobs -rp | wc -l)" -ge "$jobs_at_once" ]; do wait -n || true; done
  "$@" &
}
start run isdn_lines_fuzz "$corpus/lines" $((runs / 4))
start run_dect
start run trace_run_fuzz "$corpus/trace_run" $((runs / 20))
start run list_fill_fuzz "$corpus/list_fill" $((runs / 50))
start run isdn_decoder_fuzz "$corpus/decoder" "$runs"
start run settings_fuzz "$corpus/settings" $((runs / 4))
wait
for target in isdn_decoder_fuzz isdn_lines_fuzz settings_fuzz trace_run_fuzz list_fill_fuzz dect; do
  cat "$results/$target.out"
done
if ls "$results"/*.failed > /dev/null 2>&1; then exit 1; fi
