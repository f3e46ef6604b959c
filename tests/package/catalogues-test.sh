#!/usr/bin/env bash
# po/check-catalogues.sh on copies of the catalogues and the texts' sources:
# it passes them as they are, and refuses each fault a translator or a
# maintainer can make: a fuzzy text, a missing one, a broken msgstr, a text
# changed in the code without a new template, a word too long for its
# picture, a language's pictures not made again. Registered by
# tests/package/CMakeLists.txt for host builds.
set -u
root=$(realpath "${1:?usage: catalogues-test.sh SOURCE_ROOT}")
. "$(dirname "${BASH_SOURCE[0]}")/test-kit.sh"

# A fresh copy of what the check reads, changed by `$1` (a command run in it).
check_with() {
    rm -rf "$work/tree"
    mkdir -p "$work/tree/src/render" "$work/tree/src/app"
    cp -r "$root/po" "$work/tree/po"
    cp "$root"/src/render/{Screens,Frame,WindowSdl,MessageBoxSdl}.cpp "$work/tree/src/render/"
    cp "$root"/src/app/WinMainWeb.cpp "$work/tree/src/app/"
    cp -r "$root/art" "$root/res" "$work/tree/"
    (cd "$work/tree" && eval "$1") || return 2
    bash "$work/tree/po/check-catalogues.sh" "$work/tree/po" "$work/tree" >"$work/said" 2>&1
}

check_with true || fail "the committed catalogues are refused:"$'\n'"$(cat "$work/said")"
faults=(
    "a fuzzy text|python3 -c \"import re,sys; p='po/de.po'; s=open(p).read(); open(p,'w').write(s.replace('\\n#: src/render/Frame.cpp', '\\n#, fuzzy\\n#: src/render/Frame.cpp', 1))\"|not complete"
    "a text missing|python3 -c \"p='po/en.po'; s=open(p).read(); i=s.index('msgid \\\"确定\\\"'); open(p,'w').write(s[:i])\"|lacks texts"
    "a msgstr left open|sed -i '0,/^msgstr \"OK\"/s//msgstr \"OK/' po/de.po|refused by msgfmt"
    "a msgstr line lost|sed -i '0,/^msgstr \"Steuerung:\"/{/^msgstr \"Steuerung:\"/d}' po/de.po|refused by msgfmt"
    "a text changed in the code only|sed -i 's/声音关闭\\[M\\]键切换/声音关闭 [M] 键切换/' src/render/Frame.cpp|out of date"
    "a word too long for its picture|sed -i 's/^msgstr \"beenden\"/msgstr \"beendenbeendenbeenden\"/' po/de.po|do not agree"
    "a language's picture not made|rm art/en/s1.jpg|missing: en/s1.jpg"
    "a translator comment changed in the code only|sed -i 's/Keep it short: it stands alone/Keep it short, it stands alone/' src/render/Frame.cpp|out of date"
)
for row in "${faults[@]}"; do
    IFS='|' read -r what change expected <<<"$row"
    if check_with "$change"; then
        fail "$what passes the check"
    elif ! grep -q "$expected" "$work/said"; then
        fail "$what is refused without saying \"$expected\":"$'\n'"$(cat "$work/said")"
    fi
done
echo "catalogues check: $failures failure(s)"
[ $failures = 0 ]
