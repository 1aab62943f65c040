#!/usr/bin/env bash
# The Quick start as a new user meets it, on a fresh Debian 12: a minbase root
# made by debootstrap (Debian's packages only), in it only what the README says
# a fresh machine needs first, and a clean clone of the current commit; then
# `make run` against a virtual display of this machine until the window is
# mapped, a click on 닫기, and a check that the program ended. Then the program
# without a display, and with --test `make test` in the same root.
# Not part of `make test`: it downloads about a gigabyte and takes long.
#
#   scripts/fresh-root-check.sh [--test] [--keep] [--timeout SECONDS]
#
# Needs root (chroot, mounts) and scripts/install-deps.sh fresh-root. The root
# lives in build/fresh-root/root and is removed afterwards (kept with --keep);
# the downloaded base packages stay in build/fresh-root/bookworm-minbase.tgz.
set -euo pipefail
cd "$(dirname "$0")/.."
source_dir=$PWD

run_tests=0
keep=0
timeout=3600
while [[ $# -gt 0 ]]; do
    case $1 in
        --test) run_tests=1 ;;
        --keep) keep=1 ;;
        --timeout) timeout=$2; shift ;;
        *) echo "usage: $0 [--test] [--keep] [--timeout SECONDS]" >&2; exit 2 ;;
    esac
    shift
done

say() { echo "fresh-root: $*"; }
fail() { echo "fresh-root: FAILED: $*" >&2; exit 1; }

if [[ $(id -u) -ne 0 ]]; then
    fail "needs root, for debootstrap, chroot and its mounts"
fi
for tool in debootstrap Xvfb xdotool git chroot findmnt; do
    command -v "$tool" >/dev/null || fail "$tool is missing; run scripts/install-deps.sh fresh-root"
done

work=$source_dir/build/fresh-root
root=$work/root
base=$work/bookworm-minbase.tgz
mkdir -p "$work"
xvfb_pid=""

# Processes whose root directory is the fresh root: the ones this script
# started there (make, the program, test servers).
processes_in_root() {
    local proc
    for proc in /proc/[0-9]*; do
        if [[ "$(readlink "$proc/root" 2>/dev/null)" == "$root" ]]; then
            echo "${proc#/proc/}"
        fi
    done
}

mounts_in_root() {
    findmnt -rn -o TARGET | grep -E "^$root(/|$)" | sort -r || true
}

