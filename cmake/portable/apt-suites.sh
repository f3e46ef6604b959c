#!/usr/bin/env bash
# The package sources of a Debian root made with debootstrap: the portable
# build's Debian 11 root (make-build-root.sh) and the bare bullseye chroot
# the tarball is played in (tests/e2e/e2e.py's bare_chroot):
#   apt-suites.sh ROOT SUITE MIRROR
# Writes ROOT/etc/apt/sources.list with SUITE and SUITE-updates from MIRROR
# and SUITE-security from the system's own security archive
# (KOLVEX_DEBIAN_SECURITY="URI" or "none" instead), and runs apt-get update
# inside ROOT. A security archive that cannot be reached or fails to update
# (a mirror in mid-sync) is left out, and that is said on standard error and
# in ROOT/.kolvex-suites, which names the suites the root was made from.
set -eEuo pipefail
root=$1 suite=$2 mirror=${3%/}
in_root() { unshare --mount chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LC_ALL=C \
    DEBIAN_FRONTEND=noninteractive "$@"; }

if [ -n "${KOLVEX_DEBIAN_SECURITY:-}" ]; then
    security=${KOLVEX_DEBIAN_SECURITY%/}
else
    security=$(apt-get indextargets --format '$(REPO_URI) $(RELEASE)' 'Created-By: Packages' 'Origin: Debian' |
        grep -- '-security$' | head -n 1 | cut -d' ' -f1 || true)
    security=${security%/}
    [ -n "$security" ] || security=none
fi

sources() {
    printf 'deb %s %s main\ndeb %s %s-updates main\n' "$mirror" "$suite" "$mirror" "$suite"
    [ "$1" = with-security ] && printf 'deb %s %s-security main\n' "$security" "$suite"
    true
}
# The security suite counts as had when apt-get update ended well and wrote
# its package list (it only warns about an archive it could not reach).
updated_with_security() {
    in_root apt-get -q update >"$root/.kolvex-apt-update.log" 2>&1 &&
        compgen -G "$root/var/lib/apt/lists/*_dists_$suite-security_*Packages*" >/dev/null
}

if [ "$security" = none ]; then
    why="the system lists no Debian security archive"
else
    sources with-security >"$root/etc/apt/sources.list"
    rm -f "$root"/var/lib/apt/lists/*_dists_"$suite"-security_*
    if updated_with_security; then
        echo "$suite $suite-updates $suite-security ($security)" >"$root/.kolvex-suites"
        exit 0
    fi
    why="$security could not be had: $(grep -E '^(E|W|Err):' "$root/.kolvex-apt-update.log" | head -n 3 | tr '\n' ' ' ||
        true)"
    why=${why% }
fi
# Without it: the root still builds and plays, but lacks Debian's security
# fixes of the packages it is made of, which the build-info file then says.
echo "apt-suites: $suite-security left out of $root: $why" >&2
sources without-security >"$root/etc/apt/sources.list"
rm -f "$root"/var/lib/apt/lists/*_dists_"$suite"-security_*
in_root apt-get -qq update
echo "$suite $suite-updates (without $suite-security: $why)" >"$root/.kolvex-suites"
