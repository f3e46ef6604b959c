// The native window's event handling fed made-up SDL events, no window or
// display needed: a key SDL knows no Windows code for still reaches the game,
// a focus loss lets go of every held key, minimising pauses the game and
// restoring resumes it; and a real window on SDL's off-screen driver.
#include <SDL.h>
#include <gtest/gtest.h>

#include "game/GameRules.h"
#include "render/WindowSdl.h"
#include "state/GameState.h"

// SDL's D-Bus connection (screen saver, input methods): libdbus keeps its
// buffers until dbus_shutdown, which SDL never calls. Read by LeakSanitizer.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libdbus-1.so\n";
}

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

TEST_F(WindowEvents, RestoringResumesAWindowThatKeptTheFocusOnly) {
    HandleWindowEvent(Focus(SDL_WINDOWEVENT_FOCUS_GAINED));
    HandleWindowEvent(Focus(SDL_WINDOWEVENT_MINIMIZED));
    HandleWindowEvent(Focus(SDL_WINDOWEVENT_RESTORED));
    EXPECT_FALSE(gameState.windowInactive) << "the window manager kept the focus on the minimised window";

    HandleWindowEvent(Focus(SDL_WINDOWEVENT_MINIMIZED));
    HandleWindowEvent(Focus(SDL_WINDOWEVENT_FOCUS_LOST));
    HandleWindowEvent(Focus(SDL_WINDOWEVENT_RESTORED));
    EXPECT_TRUE(gameState.windowInactive) << "restored without the focus";
}

// Needs data.qv in the working folder, as the game does.
TEST(GameWindow, StaysLargeEnoughToReadAndTakesNoDrops) {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    ASSERT_TRUE(CreateGLWindow());
    SDL_Window* window = SDL_GL_GetCurrentWindow();
    ASSERT_NE(window, nullptr);
    SDL_SetWindowSize(window, 100, 100);
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(window, &width, &height);
    // 640 x 480: the smallest size at which the help screen's lines stay readable.
    EXPECT_EQ(width, 640);
    EXPECT_EQ(height, 480);
    EXPECT_EQ(SDL_EventState(SDL_DROPFILE, SDL_QUERY), SDL_IGNORE);
    // Left up: the tear-down would unload Mesa's driver before the leak
    // check, and the blocks it keeps for good would then read as leaked.
}

}  // namespace
