// The native timer thread: the nine periodic timers on a std::thread that
// sleeps until the next one is due. Started by main once the window exists;
// main joins it after the loop, before releasing what its callbacks use.
#pragma once

#include <chrono>
#include <thread>

#include "app/TickSchedule.h"

using TimerClock = std::chrono::steady_clock;

// Runs the timers until quit is requested; each callback whole under the lock.
void TimerThread();

std::thread StartTimerThread();
