#!/usr/bin/env python3
"""Writes samples/ip-two-calls.trc: two H.323 calls between the same two sides at once;
with --one-call, samples/ip-call.trc: one call alone.

usage: make-ip-two-calls.py [--one-call] [OUTPUT]

A registration first, then call A and call B, each with admission (RAS), call signalling
on its own TCP connection to port 1720, the H.245 exchange on the connection to the
address its CONNECT offers, and disengage; the calls overlap, so that their messages
alternate. Call B's SETUP carries fast start and tunnelled H.245. The message octets are
those of tests/ip/corpus, with the callIdentifier, conferenceID, call reference,
requestSeqNum and H.245 address of each call set so that every message names its own call.

The one call is call B's SETUP with admission, the answers, the whole H.245 exchange of
call A's connection and disengage, every message carrying call B's callIdentifier,
conferenceID and call reference, and the CONNECT offering the H.245 address in use.
"""
import importlib.util
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.join(HERE, "..", "..")
SCRIPTS = os.path.join(ROOT, "scripts")

# The signal rows and time stamps of the trace generators, and the corpus reader and the TPKT
# framing of the IP one.
sys.path.insert(0, SCRIPTS)
from tracegen import INDENT, clock, heading, octet_rows  # noqa: E402

_spec = importlib.util.spec_from_file_location("gen_ip_trace", os.path.join(SCRIPTS, "gen-ip-trace.py"))
_generator = importlib.util.module_from_spec(_spec)
_spec.loader.exec_module(_generator)
load, tpkt = _generator.load, _generator.tpkt

RAS, CS, H245 = load("ras.tsv"), load("h225cs.tsv"), load("h245.tsv")


def patch(octets, old, new):
    old, new = bytes.fromhex(old), bytes.fromhex(new)
    assert len(old) == len(new) and octets.count(old) == 1, (old.hex(), octets.hex())
    return octets.replace(old, new)


def at(octets, offset, new):
    new = bytes.fromhex(new)
    return octets[:offset] + new + octets[offset + len(new):]


# The identifiers the corpus messages carry, and those of the two calls.
CORPUS_GUID, CORPUS_CONF = "c0fef93ecd9ed6119ab2000476222017", "f8fdf93ecd9ed6119ab2000476222017"
RAS_GUID, RAS_CONF = "004091fb7289f911802a050403020100", "003dfd30000048338000050403020100"
RELEASE_GUID = "24ab157276fa18109a58001321f06990"
A_GUID, A_CONF = CORPUS_GUID, CORPUS_CONF
B_GUID, B_CONF = "5e881d0cb706db119eca0010a4896d6a", "6a8b1d0cb706db119eca0010a4896d6a"  # vector1's

EP, GK, GW = "10.1.3.143", "10.1.6.1", "10.1.6.18"
RAS_PORT = 2034


def ras_call(octets, guid, conf):
    octets = patch(octets, RAS_GUID, guid)
    return patch(octets, RAS_CONF, conf) if conf else octets


def cs_call(octets, guid, conf, callref):
    octets = at(octets, 2, callref)
    octets = patch(octets, CORPUS_GUID, guid)
    return patch(octets, CORPUS_CONF, conf) if conf else octets


def connect(guid, conf, callref, h245_port):
    octets = cs_call(CS["18"][0], guid, conf, callref)
    return patch(octets, "0a01061204d0", "0a010612%04x" % h245_port)


def release(guid, callref):
    return at(patch(CS["66"][0], RELEASE_GUID, guid), 2, callref)


A_CS, B_CS = (EP, 32803, GW, 1720), (EP, 32805, GW, 1720)
A_H245, B_H245 = (EP, 32804, GW, 11000), (EP, 32806, GW, 11002)
A_RAS = B_RAS = (EP, RAS_PORT, GK, 1719)

