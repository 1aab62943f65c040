#!/usr/bin/env bash
# Installs the Debian packages that the named parts of the build need, and
# only those that are missing. Without root or password-less sudo it prints
# the exact command to run and fails.
set -euo pipefail

declare -A groups=(
    [build]="cmake ninja-build g++ make libfast-float-dev"
    [test]="libgtest-dev libgmock-dev googletest libbenchmark-dev python3"
    [cli]="libcli11-dev nlohmann-json3-dev locales"
    # The window: its build, Wayland support, Qt's own translations, xdg-open
    # for the web label, and a Hangul font.
    [qt]="qt6-base-dev libgl-dev qt6-wayland qt6-translations-l10n xdg-utils fonts-nanum"
    [gui-test]="xvfb xauth fonts-nanum fonts-noto-cjk"
    [screenshot]="xvfb xauth fonts-nanum fonts-noto-cjk xdotool x11-apps imagemagick"
    [gui-bench]="xvfb xauth fonts-nanum x11-utils python3"
    # scripts/fresh-root-check.sh: a minbase root, a clone, a display to watch.
    [fresh-root]="debootstrap git xvfb xdotool util-linux"
    [fuzz]="clang-14 libclang-rt-14-dev"
    [lint]="clang-format-14 clang-tidy-14"
    # make windows: the mingw-w64 cross compiler, and Wine on a private Xvfb
    # display with Hangul fonts (Nanum, and Noto Sans CJK for the tests in a
    # desktop's usual font; Wine's own, for title-bar buttons), and makensis,
    # since the build makes the installer that its tests install.
    [windows]="g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-common wine64 wine xvfb xauth fonts-nanum fonts-noto-cjk fonts-wine nsis"
    # make package: CPack's DEB generator (dpkg-shlibdeps, file), the checks of
    # the packages, the Windows cross compiler with its runtime's notices,
    # makensis for the Windows installer, and strip-nondeterminism for the
    # zips' times, order and modes.
    [package]="dpkg-dev file desktop-file-utils appstream lintian g++-mingw-w64-x86-64-posix mingw-w64-common nsis strip-nondeterminism"
    # make repro-check: clones, the Korean locale's sources, and diffoscope
    # to show what differs.
    [repro]="git locales diffoscope-minimal"
    # make web-ui-test: the page in Debian's Chromium (playwright-core from
    # npm), Firefox ESR (puppeteer-core) and WebKitGTK's MiniBrowser
    # (selenium-webdriver through WebKitWebDriver) on an Xvfb display, whose
    # clipboard xclip reads.
    [web-ui-test]="chromium firefox-esr webkit2gtk-driver libwebkit2gtk-4.1-0 xvfb xclip npm python3 fonts-noto-cjk"
    # make web-bench: real clicks on the page, on Chromium's own X window.
    [web-bench]="xdotool"
    # make web: the WebAssembly module (clang 19 for wasm32-wasi, WASI's C
    # library, libc++ for wasm32, wasm-opt), Node for its tests and bench, and
    # python3 for the web zip and make serve.
    [web]="clang-19 lld-19 wasi-libc libc++-19-dev-wasm32 libc++abi-19-dev-wasm32 libclang-rt-19-dev-wasm32 binaryen nodejs python3"
    # make libcxx: clang 19 with libc++, GoogleTest built from its sources.
    [libcxx]="clang-19 lld-19 libc++-19-dev libc++abi-19-dev googletest"
)

packages=()
for group in "$@"; do
    if [[ -z "${groups[$group]+set}" ]]; then
        echo "install-deps: unknown group '$group'" >&2
        exit 2
    fi
    # shellcheck disable=SC2206
    packages+=(${groups[$group]})
done

# Packages whose command may come from elsewhere (node and npm from another
# source): present on PATH counts as installed.
declare -A satisfied_by_command=([npm]=npm [nodejs]=node)

missing=()
for package in "${packages[@]}"; do
    command_name=${satisfied_by_command[$package]:-}
    if [[ -n "$command_name" ]] && command -v "$command_name" >/dev/null; then
        continue
    fi
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    if [[ "$status" != "install ok installed" ]]; then
        missing+=("$package")
    fi
done
if [[ ${#missing[@]} -eq 0 ]]; then
    exit 0
fi

if [[ $(id -u) -eq 0 ]]; then
    sudo=()
elif command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
    sudo=(sudo)
else
    echo "Missing Debian packages. Install them with:" >&2
    echo "  sudo apt-get update && sudo apt-get install -y ${missing[*]}" >&2
    exit 1
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
# A fresh machine has no package lists yet; refresh them before the first install.
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
