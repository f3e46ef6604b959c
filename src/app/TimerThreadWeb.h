// The page's ticks, beside the seam in TimerThread.h: a page served without
// cross-origin isolation has no threads, so the nine timers run from the
// animation frame's callback instead (TimerThreadWeb.cpp). Called by the
// page's entry (WinMainWeb.cpp) once a frame, before the frame's pass.
#pragma once

// Runs every tick that fell due since the last call, in the order they fell
// due (timers due together in creation order), each whole under the lock. A
// gap longer than a tenth of a second (a hidden tab, a stalled page) runs
// each late timer once and drops what it missed, as the native thread does.
void RunDueTicks();
