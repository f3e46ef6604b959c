// The native game's two threads as they ship: the timer thread of
// TimerThreadSdl.cpp beside the window's pass (BeginPass, the events, EndPass
// with its wait), keys and closes through HandleWindowEvent, in a real X11
// window with data.qv loaded. Built by the ThreadSanitizer preset and run on
// Xvfb, where any unguarded access to the record between them is reported.
#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "app/Steps.h"
#include "app/TimerThread.h"
#include "render/WindowSdl.h"
#include "state/GameState.h"

namespace {

SDL_Event Key(SDL_Keycode sym, SDL_Scancode scancode) {
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.keysym.sym = sym;
    event.key.keysym.scancode = scancode;
    return event;
}

SDL_Event Close() {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = SDL_WINDOWEVENT_CLOSE;
    return event;
}

// One turn of the game's own loop, with a made-up key queued on most turns:
// the pass then draws at once and its wait returns for the key. On the
// sixth the menu is open and nothing is queued, so the wait sleeps on the X
// connection and the timer thread's wake until the spin changes the picture.
void Pass(int turn) {
    static const SDL_Event keys[] = {
        Key(SDLK_ESCAPE, SDL_SCANCODE_ESCAPE),  // into the game
        Key(SDLK_LEFT, SDL_SCANCODE_LEFT),     Key(SDLK_UP, SDL_SCANCODE_UP),
        Key(SDLK_RIGHT, SDL_SCANCODE_RIGHT),   Key(SDLK_ESCAPE, SDL_SCANCODE_ESCAPE),  // back to the menu
    };
    BeginPass();
    SDL_Event event;
    while (SDL_PollEvent(&event)) HandleWindowEvent(event);
    if (turn % 6 < 5) {
        SDL_Event key = keys[turn % 6];
        SDL_PushEvent(&key);
    }
    EndPass();
}

TEST(NativeThreads, TicksKeysFramesAndClosesShareTheRecordOnlyUnderItsLock) {
    ASSERT_NE(SDL_getenv("DISPLAY"), nullptr) << "run on an X display (xvfb-run)";
    StartStep(nullptr);
    ASSERT_TRUE(CreateGLWindow()) << SDL_GetError();
    for (int round = 0; round < 6; ++round) {
        if (round > 0) StartStep(nullptr);  // the last round's thread has ended
        StartTimerThread();
        for (int turn = 0; turn < 30; ++turn) Pass(turn);
        // The close comes while ticks run and copy the record, and no step of
        // this thread has taken the lock since its last frame.
        std::this_thread::sleep_for(std::chrono::milliseconds(25 + 10 * round));
        HandleWindowEvent(Close());
        JoinTimerThread();
        EXPECT_TRUE(QuitRequested());
        EXPECT_EQ(ExitCode(), 0u);
    }
    KillGLWindow();
    SDL_Quit();
}

}  // namespace
