#!/usr/bin/python3
"""Checks that the portable tarball runs on its oldest glibc: the program and
every library in lib/ ask the system for no glibc symbol newer than FLOOR and
for nothing of the C++ or GCC runtime, and both read-mes name FLOOR. Run by
ctest (portable.glibc_floor): check-glibc-floor.py TARBALL FLOOR README.md"""

# What each binary asks of the system is read from its dynamic symbol table
# (objdump -T, or KOLVEX_OBJDUMP). A binary objdump cannot read, or one that
# asks nothing of glibc, proves nothing: every one of ours calls into glibc,
# so no reference at all means the table was not read, and fails.

import os
import re
import subprocess
import sys
import tempfile

# What lib/ must hold: the libraries the program is linked with.
SHIPPED_LIBRARIES = {"libSDL2-2.0.so.0", "libSDL2_ttf-2.0.so.0", "libGLU.so.1"}
RUNTIME = re.compile(r"\((GLIBCXX_[0-9.]+|CXXABI_[0-9.]+|GCC_[0-9.]+)\)")
GLIBC = re.compile(r"\(GLIBC_([0-9.]+)\)\s+(\S+)")


def problems(top, floor, readme):
    objdump = os.environ.get("KOLVEX_OBJDUMP", "objdump")
    found = []
    libraries = set(os.listdir(os.path.join(top, "lib"))) if os.path.isdir(os.path.join(top, "lib")) else set()
    missing = SHIPPED_LIBRARIES - libraries
    if missing:
        found.append(f"lib/ lacks {', '.join(sorted(missing))}")
    binaries = ["kolvex"] + [f"lib/{name}" for name in sorted(libraries)]
    for binary in binaries:
        path = os.path.join(top, binary)
        if not os.path.isfile(path):
            found.append(f"no {binary}")
            continue
        try:
            read = subprocess.run([objdump, "-T", path], capture_output=True, text=True)
        except OSError as error:
            found.append(f"{binary}: objdump cannot be run: {error}")
            continue
        if read.returncode != 0 or not read.stdout.strip():
            found.append(f"{binary}: objdump read no symbol table: {read.stderr.strip()[-300:]}")
            continue
        references = GLIBC.findall(read.stdout)
        if not references:
            found.append(f"{binary}: no GLIBC_ reference in its symbol table, so what it asks of glibc is unknown")
        runtime = sorted(set(RUNTIME.findall(read.stdout)))
        if runtime:
            found.append(f"{binary} asks the system for {', '.join(runtime)}")
        newer = sorted(f"{symbol}@GLIBC_{version}" for version, symbol in references
                       if tuple(map(int, version.split("."))) > floor)
        if newer:
            found.append(f"{binary} asks for a glibc newer than {'.'.join(map(str, floor))}: {', '.join(newer)}")
    for name in (os.path.join(top, "README.txt"), readme):
        try:
            with open(name) as f:
                stated = set(re.findall(r"glibc ([0-9.]+) or newer", f.read()))
        except OSError as error:
            found.append(f"cannot read {name}: {error}")
            continue
        if stated != {".".join(map(str, floor))}:
            found.append(f"the tarball is for glibc {'.'.join(map(str, floor))}; {os.path.basename(name)} says {stated}")
    return found


def main():
    tarball, floor, readme = sys.argv[1], tuple(map(int, sys.argv[2].split("."))), sys.argv[3]
    with tempfile.TemporaryDirectory(prefix="kolvex-glibc-floor-") as unpacked:
        if subprocess.run(["tar", "-xzf", tarball, "-C", unpacked]).returncode != 0:
            sys.exit(f"FAILED: cannot unpack {tarball}")
        tops = os.listdir(unpacked)
        if len(tops) != 1:
            sys.exit(f"FAILED: {tarball} holds {tops}, not one folder")
        found = problems(os.path.join(unpacked, tops[0]), floor, readme)
        libraries = len(os.listdir(os.path.join(unpacked, tops[0], "lib")))
    for problem in found:
        print(f"FAILED: {problem}")
    if found:
        sys.exit(1)
    print(f"glibc floor: the program and its {libraries} libraries ask for glibc {sys.argv[2]} at most")


if __name__ == "__main__":
    main()
