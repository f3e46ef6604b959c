// The shipped data.qv (built from art/ beside the test programs) through the
// real decoder: start-up takes every picture, and each screen draws. With
// KOLVEX_SHOTS set it leaves a PNG of every screen to look at.
#include <cstring>
#include <filesystem>

#include "RenderTestKit.h"
#include "game/GameRules.h"
#include "game/Shapes.h"
#include "render/GL.h"
#include "render/Render.h"
#include "state/GameState.h"

namespace {

class ShippedArt : public RenderTest {};

bool Drawn(ScreenPoint point) {
    const Rgb pixel = PixelAt(point);
    return pixel.red + pixel.green + pixel.blue > 30;
}

TEST_F(ShippedArt, StartUpTakesEveryPictureAndEveryScreenDraws) {
    std::filesystem::copy_file(startFolder / "data.qv", folder / "data.qv");
    OpenTestContext();
    ResizeScene(kFrameWidth, kFrameHeight);
    ASSERT_EQ(InitGL(), 1);

    NewGame();
    gameState.fieldVisible = true;
    gameState.soundOn = true;
    gameState.pieceOrientation = 3;
    gameState.pieceRow = 6;
    for (int c = 1; c <= 9; ++c) BoardCell(gameState.board, c, 20) = std::uint8_t(2 + c % 7);
    std::memcpy(gameState.nextPreview, ShapeTable[5], 16);
    for (int n = 0; n < 4; ++n) gameState.levelReached[n] = true;

    DrawFrame();
    SaveShot("art-play");
    EXPECT_TRUE(Drawn(Project(-5, 0, -59)));   // left wall
    EXPECT_TRUE(Drawn(Project(-18, 6, -59)));  // side picture

    gameState.challengeMode = true;
    gameState.fieldVisible = false;
    DrawFrame();
    SaveShot("art-challenge-hidden");
    EXPECT_FALSE(Drawn(Project(-5, 0, -59)));

    gameState.menuOpen = true;
    gameState.spinAngle = 30.0f;
    for (bool& blink : gameState.menuBlink) blink = true;
    gameState.soundOn = false;
    DrawFrame();
    SaveShot("art-menu");
    for (int k = 1; k <= 4; ++k) EXPECT_TRUE(Drawn(Project(-9, 8.0f - 3 * k, -24))) << "entry " << k;

    gameState.helpOpen = true;
    gameState.helpTextColor[0] = 0.9f;
    gameState.helpTextColor[1] = 0.6f;
    gameState.helpTilt[1] = 20.0f;
    gameState.helpShapeIndex = 1;  // the J: its frame cell (0, 0) is the pivot
    DrawFrame();
    SaveShot("art-help");
    EXPECT_TRUE(Drawn(Project(-2, -9.5f, -59)));

    gameState.keyDown[0x51] = gameState.keyDown[0x56] = 1;
    DrawFrame();
    SaveShot("art-credits");
    EXPECT_TRUE(Drawn(Project(0, 0.9f, -6)));
}

}  // namespace
