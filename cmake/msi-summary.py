#!/usr/bin/env python3
# Gives a wixl-made installer the build's one time and its package code in its
# summary information, where wixl 0.101 writes the clock and a random code:
# run by cmake/PackageMsi.cmake as `msi-summary.py MSI EPOCH NAMESPACE NAME`,
# prints the package code it wrote.
import hashlib
import re
import struct
import subprocess
import sys
import uuid

# The summary information's property set (FMTID_SummaryInformation), as stored.
FMTID = bytes.fromhex("e0859ff2f94f6810ab9108002b27b3d9")
REVISION, CREATED, SAVED = 9, 12, 13  # the package code is the revision number
VT_LPSTR, VT_FILETIME = 30, 64


# The revision number while the installer's bytes are hashed: a code of the
# same length, so that only the code itself is left out of its own hash.
BLANK = "{00000000-0000-0000-0000-000000000000}"


def main():
    path, epoch, namespace, name = sys.argv[1], int(sys.argv[2]), uuid.UUID(sys.argv[3]), sys.argv[4]
    with open(path, "rb") as f:
        data = bytearray(f.read())
    # The stream is a few hundred bytes that wixl's writer lays out in one
    # run; its header is 28 bytes, then the FMTID and its section's offset.
    at = data.find(FMTID)
    if at < 28 or data.find(FMTID, at + 1) != -1:
        sys.exit(f"msi-summary.py: no single summary information in {path}")
    stream = at - 28
    section = stream + struct.unpack_from("<I", data, at + 16)[0]
    count = struct.unpack_from("<I", data, section + 4)[0]
    filetime = struct.pack("<Q", (epoch + 11644473600) * 10_000_000)
    revision = None
    done = set()
    for i in range(count):
        pid, offset = struct.unpack_from("<II", data, section + 8 + 8 * i)
        value = section + offset
        kind = struct.unpack_from("<I", data, value)[0]
        if pid in (CREATED, SAVED) and kind == VT_FILETIME:
            data[value + 4 : value + 12] = filetime
            done.add(pid)
        elif pid == REVISION and kind == VT_LPSTR:
            size = struct.unpack_from("<I", data, value + 4)[0]
            if size != len(BLANK) + 1:
                sys.exit(f"msi-summary.py: the revision number in {path} is {size} bytes, not {len(BLANK) + 1}")
            revision = value + 8
            done.add(pid)
    if done != {REVISION, CREATED, SAVED}:
        sys.exit(f"msi-summary.py: {path} lacks summary properties {sorted({REVISION, CREATED, SAVED} - done)}")
    # The package code names one set of installer bytes: it is made from all
    # of them (the WiX source, the icon, wixl's way of writing, the files),
    # with the build's time in and wixl's random code out.
    data[revision : revision + len(BLANK) + 1] = (BLANK + "\0").encode("ascii")
    code = "{" + str(uuid.uuid5(namespace, f"{name}\n{hashlib.sha256(data).hexdigest()}")).upper() + "}"
    data[revision : revision + len(code) + 1] = (code + "\0").encode("ascii")
    with open(path, "wb") as f:
        f.write(data)
    # Read back through msitools: had the stream not been in one run, this is
    # where it shows.
    info = subprocess.run(["msiinfo", "suminfo", path], capture_output=True, text=True, check=True).stdout
    if not re.search(r"^Revision number \(UUID\): " + re.escape(code) + "$", info, re.M):
        sys.exit(f"msi-summary.py: msiinfo does not read the package code back from {path}:\n{info}")
    print(code)


if __name__ == "__main__":
    main()
