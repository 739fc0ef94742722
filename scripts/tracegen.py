"""What the large-trace generators (gen-isdn-trace.py, gen-dect-trace.py, gen-ip-trace.py)
have in common: their command line (LINES OUTPUT [--seed N]), a trace that counts its lines
against that budget and gives time stamps and sequence numbers, the rows of a signal's octets,
the running of many procedures side by side, and the frame of the file (title rows, filler rows
up to the line count, END OF TRACE).
"""
import argparse
import random

INDENT = " " * 24
TITLE = "KORVAN SIGNAL TRACE   EXCHANGE HQ-01   STARTED 2026-12-05 09.00.00\n"


def clock(t):
    """The time stamp hh.mm.ss.cc of t hundredths of a second since midnight."""
    h, rest = divmod(t, 360000)
    m, rest = divmod(rest, 6000)
    s, c = divmod(rest, 100)
    return "%02d.%02d.%02d.%02d" % (h, m, s, c)


def heading(stamp, seq, direction, name, orig, dest):
    """A signal's first line."""
    return "%s %05d  %s %-12s %-10s %s\n" % (stamp, seq, direction, name, orig, dest)


def octet_rows(octets):
    """A signal's DATA rows, sixteen octets each, and its LEN row."""
    text = ""
    for i in range(0, len(octets), 16):
        text += INDENT + "DATA " + " ".join("%02X" % o for o in octets[i:i + 16]) + "\n"
    return text + INDENT + "LEN %d\n" % len(octets)


class Trace:
    """A trace being written: its lines against a budget of limit lines (the last one kept for
    END OF TRACE), a clock that moves on by 10 to 400 ms a signal from 09.00, and sequence
    numbers 1 to 32767 and round again. A generator derives its own signal rows from it; an
    internal signal comes from the class's SUPERVISOR (name, originator) to CALLCTL-01."""

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
        return clock(self.t)

    def next_seq(self):
        self.seq = self.seq % 32767 + 1
        return self.seq

    def head(self, direction, name, orig, dest):
        """The first line of the next signal, with a new time stamp and sequence number."""
        return heading(self.stamp(), self.next_seq(), direction, name, orig, dest)

    def internal(self, text):
        """An internal signal with one free-text row; False when it does not fit."""
        if not self.room(2):
            return False
        self.write(self.head("SWSW", *self.SUPERVISOR, "CALLCTL-01") + INDENT + text + "\n")
        return True

    def filler(self):
        """A line that fills the trace up to its line count."""
        return INDENT + "TRACE BUFFER FLUSHED\n"


def interleave(trace, rng, start, play):
    """Runs procedures side by side until the trace is full. While fewer than eight run, a new
    one starts (always when none runs, else three times in ten); then the next step of one of
    them, picked at random, is written. start(n, active) gives the n-th procedure (0 first) as a
    list whose last item is its list of steps; play(procedure, step) writes a step and says
    whether it fitted."""
    active = []
    started = 0
    while trace.room(1):
        if len(active) < 8 and (not active or rng.random() < 0.3):
            active.append(start(started, active))
            started += 1
        entry = rng.choice(active)
        steps = entry[-1]
        if not play(entry, steps[0]):
            break
        steps.pop(0)
        if not steps:
            active.remove(entry)


def generate(doc, trace_class, trace_set, fill):
    """Writes the trace the command line asks for: the title rows, what fill(trace, rng) writes
    while there is room, filler rows up to the line count, and END OF TRACE."""
    ap = argparse.ArgumentParser(description=doc, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("lines", type=int)
    ap.add_argument("output")
    ap.add_argument("--seed", type=int, default=1)
    args = ap.parse_args()
    rng = random.Random(args.seed)
    with open(args.output, "w", newline="\n") as out:
        trace = trace_class(args.lines, out, rng)
        trace.write(TITLE + "TRACE SET: %s\n\n" % trace_set)
        fill(trace, rng)
        while trace.lines < args.lines - 1:
            trace.write(trace.filler())
        trace.write("END OF TRACE\n")
