// What the native loop's draw-on-change decision compares: each step against
// the screen it leaves, changed exactly when that screen draws something else.
#include <gtest/gtest.h>

#include "app/Keys.h"
#include "app/Picture.h"
#include "app/Steps.h"
#include "app/Ticks.h"
#include "game/GameRules.h"
#include "state/GameState.h"
#include "support/PlatformDouble.h"

namespace {

enum class Screen { Menu, Play, PlayLevel7, PlayUnfocused, Help };

void Show(Screen screen) {
    ResetTestWorld();
    SetStartValues();
    NewGame();
    gameState.soundOn = true;
    gameState.menuOpen = screen == Screen::Menu;
    // A T in open play, which every turn changes.
    gameState.pieceOrientation = 3;
    gameState.pieceColumn = 5;
    gameState.pieceRow = 5;
    if (screen == Screen::PlayLevel7) gameState.level = 7;
    if (screen == Screen::PlayUnfocused) gameState.windowInactive = true;
    if (screen == Screen::Help) {
        gameState.menuChoice = kMenuHelp;
        gameState.helpOpen = true;
    }
}

TEST(Picture, AStepChangesThePictureExactlyWhenItsScreenDrawsWhatChanged) {
    const struct {
        const char* what;
        Screen screen;
        void (*step)();
        bool changes;
    } cases[] = {
        {"the 300 ms tick blinks the menu", Screen::Menu, Tick300, true},
        {"the 300 ms tick's blink is not drawn in play", Screen::Play, Tick300, false},
        {"the 10 ms tick spins the menu's field", Screen::Menu, Tick10, true},
        {"the 10 ms tick does nothing in play below level 7", Screen::Play, Tick10, false},
        {"the 10 ms tick drops the piece at level 7", Screen::PlayLevel7, Tick10, true},
        {"the 10 ms tick spins the unfocused field", Screen::PlayUnfocused, Tick10, true},
        {"the 1 s tick drops the piece at level 1", Screen::Play, Tick1000, true},
        {"the 800 ms tick does nothing at level 1", Screen::Play, Tick800, false},
        {"the 10 ms tick tilts the help screen", Screen::Help, Tick10, true},
        {"Left moves the piece", Screen::Play, [] { KeyStep(kKeyLeft, true); }, true},
        {"Up turns the piece", Screen::Play, [] { KeyStep(kKeyUp, true); }, true},
        {"a key the game ignores", Screen::Play, [] { KeyStep(0x41, true); }, false},
        {"M turns the sound off: the notice", Screen::Play, [] { KeyStep(kKeyM, true); }, true},
    };
    for (const auto& c : cases) {
        Show(c.screen);
        const GameState before = gameState;
        c.step();
        EXPECT_EQ(PictureDiffers(before, gameState), c.changes) << c.what;
    }
}

}  // namespace
