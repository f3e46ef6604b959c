// Game controllers on the native build: SDL's GameController devices, opened
// as they arrive, turned into the same virtual-key presses the keyboard makes.
// Called by main (open, repeats, close) and by the window's event handling.
#pragma once

#include <SDL_events.h>
#include <SDL_joystick.h>

#include <chrono>
#include <cstdint>
#include <vector>

// Starts SDL's controller support once the window exists (the keyboard's
// repeat delay and rate are read from its display) and opens the controllers
// already connected; later ones arrive as events.
void OpenControllers();
void CloseControllers();

// Acts on a controller event (device added or removed, button, axis) and
// returns the virtual-key code its press stands for, else 0: the parameter a
// key message would carry, the exit code if this press ends the game.
std::uintptr_t HandleControllerEvent(const SDL_Event& event);

// Runs the held input's repeat when one is due, a press like an auto-repeated
// key; parameter takes its code, as a key event's would. Once per loop pass.
void RunControllerRepeats(std::uintptr_t& parameter);

// The window lost the focus: nothing held, nothing repeats.
void ForgetControllerInputs();

// ------------------------------------------------------------------------
// The bookkeeping behind those (ControllerHoldsSdl.cpp), kept apart from
// SDL's devices and from the game state so that it can be tested without either.

using PadClock = std::chrono::steady_clock;

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

// Where a stick axis points (-1, 0, +1) given its value and where it pointed
// before: past half way it points, and it lets go only well inside that line,
// so a stick resting near the line does not flicker on and off.
int StickDirection(int value, int before);

// The inputs every controller holds and the one that repeats. For a press it
// accepts, the caller marks the code and runs HandleKeys; it unmarks the codes
// a release returns.
class PadHolds {
public:
    explicit PadHolds(RepeatRate rate) : rate_(rate) {}

    // False for an input already held (nothing to do); else it holds the
    // virtual-key code it stands for, and it is now the input that repeats,
    // first after the delay.
    bool Press(SDL_JoystickID pad, PadInput input, std::uint8_t code, PadClock::time_point now);
    // The code to unmark, or 0 while another input still holds it.
    std::uint8_t Release(SDL_JoystickID pad, PadInput input);
    // A controller gone: everything it held, as Release.
    std::vector<std::uint8_t> ReleasePad(SDL_JoystickID pad);
    // Forgets every input; returns the codes that were held.
    std::vector<std::uint8_t> ReleaseAll();
    bool Holds(SDL_JoystickID pad, PadInput input) const;
    // The code to press again when the repeating input is due at now, else
    // 0; a late pass repeats once, missed repeats are not made up.
    std::uint8_t RepeatDue(PadClock::time_point now);

private:
    struct Hold {
        SDL_JoystickID pad;
        PadInput input;
        std::uint8_t code;
    };
    bool CodeHeld(std::uint8_t code) const;

    RepeatRate rate_;
    std::vector<Hold> holds_;
    bool repeating_ = false;
    Hold lead_{};
    PadClock::time_point due_{};
};
