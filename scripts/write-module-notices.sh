#!/usr/bin/env bash
# Writes the notices of the libraries linked into karbelon.wasm (WASI's C
# library, libc++, libc++abi and clang's runtime builtins), from their Debian
# copyright files, to FILE. Their licences ask that the notices travel with
# the binary, so the web zip and the npm package carry this file.
#   scripts/write-module-notices.sh FILE
set -euo pipefail

file=${1:?usage: write-module-notices.sh FILE}
packages=(wasi-libc libc++-19-dev-wasm32 libc++abi-19-dev-wasm32 libclang-rt-19-dev-wasm32)

for package in "${packages[@]}"; do
    if [[ ! -f /usr/share/doc/$package/copyright ]]; then
        echo "write-module-notices: /usr/share/doc/$package/copyright is missing (apt-get install $package)" >&2
        exit 1
    fi
done

{
    echo "karbelon.wasm contains code from the following libraries, built by Debian."
    echo "Their copyright notices and licences follow, as Debian ships them."
    for package in "${packages[@]}"; do
        printf '\n==== %s ====\n\n' "$package"
        cat "/usr/share/doc/$package/copyright"
    done
} >"$file"
