#!/usr/bin/env bash
# cmake/wine-run.sh as a test program's emulator, against a stand-in Wine:
# a start that fails without a word is tried once more; a program that has
# written and failed, or passed, is not. Registered for the 64-bit build.
set -u
run=${1:?usage: wine-run-test.sh path/to/wine-run.sh}
fakes=$(mktemp -d)
trap 'rm -rf "$fakes"' EXIT
mkdir -p "$fakes/bin" "$fakes/prefix"
touch "$fakes/prefix/.kolvex-ready-64bit-only" "$fakes/prefix/.kolvex-ready"
printf '#!/bin/sh\nexit 0\n' >"$fakes/bin/wineserver"
# The stand-in: each start of PROGRAM takes the next outcome of its list:
# "silent" (code 5, no output), "fails" (writes, code 1) or "passes".
cat >"$fakes/wine" <<'FAKE'
#!/bin/bash
[ "$1" = wineboot ] && exit 0
n=$(($(cat "$KOLVEX_FAKE_DIR/starts" 2>/dev/null || echo 0) + 1))
echo $n >"$KOLVEX_FAKE_DIR/starts"
read -ra outcomes <<<"$1"
case ${outcomes[$((n - 1))]:-passes} in
    silent) exit 5 ;;
    fails) echo "[  FAILED  ] a test"; exit 1 ;;
    *) echo "[  PASSED  ] 1 test." ;;
esac
FAKE
chmod +x "$fakes/wine" "$fakes/bin/wineserver"
failures=0
# outcomes of the starts | the code wine-run.sh ends with | how many starts
while IFS='|' read -r outcomes code starts; do
    rm -f "$fakes/starts"
    out=$(PATH="$fakes/bin:$PATH" KOLVEX_WINE=$fakes/wine WINEPREFIX=$fakes/prefix DISPLAY=:99 \
        KOLVEX_FAKE_DIR=$fakes bash "$run" --test-program "$outcomes" 2>&1)
    got=$?
    if [ "$got:$(cat "$fakes/starts")" != "$code:$starts" ]; then
        echo "FAILED: starts going \"$outcomes\": code $got after $(cat "$fakes/starts") start(s), not $code after $starts:"
        echo "$out"
        failures=$((failures + 1))
    fi
done <<'ROWS'
passes|0|1
silent passes|0|2
silent silent|5|2
fails|1|1
ROWS
echo "wine-run: $failures failure(s)"
[ $failures = 0 ]
