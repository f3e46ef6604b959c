// The Windows timer thread's own entry, beside the seam in TimerThread.h:
// nine system timers without a window, pumped by a polling loop until quit is
// requested. Started by StartTimerThread; tests start it themselves.
#pragma once

#include "app/TimerThread.h"
#include "state/PlatformTypes.h"

DWORD WINAPI TimerThread(LPVOID argument);
