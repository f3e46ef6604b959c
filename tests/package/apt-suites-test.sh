#!/usr/bin/env bash
# cmake/portable/apt-suites.sh, the package sources of the Debian 11 build
# root and the bare bullseye chroot, against stand-ins for unshare, chroot and
# the root's apt-get early in PATH (never the real system's apt): a security
# archive that updates, one out of reach, one in mid-sync, none listed.
# Registered by tests/e2e/CMakeLists.txt in the portable tier.
set -u
script=${1:?usage: apt-suites-test.sh path/to/apt-suites.sh}
. "$(dirname "${BASH_SOURCE[0]}")/test-kit.sh"

mkdir -p "$work/fakes"
cat >"$work/fakes/unshare" <<'EOF'
#!/bin/sh
[ "$1" = --mount ] && shift
exec "$@"
EOF
# "chroot ROOT env -i ... apt-get ARGS": the stand-in apt-get with ARGS, in ROOT.
cat >"$work/fakes/chroot" <<'EOF'
#!/bin/sh
KOLVEX_FAKE_ROOT=$1
export KOLVEX_FAKE_ROOT
shift
while [ $# -gt 0 ] && [ "$1" != apt-get ]; do shift; done
shift
exec "$(dirname "$0")/apt-get" "$@"
EOF
# An update writes a package list for each source line as apt names them;
# the security archives of the rows below fail as real ones do.
cat >"$work/fakes/apt-get" <<'EOF'
#!/bin/sh
[ "$*" = "-q update" ] || [ "$*" = "-qq update" ] || { echo "unexpected: apt-get $*" >&2; exit 2; }
code=0
lists=$KOLVEX_FAKE_ROOT/var/lib/apt/lists
while read -r _ uri suite component; do
    case $uri in
    */closed) echo "Err:3 $uri $suite InRelease"
              echo "W: Failed to fetch $uri/dists/$suite/InRelease  Could not connect to 127.0.0.1:9" ;;
    */mid-sync) echo "E: Failed to fetch $uri/dists/$suite/main/binary-amd64/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress?"
                code=100 ;;
    *) echo "$suite" >"$lists/$(echo "${uri#http://}" | tr / _)_dists_${suite}_${component}_binary-amd64_Packages" ;;
    esac
done <"$KOLVEX_FAKE_ROOT/etc/apt/sources.list"
exit $code
EOF
chmod +x "$work/fakes/"*

# the security archive | the suites the root is then made from | what is said on standard error
while IFS='|' read -r security suites said; do
    root=$work/root
    rm -rf "$root" && mkdir -p "$root/etc/apt" "$root/var/lib/apt/lists"
    out=$(PATH=$work/fakes:$PATH KOLVEX_DEBIAN_SECURITY=$security bash "$script" "$root" bullseye http://mirror.example/debian/ 2>&1)
    code=$?
    [ $code = 0 ] || { fail "with $security: ended with $code: $out"; continue; }
    [ "$(cat "$root/.kolvex-suites")" = "$suites" ] || fail "with $security: the root names \"$(cat "$root/.kolvex-suites")\""
    if [ -n "$said" ]; then
        grep -qF -- "$said" <<<"$out" || fail "with $security: did not say \"$said\": $out"
    else
        [ -z "$out" ] || fail "with $security: said $out"
    fi
    # The root's sources are the suites it names, and its lists are theirs alone.
    want=$(printf 'deb http://mirror.example/debian bullseye main\ndeb http://mirror.example/debian bullseye-updates main\n')
    [ "$security" = http://security.example/debian-security ] &&
        want+=$'\n'"deb $security bullseye-security main"
    [ "$(cat "$root/etc/apt/sources.list")" = "$want" ] || fail "with $security: sources.list is"$'\n'"$(cat "$root/etc/apt/sources.list")"
    [ "$(cat "$root"/var/lib/apt/lists/* | sort | tr '\n' ' ')" = "$(tr ' ' '\n' <<<"${suites%% (*}" | sort | tr '\n' ' ')" ] ||
        fail "with $security: lists of $(cat "$root"/var/lib/apt/lists/* | tr '\n' ' ')"
done <<'ROWS'
http://security.example/debian-security|bullseye bullseye-updates bullseye-security (http://security.example/debian-security)|
http://127.0.0.1:9/closed|bullseye bullseye-updates (without bullseye-security: http://127.0.0.1:9/closed could not be had: Err:3 http://127.0.0.1:9/closed bullseye-security InRelease W: Failed to fetch http://127.0.0.1:9/closed/dists/bullseye-security/InRelease  Could not connect to 127.0.0.1:9)|bullseye-security left out
http://security.example/mid-sync|bullseye bullseye-updates (without bullseye-security: http://security.example/mid-sync could not be had: E: Failed to fetch http://security.example/mid-sync/dists/bullseye-security/main/binary-amd64/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress?)|Mirror sync in progress?
none|bullseye bullseye-updates (without bullseye-security: the system lists no Debian security archive)|the system lists no Debian security archive
ROWS
echo "apt suites: $failures failure(s)"
[ $failures = 0 ]
