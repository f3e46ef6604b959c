#!/usr/bin/env bash
# The Windows game's frame rate with the XInput poll reading a connected pad
# (the end-to-end tests' stand-in xinput1_4.dll, reporting one pad at rest)
# against the same loop never loading XInput, in alternating runs of
# bench/ControllerFpsWin32.cpp, and their ratio. Usage (after building the
# preset): scripts/locked bench/controller-fps.sh [win32|win64] [RUNS_EACH]
set -eu
cd "$(dirname "$0")/.."
export KOLVEX_ROOT=$PWD
. cmake/wine-env.sh
kolvex_wine_ready
build=$PWD/build/${1:-win32}
# A folder of its own: only there does the stand-in sit beside the program.
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cp "$build"/bin/controller_fps_bench.exe "$build"/bin/*.dll "$build"/bin/data.qv "$folder"/
cp "$build"/tests/e2e/xinput-double/xinput1_4.dll "$folder"/
echo "0 0 0" >"$folder/pad.txt"  # connected, nothing pressed, stick at rest
export KOLVEX_XINPUT_STATE="Z:${folder//\//\\}\\pad.txt" WINEDLLOVERRIDES=xinput1_4=n
cd "$folder"
for _ in $(seq "${2:-4}"); do
    "$KOLVEX_WINE" controller_fps_bench.exe plain
    "$KOLVEX_WINE" controller_fps_bench.exe pads
done 2> >(grep "one poll" >&2) | tee /dev/stderr | awk '
    $3 == "unfocused" { print "a run was not in front: its figure is not the poll'\''s"; bad = 1 }
    $3 == "nopad" { print "a run saw no pad: its figure is the empty-slot path"; bad = 1 }
    { sum[$1] += $2; n[$1]++ }
    END { if (!n["plain"] || !n["pads"]) exit 1
          printf "plain %.1f fps, pads %.1f fps, pads / plain %.3f\n",
                 sum["plain"] / n["plain"], sum["pads"] / n["pads"], (sum["pads"] / n["pads"]) / (sum["plain"] / n["plain"])
          exit bad }'
