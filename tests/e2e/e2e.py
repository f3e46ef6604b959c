#!/usr/bin/python3
"""End-to-end scenarios: Kolvex.exe under Wine on the test display, or the
native kolvex (KOLVEX_PROGRAM=native) on a private Xvfb of its own, driven
with xdotool through XTEST and judged by window lookups, screenshots, exit
codes and the games' standard error (a sanitizer's report, a fault Wine
reports). ctest runs one scenario per test: e2e.py SCENARIO."""

import ctypes
import glob
import mmap
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import zipfile

from PIL import Image

BIN = os.environ.get("KOLVEX_BIN", os.getcwd())
NATIVE = os.environ.get("KOLVEX_PROGRAM") == "native"
WINE_RUN = "" if NATIVE else os.environ["KOLVEX_WINE_RUN"]
GAME = "kolvex" if NATIVE else "Kolvex.exe"
GAME_FILES = ("kolvex",) if NATIVE else ("Kolvex.exe", "Morvane.dll")
QVPACK = os.environ.get("KOLVEX_QVPACK", "")
ART = os.environ.get("KOLVEX_ART", "")
WARNING_CAPTION = '"Kolvex" 警告!'

# Where things land in the 800 x 600 client area (perspective of 45 degrees,
# 4:3): one well cell is about 24 px, the well spans columns 352-593 and rows
# 71-553, and the next-piece preview sits up and to the right of it.
WELL = (352, 71, 593, 553)
# Menu entries 2-4 (entry 1 blinks while selected): banners 4 x 2 units at
# z -24, left of the centre.
MENU_BANNERS = (75, 212, 185, 448)
# The sound-off notice starts near the top-left corner.
NOTICE = (0, 22, 220, 44)


class Failure(Exception):
    pass


class Skip(Exception):
    """What the scenario needs cannot be had on this machine: said, exit 77."""


def check(condition, message):
    if not condition:
        raise Failure(message)


def run(*args, **kw):
    return subprocess.run(args, capture_output=True, text=True, **kw)


# The games this scenario started, and where their standard error went.
games = []


# What picks the native game's language; a scenario names the ones it wants.
LANGUAGE_VARIABLES = ("LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG", "LOCPATH")


def wine(*args, cwd=BIN, language=None):
    """The game (or another program) started, under Wine unless NATIVE, its
    standard error into a file (a Wine service it starts may keep a pipe it
    inherits open long after the program has ended). The native game gets
    only the language variables in `language`: whatever the test's own
    locale, it is the original game unless a scenario asks for another."""
    env = None
    if NATIVE:
        env = {name: value for name, value in os.environ.items() if name not in LANGUAGE_VARIABLES}
        env.update(language or {})
        if os.environ.get("KOLVEX_GAME_PRELOAD"):
            env["LD_PRELOAD"] = os.environ["KOLVEX_GAME_PRELOAD"]
    with tempfile.NamedTemporaryFile(prefix="kolvex-e2e-stderr-", delete=False) as log:
        process = subprocess.Popen([*args] if NATIVE else [WINE_RUN, *args], cwd=cwd, env=env,
                                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=log)
    games.append((process, log.name))
    return process


def said_by(log):
    with open(log, errors="replace") as f:
        return f.read()


# What Wine writes when a program's exception goes unhandled. The exit code
# may still be the one expected, but on a desktop the debugger it starts is a
# crash dialog in the player's face.
WINE_FAULT_LINES = ("Unhandled page fault", "Unhandled exception", "starting debugger")


def wine_faults(text):
    """The lines of a Windows program's standard error that tell of a fault."""
    return [line for line in text.splitlines() if any(fault in line for fault in WINE_FAULT_LINES)]


def no_wine_fault():
    """Under Wine, no game this scenario started faulted, whatever it ended with."""
    if NATIVE:
        return
    for process, log in games:
        faults = wine_faults(said_by(log))
        check(not faults, f"Wine reported a fault (the program ended with {process.returncode}):\n" + "\n".join(faults))


def private_display(size="1024x768"):
    """A display of the native scenario's own, so no desktop or other run is in the picture."""
    read, write = os.pipe()
    # -noreset: when its last client leaves, an X server resets and refuses
    # connections for a moment; the message box opens its window just after
    # the game's closed, as the only client, and would find no display.
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", size + "x24", "-nolisten", "tcp",
                               "-noreset"],
                              pass_fds=(write,), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL)
    os.close(write)
    with os.fdopen(read) as f:
        number = f.readline().strip()
    check(number != "", "Xvfb did not start")
    os.environ["DISPLAY"] = ":" + number
    return server


