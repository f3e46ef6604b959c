#!/usr/bin/env bash
# The repro tier (scripts/repro.sh): its comparison on made-up tarballs (one
# file's time or one build path inside a file must fail it and be shown), and
# its count on made-up source trees: a download that cannot be built here is
# skipped with the reason, sources without git are skipped, a clone git
# refuses fails and says why. Registered by tests/package/CMakeLists.txt for
# host builds.
set -u
repro=${1:?usage: repro-compare-test.sh path/to/repro.sh path/to/portable-step.sh}
step=${2:?usage: repro-compare-test.sh path/to/repro.sh path/to/portable-step.sh}
. "$(dirname "${BASH_SOURCE[0]}")/test-kit.sh"

# A tarball of one folder holding FILE with TEXT, its time TIME.
tarball() {
    local out=$1 text=$2 time=$3
    rm -rf "$work/stage" && mkdir -p "$work/stage/kolvex"
    printf '%s\n' "$text" >"$work/stage/kolvex/README.txt"
    tar -C "$work/stage" --sort=name --owner=0 --group=0 --numeric-owner --mtime="@$time" -cf - kolvex |
        gzip -9n >"$work/$out"
}
tarball same1.tar.gz "assert failed in ./src/sdl2/SDL.c" 1796821402
tarball same2.tar.gz "assert failed in ./src/sdl2/SDL.c" 1796821402
out=$(bash "$repro" compare "$work/same1.tar.gz" "$work/same2.tar.gz") || fail "two equal tarballs are called different: $out"
# what changed | its text | its time | what diffoscope must show of it
while IFS='|' read -r changed text time shown; do
    tarball "$changed.tar.gz" "$text" "$time"
    out=$(bash "$repro" compare "$work/same1.tar.gz" "$work/$changed.tar.gz") && fail "a changed $changed passes: $out"
    grep -q '^DIFFERENT' <<<"$out" || fail "a changed $changed is not reported: $out"
    grep -qF "$shown" <<<"$out" || fail "the changed $changed is not shown ($shown): $out"
done <<'ROWS'
time|assert failed in ./src/sdl2/SDL.c|1796821403|2026-12-09
path|assert failed in /work/other/build/portable/third-party/src/sdl2/SDL.c|1796821402|/work/other/build
ROWS

# A made-up source tree of the five downloads: the linux, win32 and web presets
# package files of fixed bytes, the portable one configures as the real one
# does where its Debian 11 root cannot be made (no archive, not root): with
# the reason in third-party/unavailable and nothing to build.
tree() {
    local dir=$work/$1
    mkdir -p "$dir/scripts" "$dir/tests/e2e"
    cp "$repro" "$dir/scripts/repro.sh"
    cp "$step" "$dir/tests/e2e/portable-step.sh"
    cat >"$dir/CMakeLists.txt" <<'CMAKE'
cmake_minimum_required(VERSION 3.25)
project(Kolvex VERSION 9.9.9 LANGUAGES NONE)
if(KIND STREQUAL portable)
  file(WRITE ${CMAKE_BINARY_DIR}/third-party/unavailable "no Debian archive in this made-up tree\n")
  return()
endif()
set(commands "")
foreach(file ${FILES})
  list(APPEND commands COMMAND ${CMAKE_COMMAND} -E echo "${file} of the made-up tree" > ${CMAKE_BINARY_DIR}/${file})
endforeach()
add_custom_target(package ${commands})
CMAKE
    local arch
    arch=$(dpkg --print-architecture)
    cat >"$dir/CMakePresets.json" <<JSON
{
  "version": 6,
  "configurePresets": [
    { "name": "linux", "binaryDir": "\${sourceDir}/build/linux", "cacheVariables": { "FILES": "kolvex_9.9.9_$arch.deb" } },
    { "name": "win32", "binaryDir": "\${sourceDir}/build/win32",
      "cacheVariables": { "FILES": "Kolvex-9.9.9-win32.zip;Kolvex-9.9.9-win32.msi" } },
    { "name": "portable", "binaryDir": "\${sourceDir}/build/portable", "cacheVariables": { "KIND": "portable" } },
    { "name": "web", "binaryDir": "\${sourceDir}/build/web", "cacheVariables": { "FILES": "Kolvex-9.9.9-web.zip" } }
  ],
  "buildPresets": [
    { "name": "linux", "configurePreset": "linux" },
    { "name": "win32", "configurePreset": "win32" },
    { "name": "portable", "configurePreset": "portable" },
    { "name": "web", "configurePreset": "web" }
  ]
}
JSON
    [ "$2" = plain ] && return
    git -C "$dir" init -q
    git -C "$dir" add -A
    git -C "$dir" -c user.name=k -c user.email=k@k commit -q -m tree
    case $2 in
        extension)
            git -C "$dir" config core.repositoryformatversion 1
            git -C "$dir" config extensions.kolvexMadeUp true ;;
        owner) chown -R 65534:65534 "$dir" ;;
    esac
}
# Git as it is on a machine with no exceptions of its own.
export GIT_CONFIG_GLOBAL=/dev/null GIT_CONFIG_NOSYSTEM=1
unset SUDO_UID SUDO_GID SUDO_USER
kinds="clone plain extension"
if [ "$(id -u)" = 0 ]; then
    kinds="$kinds owner"
else
    echo "note: not root, so no clone owned by another user to try"
fi
tarball_name=Kolvex-9.9.9-linux-$(uname -m).tar.gz
# the tree | its exit code | its count | a line it must say
while IFS='|' read -r kind code count said; do
    case " $kinds " in *" $kind "*) ;; *) continue ;; esac
    tree "$kind" "$kind"
    said=${said//TARBALL/$tarball_name}
    out=$(cd "$work/$kind" && bash scripts/repro.sh 2>&1)
    got=$?
    [ $got = "$code" ] || fail "the repro tier on a $kind tree ended with $got, not $code:"$'\n'"$out"
    [ "$(grep -E '^repro: ' <<<"$out" | tail -n 1)" = "repro: $count" ] ||
        fail "the repro tier on a $kind tree did not count \"$count\":"$'\n'"$out"
    grep -qF -- "$said" <<<"$out" || fail "the repro tier on a $kind tree did not say \"$said\":"$'\n'"$out"
done <<'ROWS'
clone|0|4 same, 0 different, 1 skipped|skipped: TARBALL: no Debian archive in this made-up tree
plain|0|0 same, 0 different, 5 skipped|skipped: TARBALL: these sources are not a git clone
extension|1|0 same, 5 different, 0 skipped|unknown repository extension
owner|1|0 same, 5 different, 0 skipped|dubious ownership
ROWS

echo "repro compare: $failures failure(s)"
[ $failures = 0 ]
