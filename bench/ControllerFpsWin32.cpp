// Frames per second of the game's loop with the XInput poll against the same
// loop without it (as before controllers), in alternating rounds of one run,
// printing their ratio. Run under Wine (its own XInput, no pad) from the
// folder holding data.qv and Morvane.dll: in build/win32/bin, after
// `. cmake/wine-env.sh; kolvex_wine_ready`, `wine controller_fps_bench.exe`.
#include <windows.h>

#include <chrono>
#include <cstdio>

#include "app/ControllerWin32.h"
#include "app/Keys.h"
#include "game/GameRules.h"
#include "render/Text.h"
#include "render/WindowWin32.h"
#include "state/GameState.h"

namespace {

// The game's polling loop for about `seconds`, counting paint messages (each
// a frame drawn and presented), with the pads polled on every pass or not.
double MeasureFps(double seconds, bool withPads) {
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    int frames = 0;
    double elapsed = 0.0;
    MSG message = {};
    while (elapsed < seconds) {
        if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            frames += message.message == WM_PAINT;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (withPads) PollControllers(message.wParam);
        elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    }
    return frames / elapsed;
}

}  // namespace

int main() {
    gameState.hFont = CreateGameFont();
    SetStartValues();
    NewGame();
    gameState.soundOn = true;
    if (!CreateGLWindow()) {
        std::fprintf(stderr, "no window: run from the folder holding data.qv\n");
        return 1;
    }
    OpenControllers();

    MeasureFps(0.5, false);  // warm-up
    // Alternating rounds, so that a drift of the machine's load hits both alike.
    double without = 0.0;
    double with = 0.0;
    constexpr int kRounds = 5;
    for (int round = 0; round < kRounds; ++round) {
        without += MeasureFps(2.0, false);
        with += MeasureFps(2.0, true);
    }
    std::printf("without controller poll %8.1f fps\n", without / kRounds);
    std::printf("with controller poll    %8.1f fps\n", with / kRounds);
    std::printf("with / without          %8.3f\n", with / without);
    if (gameState.windowInactive) std::printf("(the window lost the focus: the poll was skipped)\n");
    CloseControllers();
    KillGLWindow();
    return 0;
}
