// The bodies of the nine periodic timer callbacks: menu blink, help-screen
// animation, field spin and gravity, and the table of the nine timers that
// both timer threads (TimerThreadWin32.cpp, TimerThreadSdl.cpp) run. The
// timer thread calls each body with the game-state lock held; none of them
// measures time.
#pragma once

void Tick300();
void Tick1000();
void Tick800();
void Tick600();
void Tick400();
void Tick200();
void Tick100();
void Tick10();
void Tick3000();

// One periodic timer: its body and its period in milliseconds.
struct TickTimer {
    void (*body)();
    unsigned periodMs;
};
// The nine timers in creation order, which is also the order in which timers
// that fall due together run.
extern const TickTimer kTickTimers[9];
