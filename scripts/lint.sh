#!/usr/bin/env bash
# clang-tidy with the tree's .clang-tidy over every source of ours that the
# given builds compile (their compile_commands.json); any finding fails.
#   scripts/lint.sh BUILD_DIR...
# The linux build covers core, window, cli, tests and bench; the fuzz build
# adds the fuzz targets.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tidy=${CLANG_TIDY:-clang-tidy-14}
jobs=${JOBS:-$(nproc)}

if [[ $# -eq 0 ]]; then
    echo "usage: $0 BUILD_DIR..." >&2
    exit 2
fi

status=0
for build in "$@"; do
    database=$build/compile_commands.json
    if [[ ! -f "$database" ]]; then
        echo "lint: $database is missing; configure that build first" >&2
        exit 1
    fi
    # Our own translation units only: nothing generated under a build dir.
    mapfile -t files < <(python3 - "$database" "$root" <<'PY'
import json, os, re, sys
database, root = sys.argv[1], sys.argv[2]
ours = re.compile(re.escape(root) + r"/(core|window|answer|cli|tests|bench|fuzz)/")
seen = set()
for entry in json.load(open(database)):
    path = os.path.normpath(os.path.join(entry["directory"], entry["file"]))
    if ours.match(path) and "/build/" not in path[len(root):] and path not in seen:
        seen.add(path)
        print(path)
PY
)
    echo "lint: ${#files[@]} files from $database"
    if [[ ${#files[@]} -gt 0 ]]; then
        printf '%s\0' "${files[@]}" |
            xargs -0 -n 1 -P "$jobs" "$tidy" -p "$build" --quiet --warnings-as-errors='*' ||
            status=1
    fi
done
exit "$status"
