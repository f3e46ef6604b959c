#!/usr/bin/env bash
# scripts/install-deps.sh against stand-ins for apt-get, dpkg, dpkg-query and
# id early in PATH, never the real system: a mirror whose update always fails,
# a refused 32-bit install, a refused main install. Registered by
# tests/package/CMakeLists.txt in the native tier.
set -u
script=${1:?usage: install-deps-test.sh path/to/install-deps.sh}
fakes=$(mktemp -d)
trap 'rm -rf "$fakes"' EXIT
export KOLVEX_FAKE_LOG=$fakes/calls KOLVEX_APT_RETRY_PAUSE=0

cat >"$fakes/apt-get" <<'EOF'
#!/bin/sh
echo "apt-get $*" >>"$KOLVEX_FAKE_LOG"
case "$*" in
*update*)
    echo "E: Failed to fetch .../binary-i386/Packages.xz  File has unexpected size (1 != 2). Mirror sync in progress?" >&2
    exit 100 ;;
*:i386*)
    echo "E: Error, pkgProblemResolver::Resolve generated breaks, this may be caused by held packages." >&2
    exit 100 ;;
*install*)
    [ -n "${KOLVEX_FAKE_MAIN_FAILS:-}" ] && { echo "E: Unable to locate package libsdl2-dev" >&2; exit 100; }
    exit 0 ;;
esac
EOF
cat >"$fakes/dpkg" <<'EOF'
#!/bin/sh
echo "dpkg $*" >>"$KOLVEX_FAKE_LOG"
EOF
printf '#!/bin/sh\nexit 1\n' >"$fakes/dpkg-query"  # nothing is installed
printf '#!/bin/sh\necho 0\n' >"$fakes/id"
chmod +x "$fakes"/*

failures=0
fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}
# Runs the script with ARGS; sets out, code and calls.
run() {
    : >"$KOLVEX_FAKE_LOG"
    out=$(PATH="$fakes:$PATH" bash "$script" "$@" 2>&1)
    code=$?
    calls=$(cat "$KOLVEX_FAKE_LOG")
}
expect() {  # what, grep pattern, text
    grep -qE -- "$2" <<<"$3" || fail "$1: no match for /$2/ in:"$'\n'"$3"
}

# The update fails every time: three tries, then the install goes ahead; the
# 32-bit call is refused on its own and the 64-bit-only path is taken and said.
run --presets native win32
[ "$code" = 0 ] || fail "a refused 32-bit install stops the run (exit $code): $out"
[ "$(grep -c 'apt-get update' <<<"$calls")" = 3 ] || fail "update not tried three times: $calls"
installs=$(grep '^apt-get install' <<<"$calls")
expect "main install after the failed updates" 'mingw' "$(head -n1 <<<"$installs")"
grep -q ':i386' <<<"$(head -n1 <<<"$installs")" && fail "the 32-bit packages share the main call: $calls"
expect "own call for the 32-bit packages" '^apt-get install( -[^ ]+)*( [^ ]+:i386)+$' "$(tail -n1 <<<"$installs")"
expect "i386 added as an architecture" '^dpkg --add-architecture i386' "$calls"
[ "$(grep -c 'run on the 64-bit build only' <<<"$out")" = 1 ] || fail "the 64-bit-only path is not said once: $out"

# A preset without the Windows build asks for no 32-bit packages at all.
run --presets native
grep -q ':i386\|add-architecture' <<<"$calls" && fail "native asks for 32-bit packages: $calls"
expect "native installs the test tools" '^apt-get install .*googletest' "$calls"

# The main call failing stops with the packages and apt's reason.
KOLVEX_FAKE_MAIN_FAILS=1 run --presets tsan
[ "$code" != 0 ] || fail "a failed main install reports success: $out"
expect "the packages named" 'could not install .*g\+\+' "$out"
expect "apt's reason given" 'Unable to locate package' "$out"

# Unknown names are refused before anything is asked of apt.
run --presets nosuch
[ "$code" = 2 ] && [ -z "$calls" ] || fail "an unknown preset: exit $code, calls: $calls"

echo "install-deps: $failures failed"
[ "$failures" = 0 ]
