// Key evaluation as a player meets it: held keys repeating on every press,
// the fixed order of the steps, the menu's clamping and sounds, the help
// screen, and what still works while the window is inactive.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/Keys.h"
#include "game/GameRules.h"
#include "state/GameState.h"
#include "support/PlatformDouble.h"

namespace {

unsigned char menuBytes[4];
unsigned char rotateBytes[4];

class Keys : public ::testing::Test {
protected:
    void SetUp() override {
        ResetTestWorld();
        gameState.soundMenu.data = menuBytes;
        gameState.soundRotate.data = rotateBytes;
        gameState.soundOn = true;
        gameState.fieldVisible = true;
        gameState.menuChoice = kMenuClassic;
        NewGame();
    }

    static void Press(std::uint8_t key) {
        MarkKey(key, true);
        HandleKeys();
    }
    static void Release(std::uint8_t key) { MarkKey(key, false); }
    static void Tap(std::uint8_t key) {
        Press(key);
        Release(key);
    }
    // An O piece in open space, so sideways and downward moves all fit.
    static void PlaceO(int column, int row) {
        gameState.pieceOrientation = 4;
        gameState.pieceColumn = column;
        gameState.pieceRow = row;
    }
    static int MenuTicks() {
        int n = 0;
        for (auto* p : platformCalls.clipsPlayed) n += p == menuBytes;
        return n;
    }
};

TEST_F(Keys, EscSeesTheKeysHeldAfterIt) {
    gameState.menuOpen = false;
    MarkKey(kKeyDown, true);
    Press(kKeyEscape);
    EXPECT_TRUE(gameState.menuOpen);
    EXPECT_EQ(gameState.menuChoice, kMenuChallenge);
    EXPECT_EQ(MenuTicks(), 1);
    Release(kKeyDown);
    Release(kKeyEscape);

    // Esc with Enter held: the menu opens at entry 1 and Enter starts a classic game at once.
    gameState.menuOpen = false;
    gameState.challengeMode = true;
    gameState.fieldVisible = false;
    BoardCell(gameState.board, 3, 20) = 5;
    MarkKey(kKeyReturn, true);
    Press(kKeyEscape);
    EXPECT_FALSE(gameState.menuOpen);
    EXPECT_FALSE(gameState.challengeMode);
    EXPECT_TRUE(gameState.fieldVisible);
    EXPECT_EQ(BoardCell(gameState.board, 3, 20), 0) << "a new game was not started";
}

TEST_F(Keys, HeldKeysRepeatOnEveryPressInTheFixedOrder) {
    gameState.menuOpen = false;
    PlaceO(5, 5);
    MarkKey(kKeyLeft, true);
    Press(kKeyRight);  // right, then the held left again
    EXPECT_EQ(gameState.pieceColumn, 5);
    Release(kKeyRight);
    Press(0x10);  // Shift does nothing itself but repeats the held Left
    EXPECT_EQ(gameState.pieceColumn, 4);
    Release(0x10);
    Release(kKeyLeft);

    MarkKey(kKeyDown, true);
    Press(kKeyLeft);  // StepDown first, then the move
    EXPECT_EQ(gameState.pieceRow, 6);
    EXPECT_EQ(gameState.pieceColumn, 3);
}

TEST_F(Keys, MenuMovesClampWithoutSoundAndNeverWrap) {
    gameState.menuOpen = true;
    Tap(kKeyUp);
    EXPECT_EQ(gameState.menuChoice, kMenuClassic);
    EXPECT_EQ(MenuTicks(), 0);
    for (int i = 0; i < 5; ++i) Tap(kKeyDown);
    EXPECT_EQ(gameState.menuChoice, kMenuQuit);
    EXPECT_EQ(MenuTicks(), 3);
    Tap(kKeyUp);
    EXPECT_EQ(gameState.menuChoice, kMenuHelp);
    EXPECT_EQ(MenuTicks(), 4);

    gameState.soundOn = false;
    Tap(kKeyUp);
    EXPECT_EQ(gameState.menuChoice, kMenuChallenge);
    EXPECT_EQ(MenuTicks(), 4);
    // Piece keys do nothing while the menu is up.
    int column = gameState.pieceColumn, row = gameState.pieceRow, orientation = gameState.pieceOrientation;
    Tap(kKeyLeft);
    Tap(kKeyRight);
    Tap(kKeySpace);
    EXPECT_EQ(gameState.pieceColumn, column);
    EXPECT_EQ(gameState.pieceRow, row);
    EXPECT_EQ(gameState.pieceOrientation, orientation);
}

TEST_F(Keys, MenuEntriesStartGamesOpenHelpAndQuit) {
    gameState.menuOpen = true;
    gameState.fieldVisible = false;
    gameState.menuChoice = kMenuChallenge;
    Tap(kKeyReturn);
    EXPECT_FALSE(gameState.menuOpen);
    EXPECT_TRUE(gameState.challengeMode);
    EXPECT_FALSE(gameState.fieldVisible) << "the challenge entry leaves visibility alone";

    Tap(kKeyEscape);
    EXPECT_TRUE(gameState.menuOpen);
    EXPECT_EQ(gameState.menuChoice, kMenuClassic);
    Tap(kKeyReturn);
    EXPECT_FALSE(gameState.challengeMode);
    EXPECT_TRUE(gameState.fieldVisible);

    gameState.menuOpen = true;
    gameState.menuChoice = kMenuHelp;
    Tap(kKeyReturn);
    EXPECT_TRUE(gameState.helpOpen);
    EXPECT_TRUE(gameState.menuOpen);
    EXPECT_FALSE(QuitRequested());

    gameState.menuChoice = kMenuQuit;
    Tap(kKeyReturn);
    EXPECT_TRUE(QuitRequested());
}

TEST_F(Keys, HelpScreenStillDrivesTheMenuUnseen) {
    gameState.menuOpen = true;
    gameState.helpOpen = true;
    gameState.menuChoice = kMenuHelp;
    Tap(kKeyUp);
    Tap(kKeyUp);
    EXPECT_EQ(gameState.menuChoice, kMenuClassic);
    EXPECT_EQ(MenuTicks(), 2);
    BoardCell(gameState.board, 4, 20) = 3;
    Tap(kKeyReturn);
    EXPECT_FALSE(gameState.menuOpen);
    EXPECT_TRUE(gameState.helpOpen) << "the game runs under the help screen";
    EXPECT_EQ(BoardCell(gameState.board, 4, 20), 0);

    gameState.spinAngle = 40.0f;
    Tap(kKeyEscape);
    EXPECT_TRUE(gameState.menuOpen);
    EXPECT_FALSE(gameState.helpOpen);
    EXPECT_EQ(gameState.spinAngle, 0.0f);
}

TEST_F(Keys, InactiveWindowHearsOnlyEscAndM) {
    gameState.menuOpen = false;
    gameState.windowInactive = true;
    PlaceO(5, 5);
    Tap(kKeyLeft);
    Tap(kKeyDown);
    Tap(kKeyUp);
    Tap(kKeySpace);
    EXPECT_EQ(gameState.pieceColumn, 5);
    EXPECT_EQ(gameState.pieceRow, 5);
    EXPECT_TRUE(platformCalls.clipsPlayed.empty());
    Tap(kKeyM);
    EXPECT_FALSE(gameState.soundOn);
    Tap(kKeyEscape);
    EXPECT_TRUE(gameState.menuOpen);
    Tap(kKeyDown);
    EXPECT_EQ(gameState.menuChoice, kMenuClassic);
    Tap(kKeyM);
    EXPECT_TRUE(gameState.soundOn);
}

TEST_F(Keys, PlayKeysMoveRotateAndDrop) {
    gameState.menuOpen = false;
    gameState.pieceOrientation = 0;
    gameState.pieceColumn = 5;
    gameState.pieceRow = 1;
    Tap(kKeyUp);
    EXPECT_EQ(gameState.pieceOrientation, 7);
    EXPECT_EQ(platformCalls.clipsPlayed.size(), 1u);
    Tap(kKeySpace);
    for (int r = 17; r <= 20; ++r) EXPECT_EQ(BoardCell(gameState.board, 6, r), 2) << r;
    EXPECT_EQ(gameState.pieceRow, 1);
}

TEST_F(Keys, OutOfRangeKeyCodesAreIgnored) {
    GameState before = gameState;
    EXPECT_FALSE(MarkKey(256, true));
    EXPECT_FALSE(MarkKey(0xFFFFFFFFu, true));
    EXPECT_EQ(std::memcmp(&before, &gameState, sizeof before), 0);
    EXPECT_TRUE(MarkKey(255, true));
    EXPECT_EQ(gameState.keyDown[255], 1);
}

}  // namespace
