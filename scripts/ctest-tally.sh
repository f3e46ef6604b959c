#!/usr/bin/env bash
# Counts one ctest run for ./test, which calls it after each preset's tests:
#   ctest-tally.sh CTEST_OUTPUT BUILD_DIR
# prints "skipped: TEST: REASON" for each skipped test, then one line
# "N passed, N failed, N skipped"; exits 1 where CTEST_OUTPUT has no summary.
set -u
output=${1:?usage: ctest-tally.sh CTEST_OUTPUT BUILD_DIR}
build=${2:?usage: ctest-tally.sh CTEST_OUTPUT BUILD_DIR}

summary=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$output" | tail -n 1)
[ -n "$summary" ] || exit 1
failed=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$summary")
total=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$summary")

# ctest counts a skipped test (SKIP_RETURN_CODE, SKIP_REGULAR_EXPRESSION)
# among the passed ones; its summary lists it as "(Skipped)" under "The
# following tests did not run".
mapfile -t skipped < <(sed -n -E '/^The following tests did not run:/,/^$/s/^[[:space:]]*[0-9]+ - (.*) \(Skipped\)$/\1/p' \
    "$output")

# The reason is what the test said last about being skipped (else its last
# line), from the full log ctest keeps of every test's output.
reason() {
    awk -v name="$1" '
        $0 ~ /^[0-9]+\/[0-9]+ Test: / { sub(/^[0-9]+\/[0-9]+ Test: /, ""); inside = ($0 == name); out = 0; next }
        inside && /^Output:$/ { out = 1; getline; next }
        inside && /^<end of output>$/ { inside = 0; out = 0; next }
        inside && out && /[^[:space:]]/ { last = $0; if (tolower($0) ~ /skip/) said = $0 }
        END { r = said != "" ? said : last; sub(/^[[:space:]]*skipped:[[:space:]]*/, "", r); print r }
    ' "$build/Testing/Temporary/LastTest.log" 2>/dev/null
}
for name in "${skipped[@]}"; do
    why=$(reason "$name")
    echo "skipped: $name: ${why:-it gave no reason}"
done
echo "$((total - failed - ${#skipped[@]})) passed, $failed failed, ${#skipped[@]} skipped"
