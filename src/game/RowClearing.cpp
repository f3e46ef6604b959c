// Removing full rows after each lock, counting them and raising the level.
// Called only from StepDown and HardDrop, between the lock and the next piece.
#include "assets/Sound.h"
#include "game/GameRules.h"
#include "state/GameState.h"

namespace {

// Rows cleared at which levels 2..7 begin.
constexpr std::uint32_t kLevelThresholds[6] = {10, 30, 60, 100, 150, 210};

bool RowIsFull(int row) {
    for (int column = 1; column <= 10; ++column) {
        if (BoardCell(gameState.board, column, row) == 0) return false;
    }
    return true;
}

void RemoveRow(int row) {
    for (int k = row; k >= 2; --k) {
        for (int column = 1; column <= 10; ++column) {
            BoardCell(gameState.board, column, k) = BoardCell(gameState.board, column, k - 1);
        }
    }
    for (int column = 1; column <= 10; ++column) BoardCell(gameState.board, column, 1) = 0;
}

void RaiseLevel() {
    for (int n = 0; n < 6; ++n) {
        if (gameState.linesCleared >= kLevelThresholds[n]) {
            gameState.levelReached[n + 1] = true;
            gameState.level = n + 2;
        }
    }
}

}  // namespace

void ClearFullRows() {
    if (gameState.challengeMode) gameState.fieldVisible = !gameState.fieldVisible;
    // Top-down: rows that move into 2..r were already found not full, and the
    // rows below r are untouched, so one pass finds every full row.
    for (int row = 1; row <= 20; ++row) {
        if (!RowIsFull(row)) continue;
        PlayEffect(gameState.soundLineClear);
        gameState.linesCleared += 1;
        RemoveRow(row);
        RaiseLevel();
    }
}
