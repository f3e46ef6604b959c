// The Windows program entry: start-up values, the window, the timer thread,
// the polling main loop, and a shutdown in which the timer thread has ended
// before the sounds and the OpenGL context it might use are released. Lacks,
// on purpose, any wait or frame cap: the loop spins as the game always has.
#include "app/Controllers.h"
#include "app/Steps.h"
#include "app/TimerThread.h"
#include "assets/Sound.h"
#include "render/TextWin32.h"
#include "render/WindowWin32.h"
#include "state/GameState.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    StartStep(CreateGameFont);
    // A launcher or script must tell a start-up that failed (its box already
    // shown) from a player closing the window.
    if (!CreateGLWindow()) return 1;
    OpenControllers();
    StartTimerThread();

    // Polls without waiting: WM_PAINT is never validated, so an empty queue
    // still yields a paint message, and frames follow each other back to back.
    // The exit code is the parameter of the last message handled, as the game
    // has always returned (0xF060 after Alt+F4's WM_SYSCOMMAND, 13 after the
    // Enter that chose Quit); a pad's press that ended the game stands in for
    // that key's message.
    MSG msg = {};
    while (!QuitRequested()) {
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) QuitStep(msg.wParam);
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (QuitRequested()) break;
        PollControllers();
        if (QuitRequested()) msg.wParam = ExitCode();
    }

    // Not holding the lock: the timer thread may need it to finish its tick.
    JoinTimerThread();
    ReleaseSounds();
    CloseControllers();
    KillGLWindow();
    return static_cast<int>(msg.wParam);
}
