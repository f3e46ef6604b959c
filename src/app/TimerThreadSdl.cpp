// The native timer thread: the nine timers in their creation order, each tick
// run under the game-state lock, sleeping on the steady clock in between.
// Started and joined by main (WinMainSdl.cpp).
#include "app/TimerThreadSdl.h"

#include <mutex>

#include "app/Ticks.h"
#include "state/GameState.h"

namespace {

struct Timer {
    void (*tick)();
    std::chrono::milliseconds period;
    TimerClock::time_point due;
};

}  // namespace

void TimerThread() {
    using std::chrono::milliseconds;
    Timer timers[9] = {
        {Tick300, milliseconds(300), {}}, {Tick1000, milliseconds(1000), {}}, {Tick800, milliseconds(800), {}},
        {Tick600, milliseconds(600), {}}, {Tick400, milliseconds(400), {}},   {Tick200, milliseconds(200), {}},
        {Tick100, milliseconds(100), {}}, {Tick10, milliseconds(10), {}},     {Tick3000, milliseconds(3000), {}},
    };
    const TimerClock::time_point start = TimerClock::now();
    {
        std::lock_guard<std::mutex> hold(gameStateLock);
        for (int i = 0; i < 9; ++i) {
            timers[i].due = start + timers[i].period;
            gameState.timerIds[i] = TimerId(i + 1);
        }
    }
    while (!QuitRequested()) {
        TimerClock::time_point wake = timers[0].due;
        for (const Timer& timer : timers)
            if (timer.due < wake) wake = timer.due;
        std::this_thread::sleep_until(wake);
        const TimerClock::time_point now = TimerClock::now();
        // Timers due together run in creation order, as the system's did.
        for (Timer& timer : timers) {
            if (timer.due > now) continue;
            if (QuitRequested()) break;
            {
                std::lock_guard<std::mutex> hold(gameStateLock);
                timer.tick();
            }
            timer.due = NextTickDue(timer.due, timer.period, now);
        }
    }
}

std::thread StartTimerThread() {
    return std::thread(TimerThread);
}
