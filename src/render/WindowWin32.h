// The Windows side of Window.h, beside it: the window procedure, which turns
// key, focus, size, paint and close messages into the game's steps. Called by
// the system's message dispatch (WinMain's loop) and by tests.
#pragma once

#include "render/ProblemBox.h"
#include "render/Window.h"
#include "state/PlatformTypes.h"

LRESULT CALLBACK WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
