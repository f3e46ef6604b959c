#!/usr/bin/env bash
# The libraries the portable build carries in lib/, made once into
# WORK/prefix and kept there: SDL2 and SDL_ttf (with FreeType inside) from
# Debian's source packages, GLU from Debian's copy of its upstream source,
# and the licence of each.
# Run when the portable build is configured (cmake/Portable.cmake):
#   build-libs.sh WORK SOURCE_ROOT
# Each library has its own stamp, so a run that stopped half-way resumes.
set -eEuo pipefail
work=$(realpath -m "$1")
root=$(realpath "$2")
prefix=$work/prefix
mkdir -p "$work/src" "$prefix/lib" "$work/licenses"
cd "$work/src"
jobs=2

# A library is done when its stamp holds the hash of the build files that
# made it: changing this script or GLU's build file builds them again.
hash=$(cat "$0" "$root/cmake/portable/glu/CMakeLists.txt" | sha256sum | cut -c1-16)
done_already() { [ "$(cat "$work/$1.done" 2>/dev/null)" = "$hash" ]; }
stamp() { echo "$hash" >"$work/$1.done"; }
# The log of the step that failed, where the configure output shows it.
log=/dev/null
trap 'echo "build-libs: failed; the end of $log:" >&2; tail -n 30 "$log" >&2' ERR

# Debian's source packages through a private apt configuration: the deb-src
# twins of the system's Debian entries, with lists and caches of its own, so
# neither the system's sources nor its package lists are touched.
fetch() {
    local packages="libsdl2 libsdl2-ttf freetype"
    [ "$(cat "$work/src/fetched" 2>/dev/null)" = "$packages" ] && return
    local apt=$work/apt
    mkdir -p "$apt/sources" "$apt/lists/partial" "$apt/cache"
    apt-get indextargets --format '$(REPO_URI) $(RELEASE)' 'Created-By: Packages' 'Origin: Debian' |
        sort -u | while read -r uri suite; do
            printf 'Types: deb-src\nURIs: %s\nSuites: %s\nComponents: main\n' "$uri" "$suite"
            printf 'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg\n\n'
        done >"$apt/sources/debian-src.sources"
    [ -s "$apt/sources/debian-src.sources" ] || { echo "build-libs: the system lists no Debian archive" >&2; exit 1; }
    local options=(-o Dir::Etc::SourceList=/dev/null -o "Dir::Etc::SourceParts=$apt/sources"
        -o "Dir::State::Lists=$apt/lists" -o "Dir::Cache=$apt/cache" -o APT::Sandbox::User=root)
    apt-get -qq "${options[@]}" update
    apt-get -qq "${options[@]}" source --download-only $packages
    # GLU's Debian packaging (a 1.0-format diff) only adds debian/; the
    # library is built from the upstream tarball the package is made of.
    apt-get -qq "${options[@]}" source --tar-only libglu
    rm -rf sdl2 sdl2-ttf freetype glu
    dpkg-source --no-check -x libsdl2_*.dsc sdl2 >/dev/null
    dpkg-source --no-check -x freetype_*.dsc freetype >/dev/null
    dpkg-source --no-check -x libsdl2-ttf_*.dsc sdl2-ttf >/dev/null
    mkdir glu && tar -xzf libglu_*.orig.tar.gz -C glu --strip-components=1
    echo "$packages" >"$work/src/fetched"
}

