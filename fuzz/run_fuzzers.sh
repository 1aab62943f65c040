#!/usr/bin/env bash
# Runs every libFuzzer target of a fuzz build for a bounded time, each from
# its seeds in fuzz/corpus/<name>, and fails when any of them finds a crash,
# a sanitizer report, a leak, a slow input or a broken property.
#
#   fuzz/run_fuzzers.sh BUILD_DIR SECONDS [WORK_DIR]
#
# Without WORK_DIR the working corpus is a temporary copy that is removed
# afterwards, so the tree never changes; with it, the corpus grows there from
# run to run. Inputs that fail are kept in BUILD_DIR/fuzz-artifacts.
set -euo pipefail

if [[ $# -lt 2 ]]; then
    echo "usage: $0 BUILD_DIR SECONDS [WORK_DIR]" >&2
    exit 2
fi
build=$1
seconds=$2
seeds=$(cd "$(dirname "$0")" && pwd)/corpus

if [[ -n "${3:-}" ]]; then
    work=$3
    mkdir -p "$work"
else
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
fi

shopt -s nullglob
targets=("$build"/bin/fuzz_*)
if [[ ${#targets[@]} -eq 0 ]]; then
    echo "run_fuzzers: no fuzz targets in $build/bin" >&2
    exit 1
fi

export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
failed=0
for binary in "${targets[@]}"; do
    name=${binary##*/fuzz_}
    corpus=$work/$name
    artifacts=$build/fuzz-artifacts/$name
    log=$work/$name.log
    mkdir -p "$corpus" "$artifacts"
    if [[ -d "$seeds/$name" ]]; then
        cp -r --no-clobber "$seeds/$name/." "$corpus/"
    fi
    # -timeout catches a hang or a quadratic step on a single input.
    if "$binary" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$artifacts/" "$corpus" >"$log" 2>&1; then
        result=ok
    else
        result=FAILED
        failed=1
        tail -n 60 "$log" >&2
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    inputs=$(find "$corpus" -type f | wc -l)
    echo "fuzz_$name: $result, ${runs:-?} executions in ${seconds} s, corpus of $inputs inputs"
    if [[ $result != ok ]]; then
        echo "fuzz_$name: the failing input is in $artifacts" >&2
    fi
done
exit "$failed"
