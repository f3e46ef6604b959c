#!/usr/bin/python3
"""Makes the README's screenshots (menu, play, challenge, help) in docs/ by
running the shipped 32-bit build under Wine on a private display. Run it
through scripts/screenshots.sh, which builds the game first."""

import os
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
os.environ.setdefault("KOLVEX_WINE_RUN", os.path.join(ROOT, "cmake", "wine-run.sh"))
os.environ.setdefault("KOLVEX_BIN", os.path.join(ROOT, "build", "win32", "bin"))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))

import e2e  # noqa: E402


def save(origin, name):
    path = os.path.join(ROOT, "docs", f"{name}.png")
    e2e.screenshot(origin, name).save(path)
    print(path)


def main():
    os.makedirs(os.path.join(ROOT, "docs"), exist_ok=True)
    process, window = e2e.start_game()
    _, origin = e2e.client_origin(window)
    time.sleep(1.6)
    save(origin, "menu")

    e2e.keys(window, "Escape")
    for _ in range(5):
        e2e.keys(window, "Left", "space", "Right", "Right", "space")
    time.sleep(0.4)
    save(origin, "play")

    e2e.keys(window, "Escape", "Down", "Return")
    for _ in range(3):
        e2e.keys(window, "Left", "Left", "space", "Right", "Right", "Right", "space")
    e2e.keys(window, "Up", "Left", "space")  # an odd number of locks: the blocks are hidden
    time.sleep(0.4)
    save(origin, "challenge")

    e2e.keys(window, "Escape", "Down", "Down", "Return")
    time.sleep(3.5)
    save(origin, "help")

    e2e.keys(window, "Escape", "Escape")  # help -> play -> menu
    e2e.quit_from_menu(process, window)


if __name__ == "__main__":
    main()