# SDL2: every system interface it can use is loaded at run time (X11,
# Wayland with libdecor, ALSA, PulseAudio, D-Bus, udev), so a machine
# without one still runs the game; what a desktop game never needs is left
# out. Built shared: libSDL2-2.0.so.0, as every distribution names it.
build_sdl() {
    done_already sdl2 && return
    log=$work/sdl2.log
    cmake -S sdl2 -B sdl2-build -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DCMAKE_INSTALL_LIBDIR=lib -DSDL_SHARED=ON -DSDL_STATIC=OFF -DSDL_TEST=OFF -DSDL2_DISABLE_SDL2MAIN=ON \
        -DSDL_RPATH=OFF -DSDL_CCACHE=OFF \
        -DSDL_X11=ON -DSDL_X11_SHARED=ON -DSDL_WAYLAND=ON -DSDL_WAYLAND_SHARED=ON \
        -DSDL_WAYLAND_LIBDECOR=ON -DSDL_WAYLAND_LIBDECOR_SHARED=ON -DSDL_WAYLAND_QT_TOUCH=OFF \
        -DSDL_ALSA=ON -DSDL_ALSA_SHARED=ON -DSDL_PULSEAUDIO=ON -DSDL_PULSEAUDIO_SHARED=ON \
        -DSDL_PIPEWIRE=OFF -DSDL_JACK=OFF -DSDL_ESD=OFF -DSDL_ARTS=OFF -DSDL_NAS=OFF -DSDL_SNDIO=OFF -DSDL_OSS=OFF \
        -DSDL_LIBSAMPLERATE=OFF -DSDL_DISKAUDIO=OFF -DSDL_IBUS=OFF -DSDL_DBUS=ON \
        -DSDL_KMSDRM=OFF -DSDL_RPI=OFF -DSDL_VIVANTE=OFF -DSDL_DIRECTFB=OFF -DSDL_VULKAN=OFF -DSDL_OFFSCREEN=OFF \
        -DSDL_HIDAPI_LIBUSB=OFF >"$log" 2>&1
    cmake --build sdl2-build -j "$jobs" >>"$log" 2>&1
    cmake --install sdl2-build --strip >>"$log" 2>&1
    cp sdl2/LICENSE.txt "$work/licenses/SDL2.txt"
    stamp sdl2
}

# FreeType as a static library to build into SDL_ttf: Debian's own libfreetype.a
# (and the libpng.a it needs) is not position-independent, so it is built
# here from Debian's source package, with only the outline fonts the game
# uses: no PNG, zlib, bzip2, Brotli or HarfBuzz behind it.
build_freetype() {
    done_already freetype && return
    log=$work/freetype.log
    cmake -S freetype -B freetype-build -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DCMAKE_INSTALL_LIBDIR=lib -DBUILD_SHARED_LIBS=OFF -DCMAKE_POSITION_INDEPENDENT_CODE=ON \
        -DFT_DISABLE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON \
        -DFT_DISABLE_BROTLI=ON >"$log" 2>&1
    cmake --build freetype-build -j "$jobs" >>"$log" 2>&1
    cmake --install freetype-build >>"$log" 2>&1
    cp freetype/docs/FTL.TXT "$work/licenses/FreeType.txt"
    stamp freetype
}

# SDL_ttf without HarfBuzz, with FreeType inside and not exported.
build_ttf() {
    done_already sdl2-ttf && return
    log=$work/sdl2-ttf.log
    cmake -S sdl2-ttf -B sdl2-ttf-build -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DCMAKE_INSTALL_LIBDIR=lib -DCMAKE_PREFIX_PATH="$prefix" -DSDL2TTF_VENDORED=OFF -DSDL2TTF_HARFBUZZ=OFF \
        -DSDL2TTF_SAMPLES=OFF -DFREETYPE_LIBRARY="$prefix/lib/libfreetype.a" \
        -DFREETYPE_INCLUDE_DIRS="$prefix/include/freetype2" \
        -DCMAKE_SHARED_LINKER_FLAGS="-Wl,--exclude-libs,ALL -Wl,--no-undefined" -DCMAKE_INSTALL_RPATH='$ORIGIN' \
        >"$log" 2>&1
    cmake --build sdl2-ttf-build -j "$jobs" >>"$log" 2>&1
    cmake --install sdl2-ttf-build --strip >>"$log" 2>&1
    cp sdl2-ttf/LICENSE.txt "$work/licenses/SDL2_ttf.txt"
    stamp sdl2-ttf
}

# GLU with its C++ runtime inside and only libGL outside: distributions do
# not all install it, and their copies may ask for libOpenGL instead.
build_glu() {
    done_already glu && return
    log=$work/glu.log
    cmake -S "$root/cmake/portable/glu" -B glu-build -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$prefix" -DGLU_SOURCE="$work/src/glu" >"$log" 2>&1
    cmake --build glu-build -j "$jobs" >>"$log" 2>&1
    cmake --install glu-build --strip >>"$log" 2>&1
    # The sources carry their licence (SGI Free Software License B 2.0) in each header.
    sed -n '1,/\*\//p' glu/src/libutil/project.c >"$work/licenses/GLU.txt"
    stamp glu
}

fetch
build_sdl
build_freetype
build_ttf
build_glu
