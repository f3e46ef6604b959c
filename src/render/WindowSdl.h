// The native game window on SDL2: the window with its legacy OpenGL context,
// every creation failure reported as on Windows, the tear-down, and the
// events turned into the window procedure's meanings. Called by main; the
// message box shares its event wait.
#pragma once

#include <SDL_events.h>
#include <SDL_timer.h>

#include <cstdint>
#include <string>

bool CreateGLWindow();
void KillGLWindow();

// Acts on one event as WindowProc acts on the message Windows would send for
// it, and returns that message's parameter (a key's virtual-key code, else 0),
// which becomes the exit code when the event ends the game.
std::uintptr_t HandleWindowEvent(const SDL_Event& event);

// One frame drawn under the lock, swapped outside it.
void PresentFrame();
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

// The game's message boxes (problem and warning captions). `said` is the
// English line already written to standard error about the same problem.
void ShowProblem(const char16_t* text, const std::string& said);
void ShowWarning(const char16_t* text, const std::string& said);
