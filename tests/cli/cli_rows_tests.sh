#!/usr/bin/env bash
# vexa-interpret over the ISDN component on a trace whose sequence numbers repeat: the
# direction choices and filters show each listed signal's own block, once.
# Usage: cli_rows_tests.sh VEXA_INTERPRET COMPONENT_FOLDER SAMPLES_FOLDER
. "$(dirname "$0")/common.sh"
trace=$3/isdn-repeat.trc
# The message headers of a text, one a line.
headers() { grep -E '^(Outgoing|Incoming) Message: ' | sed 's/ Message//'; }

out=$("$prog" -p 1 --direction HWSW "$trace" | headers)
check "incoming signals" $'Incoming: ALERTING\nIncoming: CONNECT\nIncoming: RELEASE' "$out"
out=$("$prog" -p 1 --direction SWHW "$trace" | headers)
check "outgoing signals" $'Outgoing: SETUP\nOutgoing: DISCONNECT\nOutgoing: RELEASE COMPLETE' "$out"
out=$("$prog" -p 1 --filter callref=02 "$trace" | headers)
check "second call" $'Outgoing: DISCONNECT\nIncoming: RELEASE\nOutgoing: RELEASE COMPLETE' "$out"
# The rows of the list name the same signals as the text.
out=$("$prog" -p 1 --direction HWSW --list "$trace" | cut -f1,3)
check "incoming rows" $'1234\tALERTING\n43\tCONNECT\n43\tRELEASE' "$out"
# Saved after a direction choice: the same blocks.
"$prog" -p 1 --direction SWHW -o "$work/saved.out" "$trace" > /dev/null
check "saved outgoing signals" $'Outgoing: SETUP\nOutgoing: DISCONNECT\nOutgoing: RELEASE COMPLETE' "$(headers < "$work/saved.out")"

finish "cli rows"
