#!/usr/bin/env python3
"""Times vexa-interpret against cat on a generated trace of a million lines, and measures
its peak memory.

usage: interpret_vs_cat.py BUILD_DIR [--lines N] [--runs N] [--component scripted|isdn]

With the scripted component (the default) every line is answered with kind 0, so the
figures are those of the program itself: reading the trace, feeding each line to the
component and writing the output. With the ISDN component they include decoding.

Printed: the best time of each command over the runs, taken in turns so that both see the
same machine; the ratio; and the peak resident memory of a run with the default settings
("Include all Rows" on: every line written, flushed and kept as a run line and a display
line) against four times the trace's size plus 50 MB.
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))


def timed(cmd, env):
    start = time.perf_counter()
    subprocess.run(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=env, check=False)
    return time.perf_counter() - start


def peak_rss(cmd, env):
    """Peak resident memory of one run of cmd, in bytes."""
    proc = subprocess.Popen(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=env)
    _, status, usage = os.wait4(proc.pid, 0)
    if status != 0:
        sys.exit("%s failed with status %d" % (" ".join(cmd), status))
    return usage.ru_maxrss * 1024


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build")
    parser.add_argument("--lines", type=int, default=1_000_000)
    parser.add_argument("--runs", type=int, default=7)
    parser.add_argument("--component", choices=["scripted", "isdn"], default="scripted")
    args = parser.parse_args()

    build = os.path.abspath(args.build)
    program = os.path.join(build, "bin", "vexa-interpret")
    if not os.access(program, os.X_OK):
        sys.exit("build vexa-interpret first: " + program)
    work = tempfile.mkdtemp(prefix="vexa-bench-")
    trace = os.path.join(work, "trace.trc")
    subprocess.run([sys.executable, os.path.join(ROOT, "scripts", "gen-isdn-trace.py"), str(args.lines), trace],
                   check=True)
    size = os.path.getsize(trace)

    env = dict(os.environ)
    env["XDG_CONFIG_HOME"] = os.path.join(work, "config")  # the default settings
    env["TMPDIR"] = work
    env.pop("VEXA_SCRIPTED_SCRIPT", None)
    env.pop("VEXA_SCRIPTED_LOG", None)
    if args.component == "scripted":
        env["VEXA_COMPONENT_PATH"] = os.path.join(build, "tests", "scripted-components")
        rows_option = "--no-all-rows"
        target = 4.0
    else:
        env["VEXA_COMPONENT_PATH"] = os.path.join(build, "bin")
        rows_option = "--all-rows"
        target = 10.0

    cat = [sys.maxsize]
    vexa = [sys.maxsize]
    interpret = [program, "-p", "1", rows_option, trace]
    timed(["cat", trace], env)  # the trace in the page cache for both
    for _ in range(args.runs):
        cat.append(timed(["cat", trace], env))
        vexa.append(timed(interpret, env))
    best_cat, best_vexa = min(cat), min(vexa)
    ratio = best_vexa / best_cat

    print("trace: %d lines, %.1f MB, component: %s" % (args.lines, size / 1e6, args.component))
    print("cat TRACE > /dev/null:            %8.1f ms" % (best_cat * 1000))
    print("vexa-interpret %-14s      %8.1f ms" % (rows_option, best_vexa * 1000))
    print("ratio: %.2f (target at most %.0f): %s" % (ratio, target, "met" if ratio <= target else "NOT MET"))

    peak = peak_rss([program, "-p", "1", "--all-rows", "--hex", trace], env)
    limit = 4 * size + 50 * 1024 * 1024
    print("peak memory with every row kept: %.1f MB (limit 4 x %.1f MB + 50 MB = %.1f MB): %s"
          % (peak / 2**20, size / 2**20, limit / 2**20, "met" if peak <= limit else "NOT MET"))
    shutil.rmtree(work, ignore_errors=True)
    return 0 if ratio <= target and peak <= limit else 1


if __name__ == "__main__":
    sys.exit(main())
