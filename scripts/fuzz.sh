#!/usr/bin/env bash
# Builds the fuzz preset and runs each libFuzzer target (the .qv reader, then
# the JPEG decoder wrapper) for SECONDS each, one after the other, holding the
# build lock throughout. Seeds come from small archives and art/'s pictures;
# crashes land in build/fuzz/artifacts/. Usage: scripts/fuzz.sh SECONDS [TARGET...]
set -eu
cd "$(dirname "$0")/.."
[ -z "${KOLVEX_LOCK_HELD:-}" ] && exec ./scripts/locked "$0" "$@"
seconds=${1:?usage: scripts/fuzz.sh SECONDS [readqv|jpeg]...}
shift
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(readqv jpeg)

cmake --preset fuzz >build/fuzz.configure.log 2>&1 || { cat build/fuzz.configure.log; exit 1; }
if ! cmake --build --preset fuzz --target fuzz_readqv fuzz_jpeg qvpack >build/fuzz.build.log 2>&1; then
    grep -E 'error' build/fuzz.build.log
    exit 1
fi
root=$PWD
bin=build/fuzz/bin
work=build/fuzz/work
mkdir -p "$work/artifacts"

# Seeds: one control byte (1 = repair CRCs, pick the first record) and an
# archive, plus the game's smaller pictures and some JPEG variants.
seed_archives() {
    local dir=$work/seed-readqv tmp=$work/tmp
    mkdir -p "$dir" "$tmp"
    printf 'tiny' >"$tmp/a.txt"
    printf 'RIFF$\0\0\0WAVEfmt \20\0\0\0\1\0\1\0@\37\0\0@\37\0\0\1\0\10\0data\0\0\0\0' >"$tmp/s.wav"
    "$bin/qvpack" create "$tmp/two.qv" "$tmp/a.txt" "$tmp/s.wav" >/dev/null
    "$bin/qvpack" create "$tmp/one.qv" "$tmp/a.txt" >/dev/null
    for a in two one; do
        { printf '\1'; cat "$tmp/$a.qv"; } >"$dir/$a-repaired"
        { printf '\2'; cat "$tmp/$a.qv"; } >"$dir/$a-second"
    done
}
seed_jpegs() {
    local dir=$work/seed-jpeg
    mkdir -p "$dir"
    cp art/t?.jpg art/bk.jpg art/l1.jpg "$dir/"
    /usr/bin/python3 - "$dir" <<'PY'
import sys
from PIL import Image
out = sys.argv[1]
im = Image.new("RGB", (16, 16), (200, 30, 30))
for y in range(8, 16):
    for x in range(16):
        im.putpixel((x, y), (20, 40, 220))
im.save(f"{out}/progressive.jpg", progressive=True, quality=90)
im.convert("L").save(f"{out}/grey.jpg", quality=90)
im.save(f"{out}/subsampled.jpg", subsampling=2, quality=50)
im.convert("CMYK").save(f"{out}/cmyk.jpg", quality=90)
im.resize((300, 8)).save(f"{out}/wide.jpg", quality=60)
PY
}

run() {
    local target=$1 maxlen=$2
    local corpus=$work/corpus-$target
    mkdir -p "$corpus"
    echo "=== fuzz_$target for ${seconds}s"
    # libFuzzer writes its job log (fuzz-0.log) into the current folder.
    (cd "$work" && "$root/$bin/fuzz_$target" "corpus-$target" "seed-$target" -max_total_time="$seconds" \
        -max_len="$maxlen" -timeout=10 -rss_limit_mb=2048 -jobs=1 -workers=1 -print_final_stats=1 \
        -artifact_prefix="artifacts/$target-" 2>"$target.log") || status=$?
    grep -E '^(stat::|==|SUMMARY|Done)|ERROR|invariant' "$work/$target.log" | tail -n 20
    return "${status:-0}"
}

seed_archives
seed_jpegs
result=0
for t in "${targets[@]}"; do
    case $t in
        readqv) run readqv 8192 || result=1 ;;
        jpeg) run jpeg 32768 || result=1 ;;
        *) echo "unknown target $t" >&2; result=1 ;;
    esac
done
rm -f /tmp/kolvex-fuzz-readqv-*.qv
exit $result
