// The portable steps of Steps.h: one place for what a focus change, a key
// and a quit request do, called by both programs' window layers and by the
// pads' presses.
#include "app/Steps.h"

#include <atomic>
#include <cstring>
#include <mutex>

#include "app/Controllers.h"
#include "app/Keys.h"
#include "game/GameRules.h"
#include "state/GameState.h"

namespace {

std::atomic<std::uintptr_t> exitCode{0};

}  // namespace

void StartStep(HFONT (*createFont)()) {
    StoreQuitRequest(false);
    gameState.windowInactive = false;
    gameState.hFont = createFont != nullptr ? createFont() : HFONT{};
    SetStartValues();
    NewGame();
    gameState.soundOn = true;
}

void FocusStep(bool active) {
    {
        std::lock_guard<std::mutex> hold(gameStateLock);
        gameState.windowInactive = !active;
        if (active) gameState.spinAngle = 0.0f;
        if (!active) std::memset(gameState.keyDown, 0, sizeof gameState.keyDown);
    }
    if (active) {
        ResumeControllerInputs();
    } else {
        ForgetControllerInputs();
    }
}

void KeyStep(std::uintptr_t virtualKey, bool down) {
    std::lock_guard<std::mutex> hold(gameStateLock);
    KeyStepLocked(virtualKey, down);
}

void KeyStepLocked(std::uintptr_t virtualKey, bool down) {
    const bool running = !QuitRequested();
    if (MarkKey(virtualKey, down) && down) HandleKeys();
    if (running && QuitRequested()) exitCode = virtualKey;
}

void QuitStep(std::uintptr_t code) {
    // Under the lock like every other write of the flag: the timer thread
    // copies the whole record under it.
    std::lock_guard<std::mutex> hold(gameStateLock);
    if (!QuitRequested()) exitCode = code;
    RequestQuit();
}

std::uintptr_t ExitCode() {
    return exitCode;
}
