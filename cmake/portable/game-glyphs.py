#!/usr/bin/python3
"""Every character the game can draw, for the portable build's font subset:
printable ASCII (numbers, English start-up reasons, names), every character
of every UTF-16 literal (u"...") in the game's sources (help lines, notices,
message boxes), and of every translation in the catalogues (po/*.po, each
msgstr of a text the game's sources write; the pictures' words and the
desktop's are not drawn by the game). Run by the build (cmake/PackagePortable.cmake):
game-glyphs.py OUTPUT SOURCE_OR_CATALOGUE..."""

import re
import sys

# A u"..." literal, its escapes left in.
LITERAL = re.compile(r'(?<![A-Za-z0-9_])u"((?:[^"\\\n]|\\.)*)"')
ESCAPE = re.compile(r'\\(u[0-9A-Fa-f]{4}|U[0-9A-Fa-f]{8}|x[0-9A-Fa-f]+|[0-7]{1,3}|.)')
SIMPLE = {"n": "\n", "t": "\t", "r": "\r", "0": "\0", "a": "\a", "b": "\b", "f": "\f", "v": "\v"}


def unescape(body):
    def one(match):
        code = match.group(1)
        if code[0] in "uU":
            return chr(int(code[1:], 16))
        if code[0] == "x":
            return chr(int(code[1:], 16))
        if code[0].isdigit() and code != "0":
            return chr(int(code, 8))
        return SIMPLE.get(code, code)

    return ESCAPE.sub(one, body)


# A msgstr of a catalogue and the lines that continue it.
MSGSTR = re.compile(r'^msgstr(?:\[\d+\])? ((?:"(?:[^"\\\n]|\\.)*"\s*)+)', re.M)
PO_STRING = re.compile(r'"((?:[^"\\\n]|\\.)*)"')


def glyphs(texts, translations=()):
    found = {chr(c) for c in range(0x20, 0x7F)}
    for text in texts:
        for body in LITERAL.findall(text):
            found.update(c for c in unescape(body) if c.isprintable())
    for catalogue in translations:
        drawn = [entry for entry in catalogue.split("\n\n") if re.search(r"^#: .*\bsrc/", entry, re.M)]
        for value in MSGSTR.findall("\n\n".join(drawn)):
            for body in PO_STRING.findall(value):
                found.update(c for c in unescape(body) if c.isprintable())
    return "".join(sorted(found))


def main():
    texts, translations = [], []
    for path in sys.argv[2:]:
        with open(path, encoding="utf-8") as f:
            (translations if path.endswith(".po") else texts).append(f.read())
    with open(sys.argv[1], "w", encoding="utf-8") as f:
        f.write(glyphs(texts, translations) + "\n")


if __name__ == "__main__":
    main()
