#!/usr/bin/python3
"""Measures Kolvex's start-up time under Wine against a yardstick: from
launching a program to its first frame on screen, for Kolvex.exe (the well's
walls drawn) and for minimal_wgl.exe (a bare OpenGL window like the game's),
launched in turn under the same Wine, and prints both medians and their
ratio. Needs the win32 build and a display (see ./play).
With --traced it times instead, from Wine's own trace, loading the program
to its first wglSwapBuffers: no screen grabs, so far less noise.
Usage: startup-time.py [--traced] [LAUNCHES_EACH]"""

import os
import re
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
os.environ.setdefault("KOLVEX_WINE_RUN", os.path.join(ROOT, "cmake", "wine-run.sh"))
os.environ.setdefault("KOLVEX_BIN", os.path.join(ROOT, "build", "win32", "bin"))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))

from PIL import ImageGrab  # noqa: E402

import e2e  # noqa: E402


def well(origin):
    x, y = origin
    left, top, right, bottom = e2e.WELL
    return ImageGrab.grab(bbox=(x + left, y + top, x + right, y + bottom), xdisplay=os.environ.get("DISPLAY"))


def lit(image):
    return e2e.lit_fraction(image, (0, 0) + image.size) > 0.02


def one_launch(program, title, origin, quit):
    # Start from a dark screen, so the last program's frame is not taken
    # for this one's.
    deadline = time.monotonic() + 10
    while lit(well(origin)):
        e2e.check(time.monotonic() < deadline, "the screen did not clear between launches")
        time.sleep(0.05)
    start = time.monotonic()
    process = e2e.wine(os.path.join(e2e.BIN, program))
    while not lit(well(origin)):
        e2e.check(process.poll() is None, f"{program} ended before its first frame")
        e2e.check(time.monotonic() - start < 30, f"no frame from {program} within 30 s")
    elapsed = time.monotonic() - start
    quit(process, e2e.wait_for_window(title))
    return elapsed


def traced_launch(program, title, origin, quit):
    """Seconds from Wine loading the program to its first buffer swap, by Wine's clock."""
    with tempfile.TemporaryFile("w+") as trace:
        env = {**os.environ, "KOLVEX_WINEDEBUG": "+timestamp,+loaddll,+wgl"}
        process = subprocess.Popen([e2e.WINE_RUN, os.path.join(e2e.BIN, program)], cwd=e2e.BIN, env=env,
                                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=trace)
        quit(process, e2e.wait_for_window(title, process=process))
        trace.seek(0)
        text = trace.read()
    loaded = re.search(r"^([0-9.]+):.*Loaded L\"[^\"]*" + re.escape(program), text, re.M)
    swapped = re.search(r"^([0-9.]+):.*wglSwapBuffers", text, re.M)
    e2e.check(loaded is not None and swapped is not None, f"no load or swap traced for {program}")
    return float(swapped.group(1)) - float(loaded.group(1))


def quit_reference(process, window):
    e2e.keys(window, "Escape")
    e2e.wait_exit(process)


def main():
    args = [a for a in sys.argv[1:] if a != "--traced"]
    measure = traced_launch if "--traced" in sys.argv else one_launch
    launches = int(args[0]) if args else 15
    # One launch of each first, untimed: it finds where the client area lies
    # (both programs make the same window at the same place) and leaves
    # neither program's files colder than the other's.
    process, window = e2e.start_game()
    _, origin = e2e.client_origin(window)
    e2e.quit_from_menu(process, window)
    programs = {
        "Kolvex.exe": ("^Kolvex$", e2e.quit_from_menu),
        "minimal_wgl.exe": ("^MinimalWGL$", quit_reference),
    }
    one_launch("minimal_wgl.exe", "^MinimalWGL$", origin, quit_reference)
    times = {program: [] for program in programs}
    # In turn, so that whatever else the machine does falls on both alike.
    for _ in range(launches):
        for program, (title, quit) in programs.items():
            times[program].append(measure(program, title, origin, quit))
    medians = {}
    for program, measured in times.items():
        medians[program] = statistics.median(measured)
        what = "load to first swap" if measure is traced_launch else "launch to first frame"
        print(f"{program:16} {what} (s): {' '.join(f'{t:.3f}' for t in measured)}"
              f"  median {medians[program]:.3f}")
    print(f"ratio Kolvex.exe / minimal_wgl.exe: {medians['Kolvex.exe'] / medians['minimal_wgl.exe']:.2f}"
          f" (medians of {launches})")


if __name__ == "__main__":
    main()
