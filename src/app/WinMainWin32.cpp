// The program entry: start-up values, the window, the timer thread, the
// polling main loop, and a shutdown in which the timer thread has ended
// before the sounds and the OpenGL context it might use are released.
#include <mutex>

#include "app/ControllerWin32.h"
#include "app/Keys.h"
#include "app/TimerThreadWin32.h"
#include "assets/Sound.h"
#include "game/GameRules.h"
#include "render/Text.h"
#include "render/WindowWin32.h"
#include "state/GameState.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    std::atomic_ref<bool>(gameState.quitRequested).store(false);
    gameState.windowInactive = false;
    gameState.hFont = CreateGameFont();
    SetStartValues();
    NewGame();  // the classic game that Esc reaches straight from the menu
    gameState.soundOn = true;
    // A launcher or script must tell a start-up that failed (its box already
    // shown) from a player closing the window.
    if (!CreateGLWindow()) return 1;
    OpenControllers();

    HANDLE timerThread = StartTimerThread();

    // Polls without waiting: WM_PAINT is never validated, so an empty queue
    // still yields a paint message, and frames follow each other back to back.
    MSG msg = {};
    while (!QuitRequested()) {
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) RequestQuit();
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        // A pad's press stands in for a key message, its code for the parameter.
        PollControllers(msg.wParam);
    }

    // The timer thread sees the quit flag at its next poll and ends by itself;
    // wait for it (without the lock it may need) before releasing what its
    // callbacks use: the row-clear sound and, through StepDown, the record.
    if (timerThread != nullptr) {
        WaitForSingleObject(timerThread, INFINITE);
        CloseHandle(timerThread);
    }
    ReleaseSounds();
    CloseControllers();
    KillGLWindow();
    return static_cast<int>(msg.wParam);
}
