#!/usr/bin/python3
"""The tarball's subset font against what the game draws: every character of
glyphs.txt (game-glyphs.py's list: ASCII, the sources' texts, every
catalogue's translations) must be in the built font's own character map, as
the subsetter drops without a word what the face lacks. Run by the
portable.font_glyphs test: check-font-glyphs.py TARBALL GLYPHS_TXT"""

import io
import sys
import tarfile

from fontTools.ttLib import TTFont


def missing(font_bytes, wanted):
    font = TTFont(io.BytesIO(font_bytes))
    mapped = set(font.getBestCmap() or {})
    return sorted(c for c in wanted if c.isprintable() and c != " " and ord(c) not in mapped)


def main():
    tarball, glyphs = sys.argv[1], sys.argv[2]
    with open(glyphs, encoding="utf-8") as f:
        wanted = set(f.read().strip("\n"))
    with tarfile.open(tarball) as archive:
        fonts = [m for m in archive.getmembers() if m.name.endswith((".ttf", ".otf"))]
        if len(fonts) != 1:
            print(f"the tarball holds {len(fonts)} fonts, not one")
            return 1
        lacking = missing(archive.extractfile(fonts[0]).read(), wanted)
    if lacking:
        print(f"{fonts[0].name} lacks {len(lacking)} of the game's characters: {''.join(lacking)}")
        return 1
    print(f"{fonts[0].name} maps all {len(wanted)} characters the game draws")
    return 0


if __name__ == "__main__":
    sys.exit(main())
