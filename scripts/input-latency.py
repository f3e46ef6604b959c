#!/usr/bin/python3
"""Input latency in one run: from a synthetic key press (XTest) to the first
change of the game window's pixels on the X server, for 60 presses of Left
and Right in turn at random intervals during play. Prints the median and the
90th percentile for the native game paced (as shipped) and unpaced
(KOLVEX_UNPACED_FRAMES=1) and for the Windows build under Wine (win32, or
win64 where the kernel runs no 32-bit programs), with the ratios paced /
unpaced and Wine / unpaced, and the processor share of a still play screen
at level 1. Each program gets a private Xvfb. Needs the linux build and a
Windows build; hold the build lock (scripts/locked) so nothing else runs.
With --native, only the native game as shipped, its figures on one line
(bench/page-timing.mjs prints them beside the page's)."""

import ctypes
import os
import random
import statistics
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BIN = os.path.join(ROOT, "build", "linux", "bin")
os.environ.update(KOLVEX_PROGRAM="native", KOLVEX_BIN=BIN)
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))

import e2e  # noqa: E402

PRESSES = 60
# The well, where the piece is; a gravity step lands inside a press's few
# milliseconds about once in a hundred presses, and would only shorten one.
REGION = e2e.WELL


class XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.c_void_p), ("byte_order", ctypes.c_int),
                ("bitmap_unit", ctypes.c_int), ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int)]


class Screen:
    """The X server's pixels of one box, read as the server has them."""

    def __init__(self, box):
        self.x11 = ctypes.CDLL("libX11.so.6")
        self.xtest = ctypes.CDLL("libXtst.so.6")
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x11.XDefaultRootWindow.restype = ctypes.c_ulong
        self.x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        self.x11.XGetImage.restype = ctypes.POINTER(XImage)
        self.x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                                       ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        self.x11.XDestroyImage.argtypes = [ctypes.POINTER(XImage)]
        self.x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        self.x11.XStringToKeysym.restype = ctypes.c_ulong
        self.x11.XStringToKeysym.argtypes = [ctypes.c_char_p]
        self.x11.XFlush.argtypes = self.x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self.xtest.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
        self.display = self.x11.XOpenDisplay(None)
        e2e.check(self.display is not None, "cannot open the display")
        self.root = self.x11.XDefaultRootWindow(self.display)
        self.box = box

    def pixels(self):
        x0, y0, x1, y1 = self.box
        image = self.x11.XGetImage(self.display, self.root, x0, y0, x1 - x0, y1 - y0, 0xFFFFFFFF, 2)  # ZPixmap
        data = ctypes.string_at(image.contents.data, image.contents.bytes_per_line * image.contents.height)
        self.x11.XDestroyImage(image)
        return data

    def press(self, key):
        code = self.x11.XKeysymToKeycode(self.display, self.x11.XStringToKeysym(key.encode()))
        self.xtest.XTestFakeKeyEvent(self.display, code, 1, 0)
        self.xtest.XTestFakeKeyEvent(self.display, code, 0, 0)
        self.x11.XFlush(self.display)

    def close(self):
        self.x11.XCloseDisplay(self.display)


def measure(name, start):
    """Starts a program with start() on a private display, closes the menu and
    times PRESSES key presses; returns the latencies in ms, the process and
    the display's server."""
    server = e2e.private_display()
    try:
        process, window = start()
        _, origin = e2e.client_origin(window)
        e2e.keys(window, "Escape")
        time.sleep(0.8)
        box = (origin[0] + REGION[0], origin[1] + REGION[1], origin[0] + REGION[2], origin[1] + REGION[3])
        screen = Screen(box)
        latencies = []
        random.seed(7)
        for i in range(PRESSES):
            time.sleep(random.uniform(0.08, 0.25))
            before = screen.pixels()
            screen.press("Left" if i % 2 == 0 else "Right")
            pressed = time.monotonic()
            while True:
                now = screen.pixels()
                if now != before:
                    break
                e2e.check(time.monotonic() - pressed < 2.0, f"{name}: a press changed nothing in 2 s")
            latencies.append((time.monotonic() - pressed) * 1000)
        screen.close()
        return latencies, process, server
    except BaseException:
        end(server)
        raise


def end(server):
    # The program and what it started, by their ids (e2e.py keeps them), so
    # that another run's game is left alone; then its display.
    e2e.end_games()
    server.kill()
    server.wait()


def summary(latencies):
    return statistics.median(latencies), statistics.quantiles(latencies, n=10)[-1]


def native(paced):
    def start():
        if not paced:
            os.environ["KOLVEX_UNPACED_FRAMES"] = "1"
        else:
            os.environ.pop("KOLVEX_UNPACED_FRAMES", None)
        return e2e.start_game()
    return start


def main():
    subprocess.run([os.path.join(ROOT, "scripts", "locked"), "cmake", "--build", "--preset", "linux"], check=True,
                   stdout=subprocess.DEVNULL)
    if "--native" in sys.argv[1:]:
        latencies, _, server = measure("native", native(True))
        end(server)
        median, p90 = summary(latencies)
        print(f"native: key to frame, median {median:.1f} ms, 90th percentile {p90:.1f} ms over {PRESSES} keys")
        return
    results = {}
    for name, paced in (("native paced", True), ("native unpaced", False)):
        latencies, process, server = measure(name, native(paced))
        if paced:
            # A still play screen at level 1: no key, nothing but gravity.
            used, start = e2e.cpu_seconds(process.pid), time.monotonic()
            time.sleep(5.0)
            still = (e2e.cpu_seconds(process.pid) - used) / (time.monotonic() - start)
        end(server)
        os.environ.pop("KOLVEX_UNPACED_FRAMES", None)
        results[name] = summary(latencies)

    wine_run = os.path.join(ROOT, "cmake", "wine-run.sh")
    env_check = subprocess.run(["bash", "-c", f". {ROOT}/cmake/wine-env.sh; kolvex_wine_runs_32bit && echo 32"],
                               capture_output=True, text=True).stdout.strip()
    windows = "win32" if env_check == "32" else "win64"
    windows_bin = os.path.join(ROOT, "build", windows, "bin")
    if os.path.exists(os.path.join(windows_bin, "Kolvex.exe")):
        e2e.NATIVE = False
        e2e.WINE_RUN = wine_run
        e2e.GAME = "Kolvex.exe"
        e2e.BIN = windows_bin
        os.environ["KOLVEX_ROOT"] = ROOT
        latencies, _, server = measure(f"Windows ({windows}) under Wine", lambda: e2e.start_game(cwd=windows_bin))
        end(server)
        results[f"Windows ({windows}) under Wine"] = summary(latencies)

    for name, (median, p90) in results.items():
        print(f"{name:28} median {median:5.1f} ms, 90th percentile {p90:5.1f} ms")
    paced, unpaced = results["native paced"], results["native unpaced"]
    print(f"paced / unpaced: median {paced[0] / unpaced[0]:.2f} (goal 1.2 or below), "
          f"90th percentile {paced[1] / unpaced[1]:.2f} (goal 1.3 or below)")
    for name, (median, p90) in results.items():
        if name.startswith("Windows"):
            print(f"Wine / unpaced: median {median / unpaced[0]:.2f}, 90th percentile {p90 / unpaced[1]:.2f}")
    print(f"still play screen at level 1: {still:.1%} of a core (goal 3% or below)")


if __name__ == "__main__":
    main()
