#!/bin/sh
# Runs one command inside the portable build's Debian 11 root (made by
# make-build-root.sh, whose compiler wrappers call this), in the current
# folder: run-in-root.sh ROOT COMMAND... The sources, the folder holding the
# root, a current folder elsewhere and CMake's modules (whose sources its
# compiler checks compile) are bound in at their own paths, so every path a
# build passes means the same file inside; the bindings go with the command's
# mount namespace.
root=$1
shift
sources=$(cd "$(dirname "$0")/../.." && pwd -P)
holder=$(dirname "$root")
cwd=$(pwd -P)
case $holder/ in
    "$sources"/*) holder= ;;
esac
# A build folder elsewhere (a test's in /tmp): its top folder too.
case $cwd/ in
    "$sources"/* | "${holder:-$sources}"/* | /usr/* | /bin/* | /lib*/* | /etc/* | /proc/* | /dev/*) ;;
    *) top=${cwd#/} && holder="$holder /${top%%/*}" ;;
esac
for dir in /usr/share/cmake-[0-9]* /usr/local/share/cmake-[0-9]*; do
    [ -d "$dir" ] && holder="$holder $dir"
done
# The dependency file a compiler writes (-MF) names the compiler's own
# headers (/usr/include/c++/10, /usr/lib/gcc) as the root sees them; they are
# named by their path outside, or make and Ninja would find them missing and
# build everything again each time.
depfile=
previous=
for arg in "$@"; do
    [ "$previous" = -MF ] && depfile=$arg
    previous=$arg
done
unshare --mount sh -c '
    root=$1 sources=$2 holder=$3 cwd=$4
    shift 4
    for dir in "$sources" $holder; do
        [ -d "$root$dir" ] || mkdir -p "$root$dir"
        mount --bind "$dir" "$root$dir" || exit 1
    done
    exec chroot "$root" /bin/sh -c "cd \"\$0\" && exec \"\$@\"" "$cwd" "$@"
' sh "$root" "$sources" "$holder" "$cwd" "$@" || exit
[ -z "$depfile" ] || sed -i "s# /usr/# $root/usr/#g" "$depfile"
