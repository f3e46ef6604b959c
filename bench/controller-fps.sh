#!/usr/bin/env bash
# The Windows game's frame rate with the XInput poll (Wine's own XInput, no
# pad) against the same loop never loading XInput, in alternating runs of
# bench/ControllerFpsWin32.cpp, and their ratio. Usage (after building the
# preset): scripts/locked bench/controller-fps.sh [win32|win64] [RUNS_EACH]
set -eu
cd "$(dirname "$0")/.."
export KOLVEX_ROOT=$PWD
. cmake/wine-env.sh
kolvex_wine_ready
cd "build/${1:-win32}/bin"
for _ in $(seq "${2:-4}"); do
    "$KOLVEX_WINE" controller_fps_bench.exe plain
    "$KOLVEX_WINE" controller_fps_bench.exe pads
done 2> >(grep "one poll" >&2) | tee /dev/stderr | awk '
    $3 == "unfocused" { print "a run lost the focus: its figure is not the poll'\''s"; bad = 1 }
    { sum[$1] += $2; n[$1]++ }
    END { if (!n["plain"] || !n["pads"]) exit 1
          printf "plain %.1f fps, pads %.1f fps, pads / plain %.3f\n",
                 sum["plain"] / n["plain"], sum["pads"] / n["pads"], (sum["pads"] / n["pads"]) / (sum["plain"] / n["plain"])
          exit bad }'
