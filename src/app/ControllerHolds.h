// The controllers' held-input bookkeeping and their one mapping onto the
// keyboard's keys, shared by both builds' controller layers (ControllerSdl,
// ControllerWin32), which call it on the main thread for every change a pad makes.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

using PadClock = std::chrono::steady_clock;

// One connected controller, as its layer numbers it (SDL's instance id, an
// XInput slot). Nothing here cares which.
using PadId = std::int32_t;

enum class PadInput : std::uint8_t {
    South,  // A
    East,   // B
    West,   // X
    Start,
    Back,
    PadUp,
    PadDown,
    PadLeft,
    PadRight,
    StickUp,
    StickDown,
    StickLeft,
    StickRight,
};

struct RepeatRate {
    PadClock::duration delay;
    PadClock::duration interval;
};

// The virtual-key code an input stands for where it is pressed. A stands for
// whichever of Space and Enter acts there: marking both would let one press
// that drops the last piece also take the entry of the menu the game over
// opens (a new game before the player sees the end), and a held A that
// started a game would drop pieces once it repeats.
std::uint8_t KeyForPadInput(PadInput input, bool menuOpen);

// Where a stick axis points (-1, 0, +1) given its value and where it pointed
// before: past half way it points, and it lets go only well inside that line,
// so a stick resting near the line does not flicker on and off.
int StickDirection(int value, int before);

// The inputs every controller holds and the one that repeats. For a press it
// accepts, the caller marks the code and runs HandleKeys; it unmarks the codes
// a release returns. Kept apart from the devices and the game state so that
// it can be tested without either.
class ControllerHolds {
public:
    explicit ControllerHolds(RepeatRate rate) : rate_(rate) {}

    // False for an input already held (nothing to do); else it holds the
    // virtual-key code it stands for, and it is now the input that repeats,
    // first after the delay.
    bool Press(PadId pad, PadInput input, std::uint8_t code, PadClock::time_point now);
    // The code to unmark, or 0 while another input still holds it.
    std::uint8_t Release(PadId pad, PadInput input);
    // A controller gone: everything it held, as Release.
    std::vector<std::uint8_t> ReleasePad(PadId pad);
    // Forgets every input; returns the codes that were held.
    std::vector<std::uint8_t> ReleaseAll();
    // The window lost the focus: as ReleaseAll, but what was held is kept
    // aside for TakeSuspended, so that the focus's return can press anew
    // what is still held then.
    std::vector<std::uint8_t> Suspend();
    // The inputs held when the focus went, once; empty after.
    std::vector<std::pair<PadId, PadInput>> TakeSuspended();
    bool Holds(PadId pad, PadInput input) const;
    // The code to press again when the repeating input is due at now, else
    // 0; a late pass repeats once, missed repeats are not made up.
    std::uint8_t RepeatDue(PadClock::time_point now);
    // When the repeating input is next due; none while nothing repeats.
    std::optional<PadClock::time_point> NextRepeat() const;

private:
    struct Hold {
        PadId pad;
        PadInput input;
        std::uint8_t code;
    };
    bool CodeHeld(std::uint8_t code) const;

    RepeatRate rate_;
    std::vector<Hold> holds_;
    std::vector<std::pair<PadId, PadInput>> suspended_;
    bool repeating_ = false;
    Hold lead_{};
    PadClock::time_point due_{};
};

// ------------------------------------------------------------------------
// The same inputs reaching the game (ControllerPresses.cpp), each step under
// the game-state lock, exactly as a key: a press is the keys' own step
// (KeyStep), so one that ends the game leaves its code as the exit code.
// Those that can press return the code pressed, else 0.

std::uintptr_t PressPadInput(ControllerHolds& holds, PadId pad, PadInput input, PadClock::time_point now);
void ReleasePadInput(ControllerHolds& holds, PadId pad, PadInput input);
// One stick axis as two opposite inputs: the old one let go, the new one pressed.
std::uintptr_t MovePadStick(ControllerHolds& holds, PadId pad, PadInput negative, PadInput positive, int value,
                            PadClock::time_point now);
// The held input's repeat when one is due: a press like an auto-repeated key.
std::uintptr_t RunPadRepeat(ControllerHolds& holds, PadClock::time_point now);
// The focus is back: each input that was held when it went (Suspend) and that
// `stillDown` says is down now presses anew, as a key held through the loss
// repeats once the window has the focus again; one let go meanwhile does
// nothing. Both sides' pads call it. Returns the last code pressed, else 0.
std::uintptr_t PressStillHeld(ControllerHolds& holds, const std::function<bool(PadId, PadInput)>& stillDown,
                              PadClock::time_point now);
// Unmarks what a release of a pad or of everything returned.
void UnmarkPadCodes(const std::vector<std::uint8_t>& codes);
