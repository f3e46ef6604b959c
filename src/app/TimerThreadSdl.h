// The native timer thread: the nine periodic timers on a std::thread that
// sleeps until the next one is due. Started by main once the window exists;
// main joins it after the loop, before releasing what its callbacks use.
#pragma once

#include <chrono>
#include <thread>

using TimerClock = std::chrono::steady_clock;

// When a timer that fell due at `due` and ran at `now` is due next: one period
// on, or, when it ran later than that, the first tick of its old rhythm still
// ahead. Missed ticks are never made up, and the phase never drifts.
TimerClock::time_point NextTickDue(TimerClock::time_point due, TimerClock::duration period, TimerClock::time_point now);

// Runs the timers until quit is requested; each callback whole under the lock.
void TimerThread();

std::thread StartTimerThread();
