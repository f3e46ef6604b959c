// The game's message boxes, declared once for both programs: a problem
// (start-up or shutdown steps) and a warning (the assets), each blocking until
// dismissed, with the game's own Chinese texts. Defined by WindowWin32.cpp
// (MessageBoxW) and WindowSdl.cpp (our own box, MessageBoxSdl.cpp, since SDL's
// cannot draw Chinese on X11). The native build also prints an English line
// for each start-up failure (StartupReportSdl.h); the Windows build has none,
// since a Windows program has no standard error a player sees.
#pragma once

void ShowProblem(const char16_t* text);
void ShowWarning(const char16_t* text);
