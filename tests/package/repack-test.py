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
EPOCH, TOP = 1796821402, "Kolvex-1.0.2"
NAMES = ["kolvex", "README.txt", "lib/libSDL2-2.0.so.0"]


def stage(root, mtime, umask, names):
    """A staged release (a program, a text, a library in a folder), made
    with the given umask and file order and left with the given time."""
    old = os.umask(umask)
    for name in names:
        path = os.path.join(root, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w") as f:
            f.write(name)
        if name == "kolvex":
            os.chmod(path, 0o777 & ~umask)
    os.umask(old)
    for folder, dirs, files in os.walk(root):
        for name in dirs + files:
            os.utime(os.path.join(folder, name), (mtime, mtime))


def repack(archive, root):
    subprocess.run([sys.executable, REPACK, archive, root, str(EPOCH), TOP], check=True)
    with open(archive, "rb") as f:
        return f.read()


with tempfile.TemporaryDirectory() as work:
    one, two = os.path.join(work, "one"), os.path.join(work, "two")
    stage(one, 1000000000, 0o022, NAMES)
    stage(two, 1700000000, 0o002, list(reversed(NAMES)))
    zip_a, tar_a = os.path.join(work, "a.zip"), os.path.join(work, "a.tar.gz")
    same = {suffix: repack(os.path.join(work, "a." + suffix), one) == repack(os.path.join(work, "b." + suffix), two)
            for suffix in ("zip", "tar.gz")}
    with zipfile.ZipFile(zip_a) as z:
        zip_names = z.namelist()
    with tarfile.open(tar_a) as tar:
        members = tar.getmembers()
    with open(tar_a, "rb") as f:
        gzip_header = f.read(10)
    modes = {m.name: m.mode for m in members}
    owners = {(m.uid, m.gid, m.uname, m.gname, m.mtime) for m in members}

# What each check guards against, and whether it holds.
checks = [
    ("another clock, umask and file order give another zip", same["zip"]),
    ("another clock, umask and file order give another tarball", same["tar.gz"]),
    (f"the zip's entries are not all in its top folder, that first: {zip_names}",
     zip_names[0] == TOP + "/" and all(n.startswith(TOP + "/") for n in zip_names)),
    (f"the zip's entries are not in name order: {zip_names}", zip_names == sorted(zip_names)),
    (f"the tarball's entries are not in name order: {[m.name for m in members]}",
     [m.name for m in members] == sorted(m.name for m in members)),
    (f"the tarball's owners or times are the builder's: {owners}", owners == {(0, 0, "root", "root", EPOCH)}),
    (f"a program is not runnable, or a text is: {modes}",
     (modes.get(TOP + "/kolvex"), modes.get(TOP + "/README.txt")) == (0o755, 0o644)),
    # gzip's flags (no name) and time fields, bytes 3 to 7.
    (f"the tarball's gzip header carries a name or a time: {gzip_header.hex()}", gzip_header[3:8] == b"\0" * 5),
]
failures = [what for what, holds in checks if not holds]
for failure in failures:
    print("FAILED:", failure)
print("repack: %d failure(s)" % len(failures))
sys.exit(1 if failures else 0)
