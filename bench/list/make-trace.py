#!/usr/bin/env python3
"""Writes the message list benchmark's trace: a generated ISDN trace (gen-isdn-trace.py)
of LINES lines in which one call, and only that one, has the two-octet call reference
H'55||H'66; the list's call reference filter on it keeps exactly that call.

usage: make-trace.py LINES OUTPUT
"""
import os
import subprocess
import sys

INDENT = " " * 24
CALL_REFERENCE = [0x55, 0x66]


def message(flag, mtype, body):
    return [0x08, 0x02, CALL_REFERENCE[0] | (0x80 if flag else 0), CALL_REFERENCE[1], mtype] + body


def the_call():
    """The signals of one whole call: SETUP to RELEASE COMPLETE, both directions."""
    steps = [
        ("SWHW", "DLRDATALONG", message(0, 0x05, [0x04, 0x03, 0x80, 0x90, 0xA3, 0x18, 0x01, 0x89])),
        ("HWSW", "DLIDATALONG", message(1, 0x01, [])),
        ("HWSW", "DLIDATALONG", message(1, 0x07, [])),
        ("SWHW", "DLRDATALONG", message(0, 0x0F, [])),
        ("SWHW", "DLRDATALONG", message(0, 0x45, [0x08, 0x02, 0x80, 0x90])),
        ("HWSW", "DLIDATALONG", message(1, 0x4D, [])),
        ("SWHW", "DLRDATALONG", message(0, 0x5A, [])),
    ]
    lines = []
    for n, (direction, name, octets) in enumerate(steps):
        orig, dest = ("ISDNCP-01", "DLB-0102") if direction == "SWHW" else ("DLB-0102", "ISDNCP-01")
        lines.append("23.59.50.%02d %05d  %s %-12s %-10s %s" % (n, 32000 + n, direction, name, orig, dest))
        lines.append(INDENT + "EQU NO      001-0-01-01")
        for i in range(0, len(octets), 16):
            lines.append(INDENT + "DATA " + " ".join("%02X" % o for o in octets[i:i + 16]))
        lines.append(INDENT + "LEN %d" % len(octets))
    return lines


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    total, output = int(sys.argv[1]), sys.argv[2]
    call = the_call()
    generator = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts", "gen-isdn-trace.py")
    subprocess.run([sys.executable, generator, str(total - len(call)), output], check=True)
    with open(output) as f:
        lines = f.read().split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    end = lines.pop()  # END OF TRACE
    lines += call + [end]
    with open(output, "w", newline="\n") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
