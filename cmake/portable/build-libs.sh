#!/usr/bin/env bash
# The libraries the portable build carries in lib/, made once into
# WORK/prefix and kept there: SDL2 and SDL_ttf (with FreeType inside) from
# Debian's source packages, GLU from Debian's copy of its upstream source,
# each at the version cmake/portable/sources.txt pins, and their notices;
# compiled inside the Debian 11 build root BUILD_ROOT (make-build-root.sh).
# Run when the portable build is configured (cmake/Portable.cmake):
#   build-libs.sh WORK SOURCE_ROOT BUILD_ROOT
# or, to fetch the sources alone (for a build away from any archive):
#   build-libs.sh --fetch-only WORK SOURCE_ROOT
# Each library has its own stamp, so a run that stopped half-way resumes.
# Exits 77, with the reason in WORK/unavailable, when no Debian archive can
# be reached and the pinned sources are not already here: the tarball's
# tests are then skipped, not failed. KOLVEX_DEBIAN_ARCHIVE="URI SUITE"
# fetches from that archive instead of the system's Debian entries.
set -eEuo pipefail
fetch_only=0
[ "${1:-}" = --fetch-only ] && fetch_only=1 && shift
work=$(realpath -m "$1")
root=$(realpath "$2")
build_root=$(realpath -m "${3:-/nonexistent}")
prefix=$work/prefix
pins=$root/cmake/portable/sources.txt
mkdir -p "$work/src" "$prefix/lib" "$work/licenses"
cd "$work/src"
jobs=2
# No path of this folder or of the checkout in the libraries (assertions' file
# names, and through them the build IDs): builds anywhere give the same lib/.
# A CMake build folder keeps the flags it was first configured with, so each
# library is built again from an empty one.
export CFLAGS="${CFLAGS:-} -ffile-prefix-map=$work=. -ffile-prefix-map=$root=."
export CXXFLAGS="${CXXFLAGS:-} -ffile-prefix-map=$work=. -ffile-prefix-map=$root=."
unavailable=$work/unavailable
rm -f "$unavailable"

# The CMake builds compile in the root (their find_package calls look there
# and in the prefix); FreeType's Meson build is given the root's compilers.
toolchain=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/portable/toolchain-build-root.cmake" -DKOLVEX_BUILD_ROOT="$build_root")
export KOLVEX_FIND_ROOTS=$prefix
done_already() { [ "$(cat "$work/$1.done" 2>/dev/null)" = "$hash" ]; }
stamp() { echo "$hash" >"$work/$1.done"; }
# The log of the step that failed, where the configure output shows it.
log=/dev/null
trap 'echo "build-libs: failed; the end of $log:" >&2; tail -n 30 "$log" >&2' ERR

