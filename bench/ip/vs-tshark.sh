#!/bin/bash
# Times tshark -V decoding the real H.225.0 messages of the tests' corpus (RAS over UDP 1719,
# call signalling in TPKT over TCP 1720), cycled, against the IP component's decoder on the
# same messages, and prints the ratio measured in this run. H.245 is left out of both sides:
# tshark does not take it on a port of its own without a call that set it up.
#   bench/ip/vs-tshark.sh BUILD_DIR [MESSAGES]
# Needs tshark and text2pcap (Debian package tshark).
set -euo pipefail
build="${1:?usage: vs-tshark.sh BUILD_DIR [MESSAGES]}"
count="${2:-20000}"
here="$(cd "$(dirname "$0")" && pwd)"
corpus="$here/../../tests/ip/corpus"
for tool in tshark text2pcap; do
  command -v "$tool" >/dev/null || { echo "$tool not found (apt-get install tshark)"; exit 2; }
done
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# The messages cycled to COUNT in all, in the corpus's order, as text2pcap input.
python3 - "$corpus" "$count" "$work" <<'PY'
import sys, os
corpus, count, work = sys.argv[1], int(sys.argv[2]), sys.argv[3]
def rows(name):
    return [bytes.fromhex(l.split("\t")[2]) for l in list(open(os.path.join(corpus, name)))[1:]]
ras, cs = rows("ras.tsv"), rows("h225cs.tsv")
mix = [("ras", m) for m in ras] + [("cs", bytes([3, 0, (len(m) + 4) >> 8, (len(m) + 4) & 255]) + m) for m in cs]
files = {k: open(os.path.join(work, k + ".txt"), "w") for k in ("ras", "cs")}
for i in range(count):
    kind, octets = mix[i % len(mix)]
    f = files[kind]
    for off in range(0, len(octets), 16):
        f.write("%06x %s\n" % (off, " ".join("%02x" % b for b in octets[off:off + 16])))
    f.write("\n")
PY
text2pcap -q -u 1719,1719 "$work/ras.txt" "$work/ras.pcap" >/dev/null 2>&1
text2pcap -q -T 1720,1720 "$work/cs.txt" "$work/cs.pcap" >/dev/null 2>&1
head -n 2 "$work/ras.txt" > "$work/one.txt"
text2pcap -q -u 1719,1719 "$work/one.txt" "$work/one.pcap" >/dev/null 2>&1

# tshark: the startup is measured on a capture of one message and taken off.
t0=$(date +%s.%N); tshark -V -r "$work/one.pcap" > /dev/null 2>&1; t1=$(date +%s.%N)
tshark -V -r "$work/ras.pcap" > "$work/ras.out" 2>/dev/null; t2=$(date +%s.%N)
tshark -V -r "$work/cs.pcap" > "$work/cs.out" 2>/dev/null; t3=$(date +%s.%N)
startup=$(echo "$t1 - $t0" | bc -l)
tshark_s=$(echo "$t3 - $t1 - 2 * $startup" | bc -l)
decoded=$(( $(grep -c '^H.225.0 RAS' "$work/ras.out" || true) + $(grep -c '^H.225.0 CS' "$work/cs.out" || true) ))

ours_s=$("$build/bin/ip_bench" "$corpus" "$count" ras,h225cs | awk '/^seconds/ {print $2}')
printf 'messages:             %d (tshark decoded %d)\n' "$count" "$decoded"
printf 'tshark -V:            %.3f s  (%.1f us per message, startup excluded)\n' "$tshark_s" \
  "$(echo "$tshark_s * 1000000 / $count" | bc -l)"
printf 'VexaIpParser decoder: %.4f s  (%.2f us per message)\n' "$ours_s" "$(echo "$ours_s * 1000000 / $count" | bc -l)"
printf 'ratio:                %.0f times as fast (target: at least 20)\n' "$(echo "$tshark_s / $ours_s" | bc -l)"
