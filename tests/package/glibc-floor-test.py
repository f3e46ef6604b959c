#!/usr/bin/python3
"""cmake/portable/check-glibc-floor.py on made-up tarballs, each with one
fault, through a stand-in objdump that prints what each made-up binary holds
as its dynamic symbol table. Registered by tests/e2e/CMakeLists.txt in the
portable tier: glibc-floor-test.py path/to/check-glibc-floor.py"""

import os
import subprocess
import sys
import tempfile

CHECKER = sys.argv[1]
# Dynamic symbol tables as objdump -T prints them.
GOOD = """
0000000000000000      DF *UND*  0000000000000000 (GLIBC_2.2.5) malloc
0000000000000000      DF *UND*  0000000000000000 (GLIBC_2.17) clock_gettime
"""
NEWER = GOOD + "0000000000000000      DF *UND*  0000000000000000 (GLIBC_2.34) pthread_create\n"
RUNTIME = GOOD + "0000000000000000      DF *UND*  0000000000000000 (GLIBCXX_3.4.29) _ZSt4cout\n"
NO_GLIBC = "0000000000000000  w   D  *UND*  0000000000000000  __gmon_start__\n"
LIBRARIES = ("libSDL2-2.0.so.0", "libSDL2_ttf-2.0.so.0", "libGLU.so.1")
README = "It needs glibc 2.31 or newer.\n"

# What the made-up tarball holds against the good one | what the checker must say
CASES = [
    ({}, None),
    ({"kolvex": NEWER}, "kolvex asks for a glibc newer than 2.31: pthread_create@GLIBC_2.34"),
    ({"lib/libGLU.so.1": RUNTIME}, "lib/libGLU.so.1 asks the system for GLIBCXX_3.4.29"),
    ({"kolvex": NO_GLIBC}, "kolvex: no GLIBC_ reference"),
    ({"lib/libSDL2-2.0.so.0": NO_GLIBC}, "lib/libSDL2-2.0.so.0: no GLIBC_ reference"),
    ({"kolvex": ""}, "kolvex: objdump read no symbol table"),
    ({"lib/libSDL2_ttf-2.0.so.0": ""}, "lib/libSDL2_ttf-2.0.so.0: objdump read no symbol table"),
    ({f"lib/{name}": None for name in LIBRARIES}, "lib/ lacks libGLU.so.1, libSDL2-2.0.so.0, libSDL2_ttf-2.0.so.0"),
    ({"lib/libGLU.so.1": None}, "lib/ lacks libGLU.so.1"),
    ({"lib/libextra.so.1": NEWER}, "lib/libextra.so.1 asks for a glibc newer than 2.31"),
    ({"README.txt": "It needs glibc 2.34 or newer.\n"}, "README.txt says {'2.34'}"),
]


def make_tarball(work, changes):
    top = os.path.join(work, "stage", "Kolvex-9.9.9-linux-x86_64")
    files = {"kolvex": GOOD, "README.txt": README, **{f"lib/{name}": GOOD for name in LIBRARIES}}
    files.update(changes)
    subprocess.run(["rm", "-rf", os.path.join(work, "stage")], check=True)
    os.makedirs(os.path.join(top, "lib"))
    for name, text in files.items():
        if text is not None:
            with open(os.path.join(top, name), "w") as f:
                f.write(text)
    tarball = os.path.join(work, "t.tar.gz")
    subprocess.run(["tar", "-czf", tarball, "-C", os.path.join(work, "stage"), os.path.basename(top)], check=True)
    return tarball


def main():
    failures = 0
    with tempfile.TemporaryDirectory() as work:
        objdump = os.path.join(work, "objdump")
        with open(objdump, "w") as f:
            # A file with nothing in it stands for one objdump cannot read.
            f.write('#!/bin/sh\n[ "$1" = -T ] && [ -s "$2" ] || { echo "objdump: $2: file format not recognized" >&2; '
                    'exit 1; }\necho; echo "$2:     file format elf64-x86-64"; cat "$2"\n')
        os.chmod(objdump, 0o755)
        readme = os.path.join(work, "README.md")
        with open(readme, "w") as f:
            f.write(README)
        for changes, said in CASES:
            tarball = make_tarball(work, changes)
            run = subprocess.run([sys.executable, CHECKER, tarball, "2.31", readme], capture_output=True, text=True,
                                 env={**os.environ, "KOLVEX_OBJDUMP": objdump})
            if said is None:
                ok = run.returncode == 0
            else:
                ok = run.returncode != 0 and said in run.stdout
            if not ok:
                failures += 1
                print(f"FAILED: with {sorted(changes) or 'nothing changed'}: ended with {run.returncode}, "
                      f"expected {'success' if said is None else repr(said)}:\n{run.stdout}{run.stderr}")
    print(f"glibc floor rules: {failures} failure(s)")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
