// A stand-in for the pads' seam (Controllers.h) for tests of the portable
// steps: counts how often the pads were told to let go and to take up again,
// and whether the game-state lock was free at the time, as the seam promises.
#include "support/ControllerDouble.h"

#include <thread>

#include "app/Controllers.h"
#include "state/GameState.h"

ControllerCalls controllerCalls;

namespace {

// Asked from a thread of its own: try_lock by a thread that may already hold
// the mutex is itself undefined, and this is the case being looked for.
bool LockFree() {
    bool free = false;
    std::thread([&free] {
        free = gameStateLock.try_lock();
        if (free) gameStateLock.unlock();
    }).join();
    return free;
}

}  // namespace

void OpenControllers() {}
void CloseControllers() {}
void PollControllers() {}

void ForgetControllerInputs() {
    ++controllerCalls.forgets;
    if (!LockFree()) ++controllerCalls.callsUnderLock;
}

void ResumeControllerInputs() {
    ++controllerCalls.resumes;
    if (!LockFree()) ++controllerCalls.callsUnderLock;
}
