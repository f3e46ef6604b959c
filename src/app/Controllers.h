// Game controllers, declared once for both programs: opened once the window
// is up, polled once a pass of the main loop, let go of on a focus loss, and
// each press reaching the game as the key it stands for (ControllerPresses.cpp).
// Defined by ControllerWin32.cpp (XInput pads, read on every poll) and
// ControllerSdl.cpp (SDL's game controllers, which arrive as events through
// the window's event handling: HandleControllerEvent in ControllerSdl.h).
#pragma once

// Opens what the system offers; with nothing to open, pads are simply not read.
void OpenControllers();
void CloseControllers();

// Once a loop pass, on the main thread: whatever the side reads by asking
// (the XInput pads; SDL's arrive as events) and the held input's repeat.
void PollControllers();

// The window lost the focus: nothing held, nothing repeats. Called without
// the game-state lock held (FocusStep, after it let go of the keys).
void ForgetControllerInputs();
// The window has the focus again: what was held when it went and is still
// down presses anew (PressStillHeld). Called without the lock (FocusStep).
void ResumeControllerInputs();
