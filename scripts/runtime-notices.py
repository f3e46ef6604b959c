#!/usr/bin/python3
"""Lists the licence of every runtime part linked into the Windows programs,
and checks that the notices shipped with them cover it. Run by ctest
(package.notices, win32 and win64 presets) and by hand when a dependency
changes: runtime-notices.py Kolvex.map Morvane.map THIRD-PARTY.txt-or-zip,
with KOLVEX_OBJDUMP naming the cross objdump.

Every archive member a link map names is traced to its source file (the
member's own debugging information) and that file to its licence in the
Debian copyright file of the package the archive comes from. A licence that
asks for its notice must be in THIRD-PARTY.txt, text and copyright holders."""

import fnmatch
import functools
import os
import re
import subprocess
import sys
import tempfile
import zipfile

OBJDUMP = os.environ["KOLVEX_OBJDUMP"]
# Import libraries' members are stubs that name a system DLL's function.
IMPORT_STUB = re.compile(r"^(lib\w+?(s\d+|h|t)|\w+_d\d+|lib\w+_(defs\d+|defh|deft))\.o$")
# Licences that ask for nothing to travel with a binary.
NO_NOTICE = re.compile(r"^public-domain")


def words(text):
    return " ".join(text.split()).lower()


def linked_members(map_path):
    """(archive or object, member or None) for every input the linker loaded."""
    with open(map_path, errors="replace") as f:
        text = f.read()
    inputs = set()
    section = text.split("Archive member included to satisfy reference by file (symbol)", 1)[1]
    section = re.split(r"\n(Discarded input sections|Allocating common symbols|Memory Configuration)", section)[0]
    for line in section.splitlines():
        m = re.match(r"^(\S+)\((\S+)\)$", line)
        if m:
            inputs.add((m.group(1), m.group(2)))
    for m in re.finditer(r"^LOAD (\S+\.o)$", text, re.M):
        inputs.add((m.group(1), None))
    # The build passes its own files by relative paths, the system's by absolute ones.
    return {(os.path.realpath(path), member) for path, member in inputs if os.path.isabs(path)}


def source_of(path, member):
    """The compile unit's file name the object's DWARF records, or None."""
    with tempfile.TemporaryDirectory() as scratch:
        if member is not None:
            obj = os.path.join(scratch, "member.o")
            with open(obj, "wb") as out:
                subprocess.run(["ar", "p", path, member], stdout=out, check=True)
        else:
            obj = path
        info = subprocess.run([OBJDUMP, "--dwarf=info", obj], capture_output=True, text=True).stdout
    m = re.search(r"DW_TAG_compile_unit.*?DW_AT_name\s*:\s*(?:\(indirect (?:line )?string, offset: \S+\):\s*)?(\S+)",
                  info, re.S)
    return m.group(1) if m else None


@functools.lru_cache(maxsize=None)
def owning_package(path):
    out = subprocess.run(["dpkg", "-S", path], capture_output=True, text=True)
    if out.returncode != 0:
        return None
    return out.stdout.split(":")[0]


class Copyright:
    """A machine-readable Debian copyright file: its Files stanzas in order,
    and the full text of every licence."""

    def __init__(self, path):
        self.stanzas, self.texts = [], {}
        with open(path) as f:
            paragraphs = f.read().split("\n\n")
        for paragraph in paragraphs:
            fields = self.fields(paragraph)
            if "License" not in fields:
                continue
            name, _, text = fields["License"].partition("\n")
            if text.strip():
                self.texts[name.strip()] = text
            if "Files" in fields:
                self.stanzas.append((fields["Files"].split(), fields.get("Copyright", ""), name.strip()))

    @staticmethod
    def fields(paragraph):
        fields, key = {}, None
        for line in paragraph.splitlines():
            if line[:1] in (" ", "\t") and key:
                fields[key] += "\n" + ("" if line.strip() == "." else line.strip())
            elif ":" in line:
                key, value = line.split(":", 1)
                fields[key] = value.strip()
        return fields

    def licence(self, source):
        """(copyright, licence name) of the last stanza matching source."""
        found = None
        for patterns, holders, name in self.stanzas:
            if any(fnmatch.fnmatchcase(source, p) for p in patterns):
                found = (holders, name)
        return found

    def starting_with(self, prefix):
        return [(holders, name) for patterns, holders, name in self.stanzas if any(p.startswith(prefix) for p in patterns)]


def holders_of(copyright_field):
    """The copyright holders' names, years and ranges taken off."""
    names = []
    for line in copyright_field.splitlines():
        name = re.sub(r"^[\d\s,/\-]+", "", line.strip())
        if name:
            names.append(name)
    return names


def needed_notices(maps, gcc_packages):
    needed, unknown, report = {}, [], {}
    copyrights = {}
    for map_path in maps:
        for path, member in sorted(linked_members(map_path)):
            package = owning_package(path)
            label = f"{os.path.basename(path)}({member})" if member else os.path.basename(path)
            if package is None:
                unknown.append(f"{label}: from {path}, which no Debian package owns")
                continue
            if package.startswith(gcc_packages):
                continue  # GCC's runtime libraries: the runtime library exception
            if member is not None and IMPORT_STUB.match(member):
                continue
            source = source_of(path, member)
            if source is None:
                unknown.append(f"{label}: no source file recorded")
                continue
            source = source.removeprefix("./")
            if package not in copyrights:
                copyrights[package] = Copyright(f"/usr/share/doc/{package}/copyright")
            copyright = copyrights[package]
            found = [copyright.licence(source)]
            # A library's sources are all compiled with its own headers.
            library = re.match(r"^(mingw-w64-libraries/[^/]+/)", source)
            if library:
                found += copyright.starting_with(library.group(1) + "include/")
            for item in found:
                if item is None:
                    unknown.append(f"{label}: {source} has no licence in {package}'s copyright file")
                    continue
                holders, name = item
                report.setdefault(f"{source}: {name}", set()).add(os.path.basename(map_path))
                if not NO_NOTICE.match(name):
                    needed.setdefault((name, copyright.texts.get(name, "")), set()).update(holders_of(holders))
    return needed, unknown, report


def main():
    shipped = sys.argv[-1]
    maps = sys.argv[1:-1]
    if shipped.endswith(".zip"):
        with zipfile.ZipFile(shipped) as z:
            names = [n for n in z.namelist() if n.endswith("/THIRD-PARTY.txt")]
            if not names:
                print(f"FAILED: {shipped} carries no THIRD-PARTY.txt")
                return 1
            notices = z.read(names[0]).decode("utf-8")
    else:
        with open(shipped, encoding="utf-8") as f:
            notices = f.read()
    needed, unknown, report = needed_notices(maps, ("gcc-mingw-w64", "g++-mingw-w64"))
    for line, maps_seen in sorted(report.items()):
        print(f"{line} ({', '.join(sorted(maps_seen))})")
    failures = list(unknown)
    shipped_words = words(notices)
    for (name, text), holders in sorted(needed.items()):
        if not text.strip():
            failures.append(f"{name}: no licence text in the copyright file to compare")
        elif words(text) not in shipped_words:
            failures.append(f"{name}: its text is not in THIRD-PARTY.txt")
        for holder in sorted(holders):
            if words(holder) not in shipped_words:
                failures.append(f"{name}: copyright holder '{holder}' is not named in THIRD-PARTY.txt")
    print(f"notices needed: {', '.join(sorted(name for name, _ in needed))}")
    for failure in failures:
        print(f"FAILED: {failure}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
