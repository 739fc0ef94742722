#!/usr/bin/env bash
# vexa-interpret as a user runs it: options, exit codes, messages and output, on traces
# answered by the scripted component.
# Usage: cli_tests.sh VEXA_INTERPRET SCRIPTED_COMPONENT_FOLDER
. "$(dirname "$0")/common.sh"
unset VEXA_SCRIPTED_LOG

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

# Temporary outputs: the user's alone, never shared by two runs, never left behind.
big_rows() { seq 1 "$1" | sed 's/^/                        FREE TEXT ROW /'; }
for d in a b; do mkdir -p "$work/$d"; { printf '%s\n' "$R1"; big_rows 3000 | sed "s/ROW/ROW $d/"; } > "$work/$d/trace.trc"; done
"$prog" --all-rows "$work/a/trace.trc" > "$work/a.expected"
"$prog" --all-rows "$work/b/trace.trc" > "$work/b.expected"
wrong=0
for i in $(seq 1 12); do
  "$prog" --all-rows "$work/a/trace.trc" > "$work/a.$i" & "$prog" --all-rows "$work/b/trace.trc" > "$work/b.$i" & wait
  cmp -s "$work/a.$i" "$work/a.expected" || wrong=$((wrong + 1))
  cmp -s "$work/b.$i" "$work/b.expected" || wrong=$((wrong + 1))
