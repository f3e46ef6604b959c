#!/usr/bin/env bash
# Makes the translators' template, po/kolvex.pot, from the native game's
# sources: run it after changing a text of the game (the catalogue check
# fails until then), then `msgmerge --update po/LL.po po/kolvex.pot` for each
# language. check-catalogues.sh calls it as `update-pot.sh OUT SOURCES`.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
out=$(realpath -m "${1:-$here/kolvex.pot}")
cd "${2:-$here/..}"
# Line numbers are left out so that the template changes only when a text or
# its comment does. Each kind of source is read with its own keywords, into
# the one template.
common=(--from-code=UTF-8 --add-comments=TRANSLATORS: --add-location=file --package-name=Kolvex
    --msgid-bugs-address=developers@kolvex.invalid -o "$out.new")
quiet() { grep -v -e 'contains non-ASCII characters' -e 'problems to translators' -e 'pure ASCII msgid' -e '^ *[^ ]*$' >&2 || true; }
# The game's texts, where the drawing code writes them.
xgettext "${common[@]}" --language=C++ --keyword --keyword=TextMark --keyword=LocalText \
    --keyword=LocalTextIn:1c,2 --keyword=Fail:1 --keyword=ShowProblem:1 --keyword=ShowWarning:1 \
    src/render/Screens.cpp src/render/Frame.cpp src/render/WindowSdl.cpp src/render/MessageBoxSdl.cpp \
    src/app/WinMainWeb.cpp 2>&1 | quiet
# The words lettered on the pictures.
xgettext "${common[@]}" --join-existing --language=Python --keyword --keyword=Lettered:1c,2 art/generate.py 2>&1 | quiet
# The menu entry and the software centres' page (gettext's own rules for both).
xgettext "${common[@]}" --join-existing res/linux/kolvex.desktop res/linux/io.github.kolvex.kolvex.metainfo.xml 2>&1 | quiet
# The template's date would make every run a change: it is left out.
sed -e '/^"POT-Creation-Date: /d' -e 's/charset=CHARSET/charset=UTF-8/' "$out.new" >"$out"
rm -f "$out.new"
