#!/usr/bin/env bash
# vexa-interpret over the IP component and its sample traces, as a user runs it: the message
# names, the red rows, the IP protocol filter and the layout of a packet over three segments.
# Usage: ip_cli_tests.sh VEXA_INTERPRET COMPONENT_FOLDER SAMPLES_FOLDER
. "$(dirname "$0")/../cli/common.sh"
samples=$3
export HOME=$work

rows() { "$prog" -p 6 --list "$@" | cut -f1,3,7 | tr '\t' ' ' | sed 's/ $//'; }

check "registration" $'100 gatekeeperRequest\n101 gatekeeperConfirm\n102 registrationRequest\n103 registrationConfirm' \
  "$(rows "$samples/ip-registration.trc")"
check "call signalling of the call" $'203 SETUP\n204 CALL PROCEEDING\n205 ALERTING\n206 CONNECT\n218 RELEASE COMPLETE' \
  "$(rows --filter ip=H2250 "$samples/ip-call.trc")"
check "RAS of the call" $'200 admissionRequest\n201 admissionConfirm\n219 disengageRequest\n220 disengageConfirm' \
  "$(rows --filter ip=RAS "$samples/ip-call.trc")"
check "H.245 of the call" "$(printf '%s\n' '207 terminalCapabilitySet' '208 terminalCapabilitySet' \
  '209 masterSlaveDetermination' '210 masterSlaveDetermination' '211 terminalCapabilitySetAck' \
  '212 masterSlaveDeterminationAck' '213 openLogicalChannel' '214 openLogicalChannel' '215 openLogicalChannelAck' \
  '216 openLogicalChannelAck')" "$(rows --filter ip=H245 "$samples/ip-call.trc")"
# Two packets in one segment: one row; a bad later packet makes the row red with its texts.
check "two packets in one segment" $'300 terminalCapabilitySetAck\n301 terminalCapabilitySet\n302 openLogicalChannel invalid' \
  "$(rows --filter ip=H245 "$samples/ip-two-packets.trc")"
check "both packets in the text" $'terminalCapabilitySetAck\nmasterSlaveDeterminationAck' \
  "$("$prog" -p 6 --no-all-rows "$samples/ip-two-packets.trc" | grep -o 'response: [A-Za-z]*' | head -2 | sed 's/response: //')"
check "malformed messages are red" \
  $'500 gatekeeperRequest invalid\n501 SETUP invalid\n502 TPKT error invalid\n503 RAS message invalid' \
  "$(rows "$samples/ip-malformed.trc")"
# The fast start channels and the tunnelled H.245 of the SETUP are decoded.
text=$("$prog" -p 6 --no-all-rows "$samples/ip-call.trc")
check "fast start" "yes" "$(grep -q 'fastStart (' <<< "$text" && grep -q 'OpenLogicalChannel)' <<< "$text" && echo yes)"
check "tunnelled H.245" "yes" "$(grep -q 'MultimediaSystemControlMessage): request: terminalCapabilitySet' <<< "$text" && echo yes)"
# A packet over three segments: its first segment's lines, then the whole message; each
# line of the trace once, in order.
out=$("$prog" -p 6 --no-all-rows --no-hex "$samples/ip-spanning.trc" | grep -E '^[0-9]|^ {24}(TCP|UDP|LEN)|^(Incoming|Outgoing) Message: |in 3 segments')
expected=$(cat <<'TXT'
09.41.09.03 00400  HWSW IPRECV       IPGW-01    H323-01
                        TCP 10.1.6.18:11000 > 10.1.3.143:32804
                        LEN 100
Incoming Message: terminalCapabilitySet
      H.245, TCP 10.1.6.18:11000 > 10.1.3.143:32804, TPKT of 252 octets in 3 segments
09.41.09.17 00402  SWHW IPSEND       H323-01    IPGW-01
                        UDP 10.1.3.143:2034 > 10.1.6.1:1719
Outgoing Message: infoRequest
09.41.09.24 00403  HWSW IPRECV       IPGW-01    H323-01
                        TCP 10.1.6.18:11000 > 10.1.3.143:32804
Incoming Message: continuation of terminalCapabilitySet
09.41.09.31 00404  SWHW IPSEND       H323-01    IPGW-01
                        TCP 10.1.3.143:32804 > 10.1.6.18:11000
Outgoing Message: masterSlaveDeterminationAck
09.41.09.38 00405  HWSW IPRECV       IPGW-01    H323-01
                        TCP 10.1.6.18:11000 > 10.1.3.143:32804
Incoming Message: continuation of terminalCapabilitySet
TXT
)
check "packet over three segments" "$expected" "$out"
# Every line of the trace appears once with all rows on.
all=$("$prog" -p 6 --all-rows "$samples/ip-spanning.trc")
for seq in 00400 00401 00402 00403 00404 00405; do
  check "signal $seq written once" 1 "$(grep -c "^[0-9.]* $seq " <<< "$all")"
done

finish "ip cli"
