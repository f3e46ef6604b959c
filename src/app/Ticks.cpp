// Periodic work in fixed steps per tick. Gravity has one timer per level and
// each acts only at its own level, so a level change takes effect at the new
// timer's next tick.
#include "app/Ticks.h"

#include "app/Keys.h"
#include "game/GameRules.h"
#include "game/Random.h"
#include "state/GameState.h"

namespace {

constexpr float kTiltStep = 0.3f;
constexpr float kSpinStep = 0.8f;

void Gravity(int level) {
    if (gameState.level == level && !gameState.menuOpen && !gameState.windowInactive) StepDown();
}

float RandomPercent() {
    return static_cast<float>((NextRandom() % 100) * 0.01);
}

}  // namespace

void Tick300() {
    if (gameState.menuChoice == kMenuHelp) {
        for (float& component : gameState.helpTextColor) component = RandomPercent();
    }
    int selected = gameState.menuChoice;
    if (selected < kMenuClassic || selected > kMenuQuit) return;
    for (int entry = 0; entry < 4; ++entry) {
        gameState.menuBlink[entry] = entry == selected - 1 ? !gameState.menuBlink[entry] : true;
    }
}

void Tick1000() {
    if (gameState.helpOpen) {
        for (float& target : gameState.helpTiltTarget) target = static_cast<float>(NextRandom() % 100);
    }
    Gravity(1);
}

void Tick800() {
    Gravity(2);
}
void Tick600() {
    Gravity(3);
}
void Tick400() {
    Gravity(4);
}
void Tick200() {
    Gravity(5);
}
void Tick100() {
    Gravity(6);
}

void Tick10() {
    if (gameState.helpOpen) {
        // An angle equal to its target also steps down, so it never rests.
        for (int axis = 0; axis < 3; ++axis) {
            if (gameState.helpTiltTarget[axis] > gameState.helpTilt[axis]) {
                gameState.helpTilt[axis] += kTiltStep;
            } else {
                gameState.helpTilt[axis] -= kTiltStep;
            }
        }
    }
    if (gameState.windowInactive || gameState.menuOpen) gameState.spinAngle += kSpinStep;
    Gravity(7);
}

void Tick3000() {
    if (!gameState.helpOpen) return;
    gameState.helpShapeIndex = gameState.helpShapeIndex > 7 ? 0 : gameState.helpShapeIndex + 1;
}

const TickTimer kTickTimers[9] = {
    {Tick300, 300}, {Tick1000, 1000}, {Tick800, 800}, {Tick600, 600},   {Tick400, 400},
    {Tick200, 200}, {Tick100, 100},   {Tick10, 10},   {Tick3000, 3000},
};
