// The timer thread on Windows: what it implements of TimerThread.h, with the
// nine timers as system timers of the thread's own queue, their callbacks run
// by polling it. Lacks nothing of the seam. Each callback runs whole under the
// game-state lock.
#include "app/TimerThreadWin32.h"

#include <mutex>

#include "app/Ticks.h"
#include "state/GameState.h"

namespace {

HANDLE thread = nullptr;

// Without a window the system picks the ids itself and ignores the ones
// asked for; a callback finds its timer by the id it was given.
UINT_PTR ids[9];

VOID CALLBACK RunTick(HWND, UINT, UINT_PTR id, DWORD) {
    for (int i = 0; i < 9; ++i) {
        if (ids[i] != id) continue;
        std::lock_guard<std::mutex> hold(gameStateLock);
        kTickTimers[i].body();
        return;
    }
}

}  // namespace

DWORD WINAPI TimerThread(LPVOID) {
    for (int i = 0; i < 9; ++i) ids[i] = SetTimer(nullptr, i + 1, kTickTimers[i].periodMs, RunTick);
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

void StartTimerThread() {
    thread = CreateThread(nullptr, 0, TimerThread, nullptr, 0, nullptr);
}

void JoinTimerThread() {
    if (thread == nullptr) return;
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    thread = nullptr;
}
