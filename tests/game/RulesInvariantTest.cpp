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

// Rows 15-20 almost full, one gap each, so random drops clear rows often and
// the clearing path is exercised along with everything else.
void PrepareNearlyFullRows(std::mt19937& pick) {
    for (int r = 15; r <= 20; ++r) {
        int gap = 1 + static_cast<int>(pick() % 10);
        for (int c = 1; c <= 10; ++c) BoardCell(gameState.board, c, r) = c == gap ? 0 : 2 + pick() % 7;
    }
}

TEST(RulesInvariants, HoldUnderLongRandomPlay) {
    ResetTestWorld();
    std::mt19937 pick(20261207);
    int games = 0;
    std::uint64_t rowsCleared = 0;
    NewGame();
    PrepareNearlyFullRows(pick);
    for (int step = 0; step < 200000; ++step) {
        std::uint32_t before = gameState.linesCleared;
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
        rowsCleared += gameState.linesCleared - before;
        // A game over opens the menu; sometimes play on (resume), sometimes start anew.
        if (gameState.menuOpen) {
            if (pick() % 3 == 0) {
                gameState.menuOpen = false;
                before = gameState.linesCleared;
                StepDown();
                rowsCleared += gameState.linesCleared - before;
            } else {
                ++games;
                gameState.challengeMode = pick() % 2;
                NewGame();
                PrepareNearlyFullRows(pick);
                gameState.menuOpen = false;
            }
        }
        ExpectInvariants(step);
        if (HasFatalFailure()) return;
    }
    EXPECT_GT(games, 10);
    EXPECT_GT(rowsCleared, 20u) << "random play hardly cleared rows: the clearing path went untested";
}

}  // namespace
