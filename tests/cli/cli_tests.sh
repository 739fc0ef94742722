#!/usr/bin/env bash
# vexa-interpret as a user runs it: options, exit codes, messages and output, on traces
# answered by the scripted component.
# Usage: cli_tests.sh VEXA_INTERPRET SCRIPTED_COMPONENT_FOLDER
set -u
prog=$1
export VEXA_COMPONENT_PATH=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config
export TMPDIR=$work/tmp
mkdir -p "$TMPDIR"
unset VEXA_SCRIPTED_LOG
passed=0 failed=0

check() {  # check NAME EXPECTED ACTUAL
  if [ "$2" == "$3" ]; then passed=$((passed + 1)); else
    failed=$((failed + 1)); printf 'FAIL %s\n--- expected\n%s\n--- actual\n%s\n' "$1" "$2" "$3"; fi
}

R1='09.41.07.25 00042  SWHW DLRDATALONG  ISDNCP-01  DLB-0102'
L1='                        LEN 5'
R2='09.41.07.31 00043  HWSW DLIDATALONG  DLB-0102   ISDNCP-01'
printf 'KORVAN SIGNAL TRACE\n\n%s\n%s\n%s\n%s\nEND OF TRACE\n' "$R1" "$L1" "$R2" "$L1" > "$work/call.trc"
T=$'\t'
cat > "$work/script" <<EOS
parse${T}1${T}0${T}0
parse${T}3${T}1${T}1${T}1
parse${T}1${T}0${T}0
parse${T}3${T}1${T}1${T}2
message${T}1${T}42${T}1${T}1${T}SWHW${T}DLRDATALONG${T}SETUP${T}09.41.07.25${T}ISDNCP-01${T}DLB-0102${T}Sending complete (H'A1)${T}PD
message${T}2${T}43${T}1${T}0${T}HWSW${T}DLIDATALONG${T}CONNECT${T}09.41.07.31${T}DLB-0102${T}ISDNCP-01${T}!!!Unknown element!!!${T}PD
find${T}message${T}SWHW${T}1
find${T}message${T}HWSW${T}2
EOS
export VEXA_SCRIPTED_SCRIPT=$work/script

out=$("$prog" --no-all-rows "$work/call.trc"); rc=$?
check "interpretation exit" 0 "$rc"
expected=$(printf ' \n%s\n\n\n\n>>>>\nOutgoing Message: SETUP\nCall Reference:  (CR Flag Not Set)\nProtocol Discriminator: PD\n\n\n\n      Sending complete (H'"'"'A1)\n\n\n<<<<\n\n%s\n\n\n\n>>>>\nIncoming Message: CONNECT\nCall Reference:  (CR Flag Not Set)\nProtocol Discriminator: PD\n\n\n\n      !!!Unknown element!!!\n\n\n<<<<\n\nEND OF TRACE' "$R1" "$R2")
check "interpretation text" "$expected" "$out"

out=$("$prog" --list "$work/call.trc")
check "list rows" "42${T}Send${T}SETUP${T}09.41.07.25${T}ISDNCP-01${T}DLB-0102
43${T}Received${T}CONNECT${T}09.41.07.31${T}DLB-0102${T}ISDNCP-01${T}invalid" "$out"

out=$("$prog" --direction HWSW --list "$work/call.trc")
check "direction list" "43${T}Received${T}CONNECT${T}09.41.07.31${T}DLB-0102${T}ISDNCP-01${T}invalid" "$out"
out=$("$prog" --no-all-rows --direction SWHW "$work/call.trc")
check "direction text starts with the signal's record line" "$R1" "$(printf '%s\n' "$out" | head -1)"
check "direction text has only that block" "1" "$(printf '%s\n' "$out" | grep -c '>>>>')"

"$prog" --no-all-rows -o "$work/saved.out" "$work/call.trc"; rc=$?
check "save exit" 0 "$rc"
check "saved copy" "$expected" "$(cat "$work/saved.out")"
cp "$work/call.trc" "$work/before.trc"
"$prog" -o "$work/call.trc" "$work/call.trc" 2> "$work/err"; rc=$?
check "save onto the trace refused" 7 "$rc"
check "save onto the trace message" "vexa-interpret: Source file name and the saved output file name cannot be the same" "$(cat "$work/err")"
cmp -s "$work/call.trc" "$work/before.trc"; check "trace untouched" 0 $?

"$prog" 2>/dev/null; check "no trace is a usage error" 2 $?
"$prog" --bogus "$work/call.trc" 2>/dev/null; check "unknown option" 2 $?
"$prog" -p x "$work/call.trc" 2>/dev/null; check "bad protocol number" 2 $?
"$prog" --direction UP "$work/call.trc" 2>/dev/null; check "bad direction" 2 $?
"$prog" --help | grep -q '^Usage: vexa-interpret'; check "help" 0 $?
"$prog" --version | grep -q '^vexa-interpret (Vexa) '; check "version" 0 $?
"$prog" "$work/missing.trc" 2>/dev/null; check "missing trace" 3 $?
"$prog" "$work" 2>/dev/null; check "folder" 3 $?
"$prog" -p 0 "$work/call.trc" 2> "$work/err"; check "no protocol" 4 $?
check "no protocol message" "vexa-interpret: Please select a protocol to work with..." "$(cat "$work/err")"
"$prog" -p 7 "$work/call.trc" 2> "$work/err"; check "unsupported protocol" 5 $?
check "unsupported message" "vexa-interpret: The chosen protocol is not supported yet..." "$(cat "$work/err")"
VEXA_COMPONENT_PATH=$work "$prog" "$work/call.trc" 2> "$work/err"; check "no component" 5 $?
grep -q 'Vendrel Help Desk' "$work/err"; check "no component message" 0 $?
grep -q "looked for in $work (set VEXA_COMPONENT_PATH" "$work/err"; check "no component: where it was looked for" 0 $?
: > "$work/empty.trc"
"$prog" "$work/empty.trc" 2> "$work/err"; check "empty file" 6 $?
check "not a trace message" "vexa-interpret: Unable to parse the input file.
It is not a valid signal trace file" "$(cat "$work/err")"
head -c 4096 /dev/urandom | tr -d '\n' > "$work/binary.trc"
"$prog" "$work/binary.trc" 2>/dev/null; check "binary file" 6 $?
printf '%s\r\n%s\r\nEND OF TRACE\r\n' "$R1" "$L1" > "$work/crlf.trc"
out=$("$prog" --all-rows "$work/crlf.trc")
case "$out" in *$'\r'*) check "CR LF lines" "no carriage return" "carriage return";; *) check "CR LF lines" 1 1;; esac
TMPDIR=$work/no-such-folder "$prog" "$work/call.trc" 2> "$work/err"; check "unwritable temporary folder" 7 $?
grep -q 'Unable to write the interpretation output file' "$work/err"; check "unwritable message" 0 $?

