// The portable steps both window layers turn their events into: what a focus
// change, a key and a quit request do to the game, and which exit code the
// game ends with.
#include <gtest/gtest.h>

#include "app/Keys.h"
#include "app/Steps.h"
#include "game/GameRules.h"
#include "state/GameState.h"
#include "support/ControllerDouble.h"
#include "support/PlatformDouble.h"

namespace {

class Steps : public ::testing::Test {
protected:
    void SetUp() override {
        ResetTestWorld();
        controllerCalls = ControllerCalls{};
        SetStartValues();
        NewGame();
    }
};

TEST_F(Steps, AFocusLossPausesLetsGoOfKeysAndPadsAndAGainResumesTheSpinFromTheStart) {
    gameState.keyDown[kKeyLeft] = 1;
    gameState.spinAngle = 40.0f;
    FocusStep(false);
    EXPECT_TRUE(gameState.windowInactive);
    EXPECT_EQ(gameState.keyDown[kKeyLeft], 0) << "a key let go elsewhere sends no key-up";
    EXPECT_EQ(controllerCalls.forgets, 1);
    FocusStep(true);
    EXPECT_FALSE(gameState.windowInactive);
    EXPECT_EQ(gameState.spinAngle, 0.0f);
    EXPECT_EQ(controllerCalls.forgets, 1);
    EXPECT_EQ(controllerCalls.resumes, 1) << "pads still held press anew";
    EXPECT_EQ(controllerCalls.callsUnderLock, 0) << "the pads take the lock for their presses";
}

TEST_F(Steps, TheKeyThatEndsTheGameIsTheExitCodeAndNothingLaterReplacesIt) {
    gameState.menuChoice = kMenuQuit;
    KeyStep(kKeyReturn, false);  // a key-up acts on nothing
    EXPECT_FALSE(QuitRequested());
    KeyStep(0x1234, true);  // only a made-up message carries such a code
    EXPECT_FALSE(QuitRequested());
    KeyStep(kKeyReturn, true);
    EXPECT_TRUE(QuitRequested());
    EXPECT_EQ(ExitCode(), kKeyReturn);
    QuitStep(0);  // the close that follows in the same pass
    KeyStep(kKeyEscape, true);
    EXPECT_EQ(ExitCode(), kKeyReturn);
}

TEST_F(Steps, AQuitRequestCarriesItsOwnCode) {
    QuitStep(0);
    EXPECT_TRUE(QuitRequested());
    EXPECT_EQ(ExitCode(), 0u);
    ResetTestWorld();
    QuitStep(7);
    EXPECT_EQ(ExitCode(), 7u);
}

TEST(StartStep, PreparesTheMenuOverAClassicGameWhateverTheRecordHeld) {
    ResetTestWorld();
    // Not the zeros a fresh process has: every value the step sets, turned.
    RequestQuit();
    gameState.windowInactive = true;
    gameState.menuOpen = false;
    gameState.menuChoice = kMenuQuit;
    gameState.helpOpen = gameState.challengeMode = true;
    gameState.fieldVisible = gameState.soundOn = false;
    gameState.level = 5;
    gameState.linesCleared = 77;
    static int fontsMade = 0;
    fontsMade = 0;
    StartStep([] {
        ++fontsMade;
        // The font comes first: the menu's values are not set yet.
        EXPECT_NE(gameState.menuChoice, kMenuClassic);
        return HFONT{};
    });
    EXPECT_EQ(fontsMade, 1);
    EXPECT_FALSE(QuitRequested());
    EXPECT_FALSE(gameState.windowInactive);
    EXPECT_TRUE(gameState.menuOpen);
    EXPECT_EQ(gameState.menuChoice, kMenuClassic);
    EXPECT_FALSE(gameState.helpOpen);
    EXPECT_FALSE(gameState.challengeMode);
    EXPECT_TRUE(gameState.fieldVisible);
    EXPECT_EQ(gameState.level, 1) << "a new game waits behind the menu";
    EXPECT_EQ(gameState.linesCleared, 0u);
    EXPECT_TRUE(gameState.soundOn);
}

}  // namespace
