#!/usr/bin/python3
"""The rules of cmake/portable/check-notices.py on small made-up packages: a
copyright file, a source tree, what was compiled and what licenses/ ships.
Registered by tests/e2e/CMakeLists.txt beside the portable tarball's tests
(portable.notices_rules); needs no tarball."""

import importlib.machinery
import os
import tempfile
import types
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
loader = importlib.machinery.SourceFileLoader(
    "check_notices", os.path.join(HERE, "..", "..", "cmake", "portable", "check-notices.py"))
notices = types.ModuleType(loader.name)
loader.exec_module(notices)

COPYRIGHT = """Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/

Files: *
Copyright: 2001 Ada Example
License: Zlib-ish

Files: src/conv/*
Copyright: 2016 Bea Converter
License: BSD-ish

Files: src/hid/*
Copyright: 2009 Cy Device
License: BSD-ish or GPL-3 or Orig-ish, and Zlib-ish

Files: src/font/*
Copyright: 2008 Dee Glyph
License: Apache-2.0

License: Zlib-ish
 Permission is granted to anyone to use this software for any purpose.

License: BSD-ish
 Redistributions in binary form must reproduce the above copyright notice.

License: GPL-3
 On Debian systems, the complete text of the GNU General Public License
 version 3 can be found in /usr/share/common-licenses/GPL-3.

License: Orig-ish
 This software may be used by anyone so long as the copyright notice remains.

License: Apache-2.0
 Licensed under the Apache License, Version 2.0.
 .
 On Debian systems, the full text of the Apache License, Version 2.0
 can be found in the file '/usr/share/common-licenses/Apache-2.0'.
"""

ZLIB = "Copyright 2001 Ada Example\nPermission is granted to anyone to use this software for any purpose.\n"
BSD = "Copyright (c) 2016 Bea Converter\n * Redistributions in binary form must reproduce\n * the above copyright notice.\n"
HID = "Copyright 2009 Cy Device\nThis software may be used by anyone so long as the copyright notice remains.\n"


def full(name):
    with open(f"/usr/share/common-licenses/{name}") as f:
        return f.read()


class Shipped(notices.Shipped):
    """licenses/ as a dictionary of file names and texts."""

    def __init__(self, files):
        self.files = {name: notices.words(text) for name, text in files.items()}


