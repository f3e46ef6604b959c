#!/usr/bin/python3
"""Measures Kolvex's start-up time under Wine: from launching Kolvex.exe to
the first frame on screen (the well's walls drawn), over several launches,
and prints the median. Needs the win32 build and a display (see ./play)."""

import os
import statistics
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
os.environ.setdefault("KOLVEX_WINE_RUN", os.path.join(ROOT, "cmake", "wine-run.sh"))
os.environ.setdefault("KOLVEX_BIN", os.path.join(ROOT, "build", "win32", "bin"))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))

import e2e  # noqa: E402


def one_launch():
    start = time.monotonic()
    process = e2e.wine(os.path.join(e2e.BIN, "Kolvex.exe"))
    window = e2e.wait_for_window("^Kolvex$")
    _, origin = e2e.client_origin()
    while True:
        if e2e.lit_fraction(e2e.screenshot(origin, "startup"), e2e.WELL) > 0.02:
            break
    elapsed = time.monotonic() - start
    e2e.quit_from_menu(process, window)
    return elapsed


def main():
    launches = int(sys.argv[1]) if len(sys.argv) > 1 else 7
    times = [one_launch() for _ in range(launches)]
    print("launch to first frame (s):", " ".join(f"{t:.2f}" for t in times))
    print(f"median {statistics.median(times):.2f} s over {launches} launches")


if __name__ == "__main__":
    main()
