#!/usr/bin/env python3
"""How the cost of a run grows with the trace: vexa-interpret and the window on a generated
ISDN trace of ten million lines against one of a million, measured in one run.

usage: scaling.py BUILD_DIR [BUILD_DIR...] [--small N] [--large N] [--runs N] [--work DIR]
                  [--no-window] [--traces SMALL LARGE]

Each BUILD_DIR needs vexa-interpret, the ISDN component and, for the window,
vexa_open_bench (configured with -DVEXA_BUILD_BENCH=ON); several compare builds, say
before and after a change, in one run. The traces are written to a folder of their own
under --work (default: the system's temporary folder; the large one takes some 475 MB) and
removed at the end (--traces takes two made before instead). Both programs run with the
default settings (protocol 1).

The runs take turns (small trace, large trace, for each program) so that both traces see
the same machine; the best of the runs counts. Printed for each program: the elapsed time
and the processor time (user and system, every thread) of each trace, their ratios against
the target (the large run at most 11 times the small one for ten times the lines), and the
peak resident memory of the large run against four times the trace's size plus 50 MB.
Other work on the machine moves the elapsed times most; the processor times less.
"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
TARGET_RATIO = 11.0


def run_measured(cmd, env, stdout=subprocess.DEVNULL):
    """Elapsed seconds, processor seconds and peak resident bytes of one run of cmd, and
    what it printed when stdout is a pipe."""
    start = time.perf_counter()
    with tempfile.TemporaryFile() as errors:  # a file, so that only one pipe needs reading
        proc = subprocess.Popen(cmd, stdout=stdout, stderr=errors, env=env)
        out = proc.stdout.read().decode() if stdout == subprocess.PIPE else ""
        _, status, usage = os.wait4(proc.pid, 0)
        elapsed = time.perf_counter() - start
        if status != 0:
            errors.seek(0)
            sys.exit("%s failed (status %d): %s" % (" ".join(cmd), status, errors.read().decode().strip()))
    return elapsed, usage.ru_utime + usage.ru_stime, usage.ru_maxrss * 1024, out


def window_figures(text):
    """The open's elapsed and processor seconds and the window's peak memory as
    vexa_open_bench prints them."""
    def field(name):
        m = re.search(name + r":\s*([0-9.]+)", text)
        if not m:
            sys.exit("vexa_open_bench printed no %s:\n%s" % (name, text))
        return float(m.group(1))
    return (field("vexa: open and interpret TRACE") / 1000, field("window processor time") / 1000,
            field("window peak memory") * 2**20)


def report(name, best, sizes, small_lines, large_lines):
    ok = True
    small, large = best["small"], best["large"]
    print("%s:" % name)
    print("  %-9s %12s %12s %12s" % ("", "elapsed", "processor", "peak memory"))
    for key, lines in (("small", small_lines), ("large", large_lines)):
        b = best[key]
        print("  %-9s %10.2f s %10.2f s %9.1f MB" % ("%dM" % (lines // 1_000_000) if lines >= 1_000_000 else str(lines),
                                                   b[0], b[1], b[2] / 2**20))
    for label, i in (("elapsed", 0), ("processor", 1)):
        ratio = large[i] / small[i]
        met = ratio <= TARGET_RATIO
        ok &= met
        print("  ratio of the %-9s times: %5.2f (target at most %.0f): %s"
              % (label, ratio, TARGET_RATIO, "met" if met else "NOT MET"))
    limit = 4 * sizes["large"] + 50 * 2**20
    met = large[2] <= limit
    ok &= met
    print("  peak memory of the large run: %.1f MB (limit 4 x %.1f MB + 50 MB = %.1f MB): %s"
          % (large[2] / 2**20, sizes["large"] / 2**20, limit / 2**20, "met" if met else "NOT MET"))
    return ok


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("builds", nargs="+", metavar="BUILD_DIR")
    parser.add_argument("--small", type=int, default=1_000_000)
    parser.add_argument("--large", type=int, default=10_000_000)
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--work", default=None, help="where the traces are written")
    parser.add_argument("--no-window", action="store_true", help="vexa-interpret only")
    parser.add_argument("--traces", nargs=2, metavar=("SMALL", "LARGE"),
                        help="traces of --small and --large lines made before (gen-isdn-trace.py)")
    args = parser.parse_args()

    builds = [os.path.abspath(b) for b in args.builds]
    for build in builds:
        if not os.access(os.path.join(build, "bin", "vexa-interpret"), os.X_OK):
            sys.exit("build vexa-interpret first: " + os.path.join(build, "bin", "vexa-interpret"))
        if not args.no_window and not os.access(os.path.join(build, "bin", "vexa_open_bench"), os.X_OK):
            sys.exit("build vexa_open_bench first (-DVEXA_BUILD_BENCH=ON): " + build)

    work = tempfile.mkdtemp(prefix="vexa-scaling-", dir=args.work)
    try:
        traces, sizes = {}, {}
        for i, (key, lines) in enumerate((("small", args.small), ("large", args.large))):
            if args.traces:
                traces[key] = os.path.abspath(args.traces[i])
            else:
                traces[key] = os.path.join(work, "%s.trc" % key)
                subprocess.run([sys.executable, os.path.join(ROOT, "scripts", "gen-isdn-trace.py"), str(lines),
                                traces[key]], check=True)
            sizes[key] = os.path.getsize(traces[key])

        base_env = dict(os.environ)
        base_env["XDG_CONFIG_HOME"] = os.path.join(work, "config")  # the default settings
        base_env["TMPDIR"] = work
        base_env["QT_QPA_PLATFORM"] = "offscreen"
        for name in ("VEXA_SCRIPTED_SCRIPT", "VEXA_SCRIPTED_LOG"):
            base_env.pop(name, None)

        worst = (float("inf"), float("inf"), 0)
        cli = [{"small": worst, "large": worst} for _ in builds]
        win = [{"small": worst, "large": worst} for _ in builds]

        def better(a, b):
            return (min(a[0], b[0]), min(a[1], b[1]), max(a[2], b[2]))

        subprocess.run(["cat", traces["small"], traces["large"]], stdout=subprocess.DEVNULL, check=True)
        for run in range(args.runs):
            for n, build in enumerate(builds):
                env = dict(base_env)
                env["VEXA_COMPONENT_PATH"] = os.path.join(build, "bin")
                tag = " (%s)" % build if len(builds) > 1 else ""
                for key in ("small", "large"):
                    elapsed, cpu, peak, _ = run_measured([os.path.join(build, "bin", "vexa-interpret"), "-p", "1",
                                                          traces[key]], env)
                    cli[n][key] = better(cli[n][key], (elapsed, cpu, peak))
                    print("run %d%s, vexa-interpret, %s trace: %.2f s, processor %.2f s, %.1f MB"
                          % (run + 1, tag, key, elapsed, cpu, peak / 2**20), flush=True)
                if args.no_window:
                    continue
                for key in ("small", "large"):
                    _, _, _, out = run_measured([os.path.join(build, "bin", "vexa_open_bench"), traces[key], "-", "1"],
                                                env, stdout=subprocess.PIPE)
                    figures = window_figures(out)
                    win[n][key] = better(win[n][key], figures)
                    print("run %d%s, window, %s trace: %.2f s, processor %.2f s, %.1f MB"
                          % (run + 1, tag, key, figures[0], figures[1], figures[2] / 2**20), flush=True)

        print()
        print("traces: %d lines (%.1f MB) and %d lines (%.1f MB); best of %d runs"
              % (args.small, sizes["small"] / 1e6, args.large, sizes["large"] / 1e6, args.runs))
        ok = True
        for n, build in enumerate(builds):
            if len(builds) > 1:
                print("\n%s" % build)
            ok &= report("vexa-interpret", cli[n], sizes, args.small, args.large)
            if not args.no_window:
                ok &= report("window (open and interpret)", win[n], sizes, args.small, args.large)
        return 0 if ok else 1
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
