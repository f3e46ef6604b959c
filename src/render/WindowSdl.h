// The native game window on SDL2: the window with its legacy OpenGL context,
// every creation failure reported as on Windows, the tear-down, and the
// events turned into the window procedure's meanings. Called by main only.
#pragma once

#include <SDL_events.h>

#include <cstdint>

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
// Blocks until an event is queued and takes it; see WindowSdl.cpp for why this
// and not SDL_WaitEvent.
void WaitForEvent(SDL_Event& event);

// The game's message boxes (problem and warning captions).
void ShowProblem(const char16_t* text);
void ShowWarning(const char16_t* text);