done
check "two runs at once of traces of the same name: each its own output" 0 "$wrong"
long_name=$(printf 'n%.0s' $(seq 1 250))
cp "$work/call.trc" "$work/$long_name.trc"
"$prog" --no-all-rows "$work/$long_name.trc" > /dev/null; check "a trace name of 250 characters" 0 $?
# A run held while it prints (nobody reads its pipe): its output is private; a signal
# that can be caught removes it at once, SIGKILL leaves it for the next start to remove.
mkfifo "$work/fifo"
exec 4<> "$work/fifo"
held_run() {  # held_run SIGNAL: starts a run that blocks, sends it SIGNAL
  # (A command started with & ignores SIGINT and SIGQUIT; it gets them back here.)
  env --default-signal "$prog" --all-rows "$work/long.trc" > "$work/fifo" 2>/dev/null & pid=$!
  for _ in $(seq 1 100); do [ -n "$(ls "$TMPDIR"/*.out 2>/dev/null)" ] && break; sleep 0.1; done
  sleep 0.3
  outputs=$(ls "$TMPDIR"/*.out 2>/dev/null)
  modes=$(stat -c %a $outputs 2>/dev/null)
  kill -s "$1" "$pid"
  for _ in $(seq 1 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill -KILL "$pid" 2>/dev/null; wait "$pid" 2>/dev/null
}
for sig in QUIT USR1 USR2 TERM; do
  held_run "$sig"
  check "SIG$sig: the output was there, the user's alone" 600 "$modes"
  check "SIG$sig: no output left" "" "$(ls "$TMPDIR")"
done
held_run KILL
check "SIGKILL: the output stays" 1 "$(ls "$TMPDIR"/*.out 2>/dev/null | wc -l)"
"$prog" --list "$work/call.trc" > /dev/null
check "the next start removes what the killed run left" "" "$(ls -A "$TMPDIR")"
exec 4>&-

# Every write is checked: a full temporary folder or -o target is said, exit 7, and no
# cut output is printed, saved or left. A file size limit stands for a full disk.
printf 'the previous good interpretation\n' > "$work/good.out"
(ulimit -f 64; "$prog" --all-rows "$work/long.trc" > "$work/printed" 2> "$work/err"); rc=$?
check "full temporary folder: exit" 7 "$rc"
grep -q 'Unable to write the interpretation output file' "$work/err"; check "full temporary folder: message" 0 $?
check "full temporary folder: nothing printed" 0 "$(stat -c %s "$work/printed")"
(ulimit -f 64; "$prog" --all-rows -o "$work/good.out" "$work/long.trc" 2> /dev/null); rc=$?
check "full disk with -o: exit" 7 "$rc"
check "full disk with -o: the previous file as it was" "the previous good interpretation" "$(cat "$work/good.out")"
check "full disk: nothing left" "" "$(ls -A "$TMPDIR")"
"$prog" --all-rows -o /dev/full "$work/long.trc" 2> "$work/err"; check "full -o target: exit" 7 $?
check "full -o target: message" "vexa-interpret: /dev/full: No space left on device" "$(cat "$work/err")"
"$prog" --no-all-rows -o "$work/good.out" "$work/call.trc"; check "-o replaces a file: exit" 0 $?
check "-o replaces a file whole" "$expected" "$(cat "$work/good.out")"
check "-o leaves nothing beside the file" "good.out" "$(ls -A "$work" | grep good)"
# A relative -o in a current folder that was removed, and memory that runs out: said,
# exit non-zero (never an abort), nothing left.
mkdir "$work/gone"
prog_path=$(realpath "$prog")
(cd "$work/gone" && rmdir "$work/gone" && "$prog_path" -o rel.out "$work/call.trc" 2> "$work/err"); rc=$?
check "-o in a removed folder: exit" 7 "$rc"
grep -q 'rel.out: the current folder cannot be found' "$work/err"; check "-o in a removed folder: message" 0 $?
{ printf '%s\n' "$R1"; big_rows 400000; } > "$work/big.trc"
limit=""
for v in 30000 40000 60000 80000; do
  (ulimit -v $v; "$prog" --all-rows "$work/call.trc" > /dev/null 2>&1) && { limit=$v; break; }
done
if [ -n "$limit" ]; then
  (ulimit -v "$limit"; "$prog" --all-rows "$work/big.trc" > /dev/null 2> "$work/err"); rc=$?
  check "memory runs out: exit" 8 "$rc"
  check "memory runs out: message" "vexa-interpret: not enough memory to interpret this trace; nothing was written" "$(cat "$work/err")"
  check "memory runs out: nothing left" "" "$(ls -A "$TMPDIR")"
else
  echo "note: this build cannot start within a memory limit; the memory test is left out"
fi
rm -f "$work/big.trc"

# Settings come from the profile and the options override them for the run only.
mkdir -p "$XDG_CONFIG_HOME/Vendrel/Harbek"
printf '[Options]\nDefaultProtocol=0\nWriteAllRows=NO\n' > "$XDG_CONFIG_HOME/Vendrel/Harbek/Vexa.ini"
"$prog" "$work/call.trc" 2>/dev/null; check "protocol from the settings" 4 $?
out=$("$prog" -p 1 --all-rows "$work/call.trc" | tail -1)
check "all rows option" "END OF TRACE" "$out"
grep -q 'Open Directory' "$XDG_CONFIG_HOME/Vendrel/Harbek/Vexa.ini"; check "profile not written" 1 $?
printf '\x01\x02[[[garbage\n' > "$XDG_CONFIG_HOME/Vendrel/Harbek/Vexa.ini"
"$prog" --list "$work/call.trc" > /dev/null; check "garbled settings" 0 $?

# A settings file that is no regular file, or far too large, is refused and said; the
# built-in settings are used.
rm -f "$XDG_CONFIG_HOME/Vendrel/Harbek/Vexa.ini"
mkfifo "$XDG_CONFIG_HOME/Vendrel/Harbek/Vexa.ini"
timeout 20 "$prog" --list "$work/call.trc" > /dev/null 2> "$work/err"; check "settings file a named pipe: no hang" 0 $?
check "settings file a named pipe: said" "vexa-interpret: settings file $XDG_CONFIG_HOME/Vendrel/Harbek/Vexa.ini is not read: not a regular file; the built-in settings are used" "$(cat "$work/err")"
rm -f "$XDG_CONFIG_HOME/Vendrel/Harbek/Vexa.ini"
ln -s /dev/zero "$XDG_CONFIG_HOME/Vendrel/Harbek/Vexa.ini"
timeout 20 "$prog" --list "$work/call.trc" > /dev/null 2> "$work/err"; check "settings file linked to /dev/zero" 0 $?
grep -q 'is not read: not a regular file' "$work/err"; check "settings file linked to /dev/zero: said" 0 $?
rm -f "$XDG_CONFIG_HOME/Vendrel/Harbek/Vexa.ini"
{ printf '[Options]\nDefaultProtocol=0\n'; head -c 5000000 /dev/zero | tr '\0' ';'; } > "$XDG_CONFIG_HOME/Vendrel/Harbek/Vexa.ini"
"$prog" --list "$work/call.trc" > /dev/null 2> "$work/err"; check "settings file of 5 MB: built-in settings" 0 $?
grep -q 'is not read: larger than 4 MB' "$work/err"; check "settings file of 5 MB: said" 0 $?
rm -f "$XDG_CONFIG_HOME/Vendrel/Harbek/Vexa.ini"

# No temporary file is left behind.
check "temporary folder empty" "" "$(ls "$TMPDIR")"

finish cli
