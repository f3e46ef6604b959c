#!/usr/bin/env bash
# cmake/msi-summary.py on installers wixl makes of one small WiX source: the
# clock and wixl's random package code must not reach the bytes, anything
# else that changes the bytes (the source, the icon, a file) and the version
# must change the package code, and the same bytes must keep it. Registered by
# tests/package/CMakeLists.txt for the 32-bit Windows build.
set -u
summary=$(realpath "${1:?usage: msi-summary-test.sh path/to/msi-summary.py}")
. "$(dirname "${BASH_SOURCE[0]}")/test-kit.sh"
cd "$work" || exit 1
namespace=1E0C2D5A-0000-4000-8000-000000000002

# The source and what it installs, as the base case writes them; a row of
# the table below changes one thing.
stage() {
    rm -rf stage && mkdir stage
    echo "a file" >stage/a.txt
    printf '\0\0\1\0\1\0\1\1\0\0\1\0\30\0\0\0\0\0\26\0\0\0' >stage/k.ico
    touch -d @1796821402 stage/a.txt stage/k.ico
    cat >stage/t.wxs <<'WXS'
<?xml version="1.0" encoding="utf-8"?>
<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">
  <Product Id="1E0C2D5A-0000-4000-8000-000000000001" Name="T" Language="1033" Version="1.0.0" Manufacturer="M"
           UpgradeCode="1E0C2D5A-0000-4000-8000-000000000002">
    <Package InstallerVersion="200" Compressed="yes" />
    <Media Id="1" Cabinet="t.cab" EmbedCab="yes" />
    <Icon Id="K" SourceFile="k.ico" />
    <Directory Id="TARGETDIR" Name="SourceDir"><Directory Id="ProgramFilesFolder"><Directory Id="D" Name="T">
      <Component Id="C" Guid="1E0C2D5A-0000-4000-8000-000000000003">
        <File Id="F" Name="a.txt" Source="a.txt" KeyPath="yes" />
      </Component>
    </Directory></Directory></Directory>
    <Feature Id="X" Level="1"><ComponentRef Id="C" /></Feature>
  </Product>
</Wix>
WXS
}
# NAME.msi from the staged source, its code in NAME.code.
build_msi() {
    local name=$1 version=${2:-1.0.0}
    if ! (cd stage && wixl -o "../$name.msi" t.wxs) ||
       ! /usr/bin/python3 "$summary" "$name.msi" 1796821402 "$namespace" "Kolvex $version" >"$name.code"; then
        fail "making $name.msi"
        return 1
    fi
}

stage
build_msi base1
sleep 1.1  # the clock moves on between the two
build_msi base2
cmp -s base1.msi base2.msi || fail "two installers of one source differ"
info=$(TZ=UTC msiinfo suminfo base1.msi)
grep -q "^Created: Wed Dec  9 13:03:22 2026$" <<<"$info" || fail "not the build's time: $info"
grep -qF "Revision number (UUID): $(cat base1.code)" <<<"$info" || fail "not the package code it printed: $info"

# what changed | how (in the staged folder) | the version | its package code:
# "new", or "same" where wixl writes the same bytes (it drops comments)
while IFS='|' read -r changed how version code; do
    stage
    (cd stage && eval "$how")
    build_msi "$changed" "$version" || continue
    if [ "$code" = same ]; then
        cmp -s base1.msi "$changed.msi" || fail "a changed $changed gives other installer bytes"
        [ "$(cat "$changed.code")" = "$(cat base1.code)" ] || fail "a changed $changed gives a new package code"
        continue
    fi
    [ "$version" != 1.0.0 ] || ! cmp -s base1.msi "$changed.msi" ||
        fail "a changed $changed gives the same installer: the row changes nothing"
    [ "$(cat "$changed.code")" != "$(cat base1.code)" ] ||
        fail "a changed $changed keeps the package code $(cat base1.code)"
done <<'ROWS'
WiX comment|sed -i 's#<Media #<!-- the one cabinet --><Media #' t.wxs|1.0.0|same
WiX source|sed -i 's#Manufacturer="M"#Manufacturer="N"#' t.wxs|1.0.0|new
icon|printf '\0\0\1\0\1\0\2\2\0\0\1\0\30\0\0\0\0\0\26\0\0\0' >k.ico; touch -d @1796821402 k.ico|1.0.0|new
installed file|echo "another file" >a.txt; touch -d @1796821402 a.txt|1.0.0|new
version|true|1.0.1|new
ROWS
echo "msi summary: $failures failure(s)"
[ $failures = 0 ]
