#!/usr/bin/env python3
"""Writes a large Korvan IP signal trace for load tests of Vexa's IP parser.

usage: gen-ip-trace.py LINES OUTPUT [--seed N]

The trace holds H.323 calls of many endpoints at once: admission (RAS over UDP 1719), call
signalling on TCP 1720 (SETUP, one in four with fast start and tunnelled H.245, CALL
PROCEEDING, ALERTING, CONNECT, RELEASE COMPLETE), the H.245 exchange on other TCP ports
(capabilities, master-slave determination, logical channels), disengage; some segments carry
two TPKT packets, some packets span three segments with other signals between them, and
internal signals with free-text rows come in between. The message octets are the real ones of tests/ip/corpus. It has exactly LINES
lines (the last one is END OF TRACE).
"""
import os

import tracegen
from tracegen import INDENT

HERE = os.path.dirname(os.path.abspath(__file__))
CORPUS = os.path.join(HERE, "..", "tests", "ip", "corpus")


def load(name):
    rows = {}
    with open(os.path.join(CORPUS, name)) as f:
        next(f)
        for line in f:
            cols = line.rstrip("\n").split("\t")
            rows.setdefault(cols[1], []).append(bytes.fromhex(cols[2]))
    return rows


RAS = load("ras.tsv")
CS = load("h225cs.tsv")
H245 = load("h245.tsv")


def tpkt(payload):
    n = len(payload) + 4
    return bytes([3, 0, n >> 8, n & 255]) + payload


class IpTrace(tracegen.Trace):
    SUPERVISOR = ("CALLSUP", "H323-01")

    def signal(self, send, transport, src, dst, octets):
        rows = 3 + (len(octets) + 15) // 16
        if not self.room(rows):
            return False
        name, orig, dest = ("IPSEND", "H323-01", "IPGW-01") if send else ("IPRECV", "IPGW-01", "H323-01")
        text = self.head("SWHW" if send else "HWSW", name, orig, dest)
        text += INDENT + "%s %s > %s\n" % (transport, src, dst)
        self.write(text + tracegen.octet_rows(octets))
        return True

    def other(self):
        """An internal signal that seizes a B-channel. The channel is drawn after the time
        stamp, so that a seed gives the same trace as it always has."""
        if not self.room(2):
            return False
        head = self.head("SWSW", *self.SUPERVISOR, "CALLCTL-01")
        self.write(head + INDENT + "B-CHANNEL %d SEIZED\n" % self.rng.randint(1, 30))
        return True

    def filler(self):
        return tracegen.heading(self.stamp(), 0, "SWSW", "TIMER", "H323-01", "H323-01")


def call(trace, rng, n):
    ep = "10.%d.%d.%d" % (rng.randint(1, 9), rng.randint(0, 255), rng.randint(1, 254))
    gk, gw = "10.1.6.1", "10.1.6.18"
    ras_port, cs_port, h245_port = 2000 + n % 1000, 30000 + n % 20000, 11000 + n % 1000
    steps = [
        (True, "UDP", ep, ras_port, gk, 1719, RAS["63"][0]),
        (False, "UDP", gk, 1719, ep, ras_port, RAS["64"][0]),
        # One SETUP in four carries fast start with tunnelled H.245 (a kilobyte); the others
        # are plain.
        (True, "TCP", ep, cs_port, gw, 1720, tpkt(CS["vector1"][0] if n % 4 == 0 else CS["6"][0])),
        (False, "TCP", gw, 1720, ep, cs_port, tpkt(CS["10"][0])),
        (False, "TCP", gw, 1720, ep, cs_port, tpkt(CS["14"][0])),
        (False, "TCP", gw, 1720, ep, cs_port, tpkt(CS["18"][0])),
        (True, "TCP", ep, h245_port, gw, 11000, tpkt(H245["25"][0])),
        (False, "TCP", gw, 11000, ep, h245_port, tpkt(H245["vector1"][0])),
        (True, "TCP", ep, h245_port, gw, 11000, tpkt(H245["27"][0])),
        (False, "TCP", gw, 11000, ep, h245_port, tpkt(H245["30"][0])),
        (True, "TCP", ep, h245_port, gw, 11000, tpkt(H245["32"][0]) + tpkt(H245["32"][1])),
        (False, "TCP", gw, 11000, ep, h245_port, tpkt(H245["36"][0])),
        (True, "TCP", ep, h245_port, gw, 11000, tpkt(H245["38"][0])),
        (False, "TCP", gw, 11000, ep, h245_port, tpkt(H245["41"][0])),
        (False, "TCP", gw, 1720, ep, cs_port, tpkt(CS["66"][0])),
        (True, "UDP", ep, ras_port, gk, 1719, RAS["69"][0]),
        (False, "UDP", gk, 1719, ep, ras_port, bytes.fromhex("401054")),
    ]
    for send, transport, a, pa, b, pb, octets in steps:
        src, dst = "%s:%d" % (a, pa), "%s:%d" % (b, pb)
        if transport == "TCP" and len(octets) > 200 and rng.random() < 0.3:
            # Sent in three segments with other signals between them.
            cut1, cut2 = len(octets) // 3, 2 * len(octets) // 3
            for part in (octets[:cut1], octets[cut1:cut2], octets[cut2:]):
                if not trace.signal(send, transport, src, dst, part):
                    return False
                if rng.random() < 0.5 and not trace.other():
                    return False
            continue
        if not trace.signal(send, transport, src, dst, octets):
            return False
        if rng.random() < 0.2 and not trace.other():
            return False
    return True


def calls(trace, rng):
    n = 0
    while call(trace, rng, n):
        n += 1


def main():
    tracegen.generate(__doc__, IpTrace, "IP  H323-01", calls)


if __name__ == "__main__":
    main()
