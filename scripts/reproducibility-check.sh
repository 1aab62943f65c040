#!/usr/bin/env bash
# Builds the packages twice from clean clones of the current commit and
# checks that every file in build/packages comes out byte for byte the same.
# The two builds differ in everything that must leave no trace: the folder
# (and the length of its path), the time of the build (the second starts at
# least a minute after the first), the umask (022, 002), the time zone (UTC,
# Asia/Seoul) and the locale (C.UTF-8, ko_KR.UTF-8). Each runs `make package`
# as a user would, building of the linux and windows presets only what the
# packages hold (the tests do not go into them).
#
#   scripts/reproducibility-check.sh [--keep]
#
# The clones live under a new folder in ${TMPDIR:-/tmp} and are removed
# afterwards, unless --keep or a difference. Only committed work is checked.
# A differing file is named with diffoscope's report of it. On two free
# cores the two builds take about three minutes (17 when other builds share
# the cores).
set -euo pipefail
cd "$(dirname "$0")/.."

keep=0
case ${1:-} in
    --keep) keep=1 ;;
    '') ;;
    *) echo "usage: $0 [--keep]" >&2; exit 2 ;;
esac

say() { echo "repro-check: $*"; }
fail() { echo "repro-check: FAILED: $*" >&2; exit 1; }

commit=$(git rev-parse HEAD)
if [[ -n $(git status --porcelain --untracked-files=no) ]]; then
    say "uncommitted changes are not checked, only commit $commit"
fi
work=$(mktemp -d "${TMPDIR:-/tmp}/karbelon-repro.XXXXXX")
first=$work/a/karbelon
second=$work/second-build/elsewhere/karbelon-$commit

# The second build's locale; glibc builds it into a folder of our own
# (LOCPATH) when the system has not generated it.
second_locale=ko_KR.UTF-8
second_locpath=
if ! locale -a | grep -qix 'ko_KR.utf-\?8'; then
    second_locpath=$work/locale
    mkdir -p "$second_locpath"
    if localedef -i ko_KR -f UTF-8 "$second_locpath/$second_locale" 2>"$work/localedef.log"; then
        say "built $second_locale into $second_locpath"
    else
        say "WARNING: $second_locale could not be built (package locales;" \
            "see $work/localedef.log): both builds run in C.UTF-8"
        second_locpath=
        second_locale=C.UTF-8
    fi
fi

# build NAME DIR UMASK TZ LOCALE [LOCPATH]
build() {
    local name=$1 dir=$2 mask=$3 zone=$4 locale=$5 locpath=${6:-}
    mkdir -p "$(dirname "$dir")"
    git clone --quiet --no-checkout --no-hardlinks . "$dir"
    git -C "$dir" checkout --quiet --detach "$commit"
    say "$name: $dir, umask $mask, TZ=$zone, LC_ALL=$locale, started $(date -u +%T) UTC"
    local started=$SECONDS
    # SOURCE_DATE_EPOCH is unset, so that the Makefile derives it; nothing
    # of a calling make's reaches the build.
    if ! (umask "$mask" && cd "$dir" &&
          env -u SOURCE_DATE_EPOCH -u MAKEFLAGS -u MFLAGS -u MAKELEVEL TZ="$zone" LANG="$locale" LC_ALL="$locale" \
              ${locpath:+LOCPATH="$locpath"} \
              make package JOBS="${JOBS:-2}" \
                  LINUX_PACKAGE_TARGETS="karbelon karbelon-cli karbelon_compressed_docs" \
                  WINDOWS_PACKAGE_TARGETS="karbelon karbelon_setup") \
         >"$work/$name.log" 2>&1; then
        tail -n 30 "$work/$name.log" >&2
        fail "$name build failed; its log is $work/$name.log"
    fi
    say "$name: built in $((SECONDS - started)) s"
}

start=$SECONDS
build first "$first" 022 UTC C.UTF-8
# At least a minute between the two builds' starts, for anything that
# records the time of day at minute resolution.
if ((SECONDS - start < 60)); then
    sleep $((60 - (SECONDS - start)))
fi
build second "$second" 002 Asia/Seoul "$second_locale" "$second_locpath"

differ=0
mapfile -t names < <( (cd "$first/build/packages" && ls -A; cd "$second/build/packages" && ls -A) |
                      LC_ALL=C sort -u)
((${#names[@]})) || fail "no packages in build/packages"
for name in "${names[@]}"; do
    a=$first/build/packages/$name
    b=$second/build/packages/$name
    if [[ ! -f $a || ! -f $b ]]; then
        say "DIFFERS: $name is made by one build only"
        differ=1
    elif cmp -s "$a" "$b"; then
        say "same: $name ($(sha256sum <"$a" | cut -c1-16))"
    else
        say "DIFFERS: $name"
        differ=1
        if command -v diffoscope >/dev/null; then
            diffoscope --no-progress --text - "$a" "$b" | head -n 80 || true
        else
            say "(diffoscope is missing: scripts/install-deps.sh repro)"
        fi
    fi
done
say "two builds in $((SECONDS - start)) s"

if ((differ)); then
    fail "the packages differ; both builds stay in $work"
fi
if ((keep)); then
    say "every package file is the same; both builds stay in $work"
else
    rm -rf "$work"
    say "every package file is the same"
fi
