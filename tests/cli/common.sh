# The set-up the command-line test scripts share; each sources it with its own arguments,
# VEXA_INTERPRET COMPONENT_FOLDER first. It sets prog to the program, takes the components
# from COMPONENT_FOLDER, gives the run a scratch folder (work, removed at the end) for its
# files, settings and temporary files, and gives check and finish.
set -u
prog=$1
export VEXA_COMPONENT_PATH=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config
export TMPDIR=$work/tmp
mkdir -p "$TMPDIR"
passed=0 failed=0

check() {  # check NAME EXPECTED ACTUAL
  if [ "$2" == "$3" ]; then passed=$((passed + 1)); else
    failed=$((failed + 1)); printf 'FAIL %s\n--- expected\n%s\n--- actual\n%s\n' "$1" "$2" "$3"; fi
}

finish() {  # finish [NAME]: prints the counts, after "NAME: " when given; fails when a check did
  printf '%s%d passed, %d failed\n' "${1:+$1: }" "$passed" "$failed"
  [ "$failed" -eq 0 ]
}