# --filter lists what the message list's Filter keeps and shows only those messages.
cat >> "$work/script" <<EOS
find${T}callref${T}H'01${T}1
callref${T}2${T}H'02||H'82
findcpn${T}0301234${T}2
find${T}callref${T}H'02||H'82${T}2
find${T}equ${T}EQU NO      001-0-02-01${T}2
find${T}tran${T}0${T}2
find${T}protocol${T}H245${T}1
EOS
out=$("$prog" --filter callref=01 --list "$work/call.trc")
check "filter by call reference" "42${T}Send${T}SETUP${T}09.41.07.25${T}ISDNCP-01${T}DLB-0102" "$out"
out=$("$prog" --no-all-rows --filter callref=01 "$work/call.trc")
check "filtered text starts with the signal's record line" "$R1" "$(printf '%s\n' "$out" | head -1)"
check "filtered text has only that block" "1" "$(printf '%s\n' "$out" | grep -c '>>>>')"
check "filter by calling party" "43" "$("$prog" --filter calling=0301234 --list "$work/call.trc" | cut -f1)"
check "filter by EQU number" "43" "$("$prog" --filter equ=001-0-02-01 --list "$work/call.trc" | cut -f1)"
check "filter by transaction side" "43" "$("$prog" -p 5 --filter tran=Originator --list "$work/call.trc" | cut -f1)"
check "filter by IP protocol" "42" "$("$prog" -p 6 --filter ip=H245 --list "$work/call.trc" | cut -f1)"
check "filter that keeps nothing" "" "$("$prog" --filter callref="7F 01" --list "$work/call.trc")"
"$prog" --filter callref="01 8" "$work/call.trc" 2>/dev/null; check "bad call reference" 2 $?
"$prog" --filter tran=both "$work/call.trc" 2>/dev/null; check "bad transaction side" 2 $?
"$prog" --filter ip=H323 "$work/call.trc" 2>/dev/null; check "bad IP protocol" 2 $?
"$prog" --filter colour=red "$work/call.trc" 2>/dev/null; check "unknown filter" 2 $?
"$prog" --filter equ= "$work/call.trc" 2>/dev/null; check "filter without a value" 2 $?
"$prog" --filter callref=01 --direction SWHW "$work/call.trc" 2>/dev/null; check "filter with direction" 2 $?
"$prog" --filter scpid=12 "$work/call.trc" 2> "$work/err"; check "filter of another protocol" 2 $?
check "filter of another protocol message" "vexa-interpret: --filter scpid does not fit the protocol ISDN - Generic" "$(cat "$work/err")"

# Output that cannot be printed or saved where asked, and a reader that stops early.
"$prog" --list "$work/call.trc" > /dev/full 2> "$work/err"; check "list to a full disk" 7 $?
check "list to a full disk message" "vexa-interpret: the list could not be printed" "$(cat "$work/err")"
mkdir -p "$work/saved"
"$prog" -o "$work/saved" "$work/call.trc" 2> "$work/err"; check "output name is a folder" 7 $?
grep -q 'saved: is a folder' "$work/err"; check "output name is a folder message" 0 $?
{ printf '%s\n%s\n' "$R1" "$L1"; for i in $(seq 1 20000); do printf '%24sFREE TEXT ROW %d\n' '' "$i"; done; } > "$work/long.trc"
"$prog" --all-rows "$work/long.trc" | head -c 10 > /dev/null
check "reader that stops early: no temporary output left" "" "$(ls "$TMPDIR")"

# Settings come from the profile and the options override them for the run only.
mkdir -p "$XDG_CONFIG_HOME/Vendrel/Harbek"
printf '[Options]\nDefaultProtocol=0\nWriteAllRows=NO\n' > "$XDG_CONFIG_HOME/Vendrel/Harbek/Vexa.ini"
"$prog" "$work/call.trc" 2>/dev/null; check "protocol from the settings" 4 $?
out=$("$prog" -p 1 --all-rows "$work/call.trc" | tail -1)
check "all rows option" "END OF TRACE" "$out"
grep -q 'Open Directory' "$XDG_CONFIG_HOME/Vendrel/Harbek/Vexa.ini"; check "profile not written" 1 $?
printf '\x01\x02[[[garbage\n' > "$XDG_CONFIG_HOME/Vendrel/Harbek/Vexa.ini"
"$prog" --list "$work/call.trc" > /dev/null; check "garbled settings" 0 $?

# No temporary file is left behind.
check "temporary folder empty" "" "$(ls "$TMPDIR")"

echo "cli: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
