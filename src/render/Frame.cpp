// One frame of the game: the sound-off notice, then the credits picture, the
// help screen, or the play field with the menu over it. Called by both window
// layers for every frame (DrawFrameStep), with gameStateLock held.
#include <mutex>
#include <string_view>

#include "game/Shapes.h"
#include "render/GL.h"
#include "render/Language.h"
#include "render/Render.h"
#include "state/GameState.h"

namespace {

// TRANSLATORS: shown at the top left while the sound is off ("sound off,
// the [M] key switches it"). Keep it short: it stands alone on one line.
constexpr std::u16string_view kSoundOffNotice = TextMark(u"声音关闭[M]键切换");
constexpr int kKeyQ = 0x51;
constexpr int kKeyV = 0x56;
constexpr int kDrawnBoardRows = 25;  // rows 22-25 never hold anything; the last is not even visited
constexpr int kLampCount = 7;

// Columns 0-15, rows 0-24; ends 32 units right of the field origin.
void DrawBoard() {
    for (int column = 0; column < kBoardColumns; ++column) {
        for (int row = 0; row < kDrawnBoardRows; ++row) {
            std::uint8_t code = BoardCell(gameState.board, column, row);
            if (gameState.fieldVisible && code != 0) glCallList(code);
            glTranslatef(0.0f, -2.0f, 0.0f);
        }
        glTranslatef(2.0f, 50.0f, 0.0f);
    }
}

// The outline of the well's 10 x 20 cells in challenge mode; returns the cursor where it found it.
void DrawGrid() {
    glTranslatef(-30.0f, -2.0f, 0.0f);
    for (int column = 0; column < 10; ++column) {
        for (int row = 0; row < 20; ++row) {
            glColor3f(1.0f, 1.0f, 1.0f);
            glCallList(kGridList);
            glTranslatef(0.0f, -2.0f, 0.0f);
        }
        glTranslatef(2.0f, 40.0f, 0.0f);
    }
    glTranslatef(10.0f, 2.0f, 0.0f);
}

// Lamps stack downwards from level 1, each lit once its level was reached.
void DrawLamps() {
    glTranslatef(-2.0f, -4.0f, 0.0f);
    if (gameState.levelReached[0]) glCallList(11);
    for (int n = 1; n < kLampCount; ++n) {
        glTranslatef(0.0f, -4.0f, 0.0f);
        if (gameState.levelReached[n]) glCallList(11 + n);
    }
    glTranslatef(0.0f, -4.0f, 0.0f);
}

}  // namespace

void DrawShapeFrame(const std::uint8_t* frame) {
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            if (frame[i * 4 + j] != 0) glCallList(frame[i * 4 + j]);
            glTranslatef(0.0f, -2.0f, 0.0f);
        }
        glTranslatef(2.0f, 8.0f, 0.0f);
    }
}

std::u16string_view SoundOffNotice() {
    return kSoundOffNotice;
}

// Every object is placed by a translation relative to the one before, like a
// cursor walking the field: no matrix is pushed or popped.
bool DrawFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    if (!gameState.soundOn) {
        const std::u16string_view notice = LocalText(kSoundOffNotice);
        DrawGLText(notice.data(), int(notice.size()), -5.5f, 3.6f, 1.0f, 1.0f, 1.0f);
    }
    if (gameState.keyDown[kKeyQ] && gameState.keyDown[kKeyV]) {
        DrawCredits();
        return true;
    }
    if (gameState.helpOpen) {
        DrawHelp();
        return true;
    }
    if (gameState.menuOpen) DrawMenu();

    // The field origin; the field spins about the vertical through board cell (0, 0).
    glTranslatef(-5.0f, 20.0f, -60.0f);
    if (gameState.windowInactive || gameState.menuOpen) glRotatef(gameState.spinAngle, 0.0f, 1.0f, 0.0f);

    DrawBoard();
    if (gameState.challengeMode) DrawGrid();

    glTranslatef(-45.0f, -4.0f, 0.0f);
    DrawShapeFrame(gameState.nextPreview);

    glTranslatef(-8.0f, -10.0f, 0.0f);
    glCallList(9);
    glTranslatef(4.0f, 0.0f, 0.0f);
    glCallList(10);

    DrawLamps();

    // From (-11, -46) off the field origin onto board cell (pieceColumn, pieceRow).
    glTranslatef(2.0f * gameState.pieceColumn + 11.0f, 46.0f - 2.0f * gameState.pieceRow, 0.0f);
    DrawShapeFrame(ShapeTable[gameState.pieceOrientation]);
    return true;
}

void DrawFrameStep(GameState* drawnFrom) {
    std::lock_guard<std::mutex> hold(gameStateLock);
    DrawFrame();
    if (drawnFrom != nullptr) *drawnFrom = gameState;
}
