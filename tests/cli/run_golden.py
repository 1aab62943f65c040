#!/usr/bin/env python3
"""Runs NAME.requests.jsonl through `karbelon-cli --batch` in the C locale and
compares the answers with NAME.expected.jsonl line by line.

Usage: run_golden.py KARBELON_CLI REQUESTS EXPECTED
"""

import os
import subprocess
import sys


def main():
    cli, requests_path, expected_path = sys.argv[1:4]
    env = {k: v for k, v in os.environ.items() if not k.startswith("LC_") and k != "LANG"}
    env["LC_ALL"] = "C"
    with open(requests_path, "rb") as requests:
        result = subprocess.run([cli, "--batch"], stdin=requests, capture_output=True, env=env,
                                timeout=120, check=False)
    with open(expected_path, "rb") as expected_file:
        expected = expected_file.read().splitlines()
    actual = result.stdout.splitlines()
    failures = [f"line {i + 1}:\n  expected {e.decode(errors='replace')}\n  actual   {a.decode(errors='replace')}"
                for i, (e, a) in enumerate(zip(expected, actual)) if e != a]
    if len(actual) != len(expected):
        failures.append(f"expected {len(expected)} answer lines, got {len(actual)}")
    want_status = 1 if any(b'"outcome":"invalid"' in line for line in expected) else 0
    if result.returncode != want_status:
        failures.append(f"exit status {result.returncode}, expected {want_status}")
    if result.stderr:
        failures.append("unexpected standard error: " + result.stderr.decode(errors="replace"))
    if failures:
        print("\n".join(failures))
        return 1
    print(f"{len(expected)} lines match")
    return 0


if __name__ == "__main__":
    sys.exit(main())
