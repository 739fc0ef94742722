#!/bin/bash
# Times tshark -V on the benchmark's mix of Q.931 messages against the decoder benchmark
# on the same mix, and prints the ratio measured in this run.
#   bench/isdn/vs-tshark.sh ISDN_BENCH_BINARY [MESSAGES]
# Needs tshark and text2pcap (Debian package tshark).
set -euo pipefail
bench="${1:?usage: vs-tshark.sh PATH/TO/isdn_bench [MESSAGES]}"
count="${2:-20000}"
for tool in tshark text2pcap; do
  command -v "$tool" >/dev/null || { echo "$tool not found (apt-get install tshark)"; exit 2; }
done
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

"$bench" --dump-mix "$count" > "$work/mix.txt"
# Link type 147 (USER0), handed to the Q.931 dissector.
text2pcap -q -l 147 "$work/mix.txt" "$work/mix.pcap" >/dev/null 2>&1
dlt='uat:user_dlts:"User 0 (DLT=147)","q931","0","","0",""'

# tshark: full decode (-V) of every message; the startup time is measured on an empty
# capture and taken off.
head -n 1 "$work/mix.txt" > "$work/one.txt"
text2pcap -q -l 147 "$work/one.txt" "$work/one.pcap" >/dev/null 2>&1
t0=$(date +%s.%N); tshark -o "$dlt" -V -r "$work/one.pcap" > /dev/null 2>&1; t1=$(date +%s.%N)
tshark -o "$dlt" -V -r "$work/mix.pcap" > "$work/tshark.txt" 2>/dev/null; t2=$(date +%s.%N)
decoded=$(grep -c '^Q.931$' "$work/tshark.txt" || true)
tshark_s=$(echo "$t2 - $t1 - ($t1 - $t0)" | bc -l)

# Ours: the decoding benchmark on the same mix.
ns=$("$bench" --benchmark_filter='^BM_DecodeMix$' --benchmark_format=csv 2>/dev/null |
     awk -F, '/BM_DecodeMix/ {print $3}')
ours_s=$(echo "$ns * $count / 1000000000" | bc -l)

printf 'messages:            %d (tshark decoded %d)\n' "$count" "$decoded"
printf 'tshark -V:           %.3f s  (%.1f us per message, startup excluded)\n' "$tshark_s" \
  "$(echo "$tshark_s * 1000000 / $count" | bc -l)"
printf 'VexaParser decoder:  %.4f s  (%.3f us per message)\n' "$ours_s" "$(echo "$ns / 1000" | bc -l)"
printf 'ratio:               %.0f times as fast (target: at least 20; %.0f with tshark startup counted)\n' \
  "$(echo "$tshark_s / $ours_s" | bc -l)" "$(echo "($t2 - $t1) / $ours_s" | bc -l)"
