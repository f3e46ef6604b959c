// The native window's event handling fed made-up SDL events, no window or
// display needed: a key SDL knows no Windows code for still reaches the game,
// a focus loss lets go of every held key, and minimising pauses the game.
#include <SDL.h>
#include <gtest/gtest.h>

#include "game/GameRules.h"
#include "render/WindowSdl.h"
#include "state/GameState.h"

namespace {

SDL_Event Key(SDL_Keycode sym, SDL_Scancode scancode, bool down = true) {
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.keysym.sym = sym;
    event.key.keysym.scancode = scancode;
    event.key.keysym.mod = KMOD_NUM;
    return event;
}

SDL_Event Focus(SDL_WindowEventID what) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = Uint8(what);
    return event;
}

class WindowEvents : public ::testing::Test {
protected:
    void SetUp() override {
        gameState = GameState{};
        NewGame();
        // An O piece in open play.
        gameState.pieceOrientation = 4;
        gameState.pieceColumn = 5;
        gameState.pieceRow = 5;
    }
};

TEST_F(WindowEvents, AKeyWithoutAWindowsCodeRepeatsTheHeldKeys) {
    HandleWindowEvent(Key(SDLK_LEFT, SDL_SCANCODE_LEFT));
    ASSERT_EQ(gameState.pieceColumn, 4);
    HandleWindowEvent(Key(SDLK_AC_BOOKMARKS, SDL_SCANCODE_AC_BOOKMARKS));
    EXPECT_EQ(gameState.pieceColumn, 3);
}

TEST_F(WindowEvents, AKeyLetGoWhileAnotherWindowHadTheFocusActsNoMore) {
    HandleWindowEvent(Key(SDLK_LEFT, SDL_SCANCODE_LEFT));
    ASSERT_EQ(gameState.pieceColumn, 4);
    HandleWindowEvent(Focus(SDL_WINDOWEVENT_FOCUS_LOST));
    HandleWindowEvent(Focus(SDL_WINDOWEVENT_FOCUS_GAINED));
    HandleWindowEvent(Key(SDLK_LSHIFT, SDL_SCANCODE_LSHIFT));
    EXPECT_EQ(gameState.pieceColumn, 4);
}

TEST_F(WindowEvents, MinimisingPausesTheGameEvenWhereTheFocusStays) {
    HandleWindowEvent(Focus(SDL_WINDOWEVENT_MINIMIZED));
    EXPECT_TRUE(gameState.windowInactive);
}

}  // namespace
