// HandleKeys walks the held keys in one fixed order, whatever key was just
// pressed, so a key press (or auto-repeat) repeats every other held key's
// action, and each step sees what the steps before it changed.
#include "app/Keys.h"

#include "assets/Sound.h"
#include "game/GameRules.h"
#include "render/GL.h"
#include "state/GameState.h"

namespace {

bool Held(std::uint8_t key) {
    return gameState.keyDown[key] != 0;
}

// Moves the selection one entry; the tick sounds only when it really moves.
void MoveMenuChoice(int delta) {
    int target = gameState.menuChoice + delta;
    if (target < kMenuClassic || target > kMenuQuit) {
        gameState.menuChoice = delta > 0 ? kMenuQuit : kMenuClassic;
        return;
    }
    PlayEffect(gameState.soundMenu);
    gameState.menuChoice = static_cast<std::uint8_t>(target);
}

void CarryOutMenuChoice() {
    switch (gameState.menuChoice) {
        case kMenuClassic:
            NewGame();
            gameState.menuOpen = false;
            gameState.challengeMode = false;
            gameState.fieldVisible = true;
            break;
        case kMenuChallenge:
            // Visibility carries over from the last game on purpose.
            NewGame();
            gameState.menuOpen = false;
            gameState.challengeMode = true;
            break;
        case kMenuHelp:
            gameState.helpOpen = true;
            break;
        case kMenuQuit:
            RequestQuit();
            break;
        default:
            break;
    }
}

void ToggleMenu() {
    glColor3f(1.0f, 1.0f, 1.0f);
    gameState.spinAngle = 0.0f;
    gameState.helpOpen = false;
    gameState.menuChoice = kMenuClassic;
    gameState.menuOpen = !gameState.menuOpen;
}

}  // namespace

void SetStartValues() {
    gameState.menuOpen = true;
    gameState.spinAngle = 0.0f;
    gameState.menuChoice = kMenuClassic;
    gameState.helpOpen = false;
    gameState.challengeMode = false;
    gameState.fieldVisible = true;
}

bool MarkKey(std::uintptr_t virtualKey, bool down) {
    if (virtualKey >= sizeof gameState.keyDown) return false;
    gameState.keyDown[virtualKey] = down ? 1 : 0;
    return true;
}

void HandleKeys() {
    if (Held(kKeyEscape)) ToggleMenu();
    if (!gameState.windowInactive) {
        if (Held(kKeyDown)) {
            if (gameState.menuOpen) {
                MoveMenuChoice(+1);
            } else {
                StepDown();
            }
        }
        if (Held(kKeyRight) && !gameState.menuOpen) MovePieceRight();
        if (Held(kKeyLeft) && !gameState.menuOpen) MovePieceLeft();
        if (Held(kKeyUp)) {
            if (gameState.menuOpen) {
                MoveMenuChoice(-1);
            } else {
                RotatePiece();
            }
        }
        if (Held(kKeySpace) && !gameState.menuOpen) HardDrop();
        if (Held(kKeyReturn) && gameState.menuOpen) CarryOutMenuChoice();
    }
    if (Held(kKeyM)) gameState.soundOn = !gameState.soundOn;
}
