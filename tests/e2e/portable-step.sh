#!/bin/sh
# One step of the portable tarball's tests, as tests/e2e/CMakeLists.txt runs
# them: making the tarball, or one check of it. Skipped (77) with the reason
# when build-libs.sh found the libraries' sources out of reach.
#   portable-step.sh BUILD_DIR build       configure BUILD_DIR as the portable preset, make the tarball
#   portable-step.sh BUILD_DIR COMMAND...  COMMAND, unless BUILD_DIR's libraries could not be had
set -u
dir=$1
shift
unavailable=$dir/third-party/unavailable

skip_if_unavailable() {
    [ -e "$unavailable" ] || return 0
    echo "skipped: $(cat "$unavailable")"
    exit 77
}

if [ "$1" = build ]; then
    rm -f "$unavailable"
    log=$dir.configure.log
    mkdir -p "$(dirname "$dir")"
    if ! cmake --preset portable -B "$dir" >"$log" 2>&1; then
        skip_if_unavailable
        tail -n 40 "$log"
        exit 1
    fi
    exec cmake --build "$dir" -j 2 --target package
fi
skip_if_unavailable
exec "$@"
