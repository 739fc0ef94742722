# What the fuzz scripts (run.sh, run_dect.sh, run_ip.sh) share; each sources it after
# `set -euo pipefail`, with its own arguments BUILD_DIR [RUNS]. It sets here (this folder),
# root (the source tree), build and runs (default 20000), and gives the functions below.
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build="${1:?usage: $(basename "$0") BUILD_DIR [RUNS]}"
runs="${2:-20000}"

# build_targets SOURCE_DIR: configures the fuzz project in SOURCE_DIR into $build with clang++
# (or CXX_FUZZ) and builds it, FUZZ_BUILD_JOBS (default 1) at a time.
build_targets() {
  local cxx
  cxx="${CXX_FUZZ:-$(command -v clang++ || command -v clang++-14)}"
  cmake -S "$1" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$build" -j "${FUZZ_BUILD_JOBS:-1}" >/dev/null
}

# data_seeds OUT END VARIANTS TRACE...: a seed file in OUT for the DATA octets of each signal
# of the traces. A signal's octets end at the first row after them that END (a regular
# expression) matches; with VARIANTS n > 0, each seed starts with a variant octet, 1 + (its
# number mod n).
data_seeds() {
  python3 - "$@" <<'PY'
import sys, re, os
out, end, variants = sys.argv[1], re.compile(sys.argv[2]), int(sys.argv[3])
n = 0
for path in sys.argv[4:]:
    octets = []
    for line in open(path, encoding="latin-1"):
        m = re.match(r"\s+DATA (.*)", line)
        if m:
            octets += [int(t, 16) for t in m.group(1).split() if re.fullmatch(r"[0-9A-Fa-f]{2}", t)]
        elif end.match(line) and octets:
            n += 1
            with open(os.path.join(out, "seed%03d" % n), "wb") as f:
                f.write(bytes(([1 + n % variants] if variants else []) + octets))
            octets = []
PY
}

# fuzz TARGET CORPUS RUNS MAX_LEN: runs the built TARGET for RUNS inputs of at most MAX_LEN
# octets, starting from CORPUS; prints "== TARGET (RUNS runs)" and libFuzzer's summary line,
# or when the target crashes, hangs or a sanitizer reports, where its log is and the log's
# end, and then returns 1. Inputs that fail go to $build/artifacts/TARGET.
fuzz() {
  local target="$1" dir="$2" n="$3" max_len="$4"
  mkdir -p "$build/artifacts/$target"
  echo "== $target ($n runs)"
  if ! "$build/$target" -runs="$n" -max_len="$max_len" -timeout=10 -rss_limit_mb=2048 \
       -artifact_prefix="$build/artifacts/$target/" "$dir" >"$build/$target.log" 2>&1; then
    echo "$target FAILED; see $build/$target.log"
    tail -n 40 "$build/$target.log"
    return 1
  fi
  grep -E "^#[0-9]+ +DONE" "$build/$target.log" || tail -n 1 "$build/$target.log"
}
