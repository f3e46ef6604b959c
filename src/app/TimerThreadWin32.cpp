// The timer thread's Windows side: creates the nine timers, runs their
// callbacks by polling its own queue, and kills them once quit is requested.
// Each callback runs whole under the game-state lock.
#include "app/TimerThreadWin32.h"

#include <mutex>

#include "app/Ticks.h"
#include "state/GameState.h"

namespace {

template <void (*Body)()>
VOID CALLBACK LockedTick(HWND, UINT, UINT_PTR, DWORD) {
    std::lock_guard<std::mutex> hold(gameStateLock);
    Body();
}

struct TimerSpec {
    UINT_PTR requestedId;
    UINT period;
    TIMERPROC callback;
};

// Creation order matters only for timerIds; without a window the system picks
// the ids itself, so passing 8 twice still gives nine distinct timers.
const TimerSpec kTimers[9] = {
    {1, 300, LockedTick<Tick300>}, {2, 1000, LockedTick<Tick1000>}, {3, 800, LockedTick<Tick800>},
    {4, 600, LockedTick<Tick600>}, {5, 400, LockedTick<Tick400>},   {6, 200, LockedTick<Tick200>},
    {7, 100, LockedTick<Tick100>}, {8, 10, LockedTick<Tick10>},     {8, 3000, LockedTick<Tick3000>},
};

}  // namespace

DWORD WINAPI TimerThread(LPVOID) {
    UINT_PTR ids[9];
    for (int i = 0; i < 9; ++i)
        ids[i] = SetTimer(nullptr, kTimers[i].requestedId, kTimers[i].period, kTimers[i].callback);
    {
        std::lock_guard<std::mutex> hold(gameStateLock);
        for (int i = 0; i < 9; ++i) gameState.timerIds[i] = ids[i];
    }
    MSG msg;
    while (!QuitRequested()) {
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    for (UINT_PTR id : ids) KillTimer(nullptr, id);
    return 0;
}

HANDLE StartTimerThread() {
    return CreateThread(nullptr, 0, TimerThread, nullptr, 0, nullptr);
}
