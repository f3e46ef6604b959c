// The screens' records for the frame comparison (SceneRecords.h): fixed
// pieces, blocks, angles and colours, so that nothing random or timed
// reaches the picture.
#include "support/SceneRecords.h"

#include <cstring>

#include "game/GameRules.h"
#include "game/Shapes.h"
#include "state/GameState.h"

const char* const kSceneNames[5] = {"menu", "play", "help", "challenge", "credits"};

namespace {

void PlayRecord() {
    NewGame();
    std::memset(gameState.keyDown, 0, sizeof gameState.keyDown);
    for (bool& lit : gameState.menuBlink) lit = false;
    gameState.challengeMode = false;
    gameState.menuOpen = false;
    gameState.helpOpen = false;
    gameState.soundOn = true;
    gameState.fieldVisible = true;
    gameState.pieceColumn = 5;
    gameState.pieceRow = 1;
    gameState.pieceOrientation = 0;
    std::memcpy(gameState.nextPreview, ShapeTable[3], 16);
    BoardCell(gameState.board, 3, 20) = 6;
    BoardCell(gameState.board, 4, 20) = 6;
    BoardCell(gameState.board, 8, 19) = 3;
    gameState.levelReached[0] = gameState.levelReached[1] = true;
    gameState.spinAngle = 30.0f;
}

}  // namespace

bool SetSceneRecord(const char* name) {
    PlayRecord();
    if (std::strcmp(name, "play") == 0) return true;
    if (std::strcmp(name, "menu") == 0) {
        gameState.menuOpen = true;
        for (bool& lit : gameState.menuBlink) lit = true;
        return true;
    }
    if (std::strcmp(name, "challenge") == 0) {
        gameState.challengeMode = true;
        gameState.fieldVisible = false;
        return true;
    }
    if (std::strcmp(name, "help") == 0 || std::strcmp(name, "credits") == 0) {
        gameState.helpOpen = true;
        gameState.menuOpen = true;
        gameState.menuBlink[0] = true;
        gameState.soundOn = false;
        const float colour[3] = {0.5f, 0.25f, 0.75f};
        std::memcpy(gameState.helpTextColor, colour, sizeof colour);
        const float tilt[3] = {10.0f, 20.0f, 5.0f};
        std::memcpy(gameState.helpTilt, tilt, sizeof tilt);
        gameState.helpShapeIndex = 2;
        // The credits picture is shown while Q and V are held.
        if (name[0] == 'c') gameState.keyDown[0x51] = gameState.keyDown[0x56] = 1;
        return true;
    }
    return false;
}