# (outgoing, transport, (own host, own port, far host, far port), octets); a text: an internal
# signal with that line.
SIGNALS = [
    (True, "UDP", A_RAS, RAS["61"][0]),                                  # registrationRequest
    (False, "UDP", A_RAS, RAS["62"][0]),                                 # registrationConfirm
    (True, "UDP", A_RAS, ras_call(RAS["63"][0], A_GUID, A_CONF)),        # A admissionRequest 3
    (False, "UDP", A_RAS, RAS["64"][0]),                                 # A admissionConfirm 3
    (True, "TCP", A_CS, tpkt(at(CS["6"][0], 2, "77f4"))),                # A SETUP
    (False, "TCP", A_CS, tpkt(CS["10"][0])),                             # A CALL PROCEEDING
    (False, "TCP", A_CS, tpkt(CS["14"][0])),                             # A ALERTING
    (True, "UDP", B_RAS, at(ras_call(RAS["63"][0], B_GUID, B_CONF), 2, "0006")),  # B admissionRequest 7
    (False, "UDP", B_RAS, at(RAS["64"][0], 2, "0006")),                  # B admissionConfirm 7
    (True, "TCP", B_CS, tpkt(CS["vector1"][0])),                         # B SETUP, fast start
    (False, "TCP", A_CS, tpkt(connect(A_GUID, A_CONF, "f7f4", 11000))),  # A CONNECT
    (True, "TCP", A_H245, tpkt(H245["25"][0])),                          # A terminalCapabilitySet
    (False, "TCP", B_CS, tpkt(cs_call(CS["10"][0], B_GUID, None, "d42b"))),  # B CALL PROCEEDING
    (False, "TCP", A_H245, tpkt(H245["29"][0])),                         # A terminalCapabilitySet
    (False, "TCP", B_CS, tpkt(cs_call(CS["14"][0], B_GUID, None, "d42b"))),  # B ALERTING
    (False, "TCP", B_CS, tpkt(connect(B_GUID, B_CONF, "d42b", 11002))),  # B CONNECT
    (True, "TCP", B_H245, tpkt(H245["25"][0])),                          # B terminalCapabilitySet
    (True, "TCP", A_H245, tpkt(H245["27"][0])),                          # A masterSlaveDetermination
    (False, "TCP", B_H245, tpkt(H245["vector1"][0])),                    # B terminalCapabilitySet
    (False, "TCP", A_H245, tpkt(H245["30"][0])),                         # A masterSlaveDetermination
    (True, "TCP", B_H245, tpkt(H245["27"][0])),                          # B masterSlaveDetermination
    (True, "TCP", A_H245, tpkt(H245["32"][0]) + tpkt(H245["32"][1])),   # A two acknowledgements
    (False, "TCP", B_H245, tpkt(H245["36"][0])),                         # B masterSlaveDeterminationAck
    (False, "TCP", A_H245, tpkt(H245["36"][0])),                         # A masterSlaveDeterminationAck
    "B-CHANNEL 2 SEIZED",
    (True, "TCP", A_H245, tpkt(H245["38"][0])),                          # A openLogicalChannel
    (False, "TCP", A_H245, tpkt(H245["41"][0])),                         # A openLogicalChannelAck
    (False, "TCP", B_CS, tpkt(release(B_GUID, "d42b"))),                 # B RELEASE COMPLETE
    (True, "UDP", B_RAS, at(ras_call(RAS["69"][0], B_GUID, B_CONF), 1, "1056")),  # B disengageRequest 4183
    (False, "UDP", B_RAS, bytes.fromhex("401056")),                      # B disengageConfirm 4183
    (False, "UDP", A_RAS, ras_call(RAS["67"][0], A_GUID, None)),         # A infoRequest
    (False, "TCP", A_CS, tpkt(release(A_GUID, "f7f4"))),                 # A RELEASE COMPLETE
    (True, "UDP", A_RAS, ras_call(RAS["69"][0], A_GUID, A_CONF)),        # A disengageRequest 4181
    (False, "UDP", A_RAS, bytes.fromhex("401054")),                      # A disengageConfirm 4181
]