cleanup() {
    local pids
    pids=$(processes_in_root)
    if [[ -n "$pids" ]]; then
        # shellcheck disable=SC2086
        kill $pids 2>/dev/null || true
        sleep 2
        pids=$(processes_in_root)
        # shellcheck disable=SC2086
        [[ -z "$pids" ]] || kill -KILL $pids 2>/dev/null || true
    fi
    if [[ -n "$xvfb_pid" ]]; then
        kill "$xvfb_pid" 2>/dev/null || true
    fi
    local target
    for target in $(mounts_in_root); do
        umount "$target" 2>/dev/null || umount -l "$target" || true
    done
    if [[ -n "$(mounts_in_root)" ]]; then
        echo "fresh-root: mounts remain under $root; not removing it" >&2
    elif [[ $keep -eq 0 ]]; then
        rm -rf "$root"
    fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# In the root: as root, with a plain environment, in the clone. Where this
# machine reaches the registries through a TLS proxy of its own, Node (npm)
# is handed the machine's certificates, as the root's resolv.conf is its
# name servers; a real fresh machine needs neither.
host_certificates=/etc/ssl/certs/ca-certificates.crt
root_certificates=/etc/ssl/host-ca-certificates.crt
in_root() {
    env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin HOME=/root \
        LANG=C.UTF-8 TERM=dumb NODE_EXTRA_CA_CERTS="$root_certificates" "$@"
}

commit=$(git rev-parse HEAD)
if [[ -n "$(git status --porcelain --untracked-files=no)" ]]; then
    say "note: uncommitted changes are not checked, only commit $commit"
fi

# 1. The minbase root. The base packages are downloaded once and kept.
if [[ -n "$(mounts_in_root)" ]]; then
    fail "mounts remain under $root from an earlier run"
fi
rm -rf "$root"
started=$SECONDS
if [[ ! -s "$base" ]]; then
    debootstrap --variant=minbase --make-tarball="$base.part" bookworm "$work/download" \
        >"$work/debootstrap.log" 2>&1 || fail "debootstrap download; see $work/debootstrap.log"
    mv "$base.part" "$base"
    rm -rf "$work/download"
fi
debootstrap --variant=minbase --unpack-tarball="$base" bookworm "$root" \
    >>"$work/debootstrap.log" 2>&1 || fail "debootstrap; see $work/debootstrap.log"
bootstrap_seconds=$((SECONDS - started))
say "minimal Debian 12 root in $root ($bootstrap_seconds s)"

cp /etc/resolv.conf "$root/etc/resolv.conf"
mkdir -p "$root/etc/ssl"
if [[ -s "$host_certificates" ]]; then
    cp "$host_certificates" "$root$root_certificates"
else
    : >"$root$root_certificates"
fi
# No package may start a service on this machine.
printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
chmod 755 "$root/usr/sbin/policy-rc.d"
mount -t proc proc "$root/proc"
for dir in sys dev; do
    mount --rbind "/$dir" "$root/$dir"
    mount --make-rslave "$root/$dir"  # unmounting must not reach this machine's
done
# This machine's /tmp: its X sockets, and lock files that keep the test
# suite's own X servers off the display numbers in use here.
mount --bind /tmp "$root/tmp"

# 2. What the README's Quick start says a fresh machine needs first.
first_step=$(sed -n '/^## Quick start/,/^## [^Q]/p' README.md |
             grep -o 'apt-get install [a-z0-9 .+-]*[a-z0-9]' | head -n 1 || true)
[[ -n "$first_step" ]] || fail "the README's Quick start names no 'apt-get install' step"
started=$SECONDS
in_root chroot "$root" /bin/bash -c \
    "export DEBIAN_FRONTEND=noninteractive; apt-get update -qq && ${first_step/install/install -y -qq}" \
    >"$work/first-step.log" 2>&1 || fail "'$first_step'; see $work/first-step.log"
say "'$first_step' ($((SECONDS - started)) s)"

# 3. A clean clone of this commit.
git clone -q --no-hardlinks "$(git rev-parse --path-format=absolute --git-common-dir)" \
    "$root/root/karbelon"
git -C "$root/root/karbelon" checkout -q --detach "$commit"
say "clean clone of $commit in /root/karbelon"

# 4. make run against a virtual display of this machine.
rm -f "$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 150); do
    [[ -s "$work/display" ]] && break
    sleep 0.2
done
display_number=$(head -n 1 "$work/display")
[[ -n "$display_number" ]] || fail "Xvfb did not start; see $work/xvfb.log"
display=:$display_number

started=$SECONDS
in_root DISPLAY="$display" chroot "$root" /bin/bash -c 'cd /root/karbelon && make run' \
    >"$work/make-run.log" 2>&1 &
make_pid=$!
window=""
packages_seconds=""
while [[ -z "$window" ]]; do
    if [[ -z "$packages_seconds" ]] && grep -q '^cmake --preset' "$work/make-run.log"; then
        packages_seconds=$((SECONDS - started))  # make run's packages are in
    fi
    if ! kill -0 "$make_pid" 2>/dev/null; then
        tail -n 20 "$work/make-run.log" >&2
        fail "make run ended before its window was mapped; see $work/make-run.log"
    fi
    if ((SECONDS - started > timeout)); then
        fail "no window after $timeout s; see $work/make-run.log"
    fi
    sleep 1
    window=$(DISPLAY=$display xdotool search --onlyvisible --class karbelon 2>/dev/null |
             head -n 1 || true)
done
window_seconds=$((SECONDS - started))
say "make run: window mapped after $window_seconds s" \
    "(packages installed after ${packages_seconds:-?} s, the rest configure and build)"

# 닫기, at its place in window pixels (the control table's twips / 15).
sleep 1
DISPLAY=$display xdotool mousemove --window "$window" 272 252 click 1
for _ in $(seq 100); do
    kill -0 "$make_pid" 2>/dev/null || break
    sleep 0.2
done
if kill -0 "$make_pid" 2>/dev/null; then
    fail "the program still runs after a click on 닫기"
fi
wait "$make_pid" || fail "make run ended with status $? after 닫기; see $work/make-run.log"
[[ -z "$(processes_in_root)" ]] || fail "processes remain in the root after 닫기"
say "make run: 닫기 ended the program, make run exited with 0"

# 5. No display: one line naming a terminal program that exists and works.
set +e
line=$(in_root chroot "$root" /root/karbelon/build/app/bin/karbelon 2>&1)
status=$?
set -e
say "without a display: exit status $status: $line"
[[ $status -eq 1 && $(wc -l <<<"$line") -eq 1 ]] || fail "expected one line and exit status 1"
cli=${line##*: }
in_root chroot "$root" "$cli" --spell 지옥겁화 >"$work/cli.txt" ||
    fail "the named '$cli' does not run"
grep -q '^실제데미지 : ' "$work/cli.txt" || fail "'$cli' printed no report"
say "the named $cli prints the report"

# 6. Optionally the whole test suite, as `make test` runs it.
if [[ $run_tests -eq 1 ]]; then
    started=$SECONDS
    set +e
    in_root chroot "$root" /bin/bash -c 'cd /root/karbelon && make test' \
        >"$work/make-test.log" 2>&1
    status=$?
    set -e
    test_seconds=$((SECONDS - started))
    if [[ $status -ne 0 ]]; then
        tail -n 40 "$work/make-test.log" >&2
        fail "make test ended with status $status after $test_seconds s; see $work/make-test.log"
    fi
    say "make test: passed in $test_seconds s"
fi

say "PASSED (window after $window_seconds s${test_seconds:+, make test $test_seconds s})"
