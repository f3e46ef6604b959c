#!/usr/bin/env bash
# The tarball's build-info file against the Debian 11 root it was built in:
# it names the libjpeg package built into the program, at the root's version,
# with the suite it came from, and the root's suites as its sources list
# them (bullseye-security, or why not). Registered by tests/e2e/CMakeLists.txt
# in the portable tier:  build-info-test.sh TARBALL BUILD_ROOT
set -u
tarball=${1:?usage: build-info-test.sh TARBALL BUILD_ROOT}
root=${2:?usage: build-info-test.sh TARBALL BUILD_ROOT}
info=$tarball.build-info.txt
failures=0
fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}
[ -s "$info" ] || { echo "FAILED: no $info"; exit 1; }

# The static library the program links is the package's own file.
grep -qx /usr/lib/x86_64-linux-gnu/libjpeg.a "$root"/var/lib/dpkg/info/libjpeg62-turbo-dev:*.list ||
    fail "libjpeg.a in $root is not libjpeg62-turbo-dev's"
version=$(dpkg-query --admindir="$root/var/lib/dpkg" -W -f='${Version}' libjpeg62-turbo-dev)
line=$(sed -n '/^Built into the program from the build root:$/,/^[^ ]/s/^  libjpeg62-turbo-dev \(.*\)$/\1/p' "$info")
case $line in
    "$version ("*")") ;;
    *) fail "the build-info names libjpeg62-turbo-dev as \"$line\", the root has $version" ;;
esac
# Its suites are among those the root's sources list.
listed=$(awk '$1 == "deb" { print $3 }' "$root/etc/apt/sources.list")
suites=${line##*(}
suites=${suites%)}
for suite in ${suites//,/ }; do
    grep -qxF -- "$suite" <<<"$listed" || fail "libjpeg's suite $suite is not one of the root's: $listed"
done

said=$(sed -n "s/^The build root's suites: //p" "$info")
[ "$said" = "$(cat "$root/.kolvex-suites")" ] || fail "the build-info says the root's suites are \"$said\""
if grep -qx 'bullseye-security' <<<"$listed"; then
    [[ $said == *" bullseye-security ("* ]] || fail "the root lists bullseye-security, the build-info says \"$said\""
else
    [[ $said == *"(without bullseye-security: "?*")" ]] ||
        fail "the root was made without bullseye-security, and the build-info does not say why: \"$said\""
fi
echo "build info: $failures failure(s); libjpeg62-turbo-dev $line; the root's suites: $said"
[ $failures = 0 ]
