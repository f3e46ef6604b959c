#!/usr/bin/env bash
# Rebuilds the game and re-makes the README's screenshots in docs/.
set -eu
cd "$(dirname "$0")/.."
[ -z "${KOLVEX_LOCK_HELD:-}" ] && exec ./scripts/locked "$0" "$@"
export KOLVEX_ROOT=$PWD
./scripts/install-deps.sh
./scripts/locked cmake --preset win32 >/dev/null
./scripts/locked cmake --build --preset win32 --target Kolvex data_archive window_probe >/dev/null
. cmake/wine-env.sh
unset DISPLAY
kolvex_wine_ready
trap kolvex_wine_stop EXIT
/usr/bin/python3 scripts/screenshots.py
