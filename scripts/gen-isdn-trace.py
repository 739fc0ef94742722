#!/usr/bin/env python3
"""Writes a large Korvan ISDN signal trace for load tests of Vexa's ISDN parser.

usage: gen-isdn-trace.py LINES OUTPUT [--seed N]

The trace holds whole calls (SETUP to RELEASE COMPLETE, both directions) on many
equipments at once, busy calls with a cause, SETUPs split over DLRDATA signals that are
interleaved with other signals, FACILITY and INFORMATION messages and internal signals
with free-text rows. It has exactly LINES lines (the last one is END OF TRACE).
"""
import argparse
import random

INDENT = " " * 24


class Trace:
    def __init__(self, limit, out, rng):
        self.limit = limit
        self.out = out
        self.rng = rng
        self.lines = 0
        self.seq = 0
        self.t = 9 * 360000  # hundredths of a second since midnight

    def room(self, n):
        return self.lines + n <= self.limit - 1

    def write(self, text):
        self.out.write(text)
        self.lines += text.count("\n")

    def stamp(self):
        self.t = (self.t + self.rng.randint(1, 40)) % (24 * 360000)
        h, rest = divmod(self.t, 360000)
        m, rest = divmod(rest, 6000)
        s, c = divmod(rest, 100)
        return "%02d.%02d.%02d.%02d" % (h, m, s, c)

    def next_seq(self):
        self.seq = self.seq % 32767 + 1
        return self.seq

    def signal(self, direction, name, equ, octets, part=None):
        rows = 3 + (len(octets) + 15) // 16 + (1 if part else 0)
        if not self.room(rows):
            return False
        orig, dest = ("ISDNCP-01", "DLB-0102") if direction == "SWHW" else ("DLB-0102", "ISDNCP-01")
        text = "%s %05d  %s %-12s %-10s %s\n" % (self.stamp(), self.next_seq(), direction, name, orig, dest)
        text += INDENT + "EQU NO      " + equ + "\n"
        if part:
            text += INDENT + "PART %d/%d\n" % part
        for i in range(0, len(octets), 16):
            text += INDENT + "DATA " + " ".join("%02X" % o for o in octets[i:i + 16]) + "\n"
        text += INDENT + "LEN %d\n" % len(octets)
        self.write(text)
        return True

    def internal(self, text):
        if not self.room(2):
            return False
        self.write("%s %05d  SWSW CALLSUP      ISDNCP-01  CALLCTL-01\n%s%s\n" % (self.stamp(), self.next_seq(), INDENT, text))
        return True


def digits(rng, n):
    return [0x30 + rng.randint(0, 9) for _ in range(n)]


def message(cr, flag, mtype, body):
    return [0x08, 0x01, (cr & 0x7F) | (0x80 if flag else 0), mtype] + body


def setup_body(rng, channel):
    calling = digits(rng, rng.randint(6, 10))
    called = digits(rng, rng.randint(3, 10))
    body = [0xA1, 0x04, 0x03, 0x80, 0x90, 0xA3, 0x18, 0x01, 0x88 | channel]
    body += [0x6C, len(calling) + 2, 0x21, 0x83] + calling
    body += [0x70, len(called) + 1, 0xC1] + called
    if rng.random() < 0.3:
        body += [0x7D, 0x02, 0x91, 0x81]
    return body


def call(trace, rng, equ, cr):
    ch = rng.randint(1, 2)
    busy = rng.random() < 0.2
    steps = []
    setup = message(cr, 0, 0x05, setup_body(rng, ch))
    if rng.random() < 0.15:
        third = len(setup) // 3
        pieces = [setup[:third], setup[third:2 * third], setup[2 * third:]]
        for i, p in enumerate(pieces):
            steps.append(("SWHW", "DLRDATA", p, (i + 1, 3)))
            if i < 2:
                steps.append(("INTERNAL", "CALL %d ROUTING" % cr, None, None))
    else:
        steps.append(("SWHW", "DLRDATALONG", setup, None))
    steps.append(("HWSW", "DLIDATALONG", message(cr, 1, 0x02, [0x18, 0x01, 0x88 | ch]), None))
    if busy:
        steps.append(("SWHW", "DLRDATALONG", message(cr, 0, 0x45, [0x08, 0x02, 0x82, 0x91, 0x1E, 0x02, 0x82, 0x88]), None))
    else:
        steps.append(("HWSW", "DLIDATALONG", message(cr, 1, 0x01, []), None))
        steps.append(("HWSW", "DLIDATALONG", message(cr, 1, 0x07, [0x18, 0x01, 0x88 | ch]), None))
        steps.append(("SWHW", "DLRDATALONG", message(cr, 0, 0x0F, []), None))
        steps.append(("INTERNAL", "B-CHANNEL %d THROUGH-CONNECTED" % ch, None, None))
        if rng.random() < 0.2:
            steps.append(("SWHW", "DLRDATALONG", message(cr, 0, 0x62, [0x1C, 0x0C, 0x91, 0xA1, 0x09, 0x02, 0x01,
                                                                           rng.randint(1, 127), 0x02, 0x01, 0x21,
                                                                           0x0A, 0x01, 0x01]), None))
        steps.append(("HWSW", "DLIDATALONG", message(cr, 1, 0x45, [0x08, 0x02, 0x80, 0x90]), None))
    steps.append(("HWSW" if busy else "SWHW", "DLIDATALONG" if busy else "DLRDATALONG",
                  message(cr, 1 if busy else 0, 0x4D, []), None))
    steps.append(("SWHW" if busy else "HWSW", "DLRDATALONG" if busy else "DLIDATALONG",
                  message(cr, 0 if busy else 1, 0x5A, []), None))
    return steps


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("lines", type=int)
    ap.add_argument("output")
    ap.add_argument("--seed", type=int, default=1)
    args = ap.parse_args()
    rng = random.Random(args.seed)
    with open(args.output, "w", newline="\n") as out:
        trace = Trace(args.lines, out, rng)
        trace.write("KORVAN SIGNAL TRACE   EXCHANGE HQ-01   STARTED 2026-12-05 09.00.00\n")
        trace.write("TRACE SET: ISDN  EQU 001-0-02-01 TO 001-0-09-32\n\n")
        active = []  # calls in progress: lists of steps
        cr = 0
        while trace.room(1):
            if len(active) < 8 and (not active or rng.random() < 0.3):
                cr = cr % 127 + 1
                busy_lines = {e for e, _ in active}
                equ = "001-0-%02d-%02d" % (rng.randint(2, 9), rng.randint(1, 32))
                while equ in busy_lines:
                    equ = "001-0-%02d-%02d" % (rng.randint(2, 9), rng.randint(1, 32))
                active.append([equ, call(trace, rng, equ, cr)])
            entry = rng.choice(active)
            equ, steps = entry
            direction, name, octets, part = steps[0]
            ok = trace.internal(name) if direction == "INTERNAL" else trace.signal(direction, name, equ, octets, part)
            if not ok:
                break
            steps.pop(0)
            if not steps:
                active.remove(entry)
        while trace.lines < args.lines - 1:
            trace.write(INDENT + "TRACE BUFFER FLUSHED\n")
        trace.write("END OF TRACE\n")


if __name__ == "__main__":
    main()
