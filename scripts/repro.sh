#!/usr/bin/env bash
# The repro tier of ./test: builds the downloads of this checkout's linux, win32,
# portable and web trees and of a fresh clone of HEAD in another folder, and
# compares them byte for byte. `repro.sh compare A B` compares two files alone.
# Says "skipped: DOWNLOAD: REASON" for each one it cannot compare here, and
# ends with "repro: N same, N different, N skipped"; run under scripts/locked.
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
    "portable Kolvex-$version-linux-$(uname -m).tar.gz"
    "web Kolvex-$version-web.zip")

# Configures (once) and packages one preset's tree. The portable one goes
# through the portable tier's own step: where its Debian 11 root or its
# libraries' sources cannot be had (no archive, not root), its configure
# succeeds with nothing to build, and the step skips, saying why.
package() {
    local tree=$1 preset=$2 log=$1/build/repro-$2.log
    mkdir -p "$tree/build"
    if [ "$preset" = portable ]; then
        # The second build compiles in the first one's Debian 11 root: the
        # same packages, and minutes saved (the root is made in the build tree).
        (cd "$tree" && KOLVEX_BUILD_ROOT="$root/build/portable/build-root" \
            sh tests/e2e/portable-step.sh "$tree/build/portable" build) >"$log" 2>&1
        case $? in
            0) return 0 ;;
            77) skip_reason[$preset]=$(sed -n 's/^skipped: //p' "$log" | tail -n 1)
                echo "=== repro: $preset not built: ${skip_reason[$preset]}"
                return 77 ;;
        esac
        tail -n 40 "$log"
        return 1
    fi
    if [ ! -e "$tree/build/$preset/CMakeCache.txt" ] && ! (cd "$tree" && cmake --preset "$preset") >"$log" 2>&1; then
        tail -n 40 "$log"
        return 1
    fi
    (cd "$tree" && cmake --build --preset "$preset" --target package) >>"$log" 2>&1 || {
        tail -n 40 "$log"
        return 1
    }
}

# Sources without their history (an unpacked source archive) have no commit
# to build again: nothing to compare, which is not a failure. A clone git
# will not read (one owned by another user: "dubious ownership") is one,
# and says why.
if [ ! -e .git ]; then
    for download in "${downloads[@]}"; do
        echo "skipped: ${download#* }: these sources are not a git clone, so there is no commit to build again"
    done
    echo "repro: 0 same, 0 different, ${#downloads[@]} skipped"
    exit 0
fi
if ! refused=$(git rev-parse --verify HEAD 2>&1 >/dev/null); then
    echo "FAILED: git cannot read this clone, so its commit cannot be built again:"
    sed 's/^/    /' <<<"$refused"
    for download in "${downloads[@]}"; do
        echo "DIFFERENT: ${download#* }: not built again (git cannot read the clone)"
    done
    echo "repro: 0 same, ${#downloads[@]} different, 0 skipped"
    exit 1
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
    echo "repro: 0 same, ${#downloads[@]} different, 0 skipped"
    exit 1
fi
share_sources() {
    local fetched=$root/build/portable/third-party
    [ -e "$fetched/fetched" ] || return 0
    mkdir -p "$second/build/portable/third-party"
    tar -C "$fetched" -cf - --exclude='./src/*-build' ./fetched ./versions.txt ./src | tar -C "$second/build/portable/third-party" -xf -
}

# The page's libraries, as this tree built them: their build takes minutes
# and is not what the page's zip is compared for.
share_page_libraries() {
    local built=$root/build/web/third-party
    [ -e "$built/prefix" ] || return 0
    mkdir -p "$second/build/web"
    cp -a "$built" "$second/build/web/"
}

same=0 different=0 skipped=0
declare -A state skip_reason
for preset in linux win32 portable web; do
    for tree in "$root" "$second"; do
        echo "=== repro: $preset in ${tree#"$root"/}"
        [ "$tree/$preset" = "$second/portable" ] && share_sources
        [ "$tree/$preset" = "$second/web" ] && share_page_libraries
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
        77) echo "skipped: $file: ${skip_reason[$preset]:-its build was skipped}"
            skipped=$((skipped + 1)) ;;
        *) echo "DIFFERENT: $file: the $preset build failed"
           different=$((different + 1)) ;;
    esac
done
echo "repro: $same same, $different different, $skipped skipped"
[ $different = 0 ]
