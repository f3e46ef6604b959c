// The game window and its OpenGL context, declared once for every program:
// made at start-up with every failure shown in a box (and the program then
// ends with 1; a page stops with the box shown), torn down at exit. Defined by
// WindowWin32.cpp (one 800 x 600 window, WGL) and WindowSdl.cpp (a scalable
// window with full screen and its own frame pace, SDL2; on the page, the
// canvas). Each side's events or messages reach the game through
// the portable steps (app/Steps.h); how a side gets them is its own header's.
#pragma once

// Registers, creates and shows the window, makes its context current and
// loads the assets: false, the reason already shown, when any step fails.
bool CreateGLWindow();
// Releases the context and the window; each failure shown, none fatal.
void KillGLWindow();
