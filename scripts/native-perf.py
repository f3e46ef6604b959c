#!/usr/bin/python3
"""The native game's performance in one run, as ratios: launch to first buffer
swap of kolvex against a minimal SDL GL window (median of 15 each, goal 1.2 or
below), frames per second on the menu, play, help and credits screens
against play, and play and help full screen against the window, all with the
frame pacing off (KOLVEX_UNPACED_FRAMES=1: as fast as frames can be drawn);
then the menu's frame rate and processor use with the pacing the game uses
where there is no vsync, as here, against none (goal: at most 25% of a core,
at least 30 frames a second). Builds the linux preset's game and helpers,
holds the build lock (nothing else runs meanwhile) and uses a private
1920 x 1080 Xvfb with openbox.
With --portable instead: the portable tarball's size, and the launch to first
swap of its kolvex (unpacked, started from another folder) against the linux
build's, median of 15 each (goal 1.1 or below)."""

import glob
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BIN = os.path.join(ROOT, "build", "linux", "bin")
os.environ.update(KOLVEX_PROGRAM="native", KOLVEX_BIN=BIN)
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))

import e2e  # noqa: E402

GAME = os.path.join(BIN, "kolvex")
YARDSTICK = os.path.join(BIN, "minimal_window_sdl")
COUNTER = os.path.join(BIN, "libswap_counter_sdl.so")
LAUNCHES = 15
SECONDS_PER_SCREEN = 3.0


SwapRecord = e2e.SwapRecord


