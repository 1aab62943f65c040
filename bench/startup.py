#!/usr/bin/env python3
"""Time from process start to the window being mapped on the X server, for
karbelon and for the least Qt Widgets windows (qt_floor_window), measured the
same way and interleaved, so that all see the same machine load.

    python3 bench/startup.py [--bin-dir build/linux/bin] [--runs 30]

The floor is the least window that shows text: an empty window never starts
Qt's font machinery (fontconfig, the font database, a fallback font for
Hangul), which costs about as much again as the empty window itself, so the
empty window is printed for reference only.

Without DISPLAY it runs itself under xvfb-run. Needs xev (x11-utils) and
xvfb: scripts/install-deps.sh gui-bench. Goal: karbelon's median within
1.15 times the floor's.
"""

import argparse
import os
import queue
import shutil
import statistics
import subprocess
import sys
import threading
import time

GOAL = 1.15


def watch_maps(xev, events):
    # xev reports every window mapped on the root; each line is stamped as
    # it arrives.
    for line in xev.stdout:
        if line.startswith("MapNotify"):
            events.put(time.perf_counter())


def launch_and_time(command, events, timeout=10.0):
    while not events.empty():
        events.get_nowait()
    start = time.perf_counter()
    child = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        mapped = events.get(timeout=timeout)
    except queue.Empty:
        sys.exit(f"startup: {command[0]} showed no window within {timeout} s")
    finally:
        child.terminate()
        child.wait()
    return (mapped - start) * 1000.0


def summary(name, samples):
    return (f"{name:<22} {statistics.median(samples):8.1f} {statistics.mean(samples):8.1f} "
            f"{min(samples):8.1f} {max(samples):8.1f}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--bin-dir", default="build/linux/bin")
    parser.add_argument("--runs", type=int, default=30)
    parser.add_argument("--warmup", type=int, default=3)
    args = parser.parse_args()

    if not os.environ.get("DISPLAY"):
        if not shutil.which("xvfb-run"):
            sys.exit("startup: no DISPLAY and no xvfb-run; run scripts/install-deps.sh gui-bench")
        os.execvp("xvfb-run", ["xvfb-run", "-a", "-s", "-screen 0 1280x1024x24",
                               sys.executable, *sys.argv])
    if not shutil.which("xev"):
        sys.exit("startup: xev is missing; run scripts/install-deps.sh gui-bench")

    floor = os.path.join(args.bin_dir, "qt_floor_window")
    karbelon = os.path.join(args.bin_dir, "karbelon")
    for path in (floor, karbelon):
        if not os.access(path, os.X_OK):
            sys.exit(f"startup: {path} is not built (cmake --build --preset linux)")
    programs = {
        "empty window": [floor],
        "floor (one label)": [floor, "--label"],
        "karbelon": [karbelon],
    }

    xev = subprocess.Popen(["stdbuf", "-oL", "xev", "-root", "-event", "substructure"],
                           stdout=subprocess.PIPE, text=True)
    events = queue.Queue()
    threading.Thread(target=watch_maps, args=(xev, events), daemon=True).start()
    time.sleep(0.5)  # let xev select its events before the first launch

    samples = {name: [] for name in programs}
    try:
        for run in range(args.warmup + args.runs):
            for name, command in programs.items():
                elapsed = launch_and_time(command, events)
                if run >= args.warmup:
                    samples[name].append(elapsed)
    finally:
        xev.terminate()

    print(f"start to window mapped, {args.runs} interleaved runs each (ms)")
    print(f"{'program':<22} {'median':>8} {'mean':>8} {'min':>8} {'max':>8}")
    for name, values in samples.items():
        print(summary(name, values))
    medians = {name: statistics.median(values) for name, values in samples.items()}
    ratio = medians["karbelon"] / medians["floor (one label)"]
    verdict = "within" if ratio <= GOAL else "OVER"
    print(f"karbelon / floor (medians): {ratio:.2f}x, {verdict} the {GOAL}x goal "
          f"({medians['karbelon'] / medians['empty window']:.2f}x the empty window)")
    # On a busy machine the medians carry other processes' load; the
    # fastest runs are the closest to the programs' own cost.
    fastest = min(samples["karbelon"]) / min(samples["floor (one label)"])
    print(f"karbelon / floor (fastest runs): {fastest:.2f}x; "
          f"load average {os.getloadavg()[0]:.1f} on {os.cpu_count()} cores")


if __name__ == "__main__":
    main()
