#!/usr/bin/env bash
# scripts/ctest-tally.sh, which ./test counts each preset's tests with, on a
# real ctest run of a made-up project: tests that pass, fail, skip by their
# exit code and skip by what they print. Registered by
# tests/package/CMakeLists.txt for host builds.
set -u
tally=${1:?usage: ctest-tally-test.sh path/to/ctest-tally.sh}
. "$(dirname "${BASH_SOURCE[0]}")/test-kit.sh"

mkdir -p "$work/src"
cat >"$work/src/CMakeLists.txt" <<'CMAKE'
cmake_minimum_required(VERSION 3.25)
project(tally NONE)
enable_testing()
add_test(NAME passes COMMAND sh -c "echo fine")
add_test(NAME also_passes COMMAND sh -c "echo skipping nothing here; exit 0")
add_test(NAME fails COMMAND sh -c "echo broken; exit 1")
add_test(NAME skips_by_code COMMAND sh -c "echo warming up; echo 'skipped: no widget on this machine'; exit 77")
add_test(NAME skips_by_words COMMAND sh -c "echo 'widget: SKIPPED, no socket here'")
set_tests_properties(skips_by_code PROPERTIES SKIP_RETURN_CODE 77)
set_tests_properties(skips_by_words PROPERTIES SKIP_REGULAR_EXPRESSION "SKIPPED")
CMAKE
cmake -S "$work/src" -B "$work/build" >"$work/configure.log" 2>&1 || { cat "$work/configure.log"; exit 1; }
(cd "$work/build" && ctest) >"$work/ctest.log" 2>&1

out=$(bash "$tally" "$work/ctest.log" "$work/build") || fail "the tally found no summary in: $(cat "$work/ctest.log")"
[ "$(tail -n 1 <<<"$out")" = "2 passed, 1 failed, 2 skipped" ] || fail "counted: $(tail -n 1 <<<"$out")"
# Each skipped test on a line of its own, with what it said about it.
while IFS= read -r line; do
    grep -qxF -- "$line" <<<"$out" || fail "no line \"$line\" in:"$'\n'"$out"
done <<'LINES'
skipped: skips_by_code: no widget on this machine
skipped: skips_by_words: widget: SKIPPED, no socket here
LINES
[ "$(grep -c '^skipped: ' <<<"$out")" = 2 ] || fail "not one line per skipped test:"$'\n'"$out"

# A ctest that ran nothing has no count.
echo "No tests were found!!!" >"$work/none.log"
bash "$tally" "$work/none.log" "$work/build" >/dev/null && fail "a run without a summary is counted"

echo "ctest tally: $failures failure(s)"
[ $failures = 0 ]
