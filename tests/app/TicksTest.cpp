// The timer callbacks' bodies, tick by tick: the blink pattern, the help
// screen's colour, tilt and piece cycle, the spin, and gravity's gates.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/Keys.h"
#include "app/Ticks.h"
#include "game/GameRules.h"
#include "state/GameState.h"
#include "support/PlatformDouble.h"

namespace {

class Ticks : public ::testing::Test {
protected:
    void SetUp() override {
        ResetTestWorld();
        NewGame();
        gameState.menuChoice = kMenuClassic;
    }
    static std::string Blink() {
        std::string s;
        for (bool b : gameState.menuBlink) s += b ? '1' : '0';
        return s;
    }
};

TEST_F(Ticks, SelectedEntryBlinksAndTheOthersStayDrawn) {
    EXPECT_EQ(Blink(), "0000");
    Tick300();
    EXPECT_EQ(Blink(), "1111");
    Tick300();
    EXPECT_EQ(Blink(), "0111");
    gameState.menuChoice = kMenuHelp;  // the selection moves down two
    Tick300();
    EXPECT_EQ(Blink(), "1101") << "the new entry hides at once, the old one shows again";
    Tick300();
    EXPECT_EQ(Blink(), "1111");
    gameState.menuChoice = 0;  // not an entry: nothing changes
    Tick300();
    EXPECT_EQ(Blink(), "1111");
}

TEST_F(Ticks, HelpColourChangesOnlyWhileHelpEntryIsSelected) {
    gameState.helpOpen = true;
    gameState.menuChoice = kMenuClassic;
    Tick300();
    EXPECT_EQ(gameState.helpTextColor[0] + gameState.helpTextColor[1] + gameState.helpTextColor[2], 0.0f);
    gameState.menuChoice = kMenuHelp;
    bool changed = false;
    for (int i = 0; i < 20; ++i) {
        Tick300();
        for (float c : gameState.helpTextColor) {
            EXPECT_GE(c, 0.0f);
            EXPECT_LE(c, 0.99f + 1e-6f);
            // whole hundredths
            EXPECT_NEAR(c * 100.0f, static_cast<float>(static_cast<int>(c * 100.0f + 0.5f)), 1e-3f);
            changed = changed || c != 0.0f;
        }
    }
    EXPECT_TRUE(changed);
    float frozen[3] = {gameState.helpTextColor[0], gameState.helpTextColor[1], gameState.helpTextColor[2]};
    gameState.menuChoice = kMenuChallenge;
    for (int i = 0; i < 5; ++i) Tick300();
    for (int i = 0; i < 3; ++i) EXPECT_EQ(gameState.helpTextColor[i], frozen[i]);
}

TEST_F(Ticks, HelpTiltEasesTowardTargetsAndNeverRests) {
    gameState.helpOpen = true;
    gameState.helpTiltTarget[0] = 3.0f;
    gameState.helpTiltTarget[1] = 0.0f;  // equal: subtracts
    gameState.helpTiltTarget[2] = -1.0f;
    Tick10();
    EXPECT_FLOAT_EQ(gameState.helpTilt[0], 0.3f);
    EXPECT_FLOAT_EQ(gameState.helpTilt[1], -0.3f);
    EXPECT_FLOAT_EQ(gameState.helpTilt[2], -0.3f);
    for (int i = 0; i < 200; ++i) Tick10();
    EXPECT_NEAR(gameState.helpTilt[0], 3.0f, 0.31f);
    EXPECT_NEAR(gameState.helpTilt[1], 0.0f, 0.31f);

    Tick1000();
    for (float t : gameState.helpTiltTarget) {
        EXPECT_GE(t, 0.0f);
        EXPECT_LE(t, 99.0f);
        EXPECT_EQ(t, static_cast<float>(static_cast<int>(t)));
    }
    gameState.helpOpen = false;
    float tilt = gameState.helpTilt[0], target = gameState.helpTiltTarget[0];
    Tick10();
    Tick1000();
    EXPECT_EQ(gameState.helpTilt[0], tilt);
    EXPECT_EQ(gameState.helpTiltTarget[0], target);
}

TEST_F(Ticks, HelpPieceCyclesThroughNineShapesOnlyWhileHelpIsOpen) {
    Tick3000();
    EXPECT_EQ(gameState.helpShapeIndex, 0);
    gameState.helpOpen = true;
    std::string seen;
    for (int i = 0; i < 10; ++i) {
        Tick3000();
        seen += static_cast<char>('0' + gameState.helpShapeIndex);
    }
    EXPECT_EQ(seen, "1234567801");
}

TEST_F(Ticks, FieldSpinsWhilePausedWithoutWrapping) {
    gameState.menuOpen = false;
    Tick10();
    EXPECT_EQ(gameState.spinAngle, 0.0f);
    gameState.menuOpen = true;
    float expected = 0.0f;
    for (int i = 0; i < 1000; ++i) {
        Tick10();
        expected += 0.8f;
    }
    EXPECT_EQ(gameState.spinAngle, expected);
    EXPECT_GT(gameState.spinAngle, 790.0f);
    gameState.menuOpen = false;
    gameState.windowInactive = true;
    Tick10();
    EXPECT_EQ(gameState.spinAngle, expected + 0.8f);
}

TEST_F(Ticks, GravityActsOnlyAtItsLevelWithMenuClosedAndWindowActive) {
    void (*const byLevel[7])() = {Tick1000, Tick800, Tick600, Tick400, Tick200, Tick100, Tick10};
    for (int level = 1; level <= 7; ++level) {
        for (int timer = 1; timer <= 7; ++timer) {
            NewGame();
            gameState.level = level;
            gameState.menuOpen = false;
            gameState.windowInactive = false;
            byLevel[timer - 1]();
            EXPECT_EQ(gameState.pieceRow, level == timer ? 2 : 1) << "level " << level << " timer " << timer;
        }
        NewGame();
        gameState.level = level;
        gameState.menuOpen = true;
        byLevel[level - 1]();
        EXPECT_EQ(gameState.pieceRow, 1);
        gameState.menuOpen = false;
        gameState.windowInactive = true;
        byLevel[level - 1]();
        EXPECT_EQ(gameState.pieceRow, 1);
    }
}

}  // namespace