def window_manager():
    """openbox on the display: frames, focus, maximise, full screen and minimise as on a desktop."""
    # Without its minimise animation, so that a window restored is at once
    # where it stays and a scenario can time what it shows.
    config = os.path.join(tempfile.gettempdir(), "kolvex-e2e-openbox.xml")
    with open(config, "w") as f:
        f.write('<openbox_config xmlns="http://openbox.org/3.4/rc">'
                '<theme><animateIconify>no</animateIconify></theme></openbox_config>\n')
    manager = subprocess.Popen(["openbox", "--sm-disable", "--config-file", config], stdin=subprocess.DEVNULL,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    deadline = time.time() + 10
    while run("wmctrl", "-m").returncode != 0:
        check(time.time() < deadline and manager.poll() is None, "openbox did not start")
        time.sleep(0.1)
    return manager


def xlib():
    x11 = ctypes.CDLL("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
    x11.XFlush.argtypes = x11.XCloseDisplay.argtypes = x11.XAutoRepeatOff.argtypes = [ctypes.c_void_p]
    return x11


def key_repeat_off():
    """The X server repeats a key held past 660 ms; a step that holds one
    across slow work must see only the presses it makes."""
    x11 = xlib()
    display = x11.XOpenDisplay(None)
    check(display is not None, "cannot open the display")
    x11.XAutoRepeatOff(display)
    x11.XCloseDisplay(display)


def send_close_request(window):
    """What a window manager's close button sends: WM_PROTOCOLS with WM_DELETE_WINDOW."""
    x11 = xlib()

    class ClientMessage(ctypes.Structure):
        _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                    ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                    ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]

    class Event(ctypes.Union):
        _fields_ = [("xclient", ClientMessage), ("pad", ctypes.c_long * 24)]

    display = x11.XOpenDisplay(None)
    check(display is not None, "cannot open the display")
    event = Event()
    event.xclient.type = 33  # ClientMessage
    event.xclient.window = int(window)
    event.xclient.message_type = x11.XInternAtom(display, b"WM_PROTOCOLS", 0)
    event.xclient.format = 32
    event.xclient.data[0] = x11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
    sent = x11.XSendEvent(display, int(window), 0, 0, ctypes.byref(event))
    x11.XFlush(display)
    x11.XCloseDisplay(display)
    check(sent != 0, "the close request could not be sent")


def wait_for_window(title_regex, timeout=30, process=None):
    deadline = time.time() + timeout
    while time.time() < deadline:
        if process is not None and process.poll() is not None:
            raise Failure(f"the program ended ({process.returncode}) before a window named {title_regex!r} showed")
        found = run("xdotool", "search", "--onlyvisible", "--name", title_regex).stdout.split()
        if found:
            return found[0]
        time.sleep(0.1)
    raise Failure(f"no window named {title_regex!r} within {timeout} s")


def probe(command="find"):
    result = run(WINE_RUN, os.path.join(BIN, "window_probe.exe"), command, cwd=BIN)
    return result.returncode, result.stdout.strip()


def native_window_fields(window):
    geometry = dict(line.split("=", 1) for line in
                    run("xdotool", "getwindowgeometry", "--shell", window).stdout.split())
    wm_class = run("xprop", "-id", window, "WM_CLASS").stdout
    icon = run("xprop", "-id", window, "_NET_WM_ICON").stdout
    fields = {"class": wm_class.rsplit('"', 2)[-2] if '"' in wm_class else "",
              "client": f"{geometry['WIDTH']}x{geometry['HEIGHT']}",
              "icon": "48x48" if "Icon (48 x 48)" in icon else "none"}
    return fields, (int(geometry["X"]), int(geometry["Y"]))


def client_origin(window):
    if NATIVE:
        return native_window_fields(window)
    # Wine now and then fails to start a program while another one is coming
    # up ("Application could not be started"): ask again before giving up.
    for _ in range(5):
        code, out = probe()
        if code == 0:
            break
        time.sleep(0.5)
    check(code == 0, f"probe did not find the game window: {out}")
    fields = dict(part.split("=", 1) for part in out.split())
    x, y = (int(v) for v in fields["origin"].split(","))
    return fields, (x, y)


def keys(window, *names):
    run("xdotool", "windowfocus", "--sync", window)
    run("xdotool", "key", "--delay", "60", *names)


def screenshot(origin, name, size=(800, 600)):
    """The client area at origin; with origin None, the whole screen."""
    path = os.path.join(tempfile.gettempdir(), f"kolvex-e2e-{name}.png")
    run("import", "-window", "root", path)
    image = Image.open(path).convert("RGB")
    if origin is None:
        return image
    x, y = origin
    return image.crop((x, y, x + size[0], y + size[1]))


def lit_fraction(image, box, threshold=60):
    """Share of pixels in box brighter than threshold (anything drawn there)."""
    region = image.crop(box)
    pixels = list(region.getdata())
    return sum(1 for p in pixels if max(p) > threshold) / max(1, len(pixels))


def client_size(window):
    """Client area size, its origin on the screen (also inside a window manager's
    frame), and whether it is shown."""
    info = dict(line.strip().split(":", 1) for line in run("xwininfo", "-id", window).stdout.splitlines()
                if ":" in line)
    number = lambda key: int(info[key].strip())
    return ((number("Width"), number("Height")), (number("Absolute upper-left X"), number("Absolute upper-left Y")),
            info["Map State"].strip() == "IsViewable")


def wait_client_size(window, wanted, timeout=10):
    """Waits until the window is shown with a client area of `wanted` (a size,
    or a test of one) and has settled; returns size and origin."""
    fits = wanted if callable(wanted) else lambda size: size == wanted
    deadline = time.time() + timeout
    while True:
        size, _, shown = client_size(window)
        if shown and fits(size):
            break
        check(time.time() < deadline, f"client area stayed {size}" + ("" if shown else ", not shown"))
        time.sleep(0.1)
    time.sleep(0.5)  # the window manager's animation done, a frame or two drawn at the new size
    size, origin, _ = client_size(window)
    return size, origin


def picture_box(box, size, origin):
    """Where a box of the 800 x 600 picture lands, in screen pixels, when the
    window's client area of `size` shows the picture scaled to its largest
    centred 4:3 rectangle."""
    scale = min(size[0] / 800, size[1] / 600)
    x = origin[0] + (size[0] - round(800 * scale)) // 2
    y = origin[1] + (size[1] - round(600 * scale)) // 2
    return tuple(round(v * scale) + (x if i % 2 == 0 else y) for i, v in enumerate(box))


def ink_rows(image, box, threshold=40):
    """Height in pixels from the first to the last row in box with anything drawn."""
    region = image.crop(box)
    width, height = region.size
    pixels = region.load()
    rows = [y for y in range(height) if any(max(pixels[x, y]) > threshold for x in range(width))]
    return rows[-1] - rows[0] + 1 if rows else 0


def wait_exit(process, timeout=20):
    try:
        return process.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        process.kill()
        raise Failure("the game did not end")


def no_game_left():
    # The games' own processes, by their ids: another run's game on this
    # machine is none of this scenario's business.
    deadline = time.time() + 10
    while time.time() < deadline:
        if all(process.poll() is not None for process, _ in games):
            return
        time.sleep(0.2)
    raise Failure(f"a {GAME} process was left behind")


def no_sanitizer_report():
    """Under the sanitizer build the games' standard error carries any report."""
    for _, log in games:
        text = said_by(log)
        check("Sanitizer" not in text and "runtime error" not in text, f"sanitizer report:\n{text[-4000:]}")


def children(pid):
    """The ids of the processes whose parent is pid."""
    found = []
    for entry in os.listdir("/proc"):
        try:
            with open(f"/proc/{entry}/stat") as f:
                if int(f.read().rsplit(")", 1)[1].split()[1]) == pid:
                    found.append(int(entry))
        except (OSError, ValueError, IndexError):
            pass  # not a process, or one that has just ended
    return found


def end_process(process):
    """Ends a process this run started and those it started, found by their ids."""
    if process.poll() is not None:
        return
    family = [process.pid]
    for pid in family:
        family += children(pid)
    process.kill()
    for pid in family[1:]:
        try:
            os.kill(pid, 9)
        except ProcessLookupError:
            pass
    process.wait()


def end_games():
    """Ends whatever this scenario's games left running, and forgets them."""
    for process, log in games:
        end_process(process)
        os.unlink(log)
    games.clear()


def start_game(cwd=BIN, language=None):
    # One more launch if Wine failed to start the program at all (see client_origin).
    for attempt in range(2):
        process = wine(os.path.join(cwd, GAME), cwd=cwd, language=language)
        try:
            return process, wait_for_window("^Kolvex$", process=process)
        except Failure:
            if attempt == 1 or process.poll() is None:
                raise


def quit_from_menu(process, window):
    keys(window, "Down", "Down", "Down", "Return")
    return wait_exit(process)


# ---------------------------------------------------------------- scenarios

def startup_menu():
    process, window = start_game()
    fields, origin = client_origin(window)
    check(fields["class"] == "kvtn", f"window class {fields['class']}")
    check(fields["client"] == "800x600", f"client area {fields['client']}")
    check(fields.get("icon", "48x48") == "48x48", "the window carries no icon")
    time.sleep(1.0)
    shot = screenshot(origin, "menu")
    menu = lit_fraction(shot, MENU_BANNERS)
    check(menu > 0.3, f"menu banners not drawn ({menu:.2f} lit)")
    quit_from_menu(process, window)


def play_and_drop():
    process, window = start_game()
    _, origin = client_origin(window)
    time.sleep(0.6)
    keys(window, "Escape")
    time.sleep(0.3)
    before = screenshot(origin, "play")
    check(lit_fraction(before, MENU_BANNERS) < 0.2, "menu still shown after Esc")
    floor = (WELL[0], WELL[3] - 120, WELL[2], WELL[3])
    empty_floor = lit_fraction(before, floor)
    # Five pieces stack at most 15 rows, so the game cannot end meanwhile.
    for _ in range(5):
        keys(window, "space")
    time.sleep(0.3)
    after = screenshot(origin, "dropped")
    filled = lit_fraction(after, floor)
    check(filled > empty_floor + 0.1, f"well did not fill: {empty_floor:.2f} -> {filled:.2f}")
    keys(window, "Escape")
    check(quit_from_menu(process, window) == 13, "quit did not end with 13")


def sound_notice():
    process, window = start_game()
    _, origin = client_origin(window)
    keys(window, "Escape")
    time.sleep(0.3)
    quiet = lit_fraction(screenshot(origin, "sound-on"), NOTICE)
    keys(window, "m")
    time.sleep(0.3)
    shown = lit_fraction(screenshot(origin, "sound-off"), NOTICE)
    keys(window, "m")
    time.sleep(0.3)
    hidden = lit_fraction(screenshot(origin, "sound-on-again"), NOTICE)
    check(shown > quiet + 0.02, f"notice not shown: {quiet:.3f} -> {shown:.3f}")
    check(hidden < shown - 0.02, f"notice not hidden again: {shown:.3f} -> {hidden:.3f}")
    keys(window, "Escape")
    quit_from_menu(process, window)


def leftmost_lit(image, box, threshold=60):
    """Smallest x in box (window pixels) of anything drawn there, or None."""
    region = image.crop(box)
    width, height = region.size
    pixels = region.load()
    for x in range(width):
        if any(max(pixels[x, y]) > threshold for y in range(height)):
            return box[0] + x
    return None


def held_key_repeats():
    # Each press of any key, Shift too, re-runs the held keys' actions: with
    # Left held, three Shift presses move the new piece three more cells.
    process, window = start_game()
    _, origin = client_origin(window)
    keys(window, "Escape")
    time.sleep(0.3)
    top = (WELL[0] + 2, WELL[1] + 6, WELL[2] - 2, WELL[1] + 5 * 24)  # inside the walls' edges
    before = leftmost_lit(screenshot(origin, "piece-entered"), top)
    run("xdotool", "keydown", "Left", "key", "--delay", "60", "shift", "shift", "shift", "keyup", "Left")
    time.sleep(0.3)
    after = leftmost_lit(screenshot(origin, "piece-moved"), top)
    check(before is not None and after is not None, "no falling piece in the well")
    check(before - after > 2.5 * 24, f"the piece moved {before - after} px left, not four cells")
    keys(window, "Escape")
    quit_from_menu(process, window)


def credits():
    process, window = start_game()
    _, origin = client_origin(window)
    time.sleep(0.5)
    plain = screenshot(origin, "no-credits")
    run("xdotool", "windowfocus", "--sync", window)
    run("xdotool", "keydown", "q", "keydown", "v")
    time.sleep(0.4)
    shown = screenshot(origin, "credits")
    run("xdotool", "keyup", "v", "keyup", "q")
    centre = (200, 150, 600, 450)
    check(lit_fraction(shown, centre) > lit_fraction(plain, centre) + 0.2, "credits picture not shown")
    quit_from_menu(process, window)


def quit_from_menu_scenario():
    process, window = start_game()
    time.sleep(0.5)
    code = quit_from_menu(process, window)
    check(code == 13, f"exit code {code}, expected 13")


QUITS_IN_A_ROW = 30
# The libraries Wine loads for the pads: XInput's own thread runs in the first.
PAD_LIBRARY_UNLOADED = re.compile(r'Unloaded module L"(?:[^"]*\\)?((?:xinput[^"\\]*|hid|setupapi)\.dll)"', re.I)


def quit_again_and_again():
    # The program's end, many times over: every Quit ends with 13, with no
    # fault from Wine, and the pads' libraries stay loaded to the end. Freed at
    # the game's end, XInput's library left its thread running in unloaded
    # code, which faulted in about one quit in five after two seconds of play
    # (fewer after less), once the exit code was settled; Wine's loader trace
    # shows the unloading itself every time.
    check(not NATIVE, "Wine's faults are the Windows game's")
    os.environ["KOLVEX_WINEDEBUG"] = "-all,+loaddll"
    took = []
    try:
        for quit in range(1, QUITS_IN_A_ROW + 1):
            started, first = time.monotonic(), len(games)
            process, window = start_game()
            time.sleep(2.0)  # XInput's thread well under way
            code = quit_from_menu(process, window)
            said = "".join(said_by(log) for _, log in games[first:])
            faults = wine_faults(said)
            check(not faults,
                  f"quit {quit} of {QUITS_IN_A_ROW} (exit code {code}): Wine reported\n" + "\n".join(faults))
            unloaded = PAD_LIBRARY_UNLOADED.findall(said)
            check(not unloaded, f"quit {quit} of {QUITS_IN_A_ROW}: the game unloaded {unloaded} before its end")
            check(code == 13, f"quit {quit} of {QUITS_IN_A_ROW}: exit code {code}, expected 13")
            took.append(time.monotonic() - started)
            end_games()  # judged: a failure shows only the quit that failed
    finally:
        os.environ.pop("KOLVEX_WINEDEBUG")
    print(f"{QUITS_IN_A_ROW} quits: {sum(took):.0f} s, one start to its end {min(took):.1f} to {max(took):.1f} s")


def program_saying():
    # In the game's place, a Windows program that writes KOLVEX_SAID to its
    # standard error and ends as Quit does, with 13 (wine_fault_lines).
    check(not NATIVE, "Wine's faults are the Windows game's")
    line = os.environ["KOLVEX_SAID"]
    code = wait_exit(wine("cmd", "/c", f"echo {line} 1>&2 & exit 13"))
    check(code == 13, f"the program saying {line!r} ended with {code}, not 13")


def wine_fault_lines():
    # A scenario whose program says what Wine says of a fault fails, though
    # it ended with Quit's 13: on each of Wine's lines (its own, and its
    # debugger's); it passes when its program says nothing of a fault.
    check(not NATIVE, "Wine's faults are the Windows game's")
    said = ("wine: Unhandled page fault on execute access to 0000000259D937EA at address 0000000259D937EA"
            " (thread 0164), starting debugger...",
            "Unhandled exception: page fault on execute access to 0x0000000259d937ea in 64-bit code",
            "wine: Unhandled illegal instruction at address 0000000140001000 (thread 0024), starting debugger...")
    chatter = "0164:fixme:imm:ImeSetActiveContext (00000000005C0048, 1): stub"
    for line, faulted in [(line, True) for line in said] + [(chatter, False)]:
        scenario = run(sys.executable, os.path.abspath(__file__), "program_saying",
                       env={**os.environ, "KOLVEX_SAID": line})
        judged = scenario.returncode == 1 and "program_saying: FAILED: Wine reported a fault" in scenario.stdout
        check(judged == faulted and scenario.returncode == (1 if faulted else 0),
              f"a scenario whose program said {line!r} and ended with 13 "
              + ("was not failed for it" if faulted else "did not pass") + f":\n{scenario.stdout}{scenario.stderr}")


def close_window():
    process, window = start_game()
    time.sleep(0.5)
    if NATIVE:
        send_close_request(window)
    else:
        code, out = probe("close")
        check(code == 0, f"close request not posted: {out}")
    code = wait_exit(process)
    check(code == 0, f"exit code {code} after a close request, expected 0")


def end_session():
    # Log-off, shut-down or an uninstall's Restart Manager: the game agrees to
    # the query and then ends by itself, as a close does.
    check(not NATIVE, "the session messages are Windows'")
    process, window = start_game()
    time.sleep(0.5)
    code, out = probe("end-session")
    check(code == 0 and out == "query=1", f"the session messages were not taken ({code}): {out}")
    code = wait_exit(process, timeout=10)
    check(code == 0, f"exit code {code} at the end of the session, expected 0")


def close_with_alt_f4():
    # Alt+F4 comes back as a posted WM_SYSCOMMAND(SC_CLOSE), during which the
    # window is closed: the program ends with that wParam, 0xF060, of which a
    # Unix parent sees the low byte.
    process, window = start_game()
    time.sleep(0.5)
    keys(window, "alt+F4")
    code = wait_exit(process)
    check(code == 0xF060 & 0xFF, f"exit code {code} after Alt+F4, expected {0xF060 & 0xFF}")


# The help screen's first line, "Kolvex", alone in its rows of the picture.
HELP_TITLE = (300, 50, 500, 95)


def full_screen():
    # The window opens as on Windows; F11 or Alt+Enter fills the screen with
    # the picture scaled to 4:3 between black bars, drawn and lettered at the
    # screen's resolution, and gives the window back; maximise fits it too.
    check(NATIVE, "full screen is the native game's")
    process, window = start_game()
    size, origin = wait_client_size(window, (800, 600))
    keys(window, "Down", "Down", "Return")  # the help screen
    time.sleep(0.5)
    title = ink_rows(screenshot(None, "help-window"), picture_box(HELP_TITLE, size, origin))

    keys(window, "F11")
    size, origin = wait_client_size(window, (1920, 1080))
    shot = screenshot(None, "help-full-screen")
    scaled_title = ink_rows(shot, picture_box(HELP_TITLE, size, origin))
    check(title > 0 and scaled_title >= 1.6 * title, f"help title {title} px high in the window, {scaled_title} full screen")
    for bar in ((0, 0, 240, 1080), (1680, 0, 1920, 1080)):
        check(lit_fraction(shot, bar, threshold=8) == 0, f"the bar {bar} is not black")

    keys(window, "Escape", "Escape")  # play, then the menu
    time.sleep(0.5)
    menu = lit_fraction(screenshot(None, "menu-full-screen"), picture_box(MENU_BANNERS, size, origin))
    check(menu > 0.3, f"menu banners not at their scaled place ({menu:.2f} lit)")

    # With Left held in play, the toggles are not key presses: the piece stays put.
    keys(window, "Escape")
    time.sleep(0.3)
    key_repeat_off()
    run("xdotool", "keydown", "Left")
    time.sleep(0.2)
    top = picture_box((WELL[0] + 2, WELL[1] + 6, WELL[2] - 2, WELL[1] + 5 * 24), size, origin)
    before = leftmost_lit(screenshot(None, "left-held"), top)
    run("xdotool", "key", "--delay", "200", "F11", "alt+Return", "alt+Return")
    size, origin = wait_client_size(window, (800, 600))
    run("xdotool", "key", "--delay", "200", "alt+Return")
    size, origin = wait_client_size(window, (1920, 1080))
    after = leftmost_lit(screenshot(None, "left-still-held"), top)
    run("xdotool", "keyup", "Left")
    # A step is a whole cell; the piece's fall meanwhile shifts its edge in the
    # perspective by a pixel or so.
    cell = 24 * size[1] / 600
    check(before is not None and after is not None and abs(after - before) < cell / 3,
          f"the piece moved from {before} to {after} on the toggles")

    keys(window, "F11")
    size, origin = wait_client_size(window, (800, 600))
    run("wmctrl", "-i", "-r", window, "-b", "add,maximized_vert,maximized_horz")
    size, origin = wait_client_size(window, lambda s: s[0] > 1000 and s[1] > 800)
    keys(window, "Escape")
    time.sleep(0.5)
    shot = screenshot(None, "menu-maximised")
    menu = lit_fraction(shot, picture_box(MENU_BANNERS, size, origin))
    check(menu > 0.3, f"menu banners not at their place in the maximised window ({menu:.2f} lit)")
    left = picture_box((0, 0, 0, 600), size, origin)
    if left[0] - origin[0] >= 4:
        check(lit_fraction(shot, (origin[0], origin[1], left[0] - 1, origin[1] + size[1]), threshold=8) == 0,
              "the maximised window's bar is not black")
    check(quit_from_menu(process, window) == 13, "quit did not end with 13")


class SwapRecord:
    """The swap counter's shared file (bench/SwapCounterSdl.cpp, preloaded):
    first swap (monotonic ns) and swaps so far."""

    def __init__(self):
        handle, self.path = tempfile.mkstemp(prefix="kolvex-swaps-", dir="/dev/shm")
        os.write(handle, bytes(16))
        self.map = mmap.mmap(handle, 16)
        os.close(handle)

    def reset(self):
        self.map[:] = bytes(16)

    def first_swap_ns(self):
        return struct.unpack_from("<Q", self.map, 0)[0]

    def swaps(self):
        return struct.unpack_from("<Q", self.map, 8)[0]


def same_picture(a, b, tolerance=0.03):
    """Whether two screenshots show one picture: at most `tolerance` of the
    pixels differ visibly (a piece that fell a row is about half a percent)."""
    differing = sum(1 for p, q in zip(a.getdata(), b.getdata()) if max(abs(x - y) for x, y in zip(p, q)) > 40)
    return differing / max(1, a.size[0] * a.size[1]) <= tolerance


def cover_and_uncover(origin, size):
    """Maps a window of another client over the game's client area and takes
    it away: on a server without backing store the game must draw again."""
    x11 = xlib()
    x11.XDefaultRootWindow.restype = ctypes.c_ulong
    x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    x11.XCreateSimpleWindow.restype = ctypes.c_ulong
    x11.XCreateSimpleWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                                        ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_ulong]
    x11.XMapRaised.argtypes = x11.XUnmapWindow.argtypes = x11.XDestroyWindow.argtypes = [ctypes.c_void_p,
                                                                                         ctypes.c_ulong]
    x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]

    class Attributes(ctypes.Structure):
        _fields_ = [("background_pixmap", ctypes.c_ulong), ("background_pixel", ctypes.c_ulong),
                    ("border_pixmap", ctypes.c_ulong), ("border_pixel", ctypes.c_ulong),
                    ("bit_gravity", ctypes.c_int), ("win_gravity", ctypes.c_int), ("backing_store", ctypes.c_int),
                    ("backing_planes", ctypes.c_ulong), ("backing_pixel", ctypes.c_ulong),
                    ("save_under", ctypes.c_int), ("event_mask", ctypes.c_long),
                    ("do_not_propagate_mask", ctypes.c_long), ("override_redirect", ctypes.c_int),
                    ("colormap", ctypes.c_ulong), ("cursor", ctypes.c_ulong)]

    x11.XChangeWindowAttributes.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong,
                                            ctypes.POINTER(Attributes)]
    display = x11.XOpenDisplay(None)
    check(display is not None, "cannot open the display")
    cover = x11.XCreateSimpleWindow(display, x11.XDefaultRootWindow(display), origin[0], origin[1], size[0], size[1],
                                    0, 0, 0xFFFFFF)
    attributes = Attributes(override_redirect=1)
    x11.XChangeWindowAttributes(display, cover, 1 << 9, ctypes.byref(attributes))  # CWOverrideRedirect
    x11.XMapRaised(display, cover)
    x11.XSync(display, 0)
    time.sleep(0.3)
    x11.XUnmapWindow(display, cover)
    x11.XDestroyWindow(display, cover)
    x11.XSync(display, 0)
    x11.XCloseDisplay(display)


