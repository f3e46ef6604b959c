// The timer thread: nine system timers without a window, pumped by a polling
// loop until quit is requested. Started by WinMain once the window exists.
#pragma once

#include "state/PlatformTypes.h"

DWORD WINAPI TimerThread(LPVOID argument);

// Starts TimerThread; the caller keeps the handle so that shutdown can wait
// for the thread before releasing what its callbacks use.
HANDLE StartTimerThread();
