#!/usr/bin/env bash
# Puts the web page (web/ and the menu icons) beside the module in OUT_DIR,
# and writes the service worker's file list and cache version (a digest of
# every page file, so any change makes a new cache).
#   scripts/build-web-page.sh OUT_DIR [--zip ZIP_FILE]
# With --zip, also packs exactly the page's files into ZIP_FILE, in a folder
# named after it.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
out=${1:?usage: build-web-page.sh OUT_DIR [--zip ZIP_FILE]}
zip_file=
if [[ ${2:-} == --zip ]]; then
    zip_file=${3:?--zip needs a file name}
fi

for module_file in karbelon.js karbelon.wasm; do
    if [[ ! -f "$out/$module_file" ]]; then
        echo "build-web-page: $out/$module_file is missing; build the web preset first (make web)" >&2
        exit 1
    fi
done

# The page's modules are the ones index.html preloads; the module's own
# karbelon.js among them is built by the web preset.
mapfile -t modules < <(sed -n 's/.*<link rel="modulepreload" href="\([^"]*\)".*/\1/p' "$here/web/index.html" |
                       grep -vx karbelon.js)
# A module imported but not preloaded would load late and be missing offline.
for imported in $(cd "$here/web" && sed -n "s/.* from '\.\/\([^']*\)';\$/\1/p" "${modules[@]}" | sort -u); do
    if [[ $imported != karbelon.js && ! " ${modules[*]} " =~ " $imported " ]]; then
        echo "build-web-page: web/$imported is imported but web/index.html does not preload it" >&2
        exit 1
    fi
done
sources=(index.html page.css manifest.webmanifest error-icon.svg "${modules[@]}")
# The page's weight budget leaves room for two PNG sizes; the drawing itself
# serves every larger size.
icons=(karbelon-32.png karbelon-128.png)

mkdir -p "$out/icons"
for source in "${sources[@]}"; do
    cp "$here/web/$source" "$out/$source"
done
for icon in "${icons[@]}"; do
    cp "$here/packaging/icons/hicolor/$icon" "$out/icons/$icon"
done
cp "$here/packaging/icons/karbelon.svg" "$out/icons/karbelon.svg"
icons+=(karbelon.svg)

files=("${sources[@]}" karbelon.js karbelon.wasm)
for icon in "${icons[@]}"; do
    files+=("icons/$icon")
done

# Node before 22 takes a .js file for CommonJS unless a package.json beside
# it says otherwise; browsers ignore the file. It makes karbelon.js and the
# page's modules load in Node 18 as they are, from this folder and the zip.
printf '{\n  "type": "module"\n}\n' >"$out/package.json"

# The form's markup, from the module's control table, so the browser shows
# the form before any script ran.
node "$here/scripts/write-form-markup.mjs" "$out"
# The start script, inline in the page's head with its hash in the policy.
node "$here/scripts/write-start-script.mjs" "$out"

version=$(cd "$out" && cat "${files[@]}" "$here/web/sw.js" | sha256sum | cut -c1-16)
list="'./'"
for file in "${files[@]}"; do
    list+=", './$file'"
done
sed -e "s|^const cacheVersion = .*|const cacheVersion = '$version';|" \
    -e "s|^const pageFiles = .*|const pageFiles = [$list];|" \
    "$here/web/sw.js" >"$out/sw.js"
files+=(sw.js)

if [[ -n "$zip_file" ]]; then
    mkdir -p "$(dirname "$zip_file")"
    zip_file=$(cd "$(dirname "$zip_file")" && pwd)/$(basename "$zip_file")
    rm -f "$zip_file"
    # The notices of the libraries in the module go into the zip only: the
    # page itself never loads them.
    notices=$(mktemp -d)
    trap 'rm -rf "$notices"' EXIT
    (umask 022 && "$here/scripts/write-module-notices.sh" "$notices/LICENSES-wasm.txt")
    # One folder named after the zip, paths inside kept (icons/…), which
    # python's `-m zipfile -c` would flatten. SOURCE=NAME takes a file from
    # elsewhere.
    (cd "$out" && python3 -c '
import os, sys, zipfile
folder = os.path.basename(sys.argv[1]).removesuffix(".zip")
with zipfile.ZipFile(sys.argv[1], "w", zipfile.ZIP_DEFLATED) as archive:
    for entry in sys.argv[2:]:
        source, _, name = entry.partition("=")
        archive.write(source, f"{folder}/{name or source}")
' "$zip_file" "${files[@]}" package.json "$notices/LICENSES-wasm.txt=LICENSES-wasm.txt")
fi
echo "web page in $out (cache $version)"
