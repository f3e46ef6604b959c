// The timer thread on the native build: what it implements of TimerThread.h,
// with the nine timers on a std::thread that sleeps on the steady clock until
// the next one is due, late ticks dropped as the system's timers drop them.
// Lacks nothing of the seam; adds the main loop's wake (TimerThreadSdl.h).
// Each tick runs whole under the game-state lock.
#include "app/TimerThreadSdl.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include "app/Picture.h"
#include "app/TickSchedule.h"
#include "app/Ticks.h"
#include "app/TimerThread.h"
#include "state/GameState.h"

namespace {

using Clock = std::chrono::steady_clock;

std::thread thread;
std::atomic<bool> pictureChanged{false};
int wakePipe[2] = {-1, -1};

// One tick under the lock; true when it changed what the screen shows.
bool RunTick(int i) {
    std::lock_guard<std::mutex> hold(gameStateLock);
    const GameState before = gameState;
    kTickTimers[i].body();
    return PictureDiffers(before, gameState);
}

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
            if (RunTick(i) && MarkTickWake()) SignalTickWake();
            due[i] = NextTickDue(due[i], std::chrono::milliseconds(kTickTimers[i].periodMs), now);
        }
    }
}

}  // namespace

int TickWakeFd() {
    return wakePipe[0];
}

bool MarkTickWake() {
    return !pictureChanged.exchange(true);  // else a wake already waits to be taken
}

void SignalTickWake() {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(wakePipe[1], &byte, 1);
}

// The mark is the truth and the byte only a prompt: a byte may arrive after
// its mark was taken (the timer thread preempted between the two), so the
// wait drains whatever it finds and then asks the mark.
void DrainTickWake() {
    char bytes[16];
    while (wakePipe[0] >= 0 && read(wakePipe[0], bytes, sizeof bytes) > 0) {
    }
}

bool TakeTickWake() {
    DrainTickWake();
    return pictureChanged.exchange(false);
}

bool TickWakePending() {
    return pictureChanged.load();
}

void OpenTickWake() {
    if (wakePipe[0] < 0 && pipe(wakePipe) == 0) {
        for (int fd : wakePipe) fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    }
}

void StartTimerThread() {
    OpenTickWake();
    thread = std::thread(TimerThread);
}

void JoinTimerThread() {
    if (thread.joinable()) thread.join();
}
