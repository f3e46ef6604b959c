// The real timer thread for a few seconds: gravity at level 1 steps about
// once a second with the menu closed and never with it open, the selected
// menu entry blinks every 300 ms, and a quit request ends the thread promptly.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cmath>
#include <iostream>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "app/Keys.h"
#include "app/TimerThreadWin32.h"
#include "game/GameRules.h"
#include "state/GameState.h"
#include "support/PlatformDouble.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Periods {
    double mean = 0, spread = 0;
    size_t count = 0;
};

Periods Measure(const std::vector<Clock::time_point>& events) {
    Periods p;
    if (events.size() < 2) return p;
    std::vector<double> gaps;
    for (size_t i = 1; i < events.size(); ++i) {
        gaps.push_back(std::chrono::duration<double, std::milli>(events[i] - events[i - 1]).count());
    }
    for (double g : gaps) p.mean += g;
    p.mean /= gaps.size();
    for (double g : gaps) p.spread = std::max(p.spread, std::fabs(g - p.mean));
    p.count = gaps.size();
    return p;
}

TEST(TimerThread, DrivesGravityAndBlinkAndStopsOnQuit) {
    ResetTestWorld();
    {
        std::lock_guard<std::mutex> hold(gameStateLock);
        NewGame();
        gameState.menuChoice = kMenuClassic;
        gameState.menuOpen = false;
        // A flat I on an empty well never locks within a few rows.
        gameState.pieceOrientation = 0;
    }
    HANDLE thread = CreateThread(nullptr, 0, TimerThread, nullptr, 0, nullptr);
    ASSERT_NE(thread, nullptr);

    std::vector<Clock::time_point> steps, blinks;
    int lastRow = 1;
    bool lastBlink = false;
    auto start = Clock::now();
    while (Clock::now() - start < std::chrono::milliseconds(3200)) {
        {
            std::lock_guard<std::mutex> hold(gameStateLock);
            if (gameState.pieceRow != lastRow) steps.push_back(Clock::now());
            lastRow = gameState.pieceRow;
            if (gameState.menuBlink[0] != lastBlink) blinks.push_back(Clock::now());
            lastBlink = gameState.menuBlink[0];
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    // Menu open: gravity must stop while the field spins.
    int rowWhenOpened;
    float spinWhenOpened;
    {
        std::lock_guard<std::mutex> hold(gameStateLock);
        gameState.menuOpen = true;
        rowWhenOpened = gameState.pieceRow;
        spinWhenOpened = gameState.spinAngle;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    {
        std::lock_guard<std::mutex> hold(gameStateLock);
        EXPECT_EQ(gameState.pieceRow, rowWhenOpened);
        EXPECT_GT(gameState.spinAngle, spinWhenOpened + 40.0f) << "the field should spin about 0.8 degrees per 10 ms";
    }

    Periods gravity = Measure(steps), blink = Measure(blinks);
    std::cout << "gravity at level 1: " << steps.size() << " steps, mean " << gravity.mean << " ms, max deviation "
              << gravity.spread << " ms\n"
              << "menu blink: " << blinks.size() << " toggles, mean " << blink.mean << " ms, max deviation "
              << blink.spread << " ms\n";
    EXPECT_GE(steps.size(), 2u);
    EXPECT_LE(steps.size(), 4u);
    EXPECT_NEAR(gravity.mean, 1000.0, 150.0);
    EXPECT_GE(blinks.size(), 8u);
    EXPECT_NEAR(blink.mean, 300.0, 60.0);

    std::set<TimerId> ids(std::begin(gameState.timerIds), std::end(gameState.timerIds));
    EXPECT_EQ(ids.size(), 9u) << "nine distinct timers: without a window the system picks their ids";
    EXPECT_EQ(ids.count(0), 0u);

    auto quitAt = Clock::now();
    RequestQuit();
    ASSERT_EQ(WaitForSingleObject(thread, 2000), WAIT_OBJECT_0);
    DWORD code = 1;
    GetExitCodeThread(thread, &code);
    CloseHandle(thread);
    EXPECT_EQ(code, 0u);
    double stopMs = std::chrono::duration<double, std::milli>(Clock::now() - quitAt).count();
    EXPECT_LT(stopMs, 500.0);
    float spin = gameState.spinAngle;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(gameState.spinAngle, spin) << "no callback may run after the thread ended";
}

}  // namespace
