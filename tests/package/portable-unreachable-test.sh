#!/usr/bin/env bash
# The tarball's tests where no Debian archive can be reached and nothing was
# fetched before: skipped with the reason, not failed. A build folder of its
# own and an archive on a closed local port; the real build is not touched.
# Run as root: without root's rights the build root is refused first, for
# that reason, so this test is skipped, saying so (and, as root, it checks
# that it is).
set -u
root=${1:?usage: portable-unreachable-test.sh SOURCE_ROOT}
not_root="skipped: not root: the portable build's Debian 11 root needs root's rights, and without them it is refused before any archive is tried"
if [ "$(id -u)" != 0 ]; then
    echo "$not_root"
    exit 77
fi
step=$root/tests/e2e/portable-step.sh
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export KOLVEX_DEBIAN_ARCHIVE="http://127.0.0.1:9/debian bookworm"
reason="no Debian archive could be reached (http://127.0.0.1:9/debian)"
failures=0
fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}

# Making the tarball: first with no build root (debootstrap cannot reach the
# archive either), then, where the real build has made its root, with that
# one, so that fetching the libraries' sources is what fails.
made_root=$root/build/portable/build-root
for build_root in "$scratch/portable/build-root" "$made_root"; do
    [ "$build_root" = "$made_root" ] && [ ! -e "$made_root/.kolvex-build-root" ] && continue
    rm -rf "$scratch/portable"
    out=$(cd "$root" && KOLVEX_BUILD_ROOT=$build_root sh "$step" "$scratch/portable" build 2>&1)
    code=$?
    [ $code = 77 ] || fail "making the tarball (root $build_root) ended with $code, not 77 (skipped):"$'\n'"$out"
    echo "$out" | grep -qF "skipped: $reason" ||
        fail "making the tarball (root $build_root) did not say why it was skipped:"$'\n'"$out"
    [ -z "$(ls "$scratch/portable/third-party/src" 2>/dev/null)" ] ||
        fail "something was fetched: $(ls "$scratch/portable/third-party/src")"
done

out=$(sh "$step" "$scratch/portable" sh -c 'echo ran; exit 1' 2>&1)
code=$?
[ $code = 77 ] || fail "a check of the tarball ended with $code, not 77 (skipped): $out"
echo "$out" | grep -qF "skipped: $reason" || fail "a check of the tarball did not say why it was skipped: $out"

# As another user, this very test is skipped with its reason.
out=$(setpriv --reuid=65534 --regid=65534 --clear-groups env HOME=/nonexistent bash "$0" "$root" 2>&1)
code=$?
[ $code = 77 ] || fail "as another user this test ended with $code, not 77 (skipped):"$'\n'"$out"
grep -qxF "$not_root" <<<"$out" || fail "as another user this test did not say why it was skipped:"$'\n'"$out"

[ $failures = 0 ] && echo "skipped with: $reason"
[ $failures = 0 ]
