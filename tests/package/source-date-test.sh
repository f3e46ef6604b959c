#!/usr/bin/env bash
# cmake/SourceDate.cmake, the one time every download's files take: the
# builder's SOURCE_DATE_EPOCH, else the commit's time, else the release day.
# Registered by tests/package/CMakeLists.txt for host builds.
set -u
module=${1:?usage: source-date-test.sh path/to/SourceDate.cmake}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat >"$work/print.cmake" <<CMAKE
include($module)
kolvex_source_date_epoch(\${dir} 2026-12-09 epoch)
message(STATUS "epoch=\${epoch}")
CMAKE
mkdir -p "$work/clone" "$work/plain"
git -C "$work/clone" init -q
GIT_COMMITTER_DATE=@1790000000 git -C "$work/clone" -c user.name=k -c user.email=k@k commit -q --allow-empty -m one

failures=0
# folder | SOURCE_DATE_EPOCH ("-" unset) | the time expected
while read -r dir sde want; do
    if [ "$sde" = - ]; then
        got=$(env -u SOURCE_DATE_EPOCH cmake -Ddir="$work/$dir" -P "$work/print.cmake")
    else
        got=$(SOURCE_DATE_EPOCH=$sde cmake -Ddir="$work/$dir" -P "$work/print.cmake")
    fi
    got=${got##*epoch=}
    [ "$got" = "$want" ] || { echo "FAILED: $dir with SOURCE_DATE_EPOCH=$sde: $got, not $want"; failures=$((failures + 1)); }
done <<'ROWS'
clone 1700000000 1700000000
clone - 1790000000
clone 12abc 1790000000
plain - 1796774400
plain 1700000000 1700000000
ROWS
echo "source date: $failures failure(s)"
[ $failures = 0 ]
