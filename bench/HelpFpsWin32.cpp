// Frames per second of the help screen (eighteen GDI text lines a frame)
// against the play field, in one run, in the game's own window and render
// loop. Run under Wine from the folder holding data.qv and Morvane.dll.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <mutex>

#include "game/GameRules.h"
#include "render/TextWin32.h"
#include "render/WindowWin32.h"
#include "state/GameState.h"

namespace {

// Runs the game's polling loop for about `seconds` and counts the paint
// messages: each one is a frame drawn and presented by the window procedure.
double MeasureFps(double seconds) {
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    int frames = 0;
    double elapsed = 0.0;
    while (elapsed < seconds) {
        MSG message;
        if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            frames += message.message == WM_PAINT;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    }
    return frames / elapsed;
}

void SetHelpOpen(bool open) {
    std::lock_guard<std::mutex> hold(gameStateLock);
    gameState.helpOpen = open;
}

}  // namespace

int main() {
    gameState.hFont = CreateGameFont();
    NewGame();
    gameState.soundOn = true;
    gameState.fieldVisible = true;
    gameState.menuChoice = 1;
    gameState.helpTextColor[0] = gameState.helpTextColor[1] = gameState.helpTextColor[2] = 0.8f;
    if (!CreateGLWindow()) {
        std::fprintf(stderr, "no window: run from the folder holding data.qv\n");
        return 1;
    }

    MeasureFps(0.5);  // warm-up
    const double play = MeasureFps(3.0);
    SetHelpOpen(true);
    const double help = MeasureFps(3.0);
    SetHelpOpen(false);
    const double playAgain = MeasureFps(3.0);
    std::printf("play field  %8.1f fps (%.1f again after help)\n", play, playAgain);
    std::printf("help screen %8.1f fps\n", help);
    std::printf("help / play %8.3f\n", help / ((play + playAgain) / 2));
    KillGLWindow();
    return 0;
}
