#!/usr/bin/env bash
# vexa-interpret --flow SEQ --svg FILE and --summary over the samples with the real
# components: the picture's arrows are the call's messages, the summary names causes,
# invalid messages and calls that never ended.
# Usage: cli_flow_tests.sh VEXA_INTERPRET COMPONENT_FOLDER SAMPLES_FOLDER
. "$(dirname "$0")/common.sh"
samples=$3
# The sequence numbers and labels of an SVG's arrows, one a line.
arrows() { sed -n 's/.*<g class="arrow" data-seq="\([0-9]*\)".*<text class="label"[^>]*>\([^<]*\)<.*/\1 \2/p' "$1"; }

"$prog" -p 1 --flow 45 --svg "$work/isdn.svg" "$samples/isdn-call.trc"
check "isdn flow status" 0 $?
check "isdn flow arrows" "42 SETUP  (to 456)
44 ALERTING
45 CONNECT
46 CONNECT ACKNOWLEDGE
48 DISCONNECT  (cause 16 Normal call clearing)
49 RELEASE
50 RELEASE COMPLETE" "$(arrows "$work/isdn.svg")"
# The arrows are the rows of the message list, in order.
check "isdn flow is the list" "$("$prog" -p 1 --list "$samples/isdn-call.trc" | cut -f1,3 | tr '\t' ' ')" \
  "$(arrows "$work/isdn.svg" | sed 's/  (.*//')"

# The national variants: each sample is one call, its picture the list's rows in order, with
# the called number on SETUP and the cause on DISCONNECT as each variant decodes them.
for variant in "2 german 400 to 456" "3 french 500 to 1234" "4 australian 600 to 0298765432"; do
  set -- $variant
  "$prog" -p "$1" --flow "$3" --svg "$work/variant$1.svg" "$samples/isdn-$2.trc"
  check "$2 flow is the list" "$("$prog" -p "$1" --list "$samples/isdn-$2.trc" | cut -f1,3 | tr '\t' ' ')" \
    "$(arrows "$work/variant$1.svg" | sed 's/  (.*//')"
  check "$2 flow SETUP key" "$3 SETUP  ($4 $5)" "$(arrows "$work/variant$1.svg" | head -1)"
  check "$2 flow has the cause" 1 "$(arrows "$work/variant$1.svg" | grep -c 'DISCONNECT  (cause ')"
  "$prog" -p "$1" --summary "$samples/isdn-$2.trc" > "$work/variant$1.txt"
  check "$2 summary counts the SETUP" 1 "$(grep -c '^  SETUP  ' "$work/variant$1.txt")"
done

"$prog" -p 5 --flow 201 --svg "$work/dect.svg" "$samples/dect-call.trc"
check "dect flow arrows" "201 202 203 204 205 206 207 209 210" "$(arrows "$work/dect.svg" | cut -d' ' -f1 | xargs)"

# Two calls between the same two sides: each picture holds its own RAS, call signalling
# and H.245 messages; one arrow per message (signal 621 carries two H.245 messages).
"$prog" -p 6 --flow 618 --svg "$work/ip.svg" "$samples/ip-two-calls.trc"
check "ip flow of the second call" "607 608 609 612 614 615 616 618 620 622 627 628 629" \
  "$(arrows "$work/ip.svg" | cut -d' ' -f1 | xargs)"
"$prog" -p 6 --flow 604 --svg "$work/ip.svg" "$samples/ip-two-calls.trc"
check "ip flow of the first call" "602 603 604 605 606 610 611 613 617 619 621 621 623 625 626 630 631 632 633" \
  "$(arrows "$work/ip.svg" | cut -d' ' -f1 | xargs)"
check "ip signal of two messages" "621 terminalCapabilitySetAck  (H.245)
621 masterSlaveDeterminationAck  (H.245)" "$(arrows "$work/ip.svg" | grep '^621 ')"
# The sample call is one call: from its admission, its H.245 or its disengage, the picture
# is every message of the trace, admission to disengage.
for seq in 200 209 220; do
  "$prog" -p 6 --flow $seq --svg "$work/ip.svg" "$samples/ip-call.trc"
  check "ip sample call from $seq" "$("$prog" -p 6 --list "$samples/ip-call.trc" | cut -f1 | xargs | sed 's/211/211 211/')" \
    "$(arrows "$work/ip.svg" | cut -d' ' -f1 | xargs)"
done

"$prog" -p 1 --flow 999 --svg "$work/none.svg" "$samples/isdn-call.trc" 2>"$work/err"
check "unknown signal status" 2 $?
check "unknown signal message" "vexa-interpret: no signal 999 in the trace" "$(cat "$work/err")"
"$prog" -p 1 --flow 42 "$samples/isdn-call.trc" 2>/dev/null
check "flow without svg" 2 $?
"$prog" -p 1 --flow 42 --svg "$work/no/such/folder/x.svg" "$samples/isdn-call.trc" 2>/dev/null
check "svg not writable" 7 $?

out=$("$prog" -p 1 --summary "$samples/isdn-busy.trc")
check "summary status" 0 $?
check "summary causes" "Causes:
  17  User busy  1" "$(printf '%s\n' "$out" | sed -n '/^Causes:/,/^$/p' | sed '/^$/d')"
out=$("$prog" -p 1 --summary "$samples/isdn-cut.trc")
check "summary unended" "  EQU NO      001-0-02-01 CR 09: SETUP 300 at 12.00.01.00" \
  "$(printf '%s\n' "$out" | sed -n '/^Calls that never ended:/,/^$/p' | sed '1d;/^$/d')"
out=$("$prog" -p 6 --summary "$samples/ip-malformed.trc")
check "summary invalid" "  502  TPKT error  TPKT length 3 is below the four octets of its own header" \
  "$(printf '%s\n' "$out" | grep '^  502 ')"

finish
