#!/usr/bin/env python3
"""The release notes a built .deb carries: its changelog and AppStream
releases list the same releases, newest first, the newest being the package's
own version, each under its own number and date, the previous patch release
among them. Run by the linux preset's package tests: release-notes.py DEB VERSION."""
import email.utils
import gzip
import io
import re
import subprocess
import sys
import tarfile
import xml.etree.ElementTree as ET

deb, version = sys.argv[1], sys.argv[2]
tree = subprocess.run(["dpkg-deb", "--fsys-tarfile", deb], check=True, capture_output=True).stdout
with tarfile.open(fileobj=io.BytesIO(tree)) as tar:
    changelog = gzip.decompress(tar.extractfile("./usr/share/doc/kolvex/changelog.gz").read()).decode()
    metainfo = tar.extractfile("./usr/share/metainfo/io.github.kolvex.kolvex.metainfo.xml").read()

versions = re.findall(r"^kolvex \(([^)]+)\)", changelog, re.M)
days = [email.utils.parsedate_to_datetime(d).date().isoformat() for d in re.findall(r"^ -- .*>  (.+)$", changelog, re.M)]
releases = [(r.get("version"), r.get("date")) for r in ET.fromstring(metainfo).iter("release")]
problems = []
if list(zip(versions, days)) != releases:
    problems.append(f"changelog {list(zip(versions, days))} and AppStream {releases} disagree")
if not versions or versions[0] != version:
    problems.append(f"the newest entry is {versions[:1]}, not {version}")
key = lambda v: tuple(int(n) for n in v.split("."))
if [key(v) for v in versions] != sorted({key(v) for v in versions}, reverse=True):
    problems.append(f"entries not one per release, newest first: {versions}")
major, minor, patch = key(version)
if patch > 0 and f"{major}.{minor}.{patch - 1}" not in versions:
    problems.append(f"the previous release {major}.{minor}.{patch - 1} has no entry of its own: {versions}")
print("\n".join(problems) or f"release notes: {', '.join(f'{v} ({d})' for v, d in zip(versions, days))}")
sys.exit(1 if problems else 0)
