#!/usr/bin/env bash
# ctest's emulator for the Windows presets: runs one program under Wine with
# the project's prefix, a persistent wineserver and a display.
set -u
. "$(dirname "$0")/wine-env.sh"
kolvex_wine_ready
exec "$KOLVEX_WINE" "$@"