class Rules(unittest.TestCase):
    def setUp(self):
        self.scratch = tempfile.TemporaryDirectory()
        path = os.path.join(self.scratch.name, "copyright")
        with open(path, "w") as f:
            f.write(COPYRIGHT)
        self.copyright = notices.Copyright(path)

    def tearDown(self):
        self.scratch.cleanup()

    def failures(self, shipped, paths, source=None):
        check = notices.Check(Shipped(shipped))
        check.package("example", self.copyright, paths, source)
        return check.failures

    def test_expressions(self):
        # "and" binds before "or"; a comma ends a group.
        for expression, choices in [
            ("A", [["A"]]),
            ("A and B", [["A", "B"]]),
            ("A or B", [["A"], ["B"]]),
            ("A and B or C", [["A", "B"], ["C"]]),
            ("A or B and C", [["A"], ["B", "C"]]),
            ("A or B or C, and D", [["A", "D"], ["B", "D"], ["C", "D"]]),
            ("A and B, or C", [["A", "B"], ["C"]]),
            ("GPL-3+ with Font exception or Apache-2.0", [["GPL-3+ with Font exception"], ["Apache-2.0"]]),
        ]:
            with self.subTest(expression):
                self.assertEqual(notices.alternatives(expression), choices)

    def test_last_matching_stanza_decides(self):
        self.assertEqual(self.copyright.stanza("src/main.c")[2], "Zlib-ish")
        self.assertEqual(self.copyright.stanza("src/conv/yuv.c")[2], "BSD-ish")
        self.assertEqual(self.copyright.stanza("src/conv")[2], "Zlib-ish")

    def test_what_licenses_must_hold(self):
        apache = "Licensed under the Apache License, Version 2.0.\nCopyright 2008 Dee Glyph\n"
        for case, shipped, paths, missing in [
            ("one licence, shipped", {"a.txt": ZLIB}, ["src/main.c"], []),
            ("one licence, not shipped", {"a.txt": BSD}, ["src/main.c"], ["Zlib-ish"]),
            ("the override's licence", {"a.txt": ZLIB}, ["src/conv/yuv.c"], ["BSD-ish"]),
            ("holders unnamed", {"a.txt": "Redistributions in binary form must reproduce the above copyright notice."},
             ["src/conv/yuv.c"], ["Bea Converter"]),
            ("one choice and its 'and'", {"a.txt": ZLIB, "b.txt": HID}, ["src/hid/hid.c"], []),
            ("a choice without its 'and'", {"b.txt": HID}, ["src/hid/hid.c"], ["Zlib-ish"]),
            ("no choice at all", {"a.txt": ZLIB + "Cy Device"}, ["src/hid/hid.c"], ["Orig-ish"]),
            ("a pointer's full text", {"a.txt": apache, "b.txt": full("Apache-2.0")}, ["src/font/face.ttf"], []),
            ("only the pointer", {"a.txt": apache}, ["src/font/face.ttf"], ["/usr/share/common-licenses/Apache-2.0"]),
            ("a pointer alone is no text", {"a.txt": ZLIB, "b.txt": "Cy Device"}, ["src/hid/hid.c"], ["GPL-3"]),
        ]:
            with self.subTest(case):
                failures = self.failures(shipped, paths)
                if not missing:
                    self.assertEqual(failures, [])
                for what in missing:
                    self.assertTrue(any(what in failure for failure in failures), f"{what} not in {failures}")

    def test_licence_files_beside_compiled_sources(self):
        source = self.scratch.name
        for folder, files in [("", {"LICENSE.txt": ZLIB}), ("src/conv", {"LICENSE": BSD}),
                              ("src/hid", {"LICENSE-orig.txt": HID, "LICENSE-gpl3.txt": full("GPL-3")})]:
            os.makedirs(os.path.join(source, folder), exist_ok=True)
            for name, text in files.items():
                with open(os.path.join(source, folder, name), "w") as f:
                    f.write(text)
        for case, shipped, paths, missing in [
            ("top and own folder shipped", {"a": ZLIB, "b": BSD}, ["src/conv/yuv.c"], []),
            ("own folder's not shipped", {"a": ZLIB}, ["src/conv/yuv.c"], ["src/conv/ holds LICENSE"]),
            ("a folder above's not shipped", {"b": BSD}, ["src/conv/yuv.c"], ["the top folder holds LICENSE.txt"]),
            ("one of a folder's choices", {"a": ZLIB, "b": HID}, ["src/hid/hid.c"], []),
            ("none of a folder's choices", {"a": ZLIB + "Cy Device Orig-ish"}, ["src/hid/hid.c"],
             ["src/hid/ holds LICENSE-gpl3.txt, LICENSE-orig.txt"]),
        ]:
            with self.subTest(case):
                failures = [f for f in self.failures(shipped, paths, source) if " holds " in f]
                self.assertEqual(len(failures), len(missing), failures)
                for what in missing:
                    self.assertTrue(any(what in failure for failure in failures), f"{what} not in {failures}")

    def test_compiled_files(self):
        # The compile commands' files, the sources they include, files made
        # from a source; anything else from outside the sources is reported.
        source = os.path.join(self.scratch.name, "pkg")
        build = os.path.join(self.scratch.name, "pkg-build")
        os.makedirs(build)
        with open(os.path.join(build, "compile_commands.json"), "w") as f:
            f.write(f'''[{{"directory": "{build}", "file": "../pkg/src/base.c"}},
                {{"directory": "{build}", "file": "{build}/wayland-generated-protocols/xdg-shell-protocol.c"}},
                {{"directory": "{build}", "file": "/tmp/elsewhere.c"}}]''')
        deps = (f"base.o: #deps 3, deps mtime 1 (VALID)\n    ../pkg/src/base.c\n    ../pkg/src/hash.c\n"
                f"    ../pkg/include/base.h\n    /usr/include/stdio.h\n    /usr/lib/other.c\n\n")
        real = notices.ninja_deps
        notices.ninja_deps = lambda _: deps
        try:
            paths, strange = notices.compiled_files(source, build)
        finally:
            notices.ninja_deps = real
        self.assertEqual(sorted(paths), ["src/base.c", "src/hash.c", "wayland-protocols/xdg-shell.xml"])
        self.assertEqual(sorted(strange), ["/tmp/elsewhere.c", "/usr/lib/other.c"])


if __name__ == "__main__":
    unittest.main()
