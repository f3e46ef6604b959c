// The steps both programs take on the game's behalf, each whole under the
// game-state lock: what a focus change, a key going down or up and a quit
// request do to the game is decided here, once. The platform files only turn
// their messages or events into these calls: WindowWin32.cpp, WindowSdl.cpp,
// and the pads through ControllerPresses.cpp.
#pragma once

#include <cstdint>

#include "state/PlatformTypes.h"

// The start-up both program entries run before their window exists, in the
// game's own order: the loops' flags, the font (`createFont`: the Windows
// font; null on the native side, which opens its font after the first
// frame), the menu's start values, the classic game Esc reaches from the
// menu, and the sound switched on. No other thread runs yet.
void StartStep(HFONT (*createFont)());

// The window gained (true) or lost the focus; minimising counts as a loss
// where the focus stays. A loss pauses the game, lets go of every held key
// (one released meanwhile sends no key-up) and of every pad input; a gain
// resumes it with the spin from the start. Called without the lock held.
void FocusStep(bool active);

// A key (a Windows virtual-key code, whichever side it came from) went down
// or up: marked, and a press handled by the keys' rules. Codes of 256 and
// above, which only programs posting made-up messages send, do nothing. A
// press that ends the game leaves its code as the exit code.
void KeyStep(std::uintptr_t virtualKey, bool down);

// KeyStep for a caller that already holds the lock: a pad's press, which
// picks its key from the menu's state under the same hold.
void KeyStepLocked(std::uintptr_t virtualKey, bool down);

// The game is to end with `code` as the exit code (the window's close: 0).
void QuitStep(std::uintptr_t code);

// The code of the step that ended the game: the key that chose Quit (13 for
// Enter), else what QuitStep was given; 0 while the game runs.
std::uintptr_t ExitCode();
