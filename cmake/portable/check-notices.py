#!/usr/bin/python3
"""Checks that the portable tarball's licenses/ covers everything the portable
libraries' builds compiled, and the font. Run by ctest (portable.notices,
portable tier) and by hand after a version or option changes:
check-notices.py TARBALL THIRD_PARTY [--file PACKAGE COPYRIGHT PATH]..."""

# THIRD_PARTY is the folder build-libs.sh made; its builds.txt names each
# library's Debian package, sources, build folder and debian/copyright. Every
# file a build compiled (its compile_commands.json, with the .c files those
# include, from Ninja's dependency records) is traced to the last Files stanza
# of that copyright file that matches it. The stanza's licence (any one of an
# "or", every one of an "and") must have its text in a file of licenses/, its
# copyright holders must be named there, and where Debian's text only points
# to /usr/share/common-licenses, that full text must be shipped. A licence
# file that sits in a compiled file's folder, or a folder above it in the
# sources, must be shipped too (at least one of several: a choice). --file
# adds a file shipped as it is, such as the font, against its package's
# copyright file.

import json
import os
import re
import subprocess
import sys
import tarfile

SOURCE_SUFFIXES = (".c", ".cc", ".cpp", ".cxx", ".m", ".s", ".S")
# Licences that ask for nothing to travel with a binary: no holders to name.
NO_NOTICE = re.compile(r"^public-?domain", re.I)
POINTER = re.compile(r"On Debian systems,.*?/usr/share/common-licenses/([\w.+-]*[\w+])['\"]?\.?", re.S)
LICENCE_FILE = re.compile(r"^(licen[cs]e|copying)", re.I)
# Files a build writes and compiles, and the source file each is made from.
GENERATED = ((re.compile(r"wayland-generated-protocols/(.+)-protocol\.c$"), r"wayland-protocols/\1.xml"),)


def words(text):
    """The text as lower-case words only: layout, comment marks and
    Debian's paragraph dots do not count."""
    text = re.sub(r"(?m)^\s*\.\s*$", " ", text)
    return " " + " ".join(re.findall(r"[a-z0-9]+", text.lower())) + " "


class Copyright:
    """A machine-readable Debian copyright file: its Files stanzas in order
    and the text of every licence it names."""

    def __init__(self, path):
        self.path = path
        self.stanzas, self.texts = [], {}
        with open(path, encoding="utf-8") as f:
            paragraphs = re.split(r"\n[ \t]*\n", f.read())
        for paragraph in paragraphs:
            fields = self.fields(paragraph)
            if "License" not in fields:
                continue
            name, _, text = fields["License"].partition("\n")
            name = name.strip()
            if "Files" in fields:
                self.stanzas.append((fields["Files"].split(), fields.get("Copyright", ""), name, text))
            elif text.strip():
                self.texts[name.casefold()] = text

    @staticmethod
    def fields(paragraph):
        fields, key = {}, None
        for line in paragraph.splitlines():
            if line[:1] in (" ", "\t") and key:
                fields[key] += "\n" + line
            elif ":" in line and not line.startswith("#"):
                key, value = line.split(":", 1)
                fields[key] = value.strip()
        return fields

    def stanza(self, path):
        """The last stanza whose patterns match path, as Debian reads them."""
        found = None
        for stanza in self.stanzas:
            if any(re.fullmatch(re.escape(p).replace(r"\*", ".*").replace(r"\?", "."), path) for p in stanza[0]):
                found = stanza
        return found

    def text(self, name, stanza):
        if stanza[2] == name and stanza[3].strip():
            return stanza[3]
        return self.texts.get(name.casefold())


def alternatives(expression):
    """A licence expression as a list of choices, each a list of licences
    that all apply: "A or B, and C" is (A or B) and C; "and" binds before "or"."""
    groups = re.split(r",\s*(and|or)\s+", expression)
    result = [[]]
    for i in range(0, len(groups), 2):
        inner = [[n.strip() for n in re.split(r"\s+and\s+", choice)] for choice in re.split(r"\s+or\s+", groups[i])]
        if i == 0 or groups[i - 1] == "and":
            result = [a + b for a in result for b in inner]
        else:
            result += inner
    return result


class Shipped:
    def __init__(self, tarball):
        self.files = {}
        with tarfile.open(tarball) as tar:
            for member in tar.getmembers():
                path = member.name.split("/")
                if member.isfile() and len(path) == 3 and path[1] == "licenses":
                    self.files[path[2]] = words(tar.extractfile(member).read().decode("utf-8", "replace"))

    def holding(self, text):
        needle = words(text)
        return [name for name, hay in self.files.items() if needle in hay]


def ninja_deps(build):
    """Ninja's record of the files each object of the build read."""
    return subprocess.run(["ninja", "-C", build, "-t", "deps"], capture_output=True, text=True, check=True).stdout


