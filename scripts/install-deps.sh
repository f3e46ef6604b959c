#!/usr/bin/env bash
# Installs the Debian packages the build and tests need, once: compilers for
# both sides, Wine (64- and 32-bit), the virtual display and test libraries.
set -eu
packages=(cmake g++ pkg-config g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
    wine wine64 wine32:i386 xvfb xauth xdotool imagemagick x11-utils fonts-wqy-microhei
    libosmesa6-dev libglu1-mesa-dev googletest libbenchmark-dev libjpeg62-turbo-dev
    python3-pil zip clang-14 libclang-rt-14-dev
    libgl1:i386 libglx-mesa0:i386 libgl1-mesa-dri:i386 libgl1-mesa-dri procps)
# The native game's text, sound and message box, also built by the native tests.
packages+=(libsdl2-dev libsdl2-ttf-dev libfontconfig-dev)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "installing: ${missing[*]}"
[ "$(id -u)" = 0 ] || { echo "missing packages and not root: ${missing[*]}" >&2; exit 1; }
dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
apt-get update -qq
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