def launch(program, record, end_at_first_swap, cwd=BIN, env=None, paced=False):
    env = dict(env or os.environ, LD_PRELOAD=COUNTER, KOLVEX_SWAP_RECORD=record.path)
    if not paced:
        env["KOLVEX_UNPACED_FRAMES"] = "1"
    if end_at_first_swap:
        env["KOLVEX_SWAP_EXIT"] = "1"
    record.reset()
    start = time.monotonic_ns()
    process = subprocess.Popen([program], cwd=cwd, env=env, stdin=subprocess.DEVNULL,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return start, process


def launch_ms(program, record, **where):
    start, process = launch(program, record, True, **where)
    process.wait(timeout=30)
    first = record.first_swap_ns()
    e2e.check(first != 0, f"{os.path.basename(program)} ended without a swap ({process.returncode})")
    return (first - start) / 1e6


def frames_per_second(record):
    swaps, start = record.swaps(), time.monotonic()
    time.sleep(SECONDS_PER_SCREEN)
    return (record.swaps() - swaps) / (time.monotonic() - start)


def cpu_share(process):
    """Share of one core the game used over a few seconds."""
    used, start = e2e.cpu_seconds(process.pid), time.monotonic()
    time.sleep(SECONDS_PER_SCREEN)
    return (e2e.cpu_seconds(process.pid) - used) / (time.monotonic() - start)


def screen_rates(record):
    _, process = launch(GAME, record, False)
    try:
        window = e2e.wait_for_window("^Kolvex$", process=process)
        time.sleep(1.0)
        rates = {"menu": frames_per_second(record)}
        # The credits picture shows while Q and V are held.
        e2e.run("xdotool", "windowfocus", "--sync", window)
        e2e.run("xdotool", "keydown", "q", "keydown", "v")
        time.sleep(0.3)
        rates["credits"] = frames_per_second(record)
        e2e.run("xdotool", "keyup", "v", "keyup", "q")
        e2e.keys(window, "Escape")
        time.sleep(0.3)
        rates["play"] = frames_per_second(record)
        # Back to the menu, down to its third entry.
        e2e.keys(window, "Escape", "Down", "Down", "Return")
        time.sleep(0.3)
        rates["help"] = frames_per_second(record)
        e2e.keys(window, "F11")
        e2e.wait_client_size(window, (1920, 1080))
        rates["help, full screen"] = frames_per_second(record)
        e2e.keys(window, "Escape")
        time.sleep(0.3)
        rates["play, full screen"] = frames_per_second(record)
        rates["cpu, full screen"] = cpu_share(process)
        e2e.run("xdotool", "windowminimize", "--sync", window)
        time.sleep(1.0)
        rates["cpu, minimised"] = cpu_share(process)
        return rates
    finally:
        process.kill()
        process.wait()


def menu_pacing(record):
    """The still menu's frames per second and processor share, paced and not."""
    figures = {}
    for paced in (False, True):
        _, process = launch(GAME, record, False, paced=paced)
        try:
            e2e.wait_for_window("^Kolvex$", process=process)
            time.sleep(1.0)
            figures[paced] = (frames_per_second(record), cpu_share(process))
        finally:
            process.kill()
            process.wait()
    return figures


def portable_startup(record):
    """The tarball unpacked into a temporary folder; its kolvex started from
    another folder, with its own SDL under the swap counter too."""
    tarball = glob.glob(os.path.join(ROOT, "build", "portable", "Kolvex-*-linux-*.tar.gz"))[0]
    unpacked = tempfile.mkdtemp(prefix="kolvex-portable-")
    try:
        subprocess.run(["tar", "-xzf", tarball, "-C", unpacked], check=True)
        folder = glob.glob(os.path.join(unpacked, "Kolvex-*"))[0]
        portable = os.path.join(folder, "kolvex")
        env = dict(os.environ, LD_LIBRARY_PATH=os.path.join(folder, "lib"))
        linux, tarred = [], []
        for _ in range(LAUNCHES):
            linux.append(launch_ms(GAME, record))
            tarred.append(launch_ms(portable, record, cwd=unpacked, env=env))
        print(f"tarball {os.path.basename(tarball)}: {os.path.getsize(tarball) / 1e6:.2f} MB (goal 5 or below)")
        print(f"launch to first swap, median of {LAUNCHES}: linux build {statistics.median(linux):.0f} ms, "
              f"portable {statistics.median(tarred):.0f} ms")
        print(f"  portable / linux: {statistics.median(tarred) / statistics.median(linux):.2f} (goal 1.1 or below)")
        print("  linux (ms):    " + " ".join(f"{t:.0f}" for t in linux))
        print("  portable (ms): " + " ".join(f"{t:.0f}" for t in tarred))
    finally:
        shutil.rmtree(unpacked, ignore_errors=True)


def main():
    if not os.environ.get("KOLVEX_LOCK_HELD"):
        os.execv(os.path.join(ROOT, "scripts", "locked"), [os.path.join(ROOT, "scripts", "locked"), *sys.argv])
    quiet = dict(stdout=subprocess.DEVNULL, cwd=ROOT, check=True)
    subprocess.run(["cmake", "--preset", "linux"], **quiet)
    subprocess.run(["cmake", "--build", "--preset", "linux", "--target", "kolvex", "minimal_window_sdl",
                    "swap_counter_sdl"], **quiet)
    if "--portable" in sys.argv:
        subprocess.run(["cmake", "--preset", "portable"], **quiet)
        subprocess.run(["cmake", "--build", "--preset", "portable", "--target", "package"], **quiet)

    display = e2e.private_display("1920x1080")
    manager = e2e.window_manager()
    record = SwapRecord()
    try:
        if "--portable" in sys.argv:
            portable_startup(record)
            return
        # Alternating, so both programs see the same machine.
        yardstick, game = [], []
        for _ in range(LAUNCHES):
            yardstick.append(launch_ms(YARDSTICK, record))
            game.append(launch_ms(GAME, record))
        ratio = statistics.median(game) / statistics.median(yardstick)
        print(f"launch to first swap, median of {LAUNCHES}: minimal SDL GL window "
              f"{statistics.median(yardstick):.0f} ms, kolvex {statistics.median(game):.0f} ms")
        print(f"  kolvex / minimal window: {ratio:.2f} (goal 1.2 or below)")
        print("  minimal window (ms): " + " ".join(f"{t:.0f}" for t in yardstick))
        print("  kolvex (ms):         " + " ".join(f"{t:.0f}" for t in game))

        pacing = menu_pacing(record)
        for paced, label in ((False, "unpaced"), (True, "paced")):
            fps, cpu = pacing[paced]
            print(f"menu, 800 x 600, {label:8} {fps:7.1f} fps, {cpu:.1%} of a core")
        print(f"  paced / unpaced processor use: {pacing[True][1] / pacing[False][1]:.2f}"
              " (goal: paced at most 25% of a core, at least 30 fps)")

        rates = screen_rates(record)
        print(f"frames per second over {SECONDS_PER_SCREEN:.0f} s each, and the ratio to play:")
        for screen in ("menu", "play", "help", "credits", "play, full screen", "help, full screen"):
            print(f"  {screen:17} {rates[screen]:7.1f} fps  {rates[screen] / rates['play']:.2f}")
        print(f"  help / play full screen: {rates['help, full screen'] / rates['play, full screen']:.2f}")
        print(f"processor use: {rates['cpu, full screen']:.1%} of a core playing full screen, "
              f"{rates['cpu, minimised']:.1%} minimised")
    finally:
        os.unlink(record.path)
        manager.kill()
        manager.wait()
        display.kill()
        display.wait()


if __name__ == "__main__":
    main()
