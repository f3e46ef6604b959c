// The native loop's wait between frames (declared in WindowSdl.h): until a
// deadline, an event, or a tick that changed the picture, and the pass that
// draws and then waits. Called by main; kept apart from the window so that a
// test can wait with a pipe of its own standing in for the X connection, and
// so that the page, which never waits, links the window without it.
#include <SDL.h>
#include <poll.h>

#include <algorithm>
#include <chrono>

#include "app/ControllerSdl.h"
#include "app/TimerThreadSdl.h"
#include "render/WindowSdl.h"

void WaitForInput(std::optional<std::chrono::steady_clock::time_point> deadline, int xConnection) {
    using Clock = std::chrono::steady_clock;
    if (const auto repeat = NextControllerRepeat(); repeat && (!deadline || *repeat < *deadline)) deadline = repeat;
    const int tickFd = TickWakeFd();
    for (;;) {
        SDL_PumpEvents();
        if (SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT) || TickWakePending()) return;
        const Clock::time_point now = Clock::now();
        if (deadline && now >= *deadline) return;
        // A tenth of a second at most, so that what SDL only notices when
        // pumped (a controller plugged in) is not kept waiting.
        auto wait = std::chrono::milliseconds(100);
        if (deadline) wait = std::min(wait, std::chrono::ceil<std::chrono::milliseconds>(*deadline - now));
        if (xConnection < 0 || tickFd < 0 || ControllersOpen()) {
            SDL_Delay(1);
            continue;
        }
        pollfd watched[2] = {{xConnection, POLLIN, 0}, {tickFd, POLLIN, 0}};
        // A byte left without its mark would keep the pipe readable and this
        // loop from ever sleeping: what wakes the poll is taken here.
        if (poll(watched, 2, int(wait.count())) > 0 && (watched[1].revents & POLLIN) != 0) DrainTickWake();
    }
}

void EndPass() {
    // Taken before the pass looks at the record: a tick after this wakes the wait.
    TakeTickWake();
    WaitForInput(DrawPass(), WindowXConnection());
}
