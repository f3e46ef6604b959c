#!/usr/bin/env bash
# cmake/msi-summary.py on two installers wixl makes of one small WiX source:
# the clock and wixl's random package code must not reach the bytes.
# Registered by tests/package/CMakeLists.txt for the 32-bit Windows build.
set -u
summary=${1:?usage: msi-summary-test.sh path/to/msi-summary.py}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
echo "a file" >a.txt
touch -d @1796821402 a.txt
cat >t.wxs <<'WXS'
<?xml version="1.0" encoding="utf-8"?>
<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">
  <Product Id="1E0C2D5A-0000-4000-8000-000000000001" Name="T" Language="1033" Version="1.0.0" Manufacturer="M"
           UpgradeCode="1E0C2D5A-0000-4000-8000-000000000002">
    <Package InstallerVersion="200" Compressed="yes" />
    <Media Id="1" Cabinet="t.cab" EmbedCab="yes" />
    <Directory Id="TARGETDIR" Name="SourceDir"><Directory Id="ProgramFilesFolder"><Directory Id="D" Name="T">
      <Component Id="C" Guid="1E0C2D5A-0000-4000-8000-000000000003">
        <File Id="F" Name="a.txt" Source="a.txt" KeyPath="yes" />
      </Component>
    </Directory></Directory></Directory>
    <Feature Id="X" Level="1"><ComponentRef Id="C" /></Feature>
  </Product>
</Wix>
WXS
code="{1E0C2D5A-0000-4000-8000-000000000004}"
for n in 1 2; do
    if ! wixl -o $n.msi t.wxs || ! /usr/bin/python3 "$summary" $n.msi 1796821402 "$code"; then
        echo "FAILED: making $n.msi"
        exit 1
    fi
    sleep 1.1  # the clock moves on between the two
done
info=$(TZ=UTC msiinfo suminfo 1.msi)
failures=0
cmp -s 1.msi 2.msi || { echo "FAILED: two installers of one source differ"; failures=$((failures + 1)); }
grep -q "^Created: Wed Dec  9 13:03:22 2026$" <<<"$info" || { echo "FAILED: not the build's time: $info"; failures=$((failures + 1)); }
grep -qF "Revision number (UUID): $code" <<<"$info" || { echo "FAILED: not our package code: $info"; failures=$((failures + 1)); }
echo "msi summary: $failures failure(s)"
[ $failures = 0 ]