def compiled_files(source, build):
    """Every file under source that the build compiled: the compile
    commands' files and the source files they include."""
    with open(os.path.join(build, "compile_commands.json")) as f:
        commands = json.load(f)
    files = {os.path.normpath(os.path.join(c["directory"], c["file"])) for c in commands}
    deps = ninja_deps(build)
    included = {os.path.normpath(os.path.join(build, line.strip())) for line in deps.splitlines()
                if line.startswith("    ") and line.strip().endswith(SOURCE_SUFFIXES)}
    if commands and not included:
        raise SystemExit(f"FAILED: {build} has no dependency records (was it built with Ninja?)")
    files |= included
    result, strange = set(), []
    for path in files:
        relative = os.path.relpath(path, source)
        if not relative.startswith("../"):
            result.add(relative)
            continue
        made = [m.expand(origin) for pattern, origin in GENERATED for m in [pattern.search(path)] if m]
        if made:
            result.add(made[0])
        else:
            strange.append(path)
    return result, strange


class Check:
    def __init__(self, shipped):
        self.shipped = shipped
        self.failures = []
        self.report = []

    def licence_texts(self, name, copyright, stanza):
        """The texts licenses/ must hold for one licence: Debian's, less a
        pointer to common-licenses, and the full text pointed to."""
        text = copyright.text(name, stanza)
        if text is None:
            return None
        texts = []
        for m in POINTER.finditer(text):
            pointed = f"/usr/share/common-licenses/{m.group(1)}"
            texts.append((pointed, read(pointed)))
        rest = POINTER.sub(" ", text)
        if words(rest).strip():
            texts.insert(0, (f"{name} in {copyright.path}", rest))
        return texts

    def missing_for(self, name, copyright, stanza):
        texts = self.licence_texts(name, copyright, stanza)
        if texts is None:
            return [f"{name}: {copyright.path} has no text for it"]
        return [f"{what}: not in licenses/" for what, text in texts if not self.shipped.holding(text)]

    def package(self, package, copyright, paths, source=None):
        counts = {}
        for path in sorted(paths):
            stanza = copyright.stanza(path)
            if stanza is None:
                self.failures.append(f"{package}: {path} is under no Files stanza of {copyright.path}")
                continue
            counts.setdefault((stanza[2], id(stanza)), [stanza, 0])[1] += 1
        for (expression, _), (stanza, count) in sorted(counts.items(), key=lambda item: item[0][0]):
            choices = alternatives(expression)
            misses = [[m for name in choice for m in self.missing_for(name, copyright, stanza)] for choice in choices]
            if all(misses):
                self.failures.append(f"{package}: {' '.join(stanza[0][:3])}: {expression}: "
                                     + "; ".join(m for miss in misses for m in miss))
            if not all(NO_NOTICE.match(name) for choice in choices for name in choice):
                for holder in holders_of(stanza[1]):
                    if not self.shipped.holding(holder):
                        self.failures.append(f"{package}: copyright holder '{holder}' is not named in licenses/")
            self.report.append(f"{package}: {count} files under {expression} ({' '.join(stanza[0][:2])})")
        if source is not None:
            self.folder_licences(package, source, paths)

    def folder_licences(self, package, source, paths):
        """Licence files beside the compiled files or above them."""
        folders = set()
        for path in paths:
            folder = os.path.dirname(path)
            while True:
                folders.add(folder)
                if not folder:
                    break
                folder = os.path.dirname(folder)
        for folder in sorted(folders):
            full = os.path.join(source, folder)
            if not os.path.isdir(full):
                continue
            found = sorted(f for f in os.listdir(full) if LICENCE_FILE.match(f) and os.path.isfile(os.path.join(full, f)))
            if not found:
                continue
            shipped = [f for f in found if self.shipped.holding(read(os.path.join(full, f)))]
            where = os.path.join(folder, "") if folder else "the top folder"
            if shipped:
                self.report.append(f"{package}: {where}: {', '.join(shipped)} shipped")
            else:
                self.failures.append(f"{package}: {where} holds {', '.join(found)}, and licenses/ has none of them")


def read(path):
    with open(path, encoding="utf-8", errors="replace") as f:
        return f.read()


def holders_of(copyright_field):
    names = []
    for line in copyright_field.splitlines():
        name = re.sub(r"^[\d\s,/\-]+", "", line.strip()).strip()
        if name and name != "." and name.lower() not in ("none", "none."):
            names.append(name)
    return names


def main(argv):
    if len(argv) < 3:
        print(__doc__)
        return 2
    tarball, third_party, extra = argv[1], argv[2], argv[3:]
    check = Check(Shipped(tarball))
    if not check.shipped.files:
        print(f"FAILED: {tarball} has no licenses/ folder")
        return 1
    with open(os.path.join(third_party, "builds.txt")) as f:
        builds = [line.split() for line in f if line.strip() and not line.startswith("#")]
    for package, source, build, copyright in builds:
        source = os.path.join(third_party, source)
        paths, strange = compiled_files(source, os.path.join(third_party, build))
        check.failures += [f"{package}: compiled {path}, which is not in its sources" for path in strange]
        check.package(package, Copyright(os.path.join(third_party, copyright)), paths, source)
    while extra:
        if extra[0] != "--file" or len(extra) < 4:
            print(__doc__)
            return 2
        package, copyright, path = extra[1:4]
        check.package(package, Copyright(copyright), [path])
        extra = extra[4:]
    for line in check.report:
        print(line)
    print(f"licenses/: {', '.join(sorted(check.shipped.files))}")
    for failure in check.failures:
        print(f"FAILED: {failure}")
    return 1 if check.failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
