#!/usr/bin/env python3
"""Times vexa-interpret on a generated DECT/GDI trace against the same on an ISDN trace of the
same number of lines, and measures the DECT run's peak memory.

usage: dect_vs_isdn.py BUILD_DIR [--lines N] [--runs N] [--callgrind N]

Both traces come from the large-trace generators (scripts/gen-dect-trace.py and
gen-isdn-trace.py) with N lines (default 1,000,000). Printed: the number of messages of each
trace, the best time of `vexa-interpret -p 5` and `-p 1` over the runs, taken in turns so that
both see the same machine, their ratio (the DECT run may take at most 1.2 times as long), and
the peak resident memory of the DECT run against four times the trace's size plus 50 MB. The
processor time of each is printed too: on a busy machine the wall times wander more.
With --callgrind N, both runs are also counted under `valgrind --tool=callgrind` on traces of N
lines (100,000 is enough), and the ratio of their instruction counts, which other work on the
machine does not change, is printed.
"""
import argparse
import os
import re
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))


def run(cmd, env):
    """Wall time, processor time (user and system) and peak resident memory (bytes) of one run
    of cmd."""
    start = time.perf_counter()
    proc = subprocess.Popen(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=env)
    _, status, usage = os.wait4(proc.pid, 0)
    elapsed = time.perf_counter() - start
    if status != 0:
        sys.exit("%s failed with status %d" % (" ".join(cmd), status))
    return elapsed, usage.ru_utime + usage.ru_stime, usage.ru_maxrss * 1024


def instructions(cmd, env, work):
    """Instructions executed by cmd (all threads), counted by callgrind."""
    out = os.path.join(work, "callgrind.out")
    proc = subprocess.run(["valgrind", "--tool=callgrind", "--callgrind-out-file=" + out] + cmd,
                          stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, env=env, text=True)
    os.remove(out)
    found = re.search(r"Collected : (\d+)", proc.stderr)
    if proc.returncode != 0 or not found:
        sys.exit("%s failed under callgrind" % " ".join(cmd))
    return int(found.group(1))


def messages(path):
    with open(path, encoding="latin-1") as f:
        return sum(1 for line in f if line[:2].isdigit() and (" GDI" in line or " DL" in line))


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("build")
    ap.add_argument("--lines", type=int, default=1000000)
    ap.add_argument("--runs", type=int, default=3)
    ap.add_argument("--callgrind", type=int, default=0, metavar="N",
                    help="also count instructions under callgrind on traces of N lines")
    args = ap.parse_args()
    prog = os.path.join(args.build, "bin", "vexa-interpret")
    with tempfile.TemporaryDirectory() as work:
        env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(work, "config"), TMPDIR=work)
        dect = os.path.join(work, "dect.trc")
        isdn = os.path.join(work, "isdn.trc")
        subprocess.run([sys.executable, os.path.join(ROOT, "scripts", "gen-dect-trace.py"), str(args.lines), dect], check=True)
        subprocess.run([sys.executable, os.path.join(ROOT, "scripts", "gen-isdn-trace.py"), str(args.lines), isdn], check=True)
        best = {5: float("inf"), 1: float("inf")}
        cpu = {5: float("inf"), 1: float("inf")}
        peak = 0
        for _ in range(args.runs):
            for protocol, trace in ((1, isdn), (5, dect)):
                out = os.path.join(work, "out-%d" % protocol)
                elapsed, processor, rss = run([prog, "-p", str(protocol), trace, "-o", out], env)
                best[protocol] = min(best[protocol], elapsed)
                cpu[protocol] = min(cpu[protocol], processor)
                if protocol == 5:
                    peak = max(peak, rss)
                os.remove(out)
        size = os.path.getsize(dect)
        limit = 4 * size + 50 * 1024 * 1024
        print("lines: %d; messages: DECT %d, ISDN %d" % (args.lines, messages(dect), messages(isdn)))
        print("vexa-interpret -p 5 (DECT): %.2f s (processor %.2f s)" % (best[5], cpu[5]))
        print("vexa-interpret -p 1 (ISDN): %.2f s (processor %.2f s)" % (best[1], cpu[1]))
        ratio = best[5] / best[1]
        print("ratio: %.2f (at most 1.20)%s; of processor time %.2f" % (ratio, "" if ratio <= 1.2 else "  ** over **",
                                                                       cpu[5] / cpu[1]))
        print("DECT peak memory: %.0f MB for a trace of %.0f MB (limit %.0f MB)%s"
              % (peak / 1e6, size / 1e6, limit / 1e6, "" if peak <= limit else "  ** over **"))
        if args.callgrind:
            counts = {}
            for protocol, generator in ((5, "gen-dect-trace.py"), (1, "gen-isdn-trace.py")):
                trace = os.path.join(work, "small-%d.trc" % protocol)
                subprocess.run([sys.executable, os.path.join(ROOT, "scripts", generator), str(args.callgrind), trace],
                               check=True)
                counts[protocol] = instructions([prog, "-p", str(protocol), trace, "-o", trace + ".out"], env, work)
            print("instructions (callgrind, %d lines): DECT %d, ISDN %d, ratio %.2f"
                  % (args.callgrind, counts[5], counts[1], counts[5] / counts[1]))


if __name__ == "__main__":
    main()
