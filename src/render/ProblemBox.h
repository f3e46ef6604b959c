// The game's message boxes, declared once for every program: a problem
// (start-up or shutdown steps) and a warning (the assets), in the game's own
// texts. A program's box blocks until dismissed (WindowWin32.cpp's MessageBoxW,
// WindowSdl.cpp's own, MessageBoxSdl.cpp); a page's stays over the canvas and
// the page stops (MessageBoxWeb.cpp). The SDL builds add an English line on
// standard error (StartupReportSdl.h), which the page's console shows.
#pragma once

void ShowProblem(const char16_t* text);
void ShowWarning(const char16_t* text);
