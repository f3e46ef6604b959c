// The native window's event handling fed made-up SDL events, no window or
// display needed: a key SDL knows no Windows code for still reaches the game,
// a focus loss lets go of every held key, minimising pauses the game and
// restoring resumes it; the loop's wait, with a pipe standing in for the X
// connection; and a real window on SDL's off-screen driver.
#include <SDL.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "app/TimerThreadSdl.h"
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

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

Clock::duration ThreadProcessorTime() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

// The wait between frames with a pipe of the test's own as the X connection:
// writing to it is the display sending an event.
class InputWait : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS), 0);
        OpenTickWake();
        ASSERT_GE(TickWakeFd(), 0);
        ASSERT_EQ(pipe2(display, O_NONBLOCK), 0);
    }
    void TearDown() override {
        close(display[0]);
        close(display[1]);
        TakeTickWake();
    }
    // How long the wait took, of all the tries: the least loaded one.
    Clock::duration FastestWake(void (*cause)(int displayOut)) {
        Clock::duration fastest = Clock::duration::max();
        for (int attempt = 0; attempt < 3; ++attempt) {
            std::thread causing(cause, display[1]);
            const Clock::time_point start = Clock::now();
            WaitForInput(std::nullopt, display[0]);
            fastest = std::min(fastest, Clock::now() - start);
            causing.join();
            char bytes[16];
            while (read(display[0], bytes, sizeof bytes) > 0) {
            }
            SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
            TakeTickWake();
        }
        return fastest;
    }
    int display[2] = {-1, -1};
};

TEST_F(InputWait, NothingToWaitForSleepsToTheDeadlineEvenAfterAWakeByteOutlivedItsMark) {
    for (const bool strayByte : {false, true}) {
        if (strayByte) {
            // The timer thread preempted between its mark and its byte: the
            // loop took the mark, and the byte came after.
            ASSERT_TRUE(MarkTickWake());
            ASSERT_TRUE(TakeTickWake());
            SignalTickWake();
        }
        const Clock::duration processorBefore = ThreadProcessorTime();
        const Clock::time_point start = Clock::now();
        WaitForInput(start + milliseconds(300), display[0]);
        EXPECT_GE(Clock::now() - start, milliseconds(300)) << "stray byte: " << strayByte;
        // Asleep, the wait costs next to nothing; spinning, most of the 300 ms.
        EXPECT_LT(ThreadProcessorTime() - processorBefore, milliseconds(40)) << "stray byte: " << strayByte;
    }
}

TEST_F(InputWait, AnEventOrATickThatChangedThePictureEndsItLongBeforeItsTenthOfASecond) {
    const struct {
        const char* what;
        void (*cause)(int displayOut);
    } cases[] = {
        {"a key on the display",
         [](int displayOut) {
             std::this_thread::sleep_for(milliseconds(30));
             SDL_Event key{};
             key.type = SDL_KEYDOWN;
             SDL_PushEvent(&key);
             const char byte = 1;
             ASSERT_EQ(write(displayOut, &byte, 1), 1);
         }},
        {"a tick that changed the picture",
         [](int) {
             std::this_thread::sleep_for(milliseconds(30));
             if (MarkTickWake()) SignalTickWake();
         }},
    };
    // Without the poll on either, the wait notices only at its 100 ms pump.
    for (const auto& c : cases) EXPECT_LT(FastestWake(c.cause), milliseconds(70)) << c.what;
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

    // A pass with nothing changed draws nothing; another display under the
    // window (or a new set of displays) redraws. (The pace it also retakes
    // is not seen here: this driver has one mode, and takes vsync.)
    const auto pass = [] {
        BeginPass();
        SDL_Event event;
        while (SDL_PollEvent(&event)) HandleWindowEvent(event);
        SDL_Event nudge{};  // so that the wait returns at once
        nudge.type = SDL_USEREVENT;
        SDL_PushEvent(&nudge);
        EndPass();
    };
    pass();
    const PassFacts first = PassFactsNow();
    pass();
    EXPECT_EQ(PassFactsNow().framesDrawn, first.framesDrawn) << "nothing changed";
    for (const Uint32 type : {Uint32(SDL_WINDOWEVENT), Uint32(SDL_DISPLAYEVENT)}) {
        SDL_Event moved{};
        moved.type = type;
        if (type == SDL_WINDOWEVENT) moved.window.event = SDL_WINDOWEVENT_DISPLAY_CHANGED;
        if (type == SDL_DISPLAYEVENT) moved.display.event = SDL_DISPLAYEVENT_CONNECTED;
        const std::uint64_t before = PassFactsNow().framesDrawn;
        HandleWindowEvent(moved);
        pass();
        EXPECT_EQ(PassFactsNow().framesDrawn, before + 1) << "event type " << type;
    }
    // Left up: the tear-down would unload Mesa's driver before the leak
    // check, and the blocks it keeps for good would then read as leaked.
}

}  // namespace
