#!/usr/bin/env bash
# Makes the npm package OUT_DIR/karbelon-<version>.tgz with npm pack: the
# module as the web build made it (WEB_DIR/karbelon.js, the page's own file,
# and karbelon.wasm) with web/npm's package.json, README.md and declarations,
# and the notices of the libraries in the module.
#   scripts/build-npm-package.sh WEB_DIR OUT_DIR
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
web=${1:?usage: build-npm-package.sh WEB_DIR OUT_DIR}
out=${2:?usage: build-npm-package.sh WEB_DIR OUT_DIR}

for module_file in karbelon.js karbelon.wasm; do
    if [[ ! -f "$web/$module_file" ]]; then
        echo "build-npm-package: $web/$module_file is missing; build the web preset first (make web)" >&2
        exit 1
    fi
done

# The product's version (a.b.c.d, from the project() line) as semver. npm
# has no fourth part, so only a.b.c.0 has an agreed form.
product_version=$(sed -n 's/^project(Karbelon VERSION \([0-9.]*\) .*/\1/p' "$here/CMakeLists.txt")
if [[ ! $product_version =~ ^([0-9]+)\.([0-9]+)\.([0-9]+)\.0$ ]]; then
    echo "build-npm-package: the product version '$product_version' is not a.b.c.0" >&2
    exit 1
fi
version=${BASH_REMATCH[1]}.${BASH_REMATCH[2]}.${BASH_REMATCH[3]}

# The package folder, assembled fresh beside the web build.
staging=$(cd "$web/.." && pwd)/npm/karbelon
rm -rf "$staging"
mkdir -p "$staging" "$out"
out=$(cd "$out" && pwd)
sed "s/@VERSION@/$version/" "$here/web/npm/package.json" >"$staging/package.json"
install -m 644 "$here/web/npm/README.md" "$here/web/npm/karbelon.d.ts" \
    "$web/karbelon.js" "$web/karbelon.wasm" "$staging/"
(umask 022 && "$here/scripts/write-module-notices.sh" "$staging/LICENSES-wasm.txt")

# No scripts run, and nothing is fetched: the folder is packed as it is.
tarball=$(cd "$staging" && npm pack --ignore-scripts --offline --silent \
              --pack-destination "$out")
echo "npm package in $out/$tarball"
