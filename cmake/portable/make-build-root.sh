#!/usr/bin/env bash
# The Debian 11 root the portable build compiles in, so that the tarball asks
# for glibc 2.31 and nothing newer: made once with debootstrap into the build
# tree, with bullseye's GCC 10 and the -dev packages the libraries build on,
# taken from bullseye, its updates and its security suite (apt-suites.sh).
# Run by cmake/portable/toolchain-build-root.cmake at configure time:
#   make-build-root.sh ROOT UNAVAILABLE_FILE
# Writes ROOT.bin/gcc and ROOT.bin/g++, which run the compilers inside ROOT
# (run-in-root.sh). Exits 77, the reason in UNAVAILABLE_FILE, where no Debian
# archive can be reached or the root cannot be made without root's rights.
set -eEuo pipefail
root=$(realpath -m "$1")
unavailable=$2
here=$(dirname "$(realpath "$0")")
suite=bullseye
packages=(gcc g++ libc6-dev pkg-config libx11-dev libxext-dev libxcursor-dev libxi-dev libxrandr-dev libxfixes-dev
    libxss-dev libxinerama-dev libwayland-dev libxkbcommon-dev libegl-dev libgl-dev libasound2-dev libpulse-dev
    libdbus-1-dev libudev-dev libjpeg62-turbo-dev)

# The root is made again when this script, its package list or its sources change.
want=$(cat "$0" "$here/apt-suites.sh" | sha256sum | cut -c1-16)
if [ "$(cat "$root/.kolvex-build-root" 2>/dev/null)" = "$want" ] && [ -x "$root.bin/g++" ]; then
    # Made while the security archive was out of reach: said at every configure.
    case $(cat "$root/.kolvex-suites" 2>/dev/null) in
        *without*) echo "make-build-root: $root was made $(sed 's/.*(\(without .*\))$/\1/' "$root/.kolvex-suites");" \
                        "remove it to make it again" >&2 ;;
    esac
    exit 0
fi

skip() {
    mkdir -p "$(dirname "$unavailable")"
    echo "$*" | tee "$unavailable" >&2
    exit 77
}
[ "$(id -u)" = 0 ] ||
    skip "the portable build compiles inside a Debian 11 root made with debootstrap and chroot, which need root's rights"

# The system's Debian archive (its security one is apt-suites.sh's), or
# KOLVEX_DEBIAN_ARCHIVE's.
if [ -n "${KOLVEX_DEBIAN_ARCHIVE:-}" ]; then
    mirror=${KOLVEX_DEBIAN_ARCHIVE%% *}
else
    mirror=$(apt-get indextargets --format '$(REPO_URI) $(RELEASE)' 'Created-By: Packages' 'Origin: Debian' |
        grep -v -- '-security' | head -n 1 | cut -d' ' -f1)
fi
[ -n "$mirror" ] || skip "the system lists no Debian archive to make the portable build's Debian 11 root from"
mirror=${mirror%/}
wget -q -T 20 -t 2 -O /dev/null "$mirror/dists/$suite/Release" ||
    skip "no Debian archive could be reached ($mirror) and the portable build's Debian 11 root is not in $root"

if grep -q " $root[/ ]" /proc/mounts; then
    echo "make-build-root: something is still mounted under $root" >&2
    exit 1
fi
rm -rf "$root" "$root.bin"
log=$root.log
trap 'echo "make-build-root: failed; the end of $log:" >&2; tail -n 30 "$log" >&2' ERR
echo "make-build-root: debootstrap $suite into $root (minutes, once)" >&2
# In a mount namespace of its own: whatever debootstrap mounts goes with it.
unshare --mount debootstrap --variant=minbase "$suite" "$root" "$mirror" >"$log" 2>&1
in_root() { unshare --mount chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LC_ALL=C \
    DEBIAN_FRONTEND=noninteractive "$@"; }
# bullseye, its point releases' fixes and its security fixes; without the
# last where they cannot be had (said on standard error and in the log).
"$here/apt-suites.sh" "$root" "$suite" "$mirror" 2> >(tee -a "$log" >&2) >>"$log"
in_root apt-get -y -qq --no-install-recommends install "${packages[@]}" >>"$log" 2>&1
# Which suite each static library built into the program came from, for the
# build-info file: "PACKAGE VERSION SUITE..." a line.
for package in libjpeg62-turbo-dev libstdc++-10-dev libgcc-10-dev; do
    in_root apt-cache policy "$package" | awk -v package="$package" '
        /^  Installed: / { installed = $2 }
        /^ \*\*\* / { mine = ($2 == installed); next }
        /^     [^ ]/ && !/^        / { mine = 0 }
        mine && $2 ~ /:\/\// { split($3, where, "/"); suites = suites (suites ? "," : "") where[1] }
        END { print package, installed, (suites ? suites : "unknown") }'
done >"$root/.kolvex-built-in" 2>>"$log"
in_root apt-get -qq clean >>"$log" 2>&1

# The compilers as the builds call them, run inside the root with the folder
# that holds it (and with it the sources and the build tree) at its own path.
mkdir -p "$root.bin"
for tool in gcc g++; do
    printf '#!/bin/sh\nexec %q %q /usr/bin/%s "$@"\n' "$here/run-in-root.sh" "$root" "$tool" >"$root.bin/$tool"
    chmod +x "$root.bin/$tool"
done
echo "$want" >"$root/.kolvex-build-root"
