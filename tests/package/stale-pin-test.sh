#!/usr/bin/env bash
# The portable libraries' sources where Debian's archive no longer serves a
# pinned version (a security update replaced it): the newest served one is
# fetched, said, and recorded for the build-info file. A copy of the build
# scripts with one pin that never existed; the real build is not touched.
set -u
root=${1:?usage: stale-pin-test.sh SOURCE_ROOT}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/root/cmake"
cp -r "$root/cmake/portable" "$scratch/root/cmake/"
sed -i 's/^freetype=.*/freetype=2.12.1+dfsg-5+deb12u0/' "$scratch/root/cmake/portable/sources.txt"

out=$(bash "$scratch/root/cmake/portable/build-libs.sh" --fetch-only "$scratch/work" "$scratch/root" 2>&1)
code=$?
if [ $code = 77 ]; then
    echo "skipped: $out"
    exit 77
fi
failures=0
fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}
[ $code = 0 ] || fail "a pin no longer served stops the fetch (exit $code):"$'\n'"$out"
grep -qF "no longer serves freetype 2.12.1+dfsg-5+deb12u0" <<<"$out" || fail "the replaced pin is not said:"$'\n'"$out"
versions=$(cat "$scratch/work/versions.txt" 2>/dev/null)
grep -qE '^freetype=2\.12\.1\+dfsg-5\+deb12u[1-9][0-9]* \(2\.12\.1\+dfsg-5\+deb12u0 is pinned' <<<"$versions" ||
    fail "versions.txt does not record what replaced the pin: $versions"
grep -qx 'libsdl2=2.26.5+dfsg-1' <<<"$versions" || fail "a served pin was replaced: $versions"
[ -f "$scratch/work/src/freetype/debian/copyright" ] || fail "FreeType's sources were not unpacked"
echo "stale pin: $failures failure(s)"
[ $failures = 0 ]
