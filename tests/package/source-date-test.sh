#!/usr/bin/env bash
# What a build takes from git: cmake/SourceDate.cmake's one time every
# download's files take (the builder's SOURCE_DATE_EPOCH, else the commit's
# time, else the release day) and the commit cmake/BuildInfoWrite.cmake names
# in the build-info files. A clone git will not read stops both with git's
# reason. Registered by tests/package/CMakeLists.txt for host builds.
set -u
module=${1:?usage: source-date-test.sh path/to/SourceDate.cmake path/to/BuildInfoWrite.cmake}
writer=${2:?usage: source-date-test.sh path/to/SourceDate.cmake path/to/BuildInfoWrite.cmake}
. "$(dirname "${BASH_SOURCE[0]}")/test-kit.sh"
# Git as it is on a machine with no exceptions of its own (no safe.directory
# from the user's or the system's settings, no sudo caller).
export GIT_CONFIG_GLOBAL=/dev/null GIT_CONFIG_NOSYSTEM=1
unset SUDO_UID SUDO_GID SUDO_USER
cat >"$work/time.cmake" <<CMAKE
include($module)
kolvex_source_date_epoch(\${dir} 2026-12-09 epoch)
message(STATUS "epoch=\${epoch}")
CMAKE
cat >"$work/commit.cmake" <<CMAKE
set(CPACK_KOLVEX_SOURCE_DIR \${dir})
set(CPACK_KOLVEX_BUILD_INFO $work/tools.txt)
set(CPACK_PACKAGE_VERSION 9.9.9)
set(CPACK_KOLVEX_EPOCH 1)
include($writer)
kolvex_write_build_info(\${out})
CMAKE
: >"$work/tools.txt"
mkdir -p "$work/clone" "$work/plain"
git -C "$work/clone" init -q
GIT_COMMITTER_DATE=@1790000000 git -C "$work/clone" -c user.name=k -c user.email=k@k commit -q --allow-empty -m one
head=$(git -C "$work/clone" rev-parse HEAD)

# Clones git refuses: one asking for a repository extension git does not
# know; as root, one owned by another user (git's "dubious ownership").
refused=(refused-extension)
cp -a "$work/clone" "$work/refused-extension"
git -C "$work/refused-extension" config core.repositoryformatversion 1
git -C "$work/refused-extension" config extensions.kolvexMadeUp true
if [ "$(id -u)" = 0 ]; then
    cp -a "$work/clone" "$work/refused-owner"
    chown -R 65534:65534 "$work/refused-owner"
    refused+=(refused-owner)
else
    echo "note: not root, so no clone owned by another user to try"
fi

# CMake's words and its exit code for one script, with SOURCE_DATE_EPOCH
# set to $1 ("-": unset).
run_cmake() {
    local sde=$1
    shift
    if [ "$sde" = - ]; then
        said=$(env -u SOURCE_DATE_EPOCH cmake "$@" 2>&1)
    else
        said=$(SOURCE_DATE_EPOCH=$sde cmake "$@" 2>&1)
    fi
    code=$?
}
# WHAT of FOLDER came out as GOT, against WANT: a value, or "fails" with
# git's own first complaint about the folder in what CMake said.
judge() {
    local what=$1 folder=$2 sde=$3 want=$4 got=$5 why
    if [ "$want" = fails ]; then
        why=$(git -C "$work/$folder" rev-parse HEAD 2>&1 >/dev/null | head -n 1)
        [ $code != 0 ] || fail "$what of $folder (SOURCE_DATE_EPOCH=$sde) did not fail: $said"
        # CMake breaks its messages' lines where it likes.
        [ -n "$why" ] && tr -s '[:space:]' ' ' <<<"$said" | grep -qF -- "$(tr -s '[:space:]' ' ' <<<"$why")" ||
            fail "$what of $folder does not say git's reason ($why): $said"
    elif [ $code != 0 ]; then
        fail "$what of $folder (SOURCE_DATE_EPOCH=$sde) failed: $said"
    elif [ "$got" != "$want" ]; then
        fail "$what of $folder with SOURCE_DATE_EPOCH=$sde: $got, not $want"
    fi
}

# folder | SOURCE_DATE_EPOCH ("-" unset) | the time expected | the commit expected
while read -r folder sde time commit; do
    [ "$commit" = head ] && commit=$head
    [ "$commit" = none ] && commit="none (not built from a git clone)"
    folders=("$folder")
    [ "$folder" = refused ] && folders=("${refused[@]}")
    for f in "${folders[@]}"; do
        run_cmake "$sde" -Ddir="$work/$f" -P "$work/time.cmake"
        judge "the time" "$f" "$sde" "$time" "$(sed -n 's/.*epoch=//p' <<<"$said")"
        rm -f "$work/info.build-info.txt"
        run_cmake "$sde" -Ddir="$work/$f" -Dout="$work/info" -P "$work/commit.cmake"
        judge "the build-info's commit" "$f" "$sde" "$commit" \
            "$(sed -n 's/^Commit: //p' "$work/info.build-info.txt" 2>/dev/null)"
    done
done <<'ROWS'
clone 1700000000 1700000000 head
clone - 1790000000 head
clone 12abc 1790000000 head
plain - 1796774400 none
plain 1700000000 1700000000 none
refused - fails fails
refused 1700000000 1700000000 fails
ROWS
echo "source date: $failures failure(s)"
[ $failures = 0 ]
