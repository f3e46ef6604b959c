#!/bin/sh
# One step of the portable tarball's tests, as tests/e2e/CMakeLists.txt runs
# each in the portable preset's tier: "portable-step.sh BUILD_DIR build"
# configures (again, a no-op once done) and packages the portable build;
# "portable-step.sh BUILD_DIR COMMAND..." runs one check of it. Either is
# skipped (77) with the reason when build-libs.sh found the sources out of
# reach.
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
    cmake --preset portable -B "$dir" >"$log" 2>&1
    configured=$?
    # Without the sources the configure succeeds with nothing to build.
    skip_if_unavailable
    if [ $configured != 0 ]; then
        tail -n 40 "$log"
        exit 1
    fi
    exec cmake --build "$dir" -j 2 --target package
fi
skip_if_unavailable
exec "$@"
