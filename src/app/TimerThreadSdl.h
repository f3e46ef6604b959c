// The native timer thread's side channel to the main loop, beside the seam in
// TimerThread.h: a tick that changed the picture marks it and makes a file
// descriptor readable, so a loop waiting for input wakes at once and draws.
// Read by the SDL window's wait (WindowSdl.cpp).
#pragma once

// Readable after a tick changed the picture, until TakeTickWake; -1 before
// the thread starts (the loop then naps instead of waiting on it).
int TickWakeFd();
// Whether a tick changed the picture since the last call; clears the mark.
bool TakeTickWake();
// Whether a tick changed the picture and the mark has not been taken.
bool TickWakePending();
