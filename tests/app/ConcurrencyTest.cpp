// The two threads' steps against one record: timer ticks on one thread, key
// presses and whole-record reads (standing in for frames) on another, each
// under the game-state lock. Run under ThreadSanitizer it must report no race.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <mutex>
#include <random>
#include <string>
#include <thread>

#include "app/Keys.h"
#include "app/Ticks.h"
#include "game/GameRules.h"
#include "state/GameState.h"
#include "support/PlatformDouble.h"

namespace {

template <typename Step>
void Locked(Step step) {
    std::lock_guard<std::mutex> hold(gameStateLock);
    step();
}

TEST(Concurrency, TicksKeysAndFramesNeverSeeEachOtherHalfDone) {
    ResetTestWorld();
    NewGame();
    gameState.menuChoice = kMenuClassic;
    gameState.menuOpen = false;
    gameState.level = 7;  // gravity on the fastest timer: most StepDown traffic

    constexpr int kSteps = 20000;
    // Read by this thread too: on a busy machine the keys' steps could all be
    // done before the timer thread first runs, and nothing would interleave.
    // So the keys go on until the timer has taken enough steps among them; a
    // timer thread that stalls fails the test instead of spinning on.
    constexpr int kTimerSteps = 100;
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    std::atomic<int> timerSteps = 0;
    std::thread timer([&] {
        // Polled without the lock, as the real loop does.
        for (int i = 0; !QuitRequested(); ++i) {
            Locked(kTickTimers[i % 9].body);
            Locked(Tick10);
            ++timerSteps;
        }
    });

    const std::uint8_t keys[] = {kKeyEscape, kKeyDown, kKeyRight, kKeyLeft, kKeyUp, kKeySpace, kKeyReturn, kKeyM};
    std::mt19937 pick(7);
    int framesChecked = 0;
    int steps = 0;
    for (; steps < kSteps || timerSteps.load() < kTimerSteps; ++steps) {
        if (std::chrono::steady_clock::now() > giveUp) {
            ADD_FAILURE() << "the timer thread took " << timerSteps.load() << " steps in 10 s";
            break;
        }
        std::uint8_t key = keys[pick() % 8];
        Locked([&] {
            // Never quit mid-run: keep Enter off the Quit entry.
            if (key == kKeyReturn && gameState.menuChoice == kMenuQuit) gameState.menuChoice = kMenuClassic;
            MarkKey(key, true);
            HandleKeys();
            MarkKey(key, false);
            if (gameState.level == 1) gameState.level = 7;
        });
        Locked([&] {
            GameState frame = gameState;  // what a frame would read
            ASSERT_GE(frame.menuChoice, kMenuClassic);
            ASSERT_LE(frame.menuChoice, kMenuQuit);
            ASSERT_GE(frame.level, 1);
            ASSERT_LE(frame.level, 7);
            ASSERT_EQ(std::memcmp(frame.nextPreview, gameState.nextPreview, 16), 0);
            ++framesChecked;
        });
    }
    RequestQuit();
    timer.join();
    EXPECT_EQ(framesChecked, steps);
    EXPECT_GE(timerSteps.load(), kTimerSteps);
}

}  // namespace
