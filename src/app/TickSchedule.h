// When a periodic event is next due once it has run: the native timer
// thread's ticks, a held controller input's repeats and the native window's
// own frame pace follow the same rule. Called by TimerThreadSdl.cpp,
// ControllerHolds.cpp and WindowSdl.cpp.
#pragma once

#include <chrono>

// When an event that fell due at `due` and ran at `now` is due next: one period
// on, or, when it ran later than that, the first tick of its old rhythm still
// ahead. Missed ticks are never made up, and the phase never drifts.
std::chrono::steady_clock::time_point NextTickDue(std::chrono::steady_clock::time_point due,
                                                  std::chrono::steady_clock::duration period,
                                                  std::chrono::steady_clock::time_point now);

// The time between frames on a display that refreshes `refreshRate` times a
// second; 60 Hz, what a display that reports no rate most likely runs at.
std::chrono::steady_clock::duration FramePeriod(int refreshRate);
