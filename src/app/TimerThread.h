// The timer thread, declared once for both programs: the nine timers of
// kTickTimers (Ticks.h), each tick whole under the game-state lock, running
// until quit is requested. Defined by TimerThreadWin32.cpp (system timers of
// its own message queue) and TimerThreadSdl.cpp (sleeping on the steady
// clock). Called by the program entries.
#pragma once

// Starts the thread once the window exists.
void StartTimerThread();
// Waits for the thread to end after quit was requested; call it without the
// lock (the last tick may need it), before releasing what the ticks use.
void JoinTimerThread();
