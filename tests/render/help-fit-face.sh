#!/usr/bin/env bash
# The help screen's fit (text_sdl_test's HelpFit cases) with one of the faces
# the .deb may letter with as the only face fontconfig knows: the face
# unpacked from its Debian package into the build tree, never installed, so
# that what the system picks for every other test stays as it is. Registered
# by tests/render/CMakeLists.txt as
# help-fit-face.sh TEST PACKAGE FACE_IN_PACKAGE[#INDEX] WORK_FOLDER (run in
# bin/); an INDEX takes that face of a collection on its own (the tarball's
# subset is cut from one).
set -u
test=$1 package=$2 face=${3%#*} work=$4
index=
[ "$3" != "$face" ] && index=${3##*#}
mkdir -p "$work/faces" "$work/cache"
if [ ! -f "$work/root$face" ]; then
    rm -rf "$work/root" "$work"/*.deb
    if ! (cd "$work" && apt-get download "$package" >/dev/null 2>&1); then
        echo "skipped: Debian's $package cannot be downloaded here"
        exit 77
    fi
    dpkg-deb -x "$work"/"${package}"_*.deb "$work/root" || exit 1
    [ -f "$work/root$face" ] || { echo "$package holds no $face"; exit 1; }
fi
rm -f "$work"/faces/*
if [ -z "$index" ]; then
    ln -sf "$work/root$face" "$work/faces/"
    file=$work/faces/${face##*/}
else
    file=$work/faces/face-$index.ttf
    /usr/bin/python3 -c "import sys; from fontTools.ttLib import TTFont; TTFont(sys.argv[1], fontNumber=int(sys.argv[2])).save(sys.argv[3])" \
        "$work/root$face" "$index" "$file" || exit 1
fi
cat >"$work/fonts.conf" <<CONF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig><dir>$work/faces</dir><cachedir>$work/cache</cachedir></fontconfig>
CONF
export FONTCONFIG_FILE=$work/fonts.conf
picked=$(fc-match -f '%{file}' ':lang=zh-cn')
[ "$picked" = "$file" ] || { echo "fontconfig picks $picked, not $package's face"; exit 1; }
exec "$test" --gtest_filter='HelpFit.*'
