#!/usr/bin/env bash
# The repro tier's comparison (`scripts/repro.sh compare A B`) on made-up
# tarballs: one file's time or one build path inside a file must fail it and
# be shown. Registered by tests/package/CMakeLists.txt for host builds.
set -u
repro=${1:?usage: repro-compare-test.sh path/to/repro.sh}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}

# A tarball of one folder holding FILE with TEXT, its time TIME.
tarball() {
    local out=$1 text=$2 time=$3
    rm -rf "$work/stage" && mkdir -p "$work/stage/kolvex"
    printf '%s\n' "$text" >"$work/stage/kolvex/README.txt"
    tar -C "$work/stage" --sort=name --owner=0 --group=0 --numeric-owner --mtime="@$time" -cf - kolvex |
        gzip -9n >"$work/$out"
}
tarball same1.tar.gz "assert failed in ./src/sdl2/SDL.c" 1796821402
tarball same2.tar.gz "assert failed in ./src/sdl2/SDL.c" 1796821402
out=$(bash "$repro" compare "$work/same1.tar.gz" "$work/same2.tar.gz") || fail "two equal tarballs are called different: $out"
# what changed | its text | its time | what diffoscope must show of it
while IFS='|' read -r changed text time shown; do
    tarball "$changed.tar.gz" "$text" "$time"
    out=$(bash "$repro" compare "$work/same1.tar.gz" "$work/$changed.tar.gz") && fail "a changed $changed passes: $out"
    grep -q '^DIFFERENT' <<<"$out" || fail "a changed $changed is not reported: $out"
    grep -qF "$shown" <<<"$out" || fail "the changed $changed is not shown ($shown): $out"
done <<'ROWS'
time|assert failed in ./src/sdl2/SDL.c|1796821403|2026-12-09
path|assert failed in /work/other/build/portable/third-party/src/sdl2/SDL.c|1796821402|/work/other/build
ROWS

# Sources that are not a git clone: nothing to build again, said, not failed.
mkdir -p "$work/plain/scripts" && cp "$repro" "$work/plain/scripts/repro.sh"
out=$(cd "$work/plain" && bash scripts/repro.sh 2>&1) || fail "sources without a commit fail the tier: $out"
grep -qx 'repro: 0 same, 0 different' <<<"$out" || fail "sources without a commit are not said: $out"

echo "repro compare: $failures failure(s)"
[ $failures = 0 ]