# One call alone: (outgoing, transport, addresses, octets) as above; a text: an internal
# signal with that line ("" for none).
ONE_CALL = [
    (True, "UDP", A_RAS, ras_call(RAS["63"][0], B_GUID, B_CONF)),         # admissionRequest 3
    (False, "UDP", A_RAS, RAS["64"][0]),                                  # admissionConfirm 3
    "",
    (True, "TCP", A_CS, tpkt(CS["vector1"][0])),                          # SETUP, fast start
    (False, "TCP", A_CS, tpkt(cs_call(CS["10"][0], B_GUID, None, "d42b"))),  # CALL PROCEEDING
    (False, "TCP", A_CS, tpkt(cs_call(CS["14"][0], B_GUID, None, "d42b"))),  # ALERTING
    (False, "TCP", A_CS, tpkt(connect(B_GUID, B_CONF, "d42b", 11000))),   # CONNECT
    (True, "TCP", A_H245, tpkt(H245["25"][0])),                           # terminalCapabilitySet
    (False, "TCP", A_H245, tpkt(H245["29"][0])),                          # terminalCapabilitySet
    (True, "TCP", A_H245, tpkt(H245["27"][0])),                           # masterSlaveDetermination
    (False, "TCP", A_H245, tpkt(H245["30"][0])),                          # masterSlaveDetermination
    (True, "TCP", A_H245, tpkt(H245["32"][0]) + tpkt(H245["32"][1])),    # two acknowledgements
    (False, "TCP", A_H245, tpkt(H245["36"][0])),                          # masterSlaveDeterminationAck
    (True, "TCP", A_H245, tpkt(H245["38"][0])),                           # openLogicalChannel
    (False, "TCP", A_H245, tpkt(H245["39"][0])),                          # openLogicalChannel
    (True, "TCP", A_H245, tpkt(H245["41"][0])),                           # openLogicalChannelAck
    (False, "TCP", A_H245, tpkt(H245["42"][0])),                          # openLogicalChannelAck
    "B-CHANNEL 1 RELEASED",
    (False, "TCP", A_CS, tpkt(release(B_GUID, "d42b"))),                  # RELEASE COMPLETE
    (True, "UDP", A_RAS, ras_call(RAS["69"][0], B_GUID, B_CONF)),         # disengageRequest 4181
    (False, "UDP", A_RAS, bytes.fromhex("401054")),                       # disengageConfirm 4181
]


def trace(signals, started, first_seq):
    """The lines of a trace: signals 70 ms apart, the first 70 ms after started
    (hh, mm, ss, cc), numbered from first_seq."""
    h, m, s, c = started
    lines = ["KORVAN SIGNAL TRACE   EXCHANGE HQ-01   STARTED 2026-12-05 %02d.%02d.00" % (h, m),
             "TRACE SET: IP  H323-01", ""]
    t = h * 360000 + m * 6000 + s * 100 + c
    for n, signal in enumerate(signals):
        t += 7
        stamp, seq = clock(t), first_seq + n
        if isinstance(signal, str):
            lines.append(heading(stamp, seq, "SWSW", "CALLSUP", "H323-01", "CALLCTL-01").rstrip("\n"))
            if signal:
                lines.append(INDENT + signal)
            continue
        send, transport, (own, own_port, far, far_port), octets = signal
        src, dst = ("%s:%d" % (own, own_port), "%s:%d" % (far, far_port))
        if not send:
            src, dst = dst, src
        name, orig, dest = ("IPSEND", "H323-01", "IPGW-01") if send else ("IPRECV", "IPGW-01", "H323-01")
        lines.append(heading(stamp, seq, "SWHW" if send else "HWSW", name, orig, dest).rstrip("\n"))
        lines.append(INDENT + "%s %s > %s" % (transport, src, dst))
        lines += octet_rows(octets).splitlines()
    lines.append("END OF TRACE")
    return lines


def main():
    args = sys.argv[1:]
    one_call = "--one-call" in args
    args = [a for a in args if a != "--one-call"]
    if one_call:
        default, lines = "ip-call.trc", trace(ONE_CALL, (9, 41, 7, 28), 200)
    else:
        default, lines = "ip-two-calls.trc", trace(SIGNALS, (10, 12, 5, 0), 600)
    out = args[0] if args else os.path.join(ROOT, "samples", default)
    with open(out, "w") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
