// A stand-in for the pads' seam (Controllers.h) for tests of the portable
// steps: counts how often the pads were told to let go, and whether the
// game-state lock was free at the time, as the seam promises.
#include "support/ControllerDouble.h"

#include "app/Controllers.h"
#include "state/GameState.h"

ControllerCalls controllerCalls;

void OpenControllers() {}
void CloseControllers() {}
void PollControllers() {}

void ForgetControllerInputs() {
    ++controllerCalls.forgets;
    if (gameStateLock.try_lock()) {
        gameStateLock.unlock();
    } else {
        ++controllerCalls.forgetsUnderLock;
    }
}
