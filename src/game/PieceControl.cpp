// Starting a game and moving the falling piece. Every procedure runs whole
// under the caller's lock; none can fail: a move that does not fit is refused.
#include <cstring>
#include <ctime>

#include "assets/Sound.h"
#include "game/GameRules.h"
#include "game/Random.h"
#include "game/Shapes.h"
#include "state/GameState.h"

namespace {

constexpr int kWallColumnLeft = 0;
constexpr int kWallColumnRight = 11;
constexpr int kCeilingRow = 0;
constexpr int kFloorRow = 21;
constexpr int kEntryColumn = 5;
constexpr int kEntryRow = 1;

void BuildWalledBoard(Board& board) {
    std::memset(board.cells, 0, sizeof board.cells);
    for (int row = kCeilingRow; row <= 20; ++row) {
        BoardCell(board, kWallColumnLeft, row) = 1;
        BoardCell(board, kWallColumnRight, row) = 1;
    }
    for (int column = kWallColumnLeft; column <= kWallColumnRight; ++column) {
        BoardCell(board, column, kCeilingRow) = 1;
        BoardCell(board, column, kFloorRow) = 1;
    }
}

bool ShapeFitsAt(int orientation, int column, int row) {
    const std::uint8_t* frame = ShapeTable[orientation];
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            if (frame[i * 4 + j] != 0 && BoardCell(gameState.board, column + i, row + j) != 0) {
                return false;
            }
        }
    }
    return true;
}

// Lock, clear and bring in the next piece: the shared tail of StepDown and HardDrop.
void SettlePiece() {
    LockPiece();
    ClearFullRows();
    SpawnNextPiece();
}

}  // namespace

std::int32_t DrawKind() {
    return NextRandom() % 7;
}

void NewGame() {
    BuildWalledBoard(gameState.board);
    SeedRandom(static_cast<std::uint32_t>(std::time(nullptr)));
    gameState.nextKind = DrawKind();
    gameState.levelReached[0] = true;
    for (int n = 1; n < 7; ++n) gameState.levelReached[n] = false;
    gameState.level = 1;
    gameState.linesCleared = 0;
    SpawnNextPiece();
}

void SpawnNextPiece() {
    gameState.pieceOrientation = gameState.nextKind;
    gameState.nextKind = DrawKind();
    gameState.pieceColumn = kEntryColumn;
    gameState.pieceRow = kEntryRow;
    std::memcpy(gameState.nextPreview, ShapeTable[gameState.nextKind], sizeof gameState.nextPreview);
    if (!PieceFits(0, 0)) {
        // Game over: show the whole field and open the menu; the board and the
        // blocked piece stay as they are so play can resume from here.
        gameState.fieldVisible = true;
        gameState.spinAngle = 0.0f;
        gameState.menuOpen = true;
    }
}

bool PieceFits(std::int32_t dx, std::int32_t dy) {
    return ShapeFitsAt(gameState.pieceOrientation, gameState.pieceColumn + dx, gameState.pieceRow + dy);
}

bool OrientationFits(std::int32_t orientation) {
    if (orientation < 0 || orientation >= kShapeCount) return false;
    return ShapeFitsAt(orientation, gameState.pieceColumn, gameState.pieceRow);
}

void LockPiece() {
    const std::uint8_t* frame = ShapeTable[gameState.pieceOrientation];
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            std::uint8_t code = frame[i * 4 + j];
            if (code == 0) continue;
            std::uint8_t& cell = BoardCell(gameState.board, gameState.pieceColumn + i, gameState.pieceRow + j);
            // After a blocked entry the piece may overlap blocks; those keep their code.
            if (cell == 0) cell = code;
        }
    }
}

void StepDown() {
    if (PieceFits(0, 1)) {
        gameState.pieceRow += 1;
        return;
    }
    SettlePiece();
}

void HardDrop() {
    while (PieceFits(0, 1)) gameState.pieceRow += 1;
    SettlePiece();
}

void RotatePiece() {
    // The click comes first, so a refused turn (or the O piece) is heard too.
    PlayEffect(gameState.soundRotate);
    int successor = RotationSuccessor(gameState.pieceOrientation);
    if (successor == kNoSuccessor) return;
    if (OrientationFits(successor)) gameState.pieceOrientation = successor;
}

void MovePieceLeft() {
    if (PieceFits(-1, 0)) gameState.pieceColumn -= 1;
}

void MovePieceRight() {
    if (PieceFits(1, 0)) gameState.pieceColumn += 1;
}
