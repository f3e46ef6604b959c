#!/usr/bin/env bash
# The translators' files as the build takes them: the template made afresh
# from the sources must be the committed po/kolvex.pot, and every po/LL.po
# must pass msgfmt's check with each of the template's texts translated,
# none fuzzy. `check-catalogues.sh [PO_FOLDER [SOURCES]]`; run by the
# package.catalogues test. Says every fault it finds, then fails.
set -u
po=$(realpath "${1:-$(dirname "$0")}")
sources=$(realpath "${2:-$po/..}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
faults=0
fault() {
    echo "catalogues: $*"
    faults=$((faults + 1))
}

if ! "$po/update-pot.sh" "$work/kolvex.pot" "$sources" 2>"$work/xgettext.log"; then
    fault "xgettext failed: $(cat "$work/xgettext.log")"
elif ! diff -u "$po/kolvex.pot" "$work/kolvex.pot" >"$work/template.diff"; then
    fault "po/kolvex.pot is out of date with the sources (run po/update-pot.sh, then msgmerge):"$'\n'"$(cat "$work/template.diff")"
fi
for file in "$po"/*.po; do
    name=${file##*/}
    if ! said=$(msgfmt --check --statistics -o /dev/null "$file" 2>&1); then
        fault "$name is refused by msgfmt: $said"
        continue
    fi
    case $said in *fuzzy* | *untranslated*) fault "$name is not complete: $said" ;; esac
    said=$(msgcmp "$file" "$po/kolvex.pot" 2>&1) || fault "$name lacks texts of the template: $said"
done
# Every catalogue's words on the pictures fit them, and art/LL/ holds the
# pictures each language letters (art/generate.py makes them).
if ! said=$(/usr/bin/python3 "$sources/art/generate.py" --check-languages 2>&1); then
    fault "the lettered pictures do not agree with the catalogues (run /usr/bin/python3 art/generate.py): $said"
fi
[ $faults = 0 ] && echo "catalogues: the template and $(ls "$po"/*.po | wc -l) catalogues agree with the sources"
[ $faults = 0 ]