def drawn_on_change():
    # The native game draws a frame only when the picture changed, and then
    # at once: after a key, a gravity step, an exposure, a restore and a
    # full-screen toggle a screenshot 100 ms later shows the current picture,
    # and a still play screen at level 1 costs about a frame a second.
    check(NATIVE, "drawing on change is the native game's")
    record = SwapRecord()
    preload = [os.environ.get("KOLVEX_GAME_PRELOAD", ""), os.environ["KOLVEX_SWAP_COUNTER"]]
    os.environ.update(KOLVEX_SWAP_RECORD=record.path, KOLVEX_GAME_PRELOAD=":".join(filter(None, preload)))
    process, window = start_game()
    size, origin = wait_client_size(window, (800, 600))
    key_repeat_off()
    keys(window, "Escape")  # a classic game at level 1
    time.sleep(0.5)

    top = (WELL[0] + 2, WELL[1] + 6, WELL[2] - 2, WELL[1] + 8 * 24)
    before = leftmost_lit(screenshot(origin, "before-left"), top)
    run("xdotool", "key", "Left")
    time.sleep(0.1)
    after = leftmost_lit(screenshot(origin, "after-left"), top)
    check(before is not None and after is not None and 12 < before - after < 36,
          f"100 ms after Left the piece's left edge went from {before} to {after}")

    # A gravity step is drawn: a frame swapped since, and the well's top rows changed.
    first, swaps = screenshot(origin, "before-fall").crop(top), record.swaps()
    time.sleep(1.1)
    fallen = screenshot(origin, "after-fall").crop(top)
    check(record.swaps() > swaps and list(first.getdata()) != list(fallen.getdata()),
          f"no gravity step drawn in 1.1 s ({record.swaps() - swaps} frames)")

    # Still play at level 1: one frame per gravity step, not the display's 60.
    swaps = record.swaps()
    time.sleep(5.0)
    still = record.swaps() - swaps
    print(f"a still play screen at level 1: {still} frames in 5 s")
    check(3 <= still <= 10, f"{still} frames in 5 s of a still play screen at level 1")

    # The credits are a still picture: only the window's own events redraw it.
    run("xdotool", "keydown", "q", "keydown", "v")
    time.sleep(0.5)
    credits = screenshot(origin, "credits")
    cover_and_uncover(origin, size)
    time.sleep(0.1)
    check(same_picture(credits, screenshot(origin, "credits-exposed")), "100 ms after an exposure the picture is gone")

    run("xdotool", "key", "F11")
    deadline = time.time() + 10
    while client_size(window)[0] != (1920, 1080):
        check(time.time() < deadline, "F11 did not fill the screen")
        time.sleep(0.02)
    time.sleep(0.1)
    full = screenshot(None, "credits-full-screen")
    scaled = picture_box((0, 0, 800, 600), (1920, 1080), (0, 0))
    check(lit_fraction(full, scaled) > 0.05, "100 ms after F11 the full screen shows no picture")
    run("xdotool", "key", "F11")
    while client_size(window)[0] != (800, 600):
        check(time.time() < deadline, "F11 did not give the window back")
        time.sleep(0.02)
    _, origin, _ = client_size(window)
    time.sleep(0.1)
    check(same_picture(credits, screenshot(origin, "credits-windowed")), "100 ms after F11 the window shows no picture")
    run("xdotool", "keyup", "q", "keyup", "v")
    time.sleep(0.3)

    play = screenshot(origin, "play-before-minimise")
    run("xdotool", "windowminimize", "--sync", window)
    time.sleep(0.5)
    run("xdotool", "windowactivate", window)
    deadline = time.time() + 10
    while client_size(window)[1:] != (origin, True):
        check(time.time() < deadline, "the window did not come back")
        time.sleep(0.02)
    time.sleep(0.1)
    check(same_picture(play, screenshot(origin, "play-restored")), "100 ms after a restore the picture is not back")
    keys(window, "Escape")  # the menu
    check(quit_from_menu(process, window) == 13, "quit did not end with 13")


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def minimised_idle():
    # Minimised, the game draws nothing and waits: under 5% of one core.
    check(NATIVE, "the idle wait is the native game's")
    process, window = start_game()
    time.sleep(1.0)
    run("xdotool", "windowminimize", "--sync", window)
    time.sleep(1.0)
    used, start = cpu_seconds(process.pid), time.monotonic()
    time.sleep(4.0)
    share = (cpu_seconds(process.pid) - used) / (time.monotonic() - start)
    check(share < 0.05, f"{share:.1%} of a core while minimised")
    run("xdotool", "windowactivate", "--sync", window)
    _, origin = wait_client_size(window, (800, 600))
    time.sleep(1.0)
    menu = lit_fraction(screenshot(origin, "restored"), MENU_BANNERS)
    check(menu > 0.3, f"nothing drawn after the window came back ({menu:.2f} lit)")
    check(quit_from_menu(process, window) == 13, "quit did not end with 13")


