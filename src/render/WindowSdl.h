// The SDL side of Window.h, beside it: the events of the window and the
// controllers turned into the game's steps, the frame drawn and presented at
// the display's pace, and the event wait. Called by main; the message box
// shares its event wait.
#pragma once

#include <SDL_events.h>
#include <SDL_timer.h>

#include <chrono>
#include <cstdint>
#include <optional>

#include "render/ProblemBox.h"
#include "render/Window.h"

// Acts on one event as WindowProc acts on the message Windows would send for it.
void HandleWindowEvent(const SDL_Event& event);

// The loop's pass, around the events it handles: BeginPass notes the record
// before them; DrawPass draws a frame when the picture changed or was lost (at
// once after a key's or a pad's change, at the display's pace after a tick's)
// and says until when the loop may wait: the next frame's time when a change
// waits for it, none when nothing waits. With pacing turned off every pass
// draws at once, and the loop may not wait at all. EndPass (the native loop's)
// draws and then waits, within a millisecond of an input, until that time or
// until anything happens; the page's loop draws and returns to the browser.
void BeginPass();
std::optional<std::chrono::steady_clock::time_point> DrawPass();
void EndPass();
// The display's socket the wait watches; -1 where there is none.
int WindowXConnection();
// Waits until `deadline` (none: for as long as it takes), an event is queued,
// or a tick changed the picture; wakes within a millisecond of any of them.
// Not SDL's own event wait (see WaitForEvent): `xConnection` (the display's
// socket) and the timer thread's wake are watched with poll(); pads, which
// SDL reads only when its events are pumped, and a system without an X
// connection (-1) are checked every millisecond instead. Never under the lock.
void WaitForInput(std::optional<std::chrono::steady_clock::time_point> deadline, int xConnection);
// What the passes have done, for tests: frames drawn so far, and the frame
// period the loop paces itself at (zero: the driver's vsync paces it).
struct PassFacts {
    std::uint64_t framesDrawn;
    std::chrono::steady_clock::duration framePeriod;
};
PassFacts PassFactsNow();
// False while the window is minimised or hidden: there is nothing to draw for.
bool WindowShowing();

// SDL 2.26's own wait arms a wake-up: an event queued meanwhile, even by the
// waiting thread as it dispatches, makes it send the waited-on window a
// message over a second X connection. Destroying that window just after can
// reach the X server first, and the late message's BadWindow error then makes
// Xlib end the program with 1 (seen with the message box under load). Polling
// never arms the wake-up; 10 ms naps cost nothing measurable.
inline void WaitForEvent(SDL_Event& event) {
    while (SDL_PollEvent(&event) == 0) SDL_Delay(10);
}
