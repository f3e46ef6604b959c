// Game controllers on the native build: SDL's GameController devices, opened
// as they arrive, turned into the same virtual-key presses the keyboard makes.
// Called by main (open, repeats, close) and by the window's event handling.
#pragma once

#include <SDL_events.h>

#include <cstdint>

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

// The window lost the focus: nothing held, nothing repeats. Called without
// the game-state lock held, as on Windows: it takes the lock itself to let go
// of what the pads had marked.
void ForgetControllerInputs();
