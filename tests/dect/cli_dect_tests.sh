#!/usr/bin/env bash
# vexa-interpret over the DECT component on the DECT samples: the blocks a user reads, the
# list's rows, and the SCP ID and transaction side filters.
# Usage: cli_dect_tests.sh VEXA_INTERPRET COMPONENT_FOLDER SAMPLES_FOLDER
. "$(dirname "$0")/../cli/common.sh"
samples=$3
rows() { cut -f1,3; }

# The registration: every message decoded, none red.
out=$("$prog" -p 5 --list "$samples/dect-registration.trc" | rows)
check "registration not red" "0" "$("$prog" -p 5 --list "$samples/dect-registration.trc" | grep -c invalid)"
check "registration rows" $'101\tMM-LOCATE-REQUEST\n102\tMM-AUTHENTICATION-REQUEST\n103\tMM-AUTHENTICATION-REPLY\n104\tMM-CIPHER-REQUEST\n105\tMM-LOCATE-ACCEPT\n107\tStation control message' "$out"
# The DECT header of a block.
out=$("$prog" -p 5 --no-all-rows --no-hex "$samples/dect-registration.trc" | grep -A6 '^Incoming Message: MM-LOCATE-REQUEST')
check "DECT header" $'Incoming Message: MM-LOCATE-REQUEST\nProtocol Discriminator: MM Mobility Management (H\'05)\nTransaction Value: TI 0 (Originator)\nPortable identity: IPUI-N IPEI 02748 0074565 8\nUser Part: 2345\nSCP ID: 0012\nSCP Message: DATA_IND' "$out"
# A station control message alone: only its SCP lines.
out=$("$prog" -p 5 --no-all-rows --no-hex "$samples/dect-registration.trc" | grep -B1 -A1 'SCP Message: LINK_REL_REQ')
check "station control block" $'SCP ID: 0012\nSCP Message: LINK_REL_REQ' "$out"
# The SCP ID filter keeps the incoming call, paging included.
out=$("$prog" -p 5 --list --filter scpid=0040 "$samples/dect-call.trc" | cut -f1 | tr '\n' ' ')
check "scpid filter" "212 213 214 215 216 217 218 219 " "$out"
# Transaction sides: messages sent by the side that did not start the transaction.
out=$("$prog" -p 5 --list --filter tran=destination "$samples/dect-call.trc" | cut -f1 | tr '\n' ' ')
check "destination filter" "202 205 206 207 210 215 216 219 " "$out"
out=$("$prog" -p 5 --list --filter tran=originator "$samples/dect-registration.trc" | cut -f1 | tr '\n' ' ')
check "originator filter" "101 103 " "$out"
# The filtered text shows the same signals' blocks.
out=$("$prog" -p 5 --filter tran=originator "$samples/dect-registration.trc" | grep -c '^Incoming Message: ')
check "originator blocks" "2" "$out"
# The trace of faults: every row red, the trace without an end line read to its end.
out=$("$prog" -p 5 --list "$samples/dect-errors.trc" | cut -f1,7 | tr '\n' ' ')
check "error rows" $'301\tinvalid 302\tinvalid 303\tinvalid 304\tinvalid 305\tinvalid 307\tinvalid 308\tinvalid 309\tinvalid ' "$out"

finish "cli dect"
