// Long random sequences of the calls keys and timers make, with the board's
// invariants checked after every call: walls fixed, the margin empty, no wall
// code inside the well, the falling piece inside the well, preview in step.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "game/GameRules.h"
#include "game/Shapes.h"
#include "state/GameState.h"
#include "support/PlatformDouble.h"

namespace {

void ExpectInvariants(int step) {
    const Board& b = gameState.board;
    for (int c = 0; c < kBoardColumns; ++c) {
        for (int r = 0; r < kBoardRows; ++r) {
            std::uint8_t cell = BoardCell(b, c, r);
            bool wall = c <= 11 && r <= 21 && (c == 0 || c == 11 || r == 0 || r == 21);
            if (wall) {
                ASSERT_EQ(cell, 1) << "wall changed at " << c << "," << r << " step " << step;
            } else if (c >= 12 || r >= 22) {
                ASSERT_EQ(cell, 0) << "margin written at " << c << "," << r << " step " << step;
            } else {
                ASSERT_NE(cell, 1) << "wall code inside the well at " << c << "," << r << " step " << step;
                ASSERT_LE(cell, 8);
            }
        }
    }
    ASSERT_EQ(std::memcmp(gameState.nextPreview, ShapeTable[gameState.nextKind], 16), 0) << step;
    ASSERT_GE(gameState.level, 1);
    ASSERT_LE(gameState.level, 7);
    // While play goes on (no blocked entry) the piece never overlaps anything.
    if (!gameState.menuOpen) {
        ASSERT_TRUE(PieceFits(0, 0)) << "piece overlaps at step " << step;
    }
}

TEST(RulesInvariants, HoldUnderLongRandomPlay) {
    ResetTestWorld();
    std::mt19937 pick(20261207);
    int games = 0, rowsSeen = 0;
    NewGame();
    for (int step = 0; step < 200000; ++step) {
        switch (pick() % 16) {
            case 0:
            case 1:
            case 2:
                MovePieceLeft();
                break;
            case 3:
            case 4:
            case 5:
                MovePieceRight();
                break;
            case 6:
            case 7:
            case 8:
                RotatePiece();
                break;
            case 9:
                HardDrop();
                break;
            default:
                StepDown();
                break;
        }
        // A game over opens the menu; sometimes play on (resume), sometimes start anew.
        if (gameState.menuOpen) {
            rowsSeen += static_cast<int>(gameState.linesCleared);
            if (pick() % 3 == 0) {
                gameState.menuOpen = false;
                StepDown();
            } else {
                ++games;
                gameState.challengeMode = pick() % 2;
                NewGame();
                gameState.menuOpen = false;
            }
        }
        ExpectInvariants(step);
        if (HasFatalFailure()) return;
    }
    EXPECT_GT(games, 10);
    EXPECT_GT(rowsSeen, 0) << "random play never cleared a row: the clearing path went untested";
}

}  // namespace
