#!/usr/bin/env python3
# Makes a zip or a .tar.gz again from the folder CPack staged it from, so that
# two builds of one commit give the same bytes: run by cmake/PackageFinish.cmake
# as `repack.py ARCHIVE STAGED_FOLDER EPOCH [TOP]` (TOP: the one folder the
# staged files go in), and by tests/package/repack-test.py.
import gzip
import os
import sys
import tarfile
import time
import zipfile


def entries(root, top):
    """Every folder and file under root, as (path inside the archive, path
    on disk), in one order whatever the file system lists first; under the
    folder top when one is given."""
    found = [(top, root)] if top else []
    for folder, dirs, files in os.walk(root):
        for name in dirs + files:
            full = os.path.join(folder, name)
            found.append((os.path.join(top, os.path.relpath(full, root)), full))
    return sorted(found)


def mode_of(path):
    # Only whether a file is a program survives: the builder's umask and
    # owner do not reach players.
    if os.path.isdir(path) or os.stat(path).st_mode & 0o111:
        return 0o755
    return 0o644


def write_zip(archive, root, epoch, top):
    # Zip times are local times without a zone: written as UTC, as the
    # same epoch gives the same fields on every builder.
    stamp = time.gmtime(max(epoch, 315532800))[:6]
    with zipfile.ZipFile(archive, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as out:
        for name, full in entries(root, top):
            is_dir = os.path.isdir(full)
            info = zipfile.ZipInfo(name + "/" if is_dir else name, stamp)
            info.create_system = 3
            info.external_attr = ((0o040000 if is_dir else 0o100000) | mode_of(full)) << 16
            if is_dir:
                out.writestr(info, b"")
            else:
                info.compress_type = zipfile.ZIP_DEFLATED
                with open(full, "rb") as data:
                    out.writestr(info, data.read())


def write_tar_gz(archive, root, epoch, top):
    with open(archive, "wb") as raw, gzip.GzipFile(filename="", mode="wb", fileobj=raw, mtime=0, compresslevel=9) as gz:
        with tarfile.open(fileobj=gz, mode="w", format=tarfile.GNU_FORMAT) as out:
            for name, full in entries(root, top):
                info = out.gettarinfo(full, name)
                info.uid = info.gid = 0
                info.uname = info.gname = "root"
                info.mtime = epoch
                if info.isreg():
                    info.mode = mode_of(full)
                    with open(full, "rb") as data:
                        out.addfile(info, data)
                else:
                    if info.isdir():
                        info.mode = 0o755
                    out.addfile(info)


def main():
    archive, root, epoch = sys.argv[1], sys.argv[2], int(sys.argv[3])
    top = sys.argv[4] if len(sys.argv) > 4 else ""
    if archive.endswith(".zip"):
        write_zip(archive, root, epoch, top)
    elif archive.endswith(".tar.gz"):
        write_tar_gz(archive, root, epoch, top)
    else:
        sys.exit(f"repack.py: {archive} is neither a zip nor a .tar.gz")


if __name__ == "__main__":
    main()
