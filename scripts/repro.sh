#!/usr/bin/env bash
# The repro tier of ./test: builds the downloads of this checkout's linux, win32
# and portable trees and of a fresh clone of HEAD in another folder, and
# compares them byte for byte. `repro.sh compare A B` compares two files alone.
# Ends with "repro: N same, N different"; run under scripts/locked.
set -u

# Same bytes, or the first 200 lines of what diffoscope finds between them.
compare() {
    if cmp -s "$1" "$2"; then
        echo "same: $(basename "$1")"
        return 0
    fi
    echo "DIFFERENT: $1 and $2"
    timeout 900 diffoscope --text - "$1" "$2" 2>&1 | head -n 200
    return 1
}
if [ "${1:-}" = compare ]; then
    compare "$2" "$3"
    exit
fi
cd "$(dirname "$0")/.." || exit 1
root=$PWD

version=$(sed -n 's/^project(Kolvex VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
downloads=(
    "linux kolvex_${version}_$(dpkg --print-architecture).deb"
    "win32 Kolvex-$version-win32.zip"
    "win32 Kolvex-$version-win32.msi"
    "portable Kolvex-$version-linux-$(uname -m).tar.gz")

# Configures (once) and packages one preset's tree; the portable one is
# skipped, as in the linux tier, where Debian's sources cannot be had.
package() {
    local tree=$1 preset=$2 log=$1/build/repro-$2.log
    mkdir -p "$tree/build"
    # The second build compiles in the first one's Debian 11 root: the same
    # packages, and minutes saved (the root is made in the build tree).
    local env=()
    [ "$preset" = portable ] && env=(KOLVEX_BUILD_ROOT="$root/build/portable/build-root")
    if [ ! -e "$tree/build/$preset/CMakeCache.txt" ] && ! (cd "$tree" && env "${env[@]}" cmake --preset "$preset") >"$log" 2>&1; then
        if [ -e "$tree/build/$preset/third-party/unavailable" ]; then
            echo "skipped: $preset: $(cat "$tree/build/$preset/third-party/unavailable")"
            return 77
        fi
        tail -n 40 "$log"
        return 1
    fi
    (cd "$tree" && env "${env[@]}" cmake --build --preset "$preset" --target package) >>"$log" 2>&1 || {
        tail -n 40 "$log"
        return 1
    }
}

# Sources without their history (an unpacked source archive) have no commit
# to build again: nothing to compare, which is not a failure.
if ! git rev-parse -q --verify HEAD >/dev/null 2>&1; then
    echo "skipped: the downloads (these sources are not a git clone, so there is no commit to build again)"
    echo "repro: 0 same, 0 different"
    exit 0
fi
[ -z "$(git status --porcelain --untracked-files=no)" ] ||
    echo "note: this checkout has uncommitted changes; the second build is of HEAD without them"

# The second build: a clone of HEAD under another path. It may reuse the
# Debian sources the portable build fetched and its build root (not what was
# built from them).
second=$root/build/repro/kolvex
rm -rf "$root/build/repro"
mkdir -p "$root/build/repro"
if ! git clone -q --no-checkout "$root" "$second" || ! git -C "$second" checkout -q --detach "$(git rev-parse HEAD)"; then
    echo "repro: 0 same, 1 different"
    exit 1
fi
share_sources() {
    local fetched=$root/build/portable/third-party
    [ -e "$fetched/fetched" ] || return 0
    mkdir -p "$second/build/portable/third-party"
    tar -C "$fetched" -cf - --exclude='./src/*-build' ./fetched ./versions.txt ./src | tar -C "$second/build/portable/third-party" -xf -
}

same=0 different=0
declare -A state
for preset in linux win32 portable; do
    for tree in "$root" "$second"; do
        echo "=== repro: $preset in ${tree#"$root"/}"
        [ "$tree/$preset" = "$second/portable" ] && share_sources
        package "$tree" "$preset"
        s=$?
        [ $s = 0 ] || { state[$preset]=$s; break; }
        state[$preset]=0
    done
done
for download in "${downloads[@]}"; do
    preset=${download%% *} file=${download#* }
    case ${state[$preset]} in
        0) if compare "build/$preset/$file" "$second/build/$preset/$file"; then
               same=$((same + 1))
           else
               different=$((different + 1))
           fi ;;
        77) echo "skipped: $file (its sources cannot be had here)" ;;
        *) echo "DIFFERENT: $file: the $preset build failed"
           different=$((different + 1)) ;;
    esac
done
echo "repro: $same same, $different different"
[ $different = 0 ]