def broken_archive(make_archive, name, reason):
    """The warning box, exit code 1 once it is dismissed, and from the native
    game one English line on standard error, "kolvex: " and then what the
    pattern reason matches (folder filled in)."""
    folder = tempfile.mkdtemp(prefix="kolvex-e2e-")
    try:
        for f in GAME_FILES:
            shutil.copy(os.path.join(BIN, f), folder)
        make_archive(os.path.join(folder, "data.qv"))
        process = wine(os.path.join(folder, GAME), cwd=folder)
        box = wait_for_window("Kolvex\" 警告")
        check(run("xdotool", "search", "--onlyvisible", "--name", "^Kolvex$").stdout.strip() == "",
              "the game window is still up behind the message")
        shot = os.path.join(tempfile.gettempdir(), f"kolvex-e2e-{name}.png")
        run("import", "-window", "root", shot)
        keys(box, "Return")
        code = wait_exit(process)
        check(code == 1, f"exit code {code} after a failed start-up, expected 1")
        if NATIVE:
            said = [line for line in said_by(games[-1][1]).splitlines() if line.startswith("kolvex: ")]
            expected = "kolvex: " + reason.format(folder=re.escape(os.path.realpath(folder)))
            check(len(said) == 1 and re.fullmatch(expected, said[0]), f"standard error said {said}, not {expected!r}")
    finally:
        shutil.rmtree(folder, ignore_errors=True)


def missing_archive():
    broken_archive(lambda path: None, "missing", r"data\.qv not found in {folder}")


