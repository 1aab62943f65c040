#!/usr/bin/env python3
"""Times `karbelon-cli --batch` on generated JSON Lines requests.

Usage: cli_batch.py PATH/TO/karbelon-cli [--count N] [--runs R] [--big-field-mb M]

Writes N varied requests (every spell, unknown spells, grouped and decimal
numbers, messages, defence resets, a few invalid lines), runs the batch R
times and prints the best and median rate. Then answers one request whose mana
text is M megabytes long, to show that a huge field costs linear time.
"""

import argparse
import json
import os
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
        return rng.choice(["", "not json", '{"spell":"카르벨론"}', '{"spell":1,"hp":"1","mp":"2","defence":"0"}'])
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


def run(cli, input_path):
    with open(input_path, "rb") as stdin, tempfile.TemporaryFile() as stdout:
        start = time.perf_counter()
        completed = subprocess.run([cli, "--batch"], stdin=stdin, stdout=stdout, check=False,
                                   env=dict(os.environ, LC_ALL="C.UTF-8"))
        elapsed = time.perf_counter() - start
        stdout.seek(0)
        output_lines = sum(1 for _ in stdout)
    if completed.returncode not in (0, 1):
        sys.exit(f"karbelon-cli --batch failed with status {completed.returncode}")
    return elapsed, output_lines


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("cli")
    parser.add_argument("--count", type=int, default=200_000)
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--big-field-mb", type=int, default=10)
    args = parser.parse_args()

    rng = random.Random(20240611)
    with tempfile.TemporaryDirectory() as work:
        requests = os.path.join(work, "requests.jsonl")
        with open(requests, "w", encoding="utf-8") as out:
            for _ in range(args.count):
                out.write(request_line(rng) + "\n")

        times = []
        for _ in range(args.runs):
            elapsed, lines = run(args.cli, requests)
            if lines != args.count:
                sys.exit(f"expected {args.count} answer lines, got {lines}")
            times.append(elapsed)
        best = min(times)
        median = statistics.median(times)
        print(f"{args.count} requests, {args.runs} runs: best {best:.3f} s "
              f"({args.count / best:,.0f} requests/s), median {median:.3f} s "
              f"({args.count / median:,.0f} requests/s)")

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
