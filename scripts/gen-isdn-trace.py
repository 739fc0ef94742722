#!/usr/bin/env python3
"""Writes a large Korvan ISDN signal trace for load tests of Vexa's ISDN parser.

usage: gen-isdn-trace.py LINES OUTPUT [--seed N]

The trace holds whole calls (SETUP to RELEASE COMPLETE, both directions) on many
equipments at once, busy calls with a cause, SETUPs split over DLRDATA signals that are
interleaved with other signals, FACILITY and INFORMATION messages and internal signals
with free-text rows. It has exactly LINES lines (the last one is END OF TRACE).
"""
import tracegen
from tracegen import INDENT


class IsdnTrace(tracegen.Trace):
    SUPERVISOR = ("CALLSUP", "ISDNCP-01")

    def signal(self, direction, name, equ, octets, part=None):
        rows = 3 + (len(octets) + 15) // 16 + (1 if part else 0)
        if not self.room(rows):
            return False
        orig, dest = ("ISDNCP-01", "DLB-0102") if direction == "SWHW" else ("DLB-0102", "ISDNCP-01")
        text = self.head(direction, name, orig, dest)
        text += INDENT + "EQU NO      " + equ + "\n"
        if part:
            text += INDENT + "PART %d/%d\n" % part
        self.write(text + tracegen.octet_rows(octets))
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


def calls(trace, rng):
    """Calls on up to eight equipments at once, each on its own call reference."""
    def start(n, active):
        busy_lines = {e for e, _ in active}
        equ = "001-0-%02d-%02d" % (rng.randint(2, 9), rng.randint(1, 32))
        while equ in busy_lines:
            equ = "001-0-%02d-%02d" % (rng.randint(2, 9), rng.randint(1, 32))
        return [equ, call(trace, rng, equ, n % 127 + 1)]

    def play(entry, step):
        direction, name, octets, part = step
        return trace.internal(name) if direction == "INTERNAL" else trace.signal(direction, name, entry[0], octets, part)

    tracegen.interleave(trace, rng, start, play)


def main():
    tracegen.generate(__doc__, IsdnTrace, "ISDN  EQU 001-0-02-01 TO 001-0-09-32", calls)


if __name__ == "__main__":
    main()
