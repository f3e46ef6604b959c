// The native timer thread's side channel to the main loop, beside the seam in
// TimerThread.h: a tick that changed the picture marks it and makes a file
// descriptor readable, so a loop waiting for input wakes at once and draws.
// Read by the SDL window's wait (WindowSdl.cpp).
#pragma once

// The pipe behind the wake, made once by StartTimerThread.
void OpenTickWake();
// Readable after a tick changed the picture; -1 before the pipe is made (the
// loop then naps instead of waiting on it). A readable pipe is only a prompt
// to drain it and ask TickWakePending: its byte can outlive its mark.
int TickWakeFd();
// The timer thread's two halves of a wake, in this order: the mark (true
// when no mark was waiting, and the byte must follow), then the byte.
bool MarkTickWake();
void SignalTickWake();
// Empties the pipe, whatever the mark says.
void DrainTickWake();
// Whether a tick changed the picture since the last call; clears the mark.
bool TakeTickWake();
// Whether a tick changed the picture and the mark has not been taken.
bool TickWakePending();
