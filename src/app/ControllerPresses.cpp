// A controller's inputs reaching the game as key presses (the keys' own step,
// KeyStep, so a press that ends the game leaves its exit code as a key does),
// under the game-state lock; apart from the bookkeeping, which is tested
// without the game. Called by ControllerSdl.cpp and ControllerWin32.cpp on
// the main thread.
#include <mutex>

#include "app/ControllerHolds.h"
#include "app/Keys.h"
#include "app/Steps.h"
#include "state/GameState.h"

std::uintptr_t PressPadInput(ControllerHolds& holds, PadId pad, PadInput input, PadClock::time_point now) {
    std::lock_guard<std::mutex> hold(gameStateLock);
    const std::uint8_t code = KeyForPadInput(input, gameState.menuOpen);
    if (!holds.Press(pad, input, code, now)) return 0;
    KeyStepLocked(code, true);
    return code;
}

std::uintptr_t PressStillHeld(ControllerHolds& holds, const std::function<bool(PadId, PadInput)>& stillDown,
                              PadClock::time_point now) {
    std::uintptr_t pressed = 0;
    for (const auto& [pad, input] : holds.TakeSuspended()) {
        if (QuitRequested()) break;  // a press that ended the game is the last one
        if (!stillDown(pad, input)) continue;
        if (const std::uintptr_t code = PressPadInput(holds, pad, input, now)) pressed = code;
    }
    return pressed;
}

void UnmarkPadCodes(const std::vector<std::uint8_t>& codes) {
    if (codes.empty()) return;
    std::lock_guard<std::mutex> hold(gameStateLock);
    for (std::uint8_t code : codes) MarkKey(code, false);
}

void ReleasePadInput(ControllerHolds& holds, PadId pad, PadInput input) {
    if (const std::uint8_t code = holds.Release(pad, input)) UnmarkPadCodes({code});
}

std::uintptr_t MovePadStick(ControllerHolds& holds, PadId pad, PadInput negative, PadInput positive, int value,
                            PadClock::time_point now) {
    const int before = holds.Holds(pad, positive) ? 1 : holds.Holds(pad, negative) ? -1 : 0;
    const int after = StickDirection(value, before);
    if (after == before) return 0;
    if (before != 0) ReleasePadInput(holds, pad, before > 0 ? positive : negative);
    return after == 0 ? 0 : PressPadInput(holds, pad, after > 0 ? positive : negative, now);
}

std::uintptr_t RunPadRepeat(ControllerHolds& holds, PadClock::time_point now) {
    if (QuitRequested()) return 0;
    const std::uint8_t code = holds.RepeatDue(now);
    if (code == 0) return 0;
    std::lock_guard<std::mutex> hold(gameStateLock);
    KeyStepLocked(code, true);
    return code;
}
