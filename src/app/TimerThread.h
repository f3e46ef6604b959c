// The game's timers, declared once for every program: the nine timers of
// kTickTimers (Ticks.h), each tick whole under the game-state lock, until quit
// is requested. A thread runs them in TimerThreadWin32.cpp (its own message
// queue's timers) and TimerThreadSdl.cpp (the steady clock); a page has no
// thread, so TimerThreadWeb.cpp runs them from its animation frames.
// Called by the program entries.
#pragma once

// Starts the timers once the window exists.
void StartTimerThread();
// Stops them after quit was requested, waiting for a thread's last tick; call
// it without the lock (that tick may need it), before releasing what the
// ticks use.
void JoinTimerThread();
