#!/usr/bin/env python3
"""Times `karbelon-cli --batch` on generated JSON Lines requests.

Usage: cli_batch.py PATH/TO/karbelon-cli [--count N] [--runs R] [--big-field-mb M]
                    [--jq PATH] [--memory-counts N,N]

Writes N varied requests (every spell, unknown spells, grouped and decimal
numbers, messages, defence resets, a few invalid lines), runs the batch R
times and prints the best and median rate. When jq is found, `jq -c .` runs
on the same file, interleaved with the batch runs, and the ratio of the
medians is printed. With --memory-counts, the peak resident size of the batch
is measured for files of those numbers of lines (flat means streamed). Then
answers one request whose mana text is M megabytes long, to show that a huge
field costs linear time.
"""

import argparse
import json
import os
import shutil
import random
import statistics
import subprocess
import sys
import tempfile
import time

SPELLS = ["카르벨론", "지옥염화", "지옥진화", "지옥멸화", "지옥겁화", "삼매진화", "삼매멸화", "삼매겁화"]


def grouped(value):
    return f"{value:,}"


def number_text(rng):
    kind = rng.random()
    value = rng.randrange(0, 5_000_000)
    if kind < 0.6:
        return str(value)
    if kind < 0.8:
        return grouped(value)
    return f"{value}.{rng.randrange(0, 1000)}"


def defence_text(rng):
    kind = rng.random()
    if kind < 0.85:
        return str(rng.randrange(-200, 201))
    if kind < 0.95:
        return f"{rng.uniform(-200, 200):.3f}"
    return str(rng.choice([-250, 201, 999]))  # out of range: a message


def request_line(rng):
    roll = rng.random()
    if roll < 0.01:
        # Invalid requests, yet JSON texts, so that jq reads the same file to its end.
        return rng.choice(["", '"not an object"', '{"spell":"카르벨론"}',
                           '{"spell":1,"hp":"1","mp":"2","defence":"0"}'])
    spell = rng.choice(SPELLS) if roll < 0.95 else rng.choice(["", " 카르벨론", "화염"])
    request = {"spell": spell, "hp": number_text(rng), "mp": number_text(rng), "defence": defence_text(rng)}
    extra = rng.random()
    if extra < 0.02:
        request["hp"] = ""
    elif extra < 0.04:
        request["defence"] = ""
    elif extra < 0.06:
        request["mp"] = "많음"
    return json.dumps(request, ensure_ascii=False)


def timed(command, input_path):
    """Wall time, answer lines and exit status of one run."""
    with open(input_path, "rb") as stdin, tempfile.TemporaryFile() as stdout:
        start = time.perf_counter()
        process = subprocess.Popen(command, stdin=stdin, stdout=stdout,
                                   env=dict(os.environ, LC_ALL="C.UTF-8"))
        _, status = os.waitpid(process.pid, 0)
        elapsed = time.perf_counter() - start
        process.returncode = os.waitstatus_to_exitcode(status)
        stdout.seek(0)
        output_lines = sum(1 for _ in stdout)
    return elapsed, output_lines, process.returncode


def run(cli, input_path):
    elapsed, output_lines, status = timed([cli, "--batch"], input_path)
    if status not in (0, 1):
        sys.exit(f"karbelon-cli --batch failed with status {status}")
    return elapsed, output_lines


def write_requests(path, count):
    rng = random.Random(20240611)
    with open(path, "w", encoding="utf-8") as out:
        for _ in range(count):
            out.write(request_line(rng) + "\n")


def rates(label, count, times):
    best = min(times)
    median = statistics.median(times)
    print(f"{label}: {count} lines, {len(times)} runs: best {best:.3f} s "
          f"({count / best:,.0f} lines/s), median {median:.3f} s ({count / median:,.0f} lines/s)")
    return median


def peak_memory(cli, work, counts):
    # The child's own peak as wait4 reports it includes the copy of this Python
    # process that it was forked from; GNU time forks from a small process.
    gnu_time = shutil.which("time", path="/usr/bin:/bin")
    if gnu_time is None:
        print("peak memory: GNU time (/usr/bin/time, Debian package time) is missing")
        return
    for count in counts:
        path = os.path.join(work, f"memory-{count}.jsonl")
        write_requests(path, count)
        with open(path, "rb") as stdin:
            completed = subprocess.run([gnu_time, "-f", "%M", cli, "--batch"], stdin=stdin,
                                       stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                                       env=dict(os.environ, LC_ALL="C.UTF-8"), check=False)
        os.remove(path)
        if completed.returncode not in (0, 1):
            sys.exit(f"the batch of {count} lines failed")
        peak_kib = int(completed.stderr.decode().split()[-1])
        print(f"peak resident size for {count:,} lines: {peak_kib / 1024:.1f} MiB")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("cli")
    parser.add_argument("--count", type=int, default=200_000)
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--big-field-mb", type=int, default=10)
    parser.add_argument("--jq", default=shutil.which("jq"), help="jq to compare with ('' for none)")
    parser.add_argument("--memory-counts", default="",
                        help="comma-separated line counts for the peak memory check")
    args = parser.parse_args()

    with tempfile.TemporaryDirectory() as work:
        requests = os.path.join(work, "requests.jsonl")
        write_requests(requests, args.count)

        with open(requests, "rb") as lines:
            json_texts = sum(1 for line in lines if line.strip())  # jq answers no empty line
        # Interleaved, so that a busy machine slows both alike.
        times, jq_times = [], []
        for _ in range(args.runs):
            elapsed, lines = run(args.cli, requests)
            if lines != args.count:
                sys.exit(f"expected {args.count} answer lines, got {lines}")
            times.append(elapsed)
            if args.jq:
                elapsed, lines, status = timed([args.jq, "-c", "."], requests)
                if status != 0 or lines != json_texts:
                    sys.exit(f"jq failed with status {status} after {lines} lines")
                jq_times.append(elapsed)
        median = rates("karbelon-cli --batch", args.count, times)
        if jq_times:
            jq_median = rates("jq -c .", args.count, jq_times)
            print(f"karbelon-cli --batch is {jq_median / median:.2f} times as fast as jq -c . "
                  "(medians)")

        if args.memory_counts:
            peak_memory(args.cli, work, [int(c) for c in args.memory_counts.split(",")])

        if args.big_field_mb > 0:
            big = os.path.join(work, "big.jsonl")
            with open(big, "w", encoding="utf-8") as out:
                digits = "9" * (args.big_field_mb * 1024 * 1024)
                request = {"spell": "카르벨론", "hp": "1", "mp": "0." + digits, "defence": "0"}
                out.write(json.dumps(request) + "\n")
            elapsed, lines = run(args.cli, big)
            if lines != 1:
                sys.exit("the big request was not answered with one line")
            print(f"one request with a {args.big_field_mb} MB mana text: {elapsed:.3f} s "
                  "(process start included)")


if __name__ == "__main__":
    main()
