#!/usr/bin/env bash
# Size of what a page downloads: karbelon.wasm and karbelon.js, raw and
# gzip -9, against the goal (100 KB) and the stretch goal (64 KB); then the
# module's largest parts (data segments, code) by wasm-opt's reckoning.
#   bench/web_size.sh [build/web]
set -euo pipefail
dir=${1:-build/web}
total=0
for file in karbelon.wasm karbelon.js; do
    raw=$(stat -c %s "$dir/$file")
    packed=$(gzip -9c "$dir/$file" | wc -c)
    total=$((total + packed))
    printf '%-14s %8d bytes  %8d gzip\n' "$file" "$raw" "$packed"
done
printf '%-14s %8s        %8d gzip (goal 102400, stretch 65536)\n' total '' "$total"

# Where the module's bytes go: the data segments (tables and texts) and code.
wasm-opt "$dir/karbelon.wasm" --metrics 2>/dev/null |
    grep -E '^ *\[(funcs|memory-data|table-data|globals|imports|exports)\]|total' || true
