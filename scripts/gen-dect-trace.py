#!/usr/bin/env python3
"""Writes a large Korvan DECT/GDI signal trace for load tests of Vexa's DECT parser.

usage: gen-dect-trace.py LINES OUTPUT [--seed N]

The trace holds location registrations with authentication and ciphering, outgoing calls
(SETUP, keypad in CC-INFO, CALL-PROC, ALERTING, CONNECT with a display, RELEASE) and incoming
calls paged by a station control message alone, many portables at once, interleaved with
internal signals with free-text rows. Each GDI signal has an SCP row, a USER PART row, DATA rows
and a LEN row. It has exactly LINES lines (the last one is END OF TRACE).
"""
import tracegen
from tracegen import INDENT

FIXED = [0x06, 0x07, 0x80, 0xA4, 0x01, 0x57, 0x81, 0x23, 0x40]


class DectTrace(tracegen.Trace):
    SUPERVISOR = ("GDISUP", "GDICP-01")

    def signal(self, direction, scp, scp_id, user, octets):
        rows = 3 + ((len(octets) + 15) // 16 + 1 if octets else 0)
        if not self.room(rows):
            return False
        req = direction == "SWHW"
        name, orig, dest = ("GDIREQ", "GDICP-01", "DECT-01") if req else ("GDIIND", "DECT-01", "GDICP-01")
        text = self.head(direction, name, orig, dest)
        text += INDENT + "SCP %s  ID %s\n" % (scp, scp_id)
        text += INDENT + "USER PART %s\n" % user
        if octets:
            text += tracegen.octet_rows(octets)
        self.write(text)
        return True


def ascii(text):
    return [ord(c) for c in text]


def digits(rng, n):
    return "".join(str(rng.randint(0, 9)) for _ in range(n))


def portable(n):
    # IPUI-N: PUT 0, EMC H'0ABC, PSN from the portable's number.
    value = (0x0ABC << 20) | (n & 0xFFFFF)
    return [0x05, 0x07, 0x80, 0xA8] + list(value.to_bytes(5, "big"))


def registration(rng, n):
    pi = portable(n)
    rand = [rng.randint(0, 255) for _ in range(8)]
    res = [rng.randint(0, 255) for _ in range(4)]
    return [
        ("HWSW", "DATA_IND", [0x05, 0x54] + pi + FIXED + [0x07, 0x01, 0x47, 0x63, 0x04, 0x44, 0x8A, 0x02, 0x80]),
        ("SWHW", "DATA_REQ", [0x85, 0x40, 0x0A, 0x03, 0x01, 0x18, 0x08, 0x0C, 0x08] + rand + [0x0E, 0x08] + [0] * 7 + [0x2F]),
        ("HWSW", "DATA_IND", [0x05, 0x41, 0x0D, 0x04] + res),
        ("SWHW", "DATA_REQ", [0x85, 0x4C, 0x19, 0x02, 0x81, 0x98]),
        ("SWHW", "DATA_REQ", [0x85, 0x55, 0x07, 0x01, 0x47] + pi),
        ("SWHW", "LINK_REL_REQ", None),
    ]


def outgoing(rng, n, ti):
    number = digits(rng, rng.randint(3, 10))
    f, t = 0x03 | ti << 4, 0x83 | ti << 4
    return [
        ("HWSW", "SETUP_IND", [f, 0x05] + portable(n) + FIXED + [0xE0, 0x80]),
        ("SWHW", "DATA_REQ", [t, 0x0D, 0xE4, 0x00, 0x1E, 0x02, 0x81, 0x88]),
        ("HWSW", "DATA_IND", [f, 0x7B, 0x2C, len(number)] + ascii(number)),
        ("SWHW", "DATA_REQ", [t, 0x02]),
        ("SWHW", "DATA_REQ", [t, 0x01, 0xE4, 0x01]),
        ("SWHW", "DATA_REQ", [t, 0x07, 0x28, len(number)] + ascii(number)),
        ("INTERNAL", "B-CHANNEL %d THROUGH-CONNECTED" % rng.randint(1, 12), None),
        ("HWSW", "DATA_IND", [f, 0x4D, 0xE2, 0x00]),
        ("SWHW", "DATA_REQ", [t, 0x5A, 0xE2, 0x00]),
    ]


def incoming(rng, n, ti):
    caller = digits(rng, 10)
    f, t = 0x03 | ti << 4, 0x83 | ti << 4
    return [
        ("SWHW", "PAGE_REQ", None),
        ("HWSW", "LINK_IND", [0x00, 0x71] + portable(n) + FIXED),
        ("SWHW", "SETUP_REQ", [f, 0x05] + portable(n) + FIXED + [0xE0, 0x80, 0xE4, 0x41, 0x6C, 12, 0x21, 0x83] + ascii(caller)),
        ("HWSW", "DATA_IND", [t, 0x01]),
        ("HWSW", "DATA_IND", [t, 0x07]),
        ("SWHW", "DATA_REQ", [f, 0x0F]),
        ("SWHW", "DATA_REQ", [f, 0x4D, 0xE2, 0x00]),
        ("HWSW", "DATA_IND", [t, 0x5A]),
    ]


def procedures(trace, rng):
    """Registrations and calls of up to eight portables at once, each on its own GDI link."""
    def start(n, active):
        number = rng.randint(2000, 2999)
        kind = rng.random()
        ti = rng.randint(0, 6)
        steps = registration(rng, number) if kind < 0.2 else outgoing(rng, number, ti) if kind < 0.6 else incoming(rng, number, ti)
        return ["%04d" % (n % 9999 + 1), str(number), steps]

    def play(entry, step):
        scp_id, user, _ = entry
        direction, scp, octets = step
        return trace.internal(scp) if direction == "INTERNAL" else trace.signal(direction, scp, scp_id, user, octets)

    tracegen.interleave(trace, rng, start, play)


def main():
    tracegen.generate(__doc__, DectTrace, "DECT  GDI LINK 01", procedures)


if __name__ == "__main__":
    main()
