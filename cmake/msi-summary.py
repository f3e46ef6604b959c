#!/usr/bin/env python3
# Gives a wixl-made installer the build's one time and its package code in its
# summary information, where wixl 0.101 writes the clock and a random code:
# run by cmake/PackageMsi.cmake as `msi-summary.py MSI EPOCH {PACKAGE-CODE}`.
import re
import struct
import subprocess
import sys

# The summary information's property set (FMTID_SummaryInformation), as stored.
FMTID = bytes.fromhex("e0859ff2f94f6810ab9108002b27b3d9")
REVISION, CREATED, SAVED = 9, 12, 13  # the package code is the revision number
VT_LPSTR, VT_FILETIME = 30, 64


def main():
    path, epoch, code = sys.argv[1], int(sys.argv[2]), sys.argv[3].upper()
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
            text = (code + "\0").encode("ascii")
            if size != len(text):
                sys.exit(f"msi-summary.py: the revision number in {path} is {size} bytes, not {len(text)}")
            data[value + 8 : value + 8 + size] = text
            done.add(pid)
    if done != {REVISION, CREATED, SAVED}:
        sys.exit(f"msi-summary.py: {path} lacks summary properties {sorted({REVISION, CREATED, SAVED} - done)}")
    with open(path, "wb") as f:
        f.write(data)
    # Read back through msitools: had the stream not been in one run, this is
    # where it shows.
    info = subprocess.run(["msiinfo", "suminfo", path], capture_output=True, text=True, check=True).stdout
    if not re.search(r"^Revision number \(UUID\): " + re.escape(code) + "$", info, re.M):
        sys.exit(f"msi-summary.py: msiinfo does not read the package code back from {path}:\n{info}")


if __name__ == "__main__":
    main()
