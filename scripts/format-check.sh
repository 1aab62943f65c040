#!/usr/bin/env bash
# Fails when any C++ source of ours differs from what clang-format makes of
# it under the tree's .clang-format; prints the offending lines.
#   scripts/format-check.sh [--fix]
set -euo pipefail
cd "$(dirname "$0")/.."

format=${CLANG_FORMAT:-clang-format-14}
mapfile -t files < <(find core window answer cli web tests bench fuzz \
    -name build -prune -o -type f \( -name '*.cpp' -o -name '*.h' \) -print 2>/dev/null | sort)
if [[ ${#files[@]} -eq 0 ]]; then
    echo "format-check: no sources found" >&2
    exit 1
fi
if [[ "${1:-}" == "--fix" ]]; then
    "$format" -i "${files[@]}"
    exit 0
fi
"$format" --dry-run --Werror "${files[@]}"
echo "format-check: ${#files[@]} files clean"
