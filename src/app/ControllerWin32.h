// The XInput side of Controllers.h, beside it: the pads object behind the
// seam's calls, testable with stand-ins for XInputGetState and the foreground
// window. OpenControllers loads XInput (1.4, then 1.3, then 9.1.0), for the
// life of the process, and reads the keyboard's repeat delay and rate for
// held inputs.
#pragma once

#include "state/PlatformTypes.h"
// After <windows.h>, which PlatformTypes.h includes.
#include <xinput.h>

#include "app/ControllerHolds.h"
#include "app/Controllers.h"

using XInputGetStateProc = DWORD(WINAPI*)(DWORD slot, XINPUT_STATE* state);
using ForegroundWindowProc = HWND(WINAPI*)();

// The keyboard's repeat as the control panel's two settings give it: delay
// 0..3 (250 ms to 1 s), speed 0..31 (about 2.5 to 30 repeats a second).
RepeatRate KeyboardRepeatRate(UINT delaySetting, UINT speedSetting);

// The four XInput slots. Asking an empty slot can take a millisecond or more
// on Windows, so a slot without a pad is asked again only once a second, and
// no more than one such slot a poll; connected pads are read on every poll.
class XInputPads {
public:
    XInputPads(XInputGetStateProc getState, RepeatRate rate, ForegroundWindowProc foreground = GetForegroundWindow)
        : getState_(getState), foreground_(foreground), holds_(rate) {}

    // Reads the pads, acts on what changed and on a due repeat; returns the
    // code of the last press, else 0. XInput reads a pad whichever program
    // has the foreground, so nothing is read unless `window` is active and
    // the foreground window: a game started behind a launcher never gets the
    // focus loss that would tell it, and must not take the launcher's presses.
    std::uintptr_t Poll(PadClock::time_point now, HWND window, bool windowActive);
    // Lets go of every input without unmarking (the caller has let go of every
    // key); buttons still down when the window is active again press anew.
    void Forget();
    // The focus is back: what was held at the loss and is down now presses
    // anew at once (PressStillHeld); the next poll takes what else changed.
    void Resume(PadClock::time_point now);

private:
    struct Slot {
        bool connected = false;
        bool applied = false;  // the pad's state as of `packet` is what holds_ holds
        DWORD packet = 0;
        PadClock::time_point askAgain{};
    };
    std::uintptr_t Apply(PadId pad, const XINPUT_GAMEPAD& state, PadClock::time_point now);

    XInputGetStateProc getState_;
    ForegroundWindowProc foreground_;
    ControllerHolds holds_;
    Slot slots_[XUSER_MAX_COUNT];
};
