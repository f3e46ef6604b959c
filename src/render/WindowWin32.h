// The game window and its OpenGL context: creation with every failure
// reported, tear-down, and the window procedure. Called by WinMain only.
#pragma once

#include "state/PlatformTypes.h"

bool CreateGLWindow();
void KillGLWindow();
LRESULT CALLBACK WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// Shows one of the game's message boxes (no owner, OK, information icon).
void ShowProblem(const wchar_t* text);
void ShowWarning(const wchar_t* text);
