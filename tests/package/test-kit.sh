# What the shell tests of the build and release scripts share, sourced at
# their top: a scratch folder `$work`, removed at exit, and `fail`, which
# says what was seen and counts it in `$failures` for the test's last line.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}
