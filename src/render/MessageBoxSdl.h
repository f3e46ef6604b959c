// The SDL side's message box behind ProblemBox.h: the game's start-up and
// shutdown problems, shown in a small window of its own drawn with the game
// font (SDL's own box cannot draw Chinese on X11). Called by the window code
// of the native game; Windows shows MessageBoxW instead.
#pragma once

#include <string>

// Blocks until the box is dismissed (Enter, Esc, its button, or a close); the
// page's (MessageBoxWeb.cpp) returns at once, leaving its box shown.
// Works with or without SDL video started and with or without the game
// window; with no display to show it on, writes "caption: text" to stderr.
// Where no font opens, it writes that too, with "kolvex: " and the font's
// failure, and shows SDL's own box in English: `said` (the English line
// already written about the same problem, if any) and that failure.
void ShowMessageBoxSdl(const char16_t* text, const char16_t* caption, const std::string& said = {});
