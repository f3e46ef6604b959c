// The timer thread on the native build: what it implements of TimerThread.h,
// with the nine timers on a std::thread that sleeps on the steady clock until
// the next one is due, late ticks dropped as the system's timers drop them.
// Lacks nothing of the seam. Each tick runs whole under the game-state lock.
#include <chrono>
#include <mutex>
#include <thread>

#include "app/TickSchedule.h"
#include "app/Ticks.h"
#include "app/TimerThread.h"
#include "state/GameState.h"

namespace {

using Clock = std::chrono::steady_clock;

std::thread thread;

void TimerThread() {
    Clock::time_point due[9];
    const Clock::time_point start = Clock::now();
    {
        std::lock_guard<std::mutex> hold(gameStateLock);
        for (int i = 0; i < 9; ++i) {
            due[i] = start + std::chrono::milliseconds(kTickTimers[i].periodMs);
            gameState.timerIds[i] = TimerId(i + 1);
        }
    }
    while (!QuitRequested()) {
        Clock::time_point wake = due[0];
        for (const Clock::time_point& at : due)
            if (at < wake) wake = at;
        std::this_thread::sleep_until(wake);
        const Clock::time_point now = Clock::now();
        // Timers due together run in creation order, as the system's did.
        for (int i = 0; i < 9; ++i) {
            if (due[i] > now) continue;
            if (QuitRequested()) break;
            {
                std::lock_guard<std::mutex> hold(gameStateLock);
                kTickTimers[i].body();
            }
            due[i] = NextTickDue(due[i], std::chrono::milliseconds(kTickTimers[i].periodMs), now);
        }
    }
}

}  // namespace

void StartTimerThread() {
    thread = std::thread(TimerThread);
}

void JoinTimerThread() {
    if (thread.joinable()) thread.join();
}
