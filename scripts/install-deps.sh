#!/usr/bin/env bash
# Installs the Debian packages a task needs, once. `install-deps.sh linux`:
# what building and running the native game takes (no Wine, no MinGW);
# `headless` adds the virtual display and screenshot tools ./play uses
# without a desktop; `package` what making and checking the .deb and the
# Windows installer takes; `portable` what the tarball for any Linux and its
# test take;
# `all` (the default, used by ./test) everything the builds and tests of
# every preset need.
set -eu
linux=(cmake g++ pkg-config libsdl2-dev libsdl2-ttf-dev libfontconfig-dev fonts-wqy-microhei
    libglu1-mesa-dev libopengl-dev libglx-dev libglx-mesa0 libgl1-mesa-dri libjpeg62-turbo-dev)
headless=(xvfb xauth xdotool imagemagick)
package=(dpkg-dev lintian python3-pil appstream desktop-file-utils wixl msitools)
# The tarball for any Linux: SDL2's build needs (the headers of what it
# loads at run time), FreeType and what it links as static libraries, GLU's
# build, the font cutter, and the bare chroot it is tested in.
portable=(dpkg-dev ninja-build libx11-dev libxext-dev libxcursor-dev libxi-dev libxrandr-dev libxfixes-dev
    libxss-dev libxinerama-dev libwayland-dev libxkbcommon-dev libdecor-0-dev libegl-dev libgl-dev libasound2-dev
    libpulse-dev libdbus-1-dev libudev-dev libfreetype-dev libpng-dev zlib1g-dev libbz2-dev libbrotli-dev
    libjpeg62-turbo-dev fonttools fonts-wqy-microhei debootstrap binutils)
all=("${linux[@]}" "${headless[@]}" "${package[@]}" "${portable[@]}" g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
    wine wine64 wine32:i386 x11-utils
    libosmesa6-dev googletest libbenchmark-dev libjpeg-turbo-progs
    python3-pil zip clang-14 libclang-rt-14-dev
    libgl1:i386 libglx-mesa0:i386 libgl1-mesa-dri:i386 procps
    openbox wmctrl icoutils)
packages=()
for need in "${@:-all}"; do
    case $need in
        linux) packages+=("${linux[@]}") ;;
        headless) packages+=("${headless[@]}") ;;
        package) packages+=("${package[@]}") ;;
        portable) packages+=("${portable[@]}") ;;
        all) packages+=("${all[@]}") ;;
        *) echo "install-deps.sh: unknown set '$need' (linux, headless, package, portable, all)" >&2; exit 2 ;;
    esac
done
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "installing: ${missing[*]}"
[ "$(id -u)" = 0 ] || { echo "missing packages and not root: ${missing[*]}" >&2; exit 1; }
case " ${missing[*]} " in *:i386*) dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386 ;; esac
apt-get update -qq
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
