// The timers on the page: what it implements of TimerThread.h, with the nine
// timers of kTickTimers run from the animation frame (TimerThreadWeb.h)
// instead of a thread, since a page may have none. Lacks nothing of the seam:
// "starting" sets the timers going, and "joining" has nothing to wait for.
#include "app/TimerThreadWeb.h"

#include <chrono>
#include <mutex>

#include "app/TickSchedule.h"
#include "app/Ticks.h"
#include "app/TimerThread.h"
#include "state/GameState.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kLongestGap = std::chrono::milliseconds(100);
Clock::time_point due[9];
Clock::time_point lastRun{};
bool running = false;

Clock::duration Period(int i) {
    return std::chrono::milliseconds(kTickTimers[i].periodMs);
}

void RunTick(int i) {
    std::lock_guard<std::mutex> hold(gameStateLock);
    kTickTimers[i].body();
}

}  // namespace

void StartTimerThread() {
    const Clock::time_point start = Clock::now();
    std::lock_guard<std::mutex> hold(gameStateLock);
    for (int i = 0; i < 9; ++i) {
        due[i] = start + Period(i);
        gameState.timerIds[i] = TimerId(i + 1);
    }
    lastRun = start;
    running = true;
}

void JoinTimerThread() {
    running = false;
}

void RunDueTicks() {
    if (!running) return;
    const Clock::time_point now = Clock::now();
    const bool stalled = now - lastRun > kLongestGap;
    lastRun = now;
    if (stalled) {
        for (int i = 0; i < 9 && !QuitRequested(); ++i) {
            if (due[i] > now) continue;
            RunTick(i);
            due[i] = NextTickDue(due[i], Period(i), now);
        }
        return;
    }
    // Earliest first, so that a 10 ms timer's two ticks of one frame fall
    // either side of a 16 ms timer's, as they did in time.
    while (!QuitRequested()) {
        int next = -1;
        for (int i = 0; i < 9; ++i)
            if (due[i] <= now && (next < 0 || due[i] < due[next])) next = i;
        if (next < 0) break;
        RunTick(next);
        due[next] += Period(next);
    }
}
