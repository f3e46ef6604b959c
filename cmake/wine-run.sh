#!/usr/bin/env bash
# ctest's emulator for the Windows presets: runs one program under Wine with
# the project's prefix, a persistent wineserver and a display. The test
# programs' own (tests/CMakeLists.txt) adds --test-program.
set -u
. "$(dirname "$0")/wine-env.sh"
kolvex_wine_ready
if [ "${1:-}" = --test-program ]; then
    shift
    # A test program's first line comes before any test runs ("Running
    # main() from ..."). One that fails without a word was never started:
    # Wine's start failed, not a test (once in some thousands of starts
    # here), and a second start tells the two apart.
    out=$(mktemp)
    "$KOLVEX_WINE" "$@" 2>&1 | tee "$out"
    code=${PIPESTATUS[0]}
    if [ "$code" != 0 ] && [ ! -s "$out" ]; then
        rm -f "$out"
        echo "wine-run: $(basename "$1") ended with code $code before writing a line: Wine did not start it; starting it again" >&2
        exec "$KOLVEX_WINE" "$@"
    fi
    rm -f "$out"
    exit "$code"
fi
exec "$KOLVEX_WINE" "$@"