def corrupt_archive():
    def make(path):
        shutil.copy(os.path.join(BIN, "data.qv"), path)
        with open(path, "r+b") as f:
            f.seek(os.path.getsize(path) // 2)
            f.write(b"\xde\xad\xbe\xef" * 16)
    broken_archive(make, "corrupt", r"data\.qv: (picture|sound) \S+ cannot be read: entry's CRC-32 does not match .*")


def repack(path, name, write_replacement):
    """Packs the shipped art into path, with entry name's file written by write_replacement."""
    replacement = os.path.join(os.path.dirname(path), name)
    write_replacement(replacement)
    names = [os.path.join(ART, n) for n in sorted(os.listdir(ART)) if n.endswith((".jpg", ".wav"))]
    names = [replacement if os.path.basename(n) == name else n for n in names]
    check(run(QVPACK, "create", path, *names).returncode == 0, "qvpack could not build the archive")


def oversize_picture():
    big = lambda path: Image.new("RGB", (512, 512), (200, 40, 40)).save(path, "JPEG")
    broken_archive(lambda path: repack(path, "t3.jpg", big), "oversize",
                   r"data\.qv: picture t3\.jpg is refused \(512 x 512 pixels: does not fit 256 x 256\)")


def bad_sounds():
    # A re-skinned archive whose move.wav claims 8 MiB of samples in a 3 KB
    # entry (valid CRCs), an empty one and one of junk: each is refused at
    # start-up instead of reaching the player, which trusts the WAV's sizes.
    with open(os.path.join(ART, "move.wav"), "rb") as f:
        wav = bytearray(f.read())
    data = wav.index(b"data")
    lying = bytearray(wav)
    lying[4:8] = (36 + (8 << 20)).to_bytes(4, "little")
    lying[data + 4:data + 8] = (8 << 20).to_bytes(4, "little")
    for label, content, why in (("lying", lying, "RIFF size runs past the end of the entry"),
                                ("empty", b"", "not a RIFF WAVE file"),
                                ("junk", bytes(range(256)) * 12, "not a RIFF WAVE file")):
        def write(path, content=content):
            with open(path, "wb") as f:
                f.write(content)
        broken_archive(lambda path: repack(path, "move.wav", write), "sound-" + label,
                       r"data\.qv: sound move\.wav is refused: " + why)


def wav_samples(name):
    """The bytes of a shipped sound's data chunk: what the player must send out unchanged."""
    with open(os.path.join(ART, name), "rb") as f:
        wav = f.read()
    at = 12
    while wav[at:at + 4] != b"data":
        at += 8 + int.from_bytes(wav[at + 4:at + 8], "little")
    return wav[at + 8:at + 8 + int.from_bytes(wav[at + 4:at + 8], "little")]


def sound_clips():
    # SDL's disk driver writes the output at about real time, silence (zero
    # bytes: 16-bit samples) between clips. After each key the new part of the
    # file holds the one clip whole and nothing else, or only silence.
    check(NATIVE, "the sound capture needs the native game")
    capture = tempfile.NamedTemporaryFile(prefix="kolvex-e2e-audio-", delete=False).name
    os.environ.update(SDL_AUDIODRIVER="disk", SDL_DISKAUDIOFILE=capture)
    try:
        process, window = start_game()
        time.sleep(0.5)

        def heard_after(*names):
            before = os.path.getsize(capture)
            keys(window, *names)
            time.sleep(0.6)
            with open(capture, "rb") as f:
                f.seek(before)
                return f.read()

        for key, clip in (("Down", "s.wav"), ("Escape Up", "move.wav")):
            heard, pcm = heard_after(*key.split()), wav_samples(clip)
            check(pcm in heard, f"{key}: {clip} not played whole")
            check(heard.replace(pcm, b"", 1).count(0) == len(heard) - len(pcm), f"{key}: more than {clip} played")
        heard = heard_after("m", "Up")
        check(heard and heard.count(0) == len(heard), "a clip played with sound off")
        keys(window, "Escape")
        quit_from_menu(process, window)
    finally:
        os.unlink(capture)


def message_box_dismissals():
    # The native box closes on Esc, a click on its button (bottom right) and a
    # close request too, not only on Enter; each time the game then ends with
    # 1, the failed start-up's code.
    check(NATIVE, "the native message box needs the native game")
    folder = tempfile.mkdtemp(prefix="kolvex-e2e-")
    try:
        shutil.copy(os.path.join(BIN, GAME), folder)
        for how in ("Escape", "button", "close"):
            process = wine(os.path.join(folder, GAME), cwd=folder)
            box = wait_for_window("Kolvex\" 警告", process=process)
            if how == "button":
                geometry = dict(line.split("=", 1) for line in
                                run("xdotool", "getwindowgeometry", "--shell", box).stdout.split())
                x = int(geometry["X"]) + int(geometry["WIDTH"]) - 40
                y = int(geometry["Y"]) + int(geometry["HEIGHT"]) - 25
                run("xdotool", "mousemove", "--sync", str(x), str(y), "click", "1")
            elif how == "close":
                send_close_request(box)
            else:
                keys(box, how)
            code = wait_exit(process)
            check(code == 1, f"exit code {code} after the box was dismissed with {how}, expected 1")
    finally:
        shutil.rmtree(folder, ignore_errors=True)


def controller():
    # A virtual controller (tests/e2e/VirtualPadSdl.cpp, preloaded) that
    # arrives after start-up plays as the keyboard does; A that drops the
    # last piece leaves the menu of the game's end up instead of taking its
    # entry; a controller plugged in again after one left works too.
    check(NATIVE, "the virtual controller needs the native game")
    commands = tempfile.NamedTemporaryFile(prefix="kolvex-e2e-pad-", delete=False).name
    preload = [os.environ.get("KOLVEX_GAME_PRELOAD", ""), os.environ["KOLVEX_VIRTUAL_PAD"]]
    os.environ.update(KOLVEX_PAD_COMMANDS=commands, KOLVEX_GAME_PRELOAD=":".join(filter(None, preload)))
    a, back, start, down, left_y = 0, 4, 6, 12, 1
    sent = 0

    def pad(line):
        nonlocal sent
        with open(commands, "a") as f:
            f.write(line + "\n")
        sent += 1
        deadline = time.time() + 10
        while time.time() < deadline:
            try:
                with open(commands + ".applied") as f:
                    if int(f.read() or 0) >= sent:
                        return
            except (OSError, ValueError):
                pass
            time.sleep(0.02)
        raise Failure(f"the game did not take {line!r}")

    def tap(button, settle=0.1):
        pad(f"button {button} 1")
        time.sleep(0.05)
        pad(f"button {button} 0")
        time.sleep(settle)

    def menu_shown(name):
        return lit_fraction(screenshot(origin, name), MENU_BANNERS) > 0.3

    try:
        process, window = start_game()
        _, origin = client_origin(window)
        # SDL hands controller events only to a game that has the focus.
        run("xdotool", "windowfocus", "--sync", window)
        time.sleep(0.5)
        pad("attach")
        tap(start, 0.3)
        before = screenshot(origin, "pad-play")
        check(lit_fraction(before, MENU_BANNERS) < 0.2, "Start did not close the menu")
        floor = (WELL[0], WELL[3] - 120, WELL[2], WELL[3])
        for _ in range(5):
            tap(a)
        filled = lit_fraction(screenshot(origin, "pad-dropped"), floor)
        check(filled > lit_fraction(before, floor) + 0.1, "A did not drop the pieces")
        quiet = lit_fraction(screenshot(origin, "pad-sound-on"), NOTICE)
        tap(back, 0.3)
        check(lit_fraction(screenshot(origin, "pad-sound-off"), NOTICE) > quiet + 0.02, "Back did not switch sound off")
        tap(start, 0.3)
        check(menu_shown("pad-menu"), "Start did not open the menu")
        pad("detach")
        pad("attach")
        tap(start, 0.3)
        for _ in range(40):
            tap(a, 0.2)
            if menu_shown("pad-game-over"):
                break
        else:
            raise Failure("A never left the menu of a game's end up")
        # Down to Quit, once with the left stick.
        tap(down)
        tap(down)
        pad(f"axis {left_y} 32767")
        pad(f"axis {left_y} 0")
        time.sleep(0.1)
        pad(f"button {a} 1")
        code = wait_exit(process)
        check(code == 13, f"exit code {code} after Quit taken with A, expected 13")
    finally:
        for path in (commands, commands + ".applied"):
            if os.path.exists(path):
                os.unlink(path)


def xinput_controller():
    # A pad through a stand-in xinput1_4.dll (tests/e2e/XInputDoubleWin32.cpp)
    # in the game's folder plays as the keyboard does: a held D-pad repeats at
    # the keyboard's rate, a pad unplugged while held stops, one plugged in
    # again is found, and Quit, reached once with the stick, taken with A ends
    # the game with 13.
    check(not NATIVE, "XInput is the Windows game's")
    a, back, start, down, left, right = 0x1000, 0x20, 0x10, 0x2, 0x4, 0x8
    folder = tempfile.mkdtemp(prefix="kolvex-e2e-")
    state = os.path.join(folder, "pad.txt")

    def pad(buttons=0, plugged=True, stick_y=0):
        with open(state + ".new", "w") as f:
            f.write(f"{buttons:x} 0 {stick_y}\n" if plugged else "none\n")
        os.replace(state + ".new", state)

    def tap(buttons, settle=0.2):
        pad(buttons)
        time.sleep(0.1)
        pad()
        time.sleep(settle)

    try:
        for f in (*GAME_FILES, "data.qv", os.environ["KOLVEX_XINPUT_DOUBLE"]):
            shutil.copy(os.path.join(BIN, f), folder)
        pad()
        os.environ.update(KOLVEX_XINPUT_STATE="Z:" + state.replace("/", "\\"), WINEDLLOVERRIDES="xinput1_4=n")
        process, window = start_game(folder)
        _, origin = client_origin(window)
        run("xdotool", "windowfocus", "--sync", window)  # an unfocused game reads no pad
        time.sleep(0.5)
        tap(start, 0.3)
        check(lit_fraction(screenshot(origin, "xinput-play"), MENU_BANNERS) < 0.2, "Start did not close the menu")
        top = (WELL[0] + 2, WELL[1] + 6, WELL[2] - 2, WELL[1] + 5 * 24)
        pad(left)
        time.sleep(1.2)
        at_wall = leftmost_lit(screenshot(origin, "xinput-left-held"), top)
        pad()
        check(at_wall is not None and at_wall < WELL[0] + 12, f"held left left the piece at x {at_wall}")
        corner = (WELL[0] + 2, WELL[3] - 60, WELL[0] + 100, WELL[3] - 2)
        empty = lit_fraction(screenshot(origin, "xinput-before-drop"), corner)
        tap(a, 0.3)
        dropped = lit_fraction(screenshot(origin, "xinput-dropped"), corner)
        check(dropped > empty + 0.15, f"A did not drop the piece: {empty:.2f} -> {dropped:.2f}")
        quiet = lit_fraction(screenshot(origin, "xinput-sound-on"), NOTICE)
        tap(back, 0.3)
        shown = lit_fraction(screenshot(origin, "xinput-sound-off"), NOTICE)
        check(shown > quiet + 0.02, f"Back did not show the sound notice: {quiet:.3f} -> {shown:.3f}")
        # Right held, the pad pulled out before the repeat's delay: one step only.
        before = leftmost_lit(screenshot(origin, "xinput-new-piece"), top)
        pad(right)
        time.sleep(0.2)
        pad(plugged=False)
        time.sleep(1.0)
        after = leftmost_lit(screenshot(origin, "xinput-unplugged"), top)
        check(before is not None and after is not None and 12 < after - before < 36,
              f"the piece went from x {before} to {after} with the pad unplugged while holding right")
        pad()
        time.sleep(1.5)  # an empty slot is asked again once a second
        tap(start, 0.3)
        tap(down)
        tap(down)
        pad(stick_y=-32768)  # XInput's stick counts up as positive
        time.sleep(0.1)
        pad()
        time.sleep(0.2)
        pad(a)
        code = wait_exit(process)
        check(code == 13, f"exit code {code} after Quit taken with A, expected 13")
    finally:
        os.environ.pop("WINEDLLOVERRIDES", None)
        shutil.rmtree(folder, ignore_errors=True)


def installed_package():
    """What a player does with the .deb: install it, start the game the way the
    menu entry does, play to the menu's Quit, remove it, and find nothing left."""
    deb = os.environ["KOLVEX_DEB"]
    check(run("dpkg-query", "-W", "kolvex").returncode != 0, "kolvex is installed already")
    installed = run("apt-get", "install", "-y", "--no-install-recommends", os.path.abspath(deb),
                    env={**os.environ, "DEBIAN_FRONTEND": "noninteractive"})
    check(installed.returncode == 0, f"apt-get install failed: {installed.stderr[-2000:]}")
    try:
        files = run("dpkg-query", "-L", "kolvex").stdout.split()
        check("/usr/share/applications/kolvex.desktop" in files, "no menu entry installed")
        check("/usr/share/metainfo/io.github.kolvex.kolvex.metainfo.xml" in files, "no AppStream metadata installed")
        home = tempfile.mkdtemp(prefix="kolvex-e2e-home-")
        process = wine("/usr/games/kolvex", cwd=home)
        window = wait_for_window("^Kolvex$", process=process)
        fields, origin = client_origin(window)
        # A dock matches the running window to its menu entry by this class.
        with open("/usr/share/applications/kolvex.desktop") as f:
            wm_class = [line.split("=", 1)[1].strip() for line in f if line.startswith("StartupWMClass=")]
        check(wm_class == [fields["class"]], f"menu entry StartupWMClass {wm_class}, window class {fields['class']}")
        time.sleep(1.0)
        original = screenshot(origin, "installed")
        menu = lit_fraction(original, MENU_BANNERS)
        check(menu > 0.3, f"menu banners not drawn ({menu:.2f} lit)")
        code = quit_from_menu(process, window)
        check(code == 13, f"exit code {code}, expected 13")
        # German from Debian's catalogue folder and the pictures beside data.qv.
        for path in ("/usr/share/locale/de/LC_MESSAGES/kolvex.mo", "/usr/share/games/kolvex/data-de.qv"):
            check(path in files, f"{path} not installed")
        process = wine("/usr/games/kolvex", cwd=home, language={"LANGUAGE": "de", "LC_ALL": "C.UTF-8"})
        window = wait_for_window("^Kolvex$", process=process)
        check_lettering("German, installed", menu_banners(window, "installed-german"), original, True)
        code = quit_from_menu(process, window)
        check(code == 13, f"German: exit code {code}, expected 13")
        shutil.rmtree(home, ignore_errors=True)
    finally:
        removed = run("apt-get", "remove", "--purge", "-y", "kolvex",
                      env={**os.environ, "DEBIAN_FRONTEND": "noninteractive"})
    check(removed.returncode == 0, f"apt-get remove failed: {removed.stderr[-2000:]}")
    # Folders such as /usr/games are shared with other packages; the package's own must go.
    left = [f for f in files if os.path.lexists(f) and not os.path.isdir(f)]
    left += [d for d in ("/usr/lib/games/kolvex", "/usr/share/games/kolvex", "/usr/share/doc/kolvex")
             if os.path.lexists(d)]
    check(not left, f"left behind after removal: {left}")


# ---------------------------------------------------------------- the tarball for any Linux

# A bare Debian (KOLVEX_BARE_SUITE: bullseye, the oldest the tarball is for,
# bookworm or trixie) kept in the build tree, with only what every desktop
# has beside the minimal base; the tarball is unpacked into its /opt.
CHROOT = os.environ.get("KOLVEX_BARE_CHROOT", "")
SUITE = os.environ.get("KOLVEX_BARE_SUITE", "bookworm")
TARBALL = os.environ.get("KOLVEX_PORTABLE_TARBALL", "")
# ALSA's library took a new name in Debian 13 (64-bit time).
SOUND_PACKAGE = "libasound2t64" if SUITE == "trixie" else "libasound2"
DESKTOP_PACKAGES = ("libgl1", "libglx-mesa0", "libgl1-mesa-dri", "libx11-6", "libxext6", "libxcursor1", "libxi6",
                    "libxrandr2", "libxfixes3", "libxkbcommon0", SOUND_PACKAGE)
SHIPPED_LIBRARIES = {"libSDL2-2.0.so.0", "libSDL2_ttf-2.0.so.0", "libGLU.so.1"}
NEVER_FROM_THE_SYSTEM = ("libSDL2", "libfontconfig", "libfreetype", "libjpeg", "libpng", "libstdc++", "libgcc_s",
                         "libGLU", "libOpenGL")
# The help screen's lettering in the 800 x 600 picture, away from the spinning piece.
HELP_TEXT = ((200, 60, 660, 335), (280, 495, 560, 552))


def in_chroot(*command):
    """The command inside the bare chroot, in a mount namespace of its own:
    /proc and the X socket folder bound in, the bindings gone with the
    namespace whatever becomes of the test."""
    binds = ('mount --bind /proc "$0/proc" && mkdir -p "$0/tmp/.X11-unix" && '
             'mount --bind /tmp/.X11-unix "$0/tmp/.X11-unix" && exec chroot "$0" "$@"')
    return ["unshare", "--mount", "sh", "-c", binds, CHROOT, *command]


def chroot_run(*command):
    result = run(*in_chroot(*command), env={**os.environ, "DEBIAN_FRONTEND": "noninteractive", "LC_ALL": "C"})
    check(result.returncode == 0, f"{' '.join(command)} in the chroot: {result.stdout[-1500:]}{result.stderr[-1500:]}")
    return result.stdout


def host_release():
    """The codename of the system's own release, by which apt's index names its archive."""
    with open("/etc/os-release") as f:
        fields = dict(line.rstrip("\n").split("=", 1) for line in f if "=" in line)
    release = fields.get("VERSION_CODENAME", "").strip('"')
    check(release != "", "/etc/os-release names no VERSION_CODENAME")
    return release


def bare_chroot():
    """Made once (debootstrap of SUITE from the system's Debian archive, then
    the desktop's packages); later runs put back what a test took away."""
    if not os.path.exists(os.path.join(CHROOT, ".kolvex-desktop")):
        with open("/proc/mounts") as f:
            check(CHROOT not in f.read(), f"something is mounted under {CHROOT}")
        shutil.rmtree(CHROOT, ignore_errors=True)
        mirror = run("apt-get", "indextargets", "--format", "$(REPO_URI)", "Created-By: Packages", "Origin: Debian",
                     f"Release: {host_release()}").stdout.split()
        check(mirror, "the system lists no Debian archive")
        # Its own namespace too: whatever debootstrap mounts goes with it.
        made = run("unshare", "--mount", "debootstrap", "--variant=minbase", SUITE, CHROOT, mirror[0])
        check(made.returncode == 0, f"debootstrap failed: {made.stdout[-2000:]}{made.stderr[-2000:]}")
        if SUITE == "bullseye":
            # Its point releases' and its security fixes, as the build root's
            # (without the latter where they cannot be had, said).
            suites = run("bash", os.path.join(os.path.dirname(__file__), "../../cmake/portable/apt-suites.sh"), CHROOT,
                         SUITE, mirror[0])
            print(suites.stderr, end="")
            check(suites.returncode == 0, f"the chroot's sources: {suites.stdout[-1500:]}{suites.stderr[-1500:]}")
        else:
            chroot_run("apt-get", "update", "-qq")
    chroot_run("apt-get", "install", "-y", "-qq", "--no-install-recommends", *DESKTOP_PACKAGES)
    open(os.path.join(CHROOT, ".kolvex-desktop"), "w").close()


def unpack_tarball(into):
    """The tarball unpacked as a player does; its one top folder."""
    for old in glob.glob(os.path.join(into, "Kolvex-*")):
        shutil.rmtree(old)
    check(run("tar", "-xzf", TARBALL, "-C", into).returncode == 0, f"cannot unpack {TARBALL}")
    folders = glob.glob(os.path.join(into, "Kolvex-*"))
    check(len(folders) == 1, f"the tarball holds {folders}, not one top folder")
    return folders[0]


def chroot_game(folder, language=()):
    """The unpacked game started inside the chroot from / (not its own
    folder), with a clean environment (and the language variables given as
    NAME=VALUE), on the test's display; no box shows."""
    log = tempfile.NamedTemporaryFile(prefix="kolvex-e2e-stderr-", delete=False)
    env = (f"DISPLAY={os.environ['DISPLAY']}", "HOME=/root", "PATH=/usr/bin:/bin", *language)
    process = subprocess.Popen(in_chroot("env", "-i", *env, folder + "/kolvex"), stdin=subprocess.DEVNULL,
                               stdout=subprocess.DEVNULL, stderr=log)
    games.append((process, log.name))
    window = wait_for_window("^Kolvex$", process=process)
    time.sleep(1.0)
    check(not run("xdotool", "search", "--onlyvisible", "--name", '^"Kolvex"').stdout, "a message box showed")
    _, origin = client_origin(window)
    menu = lit_fraction(screenshot(origin, "portable-menu"), MENU_BANNERS)
    check(menu > 0.3, f"menu banners not drawn ({menu:.2f} lit)")
    return process, window


def chroot_menu():
    return Image.open(os.path.join(tempfile.gettempdir(), "kolvex-e2e-portable-menu.png")).convert("RGB")


def help_ink(window, name):
    """The help screen's lettering as a set of pixels. Its colour changes at
    random; a nearly black one is waited out."""
    _, origin = client_origin(window)
    keys(window, "Down", "Down", "Return")
    for _ in range(10):
        time.sleep(0.5)
        pixels = screenshot(origin, name).load()
        ink = {(x, y) for box in HELP_TEXT for x in range(box[0], box[2]) for y in range(box[1], box[3])
               if max(pixels[x, y]) > 10}
        if len(ink) > 3000:
            break
    keys(window, "Down", "Return")  # Quit, the entry after help
    return ink


def banners_changed(menu, reference):
    """Share of the menu banners' pixels that differ clearly from reference's."""
    a, b = menu.crop(MENU_BANNERS).getdata(), reference.crop(MENU_BANNERS).getdata()
    return sum(1 for p, q in zip(a, b) if max(abs(x - y) for x, y in zip(p, q)) > 60) / max(1, len(a))


def menu_banners(window, name):
    time.sleep(1.0)
    _, origin = client_origin(window)
    return screenshot(origin, name)


def check_lettering(name, menu, reference, translated):
    """Translated banners differ from the original's in most of their
    lettering; the original's are the original, give or take a blink."""
    changed = banners_changed(menu, reference)
    check(changed > 0.05 if translated else changed < 0.01,
          f"{name}: {changed:.3f} of the menu banners differ from the original's")


def languages():
    """The native game in the player's language: the help screen in English
    and in German where LANGUAGE asks for them, exactly the original where it
    names a language without a catalogue or the locale is C (gettext then
    ignores LANGUAGE), and a start-up failure's box in English."""
    menus = {}

    def help_with(name, language):
        process, window = start_game(language=language)
        menus[name] = menu_banners(window, f"menu-{name}")
        ink = help_ink(window, f"help-{name}")
        code = wait_exit(process)
        check(code == 13, f"{name}: exit code {code} after Quit, expected 13")
        return ink

    original = help_with("original", {})
    seen = {}
    for name, language, translated in (
            ("unknown", {"LANGUAGE": "xx", "LC_ALL": "C.UTF-8"}, False),
            ("c-locale", {"LANGUAGE": "en", "LANG": "C"}, False),
            ("english", {"LANGUAGE": "en", "LC_ALL": "C.UTF-8"}, True),
            ("german", {"LANGUAGE": "de", "LC_ALL": "C.UTF-8"}, True)):
        ink = seen[name] = help_with(name, language)
        overlap = len(ink & original) / max(1, len(ink | original))
        check((overlap < 0.8) == translated,
              f"{name}: the help text overlaps the original's by {overlap:.2f}")
        check_lettering(name, menus[name], menus["original"], translated)
    check(banners_changed(menus["english"], menus["german"]) > 0.05, "the English and German banners are alike")
    overlap = len(seen["english"] & seen["german"]) / max(1, len(seen["english"] | seen["german"]))
    check(overlap < 0.8, f"the English and German help texts overlap by {overlap:.2f}")

    folder = tempfile.mkdtemp(prefix="kolvex-e2e-")
    try:
        shutil.copy(os.path.join(BIN, GAME), folder)
        shutil.copytree(os.path.join(BIN, "locale"), os.path.join(folder, "locale"))
        process = wine(os.path.join(folder, GAME), cwd=folder, language={"LANGUAGE": "en", "LC_ALL": "C.UTF-8"})
        box = wait_for_window('^"Kolvex" warning!$')
        keys(box, "Return")
        code = wait_exit(process)
        check(code == 1, f"exit code {code} after a failed start-up, expected 1")
    finally:
        shutil.rmtree(folder, ignore_errors=True)


def languages_by_locale():
    """German for a player whose locale is German (LANG=de_DE.UTF-8, no
    LANGUAGE), as a German desktop starts programs. The locale is made for
    the test where the system has its source (glibc needs it compiled)."""
    source = "/usr/share/i18n/locales/de_DE"
    if not os.path.exists(source) or not shutil.which("localedef"):
        raise Skip(f"no {source} or localedef here to make the de_DE.UTF-8 locale (Debian's locales package)")
    locales = tempfile.mkdtemp(prefix="kolvex-e2e-locales-")
    try:
        made = run("localedef", "-i", "de_DE", "-f", "UTF-8", os.path.join(locales, "de_DE.UTF-8"))
        if made.returncode not in (0, 1) or not os.path.isdir(os.path.join(locales, "de_DE.UTF-8")):
            raise Skip(f"localedef could not make de_DE.UTF-8: {made.stderr[-300:]}")
        menus = {}
        for name, language in (("original", {}), ("german", {"LANG": "de_DE.UTF-8", "LOCPATH": locales})):
            process, window = start_game(language=language)
            menus[name] = menu_banners(window, f"menu-locale-{name}")
            check(quit_from_menu(process, window) == 13, f"{name}: no exit code 13 after Quit")
        check_lettering("German by LANG", menus["german"], menus["original"], True)
    finally:
        shutil.rmtree(locales, ignore_errors=True)


def portable_bare_system():
    """On a bare Debian (SUITE) with a desktop's libraries and no SDL, fontconfig
    or font: every library found in the folder or that set, the menu and the
    help screen drawn, its Chinese lettered as the .deb's game letters it
    (the same face), and Quit ending with 13."""
    folder = "/opt/" + os.path.basename(unpack_tarball(os.path.join(CHROOT, "opt")))
    for binary in ["kolvex"] + [f"lib/{name}" for name in sorted(SHIPPED_LIBRARIES)]:
        found = dict(re.findall(r"^\s*(\S+) => (not found|\S+)", chroot_run("ldd", f"{folder}/{binary}"), re.M))
        for name, where in found.items():
            inside = where.startswith(folder + "/lib/")
            check(inside == (name in SHIPPED_LIBRARIES), f"{binary}: {name} from {where}")
            check(inside or not name.startswith(NEVER_FROM_THE_SYSTEM), f"{binary}: {name} from the system")
        check(binary != "kolvex" or SHIPPED_LIBRARIES <= set(found), f"kolvex loads only {sorted(found)}")

    process, window = start_game()  # the linux build's, with the system's font
    reference = help_ink(window, "linux-help")
    check(wait_exit(process) == 13, "the linux build did not quit with 13")
    process, window = chroot_game(folder)
    original = chroot_menu()
    ink = help_ink(window, "portable-help")
    # A glyph missing from the subset draws nothing; the Chinese is most of the ink.
    shared = len(ink & reference) / max(1, len(ink | reference))
    check(len(reference) > 3000 and shared > 0.9,
          f"help lettering: {len(ink)} px against the .deb game's {len(reference)}, {shared:.0%} in common")
    code = wait_exit(process)
    check(code == 13, f"exit code {code} after Quit, expected 13")
    # English from the catalogue and the pictures beside it in the folder,
    # under a locale as a desktop has one: newer C libraries ignore LANGUAGE
    # under C.UTF-8 as they do under C. The locale goes again afterwards.
    chroot_run("apt-get", "install", "-y", "-qq", "--no-install-recommends", "locales")
    try:
        chroot_run("localedef", "-i", "en_US", "-f", "UTF-8", "en_US.UTF-8")
        process, window = chroot_game(folder, ("LANGUAGE=en", "LANG=en_US.UTF-8"))
        check_lettering("English in the tarball", chroot_menu(), original, True)
        english = help_ink(window, "portable-help-english")
        overlap = len(english & ink) / max(1, len(english | ink))
        check(len(english) > 2000 and overlap < 0.8, f"the English help overlaps the original's by {overlap:.2f}")
        check(wait_exit(process) == 13, "the English game did not quit with 13")
    finally:
        run(*in_chroot("apt-get", "purge", "-y", "-qq", "locales"))
        run(*in_chroot("rm", "-f", "/usr/lib/locale/locale-archive"))


def portable_without_sound():
    """The same tarball with no sound library on the system: silent, no box, Quit 13."""
    folder = "/opt/" + os.path.basename(unpack_tarball(os.path.join(CHROOT, "opt")))
    chroot_run("dpkg", "--purge", SOUND_PACKAGE)
    try:
        check(not glob.glob(os.path.join(CHROOT, "usr/lib/*/libasound.so*")), "libasound is still there")
        code = quit_from_menu(*chroot_game(folder))
        check(code == 13, f"exit code {code} after Quit, expected 13")
    finally:
        # From the chroot's package cache; the next set-up does it too if this fails.
        run(*in_chroot("apt-get", "install", "-y", "-qq", "--no-install-recommends", SOUND_PACKAGE))


def wait_for_top_window(title, process, timeout=30):
    """A window of the root that shows with exactly this title. SDL's own X11
    box types its WM_NAME "UTF-8", which xdotool's search cannot read."""
    deadline = time.time() + timeout
    while time.time() < deadline:
        check(process.poll() is None, f"the program ended ({process.returncode}) before a window named {title!r} showed")
        for window, name in re.findall(r'^\s*(0x[0-9a-f]+) "(.*)": \(', run("xwininfo", "-root", "-children").stdout, re.M):
            if name == title and "IsViewable" in run("xwininfo", "-id", window).stdout:
                return window
        time.sleep(0.1)
    raise Failure(f"no window named {title!r} within {timeout} s")


def portable_without_font():
    """The unpacked tarball without its font, and without data.qv: the game's
    own box has no font to write with, so SDL's box says in English what
    failed and which font is missing (both lines on standard error too), and
    Enter on it ends the game with 1. Started from another folder."""
    unpacked = tempfile.mkdtemp(prefix="kolvex-e2e-tarball-")
    try:
        top = os.path.realpath(unpack_tarball(unpacked))
        os.unlink(os.path.join(top, "wqy-microhei-subset.ttf"))
        os.unlink(os.path.join(top, "data.qv"))
        process = wine(os.path.join(top, GAME), cwd=unpacked)
        box = wait_for_top_window('"Kolvex" problem', process)
        check(not run("xdotool", "search", "--onlyvisible", "--name", "^Kolvex$").stdout.strip(),
              "the game window is still up behind the message")
        keys(box, "Return")
        code = wait_exit(process)
        check(code == 1, f"exit code {code} after a failed start-up, expected 1")
        said = [line for line in said_by(games[-1][1]).splitlines() if line.startswith("kolvex: ")]
        expected = [f"kolvex: data.qv not found in {top}", f"kolvex: font {top}/wqy-microhei-subset.ttf is missing"]
        check(said == expected, f"standard error said {said}, not {expected}")
    finally:
        shutil.rmtree(unpacked, ignore_errors=True)


def shortcut_target(path):
    """The program and working folder a Windows shortcut (.lnk) starts: the
    local base path of its link information and its working-folder string."""
    with open(path, "rb") as f:
        data = f.read()
    flags = int.from_bytes(data[20:24], "little")
    at = 76
    if flags & 0x1:  # an item list, which the link information repeats
        at += 2 + int.from_bytes(data[at:at + 2], "little")
    check(flags & 0x2, "the shortcut has no link information")
    info = data[at:]
    base = info[int.from_bytes(info[16:20], "little"):]
    target = base[:base.index(b"\0")].decode("latin-1")
    at += int.from_bytes(info[0:4], "little")
    strings = {}
    for bit, name in ((0x4, "name"), (0x8, "relative"), (0x10, "folder"), (0x20, "arguments"), (0x40, "icon")):
        if flags & bit:
            count = int.from_bytes(data[at:at + 2], "little")
            # Wine counts a terminating NUL in, which the format leaves out.
            strings[name] = data[at + 2:at + 2 + 2 * count].decode("utf-16-le").rstrip("\0")
            at += 2 + 2 * count
    return target, strings.get("folder", "")


def wine_tool(*args):
    """A Wine tool's run, its output through a file: a Wine service it starts
    may keep any pipe it inherits open long after the tool has ended."""
    with tempfile.TemporaryFile(mode="w+") as out:
        done = subprocess.run([WINE_RUN, *args], stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.DEVNULL)
        out.seek(0)
        return subprocess.CompletedProcess(done.args, done.returncode, out.read(), "")


def registry_entries(key, view):
    """Subkeys of a registry key in one registry view ("32" or "64": Wine's
    reg query /s /reg:VIEW) as {subkey: {value name: data}}."""
    out = wine_tool("reg", "query", key, "/s", f"/reg:{view}").stdout
    entries, current = {}, None
    for line in out.splitlines():
        if line.startswith("HKEY_"):
            current = entries.setdefault(line.strip(), {})
        elif current is not None and line.strip():
            parts = line.strip().split("    ")
            current[parts[0]] = parts[2] if len(parts) > 2 else ""
    return entries


def set_file_version(path, old, new):
    """Rewrites the version resource of a program or DLL from version old to
    new (strings of equal length): the fixed numbers and the version strings."""
    with open(path, "rb") as f:
        data = bytearray(f.read())
    at = data.find(b"\xbd\x04\xef\xfe")  # VS_FIXEDFILEINFO's signature
    check(at >= 0, f"{path} has no version resource")
    major, minor, patch = (int(n) for n in new.split("."))
    for offset in (8, 16):  # file version, then product version: MS word, LS word
        data[at + offset:at + offset + 8] = ((major << 16 | minor).to_bytes(4, "little") +
                                            (patch << 16).to_bytes(4, "little"))
    before, after = (v.encode("utf-16-le") + b"\0\0" for v in (old, new))
    check(len(before) == len(after), f"versions {old} and {new} differ in length")
    check(data.count(before) == 2, f"{path}: not two version strings {old}")
    with open(path, "wb") as f:
        f.write(data.replace(before, after))


def build_msi(stage, version, msi):
    """The package target's installer recipe, on other staged files or for
    another version."""
    done = run(os.environ["KOLVEX_CMAKE"], f"-DCPACK_TEMPORARY_DIRECTORY={stage}", f"-DCPACK_PACKAGE_VERSION={version}",
               f"-DCPACK_KOLVEX_MSI={msi}", "-DCPACK_PACKAGE_FILE_NAME=none", "-P", os.environ["KOLVEX_MSI_RECIPE"])
    check(done.returncode == 0, f"building {msi} failed: {done.stdout[-1000:]}{done.stderr[-1000:]}")
    return msi


def msi_property(msi, name):
    table = run("msiinfo", "export", msi, "Property").stdout
    return dict(line.split("\t", 1) for line in table.splitlines() if "\t" in line).get(name)


def installer():
    """The Windows installer as a player meets it, in a Wine prefix of this
    test's own: the previous version installed, this one over it, a rebuild of
    this one over that, the files, shortcut and Apps & Features entry, the game
    started the way the shortcut starts it, a downgrade refused, uninstall,
    nothing left."""
    msi, prefix = os.environ["KOLVEX_MSI"], os.environ["KOLVEX_MSI_PREFIX"]
    version = os.environ["KOLVEX_VERSION"]
    # A prefix is used again only if the last run left it verified clean.
    clean = os.path.join(prefix, ".kolvex-left-clean")
    if not os.path.exists(clean):
        shutil.rmtree(prefix, ignore_errors=True)
    else:
        os.unlink(clean)
    os.environ.update(WINEPREFIX=prefix, HOME=prefix + "-home", WINEDLLOVERRIDES="winemenubuilder.exe=d")
    os.makedirs(os.environ["HOME"], exist_ok=True)
    drive_c = os.path.join(prefix, "drive_c")
    folder = os.path.join(drive_c, "Program Files (x86)", "Kolvex")
    uninstall = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall"
    products = r"HKLM\Software\Classes\Installer\Products"
    windows_path = lambda path: "Z:" + os.path.abspath(path).replace("/", "\\")
    unix = lambda path: os.path.join(drive_c, path[3:].replace("\\", "/"))  # C:\... in the prefix
    files = ("Kolvex.exe", "Morvane.dll", "data.qv", "README.txt", "LICENSE.txt", "THIRD-PARTY.txt")

    # The previous version: this release's files with the version the
    # previous release's carried (the installer itself never compares file
    # versions: it removes the old product before installing the new one),
    # so that the upgrade's new files can be told from the old ones. And a
    # second build of this version, from the same files.
    scratch = tempfile.mkdtemp(prefix="kolvex-e2e-msi-")
    with zipfile.ZipFile(os.environ["KOLVEX_ZIP"]) as z:
        z.extractall(scratch)
    this = os.path.join(scratch, os.listdir(scratch)[0])
    major, minor, patch = (int(n) for n in version.split("."))
    check(patch > 0, f"no previous patch release of {version} to upgrade from")
    previous_version = f"{major}.{minor}.{patch - 1}"
    previous = os.path.join(scratch, "previous")
    shutil.copytree(this, previous)
    for name in ("Kolvex.exe", "Morvane.dll"):
        set_file_version(os.path.join(previous, name), version, previous_version)
    previous_msi = build_msi(previous, previous_version, os.path.join(scratch, f"Kolvex-{previous_version}.msi"))
    rebuilt_msi = build_msi(this, version, os.path.join(scratch, f"Kolvex-{version}-rebuilt.msi"))
    codes = {name: msi_property(path, "ProductCode") for name, path in
             (("this", msi), ("rebuilt", rebuilt_msi), ("previous", previous_msi))}
    print(f"product codes: {version} {codes['this']}, {version} rebuilt {codes['rebuilt']}, "
          f"{previous_version} {codes['previous']}")
    check(codes["this"] == codes["rebuilt"], "two builds of one version have different product codes")
    check(codes["this"] != codes["previous"], "two versions have one product code")
    check(msi_property(msi, "UpgradeCode") == msi_property(previous_msi, "UpgradeCode"), "the upgrade code changed")

    # Apps & Features lists both registry views; a 32-bit package's entry is
    # in the 32-bit one when a 64-bit msiexec installs it. Each view is read
    # by name (a 32-bit reg.exe reading the plain key sees the 32-bit view),
    # and entries count by their product code, not by the path they are seen at.
    def ours(key):
        entries = {}
        for view in ("64", "32"):
            for path, values in registry_entries(key, view).items():
                if values.get("DisplayName", values.get("ProductName")) == "Kolvex":
                    entries.setdefault(path.rsplit("\\", 1)[1], (path, values))
        return list(entries.values())

    def the_entry(expected_version):
        entries = ours(uninstall)
        check(len(entries) == 1, f"{len(entries)} Apps & Features entries named Kolvex: {[k for k, _ in entries]}")
        key, entry = entries[0]
        check(entry.get("DisplayVersion") == expected_version, f"version {entry.get('DisplayVersion')!r}")
        return key.rsplit("\\", 1)[1], entry

    def installed_like(stage):
        for name in files:
            check(os.path.isfile(os.path.join(folder, name)), f"{name} not installed in {folder}")
            with open(os.path.join(folder, name), "rb") as a, open(os.path.join(stage, name), "rb") as b:
                check(a.read() == b.read(), f"the installed {name} is not {os.path.basename(stage)}'s")

    def install(path):
        return wine_tool("msiexec", "/i", windows_path(path), "/qn").returncode

    # Windows puts a per-machine product's shortcut in the common Programs
    # menu; Wine's installer puts it in the user's.
    def shortcuts():
        menus = ("ProgramData", "users/*/AppData/Roaming")
        return [p for m in menus for p in glob.glob(f"{drive_c}/{m}/Microsoft/Windows/Start Menu/Programs/Kolvex.lnk")]

    try:
        check(install(previous_msi) == 0, f"msiexec /i of {previous_version} failed")
        code, _ = the_entry(previous_version)
        check(code == codes["previous"], f"{previous_version} installed as {code}")
        installed_like(previous)

        # The upgrade: one entry, this version's, and this version's files.
        check(install(msi) == 0, f"msiexec /i of {version} over {previous_version} failed")
        code, entry = the_entry(version)
        check(code == codes["this"], f"{version} installed as {code}")
        installed_like(this)
        # The same version built again, installed over it: still the one product.
        rebuilt = install(rebuilt_msi)
        code, entry = the_entry(version)
        print(f"a rebuild of {version} over it: msiexec {rebuilt}, one entry {code}")
        check(code == codes["this"], f"the rebuild left entry {code}")
        installed_like(this)

        check(entry.get("Publisher") == "The Kolvex developers", f"publisher {entry.get('Publisher')!r}")
        product = ours(products)
        check(len(product) == 1, f"{len(product)} product registrations")
        icon = product[0][1].get("ProductIcon", "")
        check(icon.lower().endswith(".ico"), f"no product icon: {icon!r}")
        check(os.path.isfile(unix(icon)), f"icon {icon} not installed")
        links = shortcuts()
        check(len(links) == 1, f"{len(links)} Start-menu shortcuts")

        target, working = shortcut_target(links[0])
        check(target.lower() == r"c:\program files (x86)\kolvex\kolvex.exe", f"the shortcut starts {target}")
        check(os.path.realpath(unix(working)) == os.path.realpath(folder), f"the shortcut starts in {working!r}")
        if os.environ.get("KOLVEX_STARTS_PROGRAMS", "ON") == "ON":
            process = wine(unix(target), cwd=unix(working))
            window = wait_for_window("^Kolvex$", process=process)
            _, origin = client_origin(window)
            time.sleep(1.0)
            shot = screenshot(origin, "windows-installed")
            shot.save(os.path.join(tempfile.gettempdir(), "kolvex-e2e-windows-installed-client.png"))
            menu = lit_fraction(shot, MENU_BANNERS)
            check(menu > 0.3, f"menu banners not drawn ({menu:.2f} lit)")
            code = quit_from_menu(process, window)
            check(code == 13, f"exit code {code}, expected 13")
            no_game_left()
        else:
            print("installer: the installed 32-bit game is not started: this kernel runs no 32-bit programs")

        # A downgrade is refused, and the player is told why: with the basic
        # interface the installer shows its message in a box, whose text
        # Wine's message-box trace records.
        with tempfile.TemporaryFile(mode="w+", errors="replace") as said:
            downgrade = subprocess.Popen([WINE_RUN, "msiexec", "/i", windows_path(previous_msi), "/qb"],
                                         stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=said,
                                         env={**os.environ, "KOLVEX_WINEDEBUG": "-all,trace+msgbox"})
            box = wait_for_window("^Install Failed$", process=downgrade)
            keys(box, "Return")
            refused = wait_exit(downgrade, timeout=60)
            said.seek(0)
            shown = re.findall(r':msgbox:.*?L"(.*)"', said.read())
        print(f"{previous_version} over {version}: msiexec {refused}, the box said {shown}")
        check(refused != 0, f"{previous_version} installed over {version}")
        check(shown == ["A newer version of Kolvex is already installed."], "the downgrade's box does not give the message")
        the_entry(version)
        installed_like(this)

        check(wine_tool("msiexec", "/x", windows_path(msi), "/qn").returncode == 0, "msiexec /x failed")
        left = [p for p in [folder, icon and os.path.dirname(unix(icon))] + shortcuts() if p and os.path.lexists(p)]
        left += [k for k, _ in ours(uninstall) + ours(products)]
        check(not left, f"left behind after uninstalling: {left}")
        open(clean, "w").close()
    finally:
        # Ends this prefix's own wineserver (and whatever still runs under it).
        run(shutil.which("wineserver") or "/usr/lib/wine/wineserver", "-k")
        shutil.rmtree(scratch, ignore_errors=True)


SCENARIOS = {
    "startup_menu": startup_menu,
    "play_and_drop": play_and_drop,
    "sound_notice": sound_notice,
    "credits": credits,
    "held_key_repeats": held_key_repeats,
    "quit_from_menu": quit_from_menu_scenario,
    "quit_again_and_again": quit_again_and_again,
    "wine_fault_lines": wine_fault_lines,
    "program_saying": program_saying,
    "close_window": close_window,
    "close_with_alt_f4": close_with_alt_f4,
    "end_session": end_session,
    "missing_archive": missing_archive,
    "corrupt_archive": corrupt_archive,
    "oversize_picture": oversize_picture,
    "bad_sounds": bad_sounds,
    "sound_clips": sound_clips,
    "message_box_dismissals": message_box_dismissals,
    "controller": controller,
    "xinput_controller": xinput_controller,
    "installed_package": installed_package,
    "full_screen": full_screen,
    "minimised_idle": minimised_idle,
    "drawn_on_change": drawn_on_change,
    "languages": languages,
    "languages_by_locale": languages_by_locale,
    "installer": installer,
    "bare_chroot": bare_chroot,
    "portable_bare_system": portable_bare_system,
    "portable_without_sound": portable_without_sound,
    "portable_without_font": portable_without_font,
}

# Played on a screen of today's size with a real window manager.
ON_A_DESKTOP = {"full_screen", "minimised_idle", "drawn_on_change"}

if __name__ == "__main__":
    name = sys.argv[1]
    display = manager = None
    if NATIVE:
        display = private_display("1920x1080" if name in ON_A_DESKTOP else "1024x768")
        manager = window_manager() if name in ON_A_DESKTOP else None
    try:
        SCENARIOS[name]()
        no_game_left()
        no_sanitizer_report()
        no_wine_fault()
    except Skip as reason:
        print(f"skipped: {reason}")
        sys.exit(77)
    except Failure as failure:
        print(f"{name}: FAILED: {failure}")
        for _, log in games:
            said = said_by(log).strip()
            if said:
                print(f"the game said:\n{said[-2000:]}")
        sys.exit(1)
    finally:
        end_games()
        if manager is not None:
            manager.kill()
            manager.wait()
        if display is not None:
            display.kill()
            display.wait()
    print(f"{name}: passed")
