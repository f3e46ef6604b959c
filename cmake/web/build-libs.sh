#!/usr/bin/env bash
# The libraries the page links, made once into WORK/prefix with Emscripten
# and kept there: SDL2, FreeType, SDL_ttf and libjpeg-turbo as static
# libraries, from the Debian source packages cmake/portable/sources.txt pins
# (fetched as the tarball's are, by cmake/portable/build-libs.sh). Run when
# the web build is configured (cmake/Web.cmake):
#   build-libs.sh WORK SOURCE_ROOT
# Each library has its own stamp, so a run that stopped half-way resumes.
# Exits 77, with the reason in WORK/unavailable, when the sources cannot be had.
set -eEuo pipefail
work=$(realpath -m "$1")
root=$(realpath "$2")
prefix=$work/prefix
mkdir -p "$prefix" "$work/licenses"
# Emscripten's optimiser needs Debian's acorn, wherever the node on PATH is from.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
set +e
"$root/cmake/portable/build-libs.sh" --fetch-only "$work" "$root"
fetched=$?
set -e
[ $fetched = 0 ] || exit $fetched
cd "$work/src"
# A library is built again when the pins or its own options change.
pins=$(sha256sum <"$root/cmake/portable/sources.txt")
done_already() { [ "$(cat "$work/$1.done" 2>/dev/null)" = "$hash" ]; }
stamp() { echo "$hash" >"$work/$1.done"; }
log=/dev/null
trap 'echo "web build-libs: failed; the end of $log:" >&2; tail -n 30 "$log" >&2' ERR
export CFLAGS="-O2 -ffile-prefix-map=$work=. -ffile-prefix-map=$root=."
common=(-G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_INSTALL_LIBDIR=lib
    -DCMAKE_FIND_ROOT_PATH="$prefix" -DCMAKE_PREFIX_PATH="$prefix" -DBUILD_SHARED_LIBS=OFF)
build() {  # name, source folder, cmake options...
    local name=$1 source=$2
    shift 2
    hash=$(echo "$pins $*" | sha256sum | cut -c1-16)
    done_already "$name" && return
    log=$work/$name.log
    rm -rf "$name-build"
    emcmake cmake -S "$source" -B "$name-build" "${common[@]}" "$@" >"$log" 2>&1
    cmake --build "$name-build" -j 2 >>"$log" 2>&1
    cmake --install "$name-build" >>"$log" 2>&1
    stamp "$name"
}
# SDL2's Emscripten video, audio (Web Audio), events and gamepads; no threads,
# which a page without cross-origin isolation does not have.
build sdl2 sdl2 -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL2_DISABLE_SDL2MAIN=ON -DSDL_THREADS=OFF
cp sdl2/LICENSE.txt "$work/licenses/SDL2.txt"
# FreeType with the modules the game's face needs and nothing behind it.
build freetype freetype -DFT_DISABLE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON \
    -DFT_DISABLE_BROTLI=ON
cp freetype/docs/FTL.TXT "$work/licenses/FreeType.txt"
build sdl2-ttf sdl2-ttf -DSDL2TTF_SAMPLES=OFF -DSDL2TTF_VENDORED=OFF -DSDL2TTF_HARFBUZZ=OFF -DSDL2TTF_INSTALL=ON \
    -DSDL2TTF_BUILD_SHARED_LIBS=OFF
cp sdl2-ttf/LICENSE.txt "$work/licenses/SDL2_ttf.txt"
# libjpeg-turbo without its SIMD code, which WebAssembly's build has not,
# installed where the others are (it takes a relative library folder as
# relative to where it is built). CMake's type-size checks answer 9 for
# size_t under Emscripten 3.1.6, so the sizes are given.
build jpeg jpeg -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF -DWITH_JAVA=OFF \
    -DSIZE_T=4 -DHAVE_SIZE_T=TRUE -DUNSIGNED_LONG=4 -DHAVE_UNSIGNED_LONG=TRUE -DCMAKE_INSTALL_LIBDIR="$prefix/lib"
cp jpeg/LICENSE.md "$work/licenses/libjpeg-turbo.md"
