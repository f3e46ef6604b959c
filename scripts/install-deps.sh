#!/usr/bin/env bash
# Installs the Debian packages a task needs, once. Called by ./test with the
# presets it is about to build (`install-deps.sh --presets native win32`), by
# ./play and by hand with package sets (`install-deps.sh linux headless`:
# linux, headless, test, windows, windows32, package, portable, repro, web); `all`,
# the default, is everything.
set -u

# The package sets.
linux=(cmake g++ pkg-config gettext libsdl2-dev libsdl2-ttf-dev libfontconfig-dev fonts-wqy-microhei
    libglu1-mesa-dev libopengl-dev libglx-dev libglx-mesa0 libgl1-mesa-dri libjpeg62-turbo-dev)
headless=(xvfb xauth xdotool imagemagick)
# Unit tests, benchmarks, fuzzing and the end-to-end driver's tools; the
# locale maker, the face cutter and the fonts the picture lettering is checked with.
test=(libosmesa6-dev googletest libbenchmark-dev libjpeg-turbo-progs python3-pil clang-14 libclang-rt-14-dev
    procps x11-utils openbox wmctrl locales fonttools fonts-dejavu-core fonts-dejavu-extra)
windows=(g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix wine wine64 zip icoutils)
# What only running the 32-bit Windows build takes. Installed in a call of its
# own: where these cannot be had (a mirror in mid-sync, a foreign architecture
# refused), the Windows tests still run on the 64-bit build.
windows32=(wine32:i386 libgl1:i386 libglx-mesa0:i386 libgl1-mesa-dri:i386)
package=(dpkg-dev lintian python3-pil appstream desktop-file-utils wixl msitools zip)
# The tarball for any Linux: SDL2's build needs (the headers of what it
# loads at run time), FreeType's (Meson) and what it links as static
# libraries, GLU's build, the font cutter, the X core fonts SDL's own message
# box writes with on the test display, and the bare chroot it is tested in.
portable=(dpkg-dev ninja-build meson libx11-dev libxext-dev libxcursor-dev libxi-dev libxrandr-dev libxfixes-dev
    libxss-dev libxinerama-dev libwayland-dev libxkbcommon-dev libdecor-0-dev libegl-dev libgl-dev libasound2-dev
    libpulse-dev libdbus-1-dev libudev-dev libfreetype-dev libpng-dev zlib1g-dev libbz2-dev libbrotli-dev
    libjpeg62-turbo-dev fonttools fonts-wqy-microhei xfonts-base debootstrap binutils)
# The page: Debian's Emscripten, the libraries' source unpacking and build,
# the catalogues and the face cutter, and the browser its tests drive.
web=(emscripten dpkg-dev ninja-build gettext fonttools fonts-wqy-microhei chromium)
# The repro tier: a second clone of the commit and what shows where two
# downloads differ.
repro=(git diffoscope-minimal)

# Which preset needs which sets: the one place that says so.
sets_of() {
    case $by_preset:$1 in
        *:all) echo linux headless test windows windows32 package portable repro web ;;
        1:native) echo linux headless test repro ;;
        1:tsan) echo linux headless test ;;
        1:win32 | 1:win64) echo linux headless test windows windows32 package ;;
        1:linux | 1:portable) echo linux headless test package portable repro ;;
        1:repro) echo linux headless test windows package portable repro web ;;
        1:web) echo web ;;
        :linux | :headless | :test | :windows | :windows32 | :package | :portable | :repro | :web) echo "$1" ;;
        *) return 1 ;;
    esac
}

by_preset=
if [ "${1:-}" = --presets ]; then
    by_preset=1
    shift
fi
packages=()
for need in "${@:-all}"; do
    sets=$(sets_of "$need") || {
        echo "install-deps.sh: unknown ${by_preset:+preset}${by_preset:-set} '$need'" >&2
        exit 2
    }
    for set in $sets; do
        declare -n members=$set
        packages+=("${members[@]}")
    done
done
main=() foreign=()
for p in $(printf '%s\n' "${packages[@]}" | sort -u); do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' && continue
    case $p in *:i386) foreign+=("$p") ;; *) main+=("$p") ;; esac
done
[ ${#main[@]} -eq 0 ] && [ ${#foreign[@]} -eq 0 ] && exit 0
echo "installing: ${main[*]} ${foreign[*]}"
[ "$(id -u)" = 0 ] || {
    echo "install-deps.sh: missing packages and not root: ${main[*]} ${foreign[*]}" >&2
    exit 1
}
if [ ${#foreign[@]} -gt 0 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
fi

# A mirror in mid-sync fails one index for an hour or so; the lists at hand
# usually still serve, so after three tries the install goes ahead anyway.
pause=${KOLVEX_APT_RETRY_PAUSE:-20}
for try in 1 2 3; do
    if reason=$(apt-get update -qq 2>&1); then
        break
    fi
    echo "install-deps.sh: apt-get update failed (try $try of 3): $(grep -m1 '^E:' <<<"$reason" || tail -n1 <<<"$reason")"
    [ $try -lt 3 ] && sleep "$pause"
done

apt_install() {
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$@" 2>&1 >/dev/null
}
if [ ${#main[@]} -gt 0 ] && ! reason=$(apt_install "${main[@]}"); then
    echo "install-deps.sh: could not install ${main[*]}:" >&2
    grep '^E:' <<<"$reason" >&2 || echo "$reason" >&2
    exit 1
fi
if [ ${#foreign[@]} -gt 0 ] && ! reason=$(apt_install "${foreign[@]}"); then
    echo "install-deps.sh: the 32-bit packages (${foreign[*]}) could not be installed" \
        "($(grep -m1 '^E:' <<<"$reason" || tail -n1 <<<"$reason")): the Windows tests run on the 64-bit build only"
fi
exit 0
