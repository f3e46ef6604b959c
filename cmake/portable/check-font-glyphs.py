#!/usr/bin/python3
"""The tarball's subset font against what the game draws: every character of
glyphs.txt (game-glyphs.py's list: ASCII, the sources' texts, every
catalogue's translations) must be in the built font's own character map, as
the subsetter drops without a word what the face lacks; and each must advance
the pen as far as in the face it was cut from, so that the help screen's
layout, held to its places with that face, holds with the subset too. Run
by the portable.font_glyphs test:
check-font-glyphs.py TARBALL GLYPHS_TXT [FACE_FILE FONT_NUMBER]"""

import io
import sys
import tarfile

from fontTools.ttLib import TTFont


def missing(font_bytes, wanted):
    font = TTFont(io.BytesIO(font_bytes))
    mapped = set(font.getBestCmap() or {})
    return sorted(c for c in wanted if c.isprintable() and c != " " and ord(c) not in mapped)


def advance_changes(font_bytes, face_file, number, wanted):
    """The characters whose advance width the subset changed."""
    subset, face = TTFont(io.BytesIO(font_bytes)), TTFont(face_file, fontNumber=number)
    widths = [(font.getBestCmap(), font["hmtx"]) for font in (subset, face)]
    return sorted(c for c in wanted if ord(c) in widths[0][0] and
                  widths[0][1][widths[0][0][ord(c)]][0] != widths[1][1][widths[1][0][ord(c)]][0])


def main():
    tarball, glyphs = sys.argv[1], sys.argv[2]
    with open(glyphs, encoding="utf-8") as f:
        wanted = set(f.read().strip("\n"))
    with tarfile.open(tarball) as archive:
        fonts = [m for m in archive.getmembers() if m.name.endswith((".ttf", ".otf"))]
        if len(fonts) != 1:
            print(f"the tarball holds {len(fonts)} fonts, not one")
            return 1
        font_bytes = archive.extractfile(fonts[0]).read()
    lacking = missing(font_bytes, wanted)
    if lacking:
        print(f"{fonts[0].name} lacks {len(lacking)} of the game's characters: {''.join(lacking)}")
        return 1
    changed = advance_changes(font_bytes, sys.argv[3], int(sys.argv[4]), wanted) if len(sys.argv) > 4 else []
    if changed:
        print(f"{fonts[0].name} is wider or narrower than its face for {''.join(changed)}")
        return 1
    print(f"{fonts[0].name} maps all {len(wanted)} characters the game draws")
    return 0


if __name__ == "__main__":
    sys.exit(main())