# package=version from sources.txt.
# libjpeg-turbo is built by the page's build alone (cmake/web/build-libs.sh);
# the tarball links the build root's.
packages=(libsdl2 libsdl2-ttf freetype libglu libjpeg-turbo)
declare -A version
while read -r line; do
    line=${line%%#*}
    [ -n "${line// /}" ] && version[${line%%=*}]=${line#*=}
done <"$pins"
for package in "${packages[@]}"; do
    [ -n "${version[$package]:-}" ] || { echo "build-libs: $pins pins no version of $package" >&2; exit 1; }
done

# The Debian archives to fetch from, "URI SUITE" a line.
archives() {
    if [ -n "${KOLVEX_DEBIAN_ARCHIVE:-}" ]; then
        echo "$KOLVEX_DEBIAN_ARCHIVE"
    else
        apt-get indextargets --format '$(REPO_URI) $(RELEASE)' 'Created-By: Packages' 'Origin: Debian' | sort -u
    fi
}

# Debian's source packages at the pinned versions, through a private apt
# configuration: the system's Debian archives with lists and caches of its
# own, so neither the system's sources nor its package lists are touched.
# Fetched again (everything made from the old ones removed first) only when
# the pins or this function change.
fetch() {
    local want
    want=$({ declare -f fetch; cat "$pins"; } | sha256sum | cut -c1-16)
    [ "$(cat "$work/fetched" 2>/dev/null)" = "$want" ] && return
    local apt=$work/apt arch
    arch=$(dpkg --print-architecture)
    rm -rf "$apt/lists"
    mkdir -p "$apt/sources" "$apt/lists/partial" "$apt/cache"
    # The sources, and the binary package lists for GLU's copyright file.
    archives | while read -r uri suite; do
        printf 'Types: deb-src\nURIs: %s\nSuites: %s\nComponents: main\n' "$uri" "$suite"
        printf 'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg\n\n'
        printf 'Types: deb\nURIs: %s\nSuites: %s\nComponents: main\nArchitectures: %s\n' "$uri" "$suite" "$arch"
        printf 'Targets: Packages\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n\n'
    done >"$apt/sources/debian.sources"
    [ -s "$apt/sources/debian.sources" ] || { echo "build-libs: the system lists no Debian archive" >&2; exit 1; }
    local options=(-o Dir::Etc::SourceList=/dev/null -o "Dir::Etc::SourceParts=$apt/sources"
        -o "Dir::State::Lists=$apt/lists" -o "Dir::Cache=$apt/cache" -o APT::Sandbox::User=root)
    # apt-get update only warns about an archive it cannot reach; no release
    # file at all means none could be.
    apt-get -qq "${options[@]}" update 2>"$work/apt-update.log" || true
    if ! compgen -G "$apt/lists/*Release" >/dev/null; then
        local tried
        tried=$(archives | cut -d' ' -f1 | sort -u | tr '\n' ' ')
        echo "no Debian archive could be reached (${tried% }) and the pinned sources of the portable" \
            "libraries are not in $work: the tarball cannot be built here" | tee "$unavailable" >&2
        exit 77
    fi

    # A new set: nothing made from the old one stays (two .dsc files of one
    # package would make the unpacking below ambiguous).
    rm -f "$work"/*.done "$work"/licenses/*
    cd "$work" && rm -rf src && mkdir src && cd src
    # A security update takes the pinned version out of Debian's archive,
    # and that is no reason for the tarball not to build: the newest version
    # the archive serves is taken instead, said here and in versions.txt,
    # which the download's build-info file lists.
    local package served newest
    declare -A pinned=()
    for package in "${packages[@]}"; do
        served=$(apt-cache "${options[@]}" showsrc --only-source "$package" 2>/dev/null | sed -n 's/^Version: //p' || true)
        grep -qxF -- "${version[$package]}" <<<"$served" && continue
        newest=$(newest_version <<<"$served")
        if [ -z "$newest" ]; then
            echo "build-libs: Debian's archive serves no version of $package" >&2
            exit 1
        fi
        echo "build-libs: Debian's archive no longer serves $package ${version[$package]}, pinned in $pins;" \
            "building $newest, the newest it serves" >&2
        pinned[$package]=${version[$package]}
        version[$package]=$newest
    done
    apt-get -qq "${options[@]}" source --download-only "libsdl2=${version[libsdl2]}" \
        "libsdl2-ttf=${version[libsdl2-ttf]}" "freetype=${version[freetype]}" "libjpeg-turbo=${version[libjpeg-turbo]}"
    # GLU's Debian packaging (a 1.0-format diff) only adds debian/; the
    # library is built from the upstream tarball the package is made of, and
    # the packaging's copyright file is taken from the binary package.
    apt-get -qq "${options[@]}" source --tar-only "libglu=${version[libglu]}"
    apt-get -qq "${options[@]}" download "libglu1-mesa=${version[libglu]}"
    v() { echo "${version[$1]#*:}"; }  # file names leave the epoch out
    dpkg-source --no-check -x "libsdl2_$(v libsdl2).dsc" sdl2 >/dev/null
    dpkg-source --no-check -x "freetype_$(v freetype).dsc" freetype >/dev/null
    dpkg-source --no-check -x "libsdl2-ttf_$(v libsdl2-ttf).dsc" sdl2-ttf >/dev/null
    dpkg-source --no-check -x "libjpeg-turbo_$(v libjpeg-turbo).dsc" jpeg >/dev/null
    mkdir -p glu/debian
    tar -xzf libglu_"$(v libglu | sed 's/-[^-]*$//')".orig.tar.gz -C glu --strip-components=1
    dpkg-deb --fsys-tarfile libglu1-mesa_"$(v libglu)"_"$arch".deb |
        tar -xO ./usr/share/doc/libglu1-mesa/copyright >glu/debian/copyright
    for package in "${packages[@]}"; do
        echo "$package=${version[$package]}${pinned[$package]:+ (${pinned[$package]} is pinned, but no longer served)}"
    done >"$work/versions.txt"
    echo "$want" >"$work/fetched"
}

# The newest of the Debian versions on standard input, by Debian's ordering.
newest_version() {
    local v newest=
    while read -r v; do
        [ -n "$v" ] || continue
        if [ -z "$newest" ] || dpkg --compare-versions "$v" gt "$newest"; then newest=$v; fi
    done
    echo "$newest"
}

# SDL2: every system interface it can use is loaded at run time (X11,
# Wayland, ALSA, PulseAudio, D-Bus, udev), so a machine without one still
# runs the game; what a desktop game never needs is left out. Debian 11 has
# no libdecor, so under a Wayland session without server-side decorations SDL
# takes X11 (XWayland), which it prefers anyway. The root's wayland-scanner
# writes the protocols' code, for the libwayland of the oldest systems.
# Built shared: libSDL2-2.0.so.0, as every distribution names it.
build_sdl() {
    done_already sdl2 && return
    log=$work/sdl2.log
    rm -rf sdl2-build
    cmake -S sdl2 -B sdl2-build -G Ninja "${toolchain[@]}" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DCMAKE_INSTALL_LIBDIR=lib -DCMAKE_EXPORT_COMPILE_COMMANDS=ON \
        -DSDL_SHARED=ON -DSDL_STATIC=OFF -DSDL_TEST=OFF -DSDL2_DISABLE_SDL2MAIN=ON \
        -DSDL_RPATH=OFF -DSDL_CCACHE=OFF \
        -DSDL_X11=ON -DSDL_X11_SHARED=ON -DSDL_WAYLAND=ON -DSDL_WAYLAND_SHARED=ON \
        -DSDL_WAYLAND_LIBDECOR=OFF -DSDL_WAYLAND_QT_TOUCH=OFF -DWAYLAND_SCANNER="$build_root/usr/bin/wayland-scanner" \
        -DSDL_ALSA=ON -DSDL_ALSA_SHARED=ON -DSDL_PULSEAUDIO=ON -DSDL_PULSEAUDIO_SHARED=ON \
        -DSDL_PIPEWIRE=OFF -DSDL_JACK=OFF -DSDL_ESD=OFF -DSDL_ARTS=OFF -DSDL_NAS=OFF -DSDL_SNDIO=OFF -DSDL_OSS=OFF \
        -DSDL_LIBSAMPLERATE=OFF -DSDL_DISKAUDIO=OFF -DSDL_IBUS=OFF -DSDL_DBUS=ON \
        -DSDL_KMSDRM=OFF -DSDL_RPI=OFF -DSDL_VIVANTE=OFF -DSDL_DIRECTFB=OFF -DSDL_VULKAN=OFF -DSDL_OFFSCREEN=OFF \
        -DSDL_HIDAPI_LIBUSB=OFF >"$log" 2>&1
    cmake --build sdl2-build -j "$jobs" >>"$log" 2>&1
    cmake --install sdl2-build --strip >>"$log" 2>&1
    # SDL's own licence, then Debian's record of every file's
    # licence (the maths functions, the sort, the software YUV code, the
    # Wayland protocols), and the two folders that carry a licence file.
    cp sdl2/LICENSE.txt "$work/licenses/SDL2.txt"
    cp sdl2/debian/copyright "$work/licenses/SDL2-copyright.txt"
    cp sdl2/src/video/yuv2rgb/LICENSE "$work/licenses/SDL2-yuv2rgb.txt"
    {
        echo "SDL's HIDAPI code (src/hidapi) may be used under any one of three licences;"
        echo "Kolvex uses it under the BSD-style licence (2. below)."
        for f in LICENSE.txt LICENSE-bsd.txt LICENSE-orig.txt; do
            printf '\n---- %s\n\n' "$f"
            cat "sdl2/src/hidapi/$f"
        done
    } >"$work/licenses/SDL2-hidapi.txt"
    stamp sdl2
}

# FreeType as a static library to build into SDL_ttf: Debian's own libfreetype.a
# (and the libpng.a it needs) is not position-independent, so it is built
# here from Debian's source package, with only the modules the game uses
# (freetype-modules.cfg, which FreeType's Meson build follows) and no PNG,
# zlib, bzip2, Brotli or HarfBuzz behind it.
build_freetype() {
    done_already freetype && return
    log=$work/freetype.log
    cp "$root/cmake/portable/freetype-modules.cfg" freetype/modules.cfg
    rm -rf freetype-build
    # FreeType 2.12's Meson build writes ftmodule.h from the list but leaves
    # ftinit.c reading the full default one; the macro points it at the new one.
    CC=$build_root.bin/gcc CXX=$build_root.bin/g++ meson setup freetype-build freetype --prefix="$prefix" --libdir=lib --buildtype=release \
        "-Dc_args=-DFT_CONFIG_MODULES_H=<ftmodule.h>" -Ddefault_library=static -Db_staticpic=true \
        -Dzlib=disabled -Dbzip2=disabled -Dpng=disabled -Dharfbuzz=disabled -Dbrotli=disabled -Dmmap=enabled \
        -Dtests=disabled >"$log" 2>&1
    ninja -C freetype-build -j "$jobs" >>"$log" 2>&1
    meson install -C freetype-build >>"$log" 2>&1
    # The choice of licences, the one taken, and Debian's record of the
    # files under others (the hash table's MIT notice).
    cat freetype/LICENSE.TXT freetype/docs/FTL.TXT >"$work/licenses/FreeType.txt"
    cp freetype/debian/copyright "$work/licenses/FreeType-copyright.txt"
    stamp freetype
}

# SDL_ttf without HarfBuzz, with FreeType inside and not exported.
build_ttf() {
    done_already sdl2-ttf && return
    log=$work/sdl2-ttf.log
    rm -rf sdl2-ttf-build
    cmake -S sdl2-ttf -B sdl2-ttf-build -G Ninja "${toolchain[@]}" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DCMAKE_INSTALL_LIBDIR=lib -DCMAKE_EXPORT_COMPILE_COMMANDS=ON -DCMAKE_PREFIX_PATH="$prefix" \
        -DSDL2TTF_VENDORED=OFF -DSDL2TTF_HARFBUZZ=OFF \
        -DSDL2TTF_SAMPLES=OFF -DFREETYPE_LIBRARY="$prefix/lib/libfreetype.a" \
        -DFREETYPE_INCLUDE_DIRS="$prefix/include/freetype2" \
        -DCMAKE_SHARED_LINKER_FLAGS="-Wl,--exclude-libs,ALL -Wl,--no-undefined" -DCMAKE_INSTALL_RPATH='$ORIGIN' \
        -DCMAKE_BUILD_WITH_INSTALL_RPATH=ON \
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
    rm -rf glu-build
    cmake -S "$root/cmake/portable/glu" -B glu-build -G Ninja "${toolchain[@]}" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_EXPORT_COMPILE_COMMANDS=ON -DCMAKE_INSTALL_PREFIX="$prefix" -DGLU_SOURCE="$work/src/glu" \
        >"$log" 2>&1
    cmake --build glu-build -j "$jobs" >>"$log" 2>&1
    cmake --install glu-build --strip >>"$log" 2>&1
    # The sources carry their licence (SGI Free Software License B 2.0) in
    # each header; Debian's copyright file says which files are under which.
    cp glu/debian/copyright "$work/licenses/GLU.txt"
    stamp glu
}

fetch
[ $fetch_only = 1 ] && exit 0
# A library is done when its stamp holds the hash of the build files that
# made it: changing this script, the pinned versions, FreeType's module list,
# GLU's build file, the compilers' set-up or the build root builds them again.
hash=$(cat "$0" "$pins" "$root/cmake/portable/freetype-modules.cfg" "$root/cmake/portable/glu/CMakeLists.txt" \
    "$root/cmake/portable/toolchain-build-root.cmake" "$root/cmake/portable/run-in-root.sh" \
    "$build_root/.kolvex-build-root" | sha256sum | cut -c1-16)
build_sdl
build_freetype
build_ttf
build_glu

# For cmake/portable/check-notices.py: each library's Debian package, its
# sources, its build folder (compile_commands.json) and its copyright file.
cat >"$work/builds.txt" <<EOF
libsdl2 src/sdl2 src/sdl2-build src/sdl2/debian/copyright
freetype src/freetype src/freetype-build src/freetype/debian/copyright
libsdl2-ttf src/sdl2-ttf src/sdl2-ttf-build src/sdl2-ttf/debian/copyright
libglu src/glu src/glu-build src/glu/debian/copyright
EOF
