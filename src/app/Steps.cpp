// The portable steps of Steps.h: one place for what a focus change, a key
// and a quit request do, called by both programs' window layers and by the
// pads' presses.
#include "app/Steps.h"

#include <atomic>
#include <cstring>
#include <mutex>

#include "app/Controllers.h"
#include "app/Keys.h"
#include "state/GameState.h"

namespace {

std::atomic<std::uintptr_t> exitCode{0};

}  // namespace

void FocusStep(bool active) {
    {
        std::lock_guard<std::mutex> hold(gameStateLock);
        gameState.windowInactive = !active;
        if (active) gameState.spinAngle = 0.0f;
        if (!active) std::memset(gameState.keyDown, 0, sizeof gameState.keyDown);
    }
    if (!active) ForgetControllerInputs();
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
    if (!QuitRequested()) exitCode = code;
    RequestQuit();
}

std::uintptr_t ExitCode() {
    return exitCode;
}
