#!/usr/bin/env python3
# cmake/repack.py on made-up staged folders: what a builder's clock, umask and
# owner leave on the files must not reach the zip or the tarball. Registered
# by tests/package/CMakeLists.txt for host builds.
import os
import subprocess
import sys
import tarfile
import tempfile
import zipfile

REPACK = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "cmake", "repack.py")
EPOCH = 1796821402
failures = []


def stage(root, mtime, umask, names):
    """A staged release: a program, a text and a library in a folder."""
    old = os.umask(umask)
    try:
        for name in names:
            path = os.path.join(root, name)
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, "w") as f:
                f.write(name)
            if name == "kolvex":
                os.chmod(path, 0o777 & ~umask)
    finally:
        os.umask(old)
    for folder, dirs, files in os.walk(root):
        for name in dirs + files:
            os.utime(os.path.join(folder, name), (mtime, mtime))


def repack(archive, root):
    subprocess.run([sys.executable, REPACK, archive, root, str(EPOCH), "Kolvex-1.0.2"], check=True)
    with open(archive, "rb") as f:
        return f.read()


with tempfile.TemporaryDirectory() as work:
    names = ["kolvex", "README.txt", "lib/libSDL2-2.0.so.0"]
    one, two = os.path.join(work, "one"), os.path.join(work, "two")
    stage(one, 1000000000, 0o022, names)
    stage(two, 1700000000, 0o002, list(reversed(names)))
    for suffix in ("zip", "tar.gz"):
        first = repack(os.path.join(work, "a." + suffix), one)
        second = repack(os.path.join(work, "b." + suffix), two)
        # Another clock and umask, files made in another order: the same bytes.
        if first != second:
            failures.append(f"two stagings of one release give two different {suffix} files")

    # Everything in the one top folder, the folder itself first.
    with zipfile.ZipFile(os.path.join(work, "a.zip")) as z:
        if [n for n in z.namelist() if not n.startswith("Kolvex-1.0.2/")] or z.namelist()[0] != "Kolvex-1.0.2/":
            failures.append(f"the zip's entries are not all in its top folder: {z.namelist()}")

    # Entries sorted by name, whatever order the file system lists them in.
    with tarfile.open(os.path.join(work, "a.tar.gz")) as tar:
        listed = tar.getnames()
        members = tar.getmembers()
    if listed != sorted(listed):
        failures.append(f"the tarball's entries are not in name order: {listed}")
    with zipfile.ZipFile(os.path.join(work, "a.zip")) as z:
        if z.namelist() != sorted(z.namelist()):
            failures.append(f"the zip's entries are not in name order: {z.namelist()}")

    # Root's files, the build's time, a program runnable and a text not.
    for m in members:
        if (m.uid, m.gid, m.uname, m.gname, m.mtime) != (0, 0, "root", "root", EPOCH):
            failures.append(f"{m.name}: owner {m.uname}:{m.gname} ({m.uid}:{m.gid}), time {m.mtime}")
    modes = {m.name: m.mode for m in members}
    if (modes.get("Kolvex-1.0.2/kolvex"), modes.get("Kolvex-1.0.2/README.txt")) != (0o755, 0o644):
        failures.append(f"modes: {modes}")

    # gzip's header carries neither a time nor a file name (bytes 3 to 7).
    with open(os.path.join(work, "a.tar.gz"), "rb") as f:
        header = f.read(10)
    if header[3] != 0 or header[4:8] != b"\0\0\0\0":
        failures.append(f"the tarball's gzip header carries a name or a time: {header.hex()}")

for failure in failures:
    print("FAILED:", failure)
print("repack: %d failure(s)" % len(failures))
sys.exit(1 if failures else 0)
