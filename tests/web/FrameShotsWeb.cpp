// The page's frames of the compared screens (tests/support/SceneRecords.h),
// each read back before the browser shows it and handed to the page as
// Module.kolvexFrames[NAME] (800 x 600 RGBA, rows bottom-up); then level 7's
// gravity run from the animation frame for a second, its steps handed over as
// Module.kolvexGravity. Loaded by the frame comparison in page-test.mjs.
#include <GLES2/gl2.h>
#include <emscripten.h>

#include <chrono>
#include <mutex>
#include <vector>

#include "app/Steps.h"
#include "app/TimerThread.h"
#include "app/TimerThreadWeb.h"
#include "render/Language.h"
#include "render/Render.h"
#include "render/TextSdl.h"
#include "render/Window.h"
#include "state/GameState.h"
#include "support/SceneRecords.h"

namespace {

using Clock = std::chrono::steady_clock;
Clock::time_point gravityStart;
int gravitySteps = 0;

// The piece is put back at the top after every frame, so it never lands and
// every row it went down is one gravity step.
void GravityPass() {
    RunDueTicks();
    std::lock_guard<std::mutex> hold(gameStateLock);
    gravitySteps += gameState.pieceRow - 1;
    gameState.pieceRow = 1;
    if (Clock::now() - gravityStart < std::chrono::seconds(1)) return;
    emscripten_cancel_main_loop();
    EM_ASM({ Module.kolvexGravity = $0; }, gravitySteps);
}

}  // namespace

int main() {
    ChooseLanguage("/nonexistent");  // the game's own texts, as the native shots have them
    StartStep(nullptr);
    if (!CreateGLWindow()) return 1;
    OpenGameFont();
    std::vector<unsigned char> pixels(800 * 600 * 4);
    EM_ASM({ Module.kolvexFrames = {}; });
    for (const char* name : kSceneNames) {
        {
            std::lock_guard<std::mutex> hold(gameStateLock);
            SetSceneRecord(name);
        }
        DrawFrame();
        glReadPixels(0, 0, 800, 600, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        EM_ASM({ Module.kolvexFrames[UTF8ToString($0)] = HEAPU8.slice($1, $1 + $2); }, name, pixels.data(),
               pixels.size());
    }
    {
        std::lock_guard<std::mutex> hold(gameStateLock);
        SetSceneRecord("play");
        gameState.level = 7;
    }
    StartTimerThread();
    gravityStart = Clock::now();
    emscripten_set_main_loop(GravityPass, 0, 0);
    return 0;
}
