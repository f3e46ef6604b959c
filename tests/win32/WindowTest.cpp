// The game window under Wine: created with the shipped data.qv, sized to an
// 800 x 600 client area, answering its messages (keys, focus, size, paint,
// close) as the game relies on, and torn down completely; a focus loss lets
// go of every held key.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

#include "app/Keys.h"
#include "game/GameRules.h"
#include "render/GL.h"
#include "render/Render.h"
#include "render/TextWin32.h"
#include "render/WindowWin32.h"
#include "state/GameState.h"

namespace {

TEST(GameWindow, AnswersItsMessagesAndTearsDownCompletely) {
    gameState = GameState{};
    gameState.hFont = CreateGameFont();
    gameState.menuOpen = true;
    gameState.menuChoice = kMenuClassic;
    gameState.fieldVisible = true;
    NewGame();
    gameState.soundOn = true;
    ASSERT_TRUE(CreateGLWindow()) << "run from the folder holding data.qv";
    HWND window = gameState.hWnd;

    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right - client.left, 800);
    EXPECT_EQ(client.bottom - client.top, 600);
    wchar_t name[32] = {};
    GetClassNameW(window, name, 32);
    EXPECT_STREQ(name, L"kvtn");
    GetWindowTextW(window, name, 32);
    EXPECT_STREQ(name, L"Kolvex");

    // Keys: a made-up code is ignored whole; Esc toggles the menu; key-up clears.
    GameState before = gameState;
    EXPECT_EQ(SendMessageW(window, WM_KEYDOWN, 300, 0), 0);
    EXPECT_EQ(std::memcmp(before.keyDown, gameState.keyDown, sizeof before.keyDown), 0);
    EXPECT_TRUE(gameState.menuOpen);
    SendMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(gameState.menuOpen);
    EXPECT_EQ(gameState.keyDown[VK_ESCAPE], 1);
    SendMessageW(window, WM_KEYUP, VK_ESCAPE, 0);
    EXPECT_EQ(gameState.keyDown[VK_ESCAPE], 0);

    // Focus: losing it pauses; getting it back restarts the spin at 0.
    SendMessageW(window, WM_KILLFOCUS, 0, 0);
    EXPECT_TRUE(gameState.windowInactive);
    gameState.spinAngle = 50.0f;
    SendMessageW(window, WM_SETFOCUS, 0, 0);
    EXPECT_FALSE(gameState.windowInactive);
    EXPECT_EQ(gameState.spinAngle, 0.0f);

    // Size: a zero height must not divide by zero; the viewport follows.
    SendMessageW(window, WM_SIZE, 0, MAKELPARAM(640, 0));
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 640);
    EXPECT_EQ(viewport[3], 1);
    SendMessageW(window, WM_SIZE, 0, MAKELPARAM(800, 600));

    // Paint draws a frame and leaves the window invalid: that is the render loop.
    InvalidateRect(window, nullptr, FALSE);
    EXPECT_EQ(SendMessageW(window, WM_PAINT, 0, 0), 0);
    EXPECT_TRUE(GetUpdateRect(window, nullptr, FALSE));

    // Close asks to quit and posts WM_QUIT with code 0, but leaves the window to KillGLWindow.
    EXPECT_EQ(SendMessageW(window, WM_CLOSE, 0, 0), 0);
    EXPECT_TRUE(QuitRequested());
    EXPECT_TRUE(IsWindow(window));
    // Only WM_QUIT is looked for: paint messages never run out, by design.
    MSG message;
    ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 0u);

    KillGLWindow();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(gameState.hGLRC, nullptr);
    WNDCLASSW unused;
    EXPECT_FALSE(GetClassInfoW(gameState.hInstance, L"kvtn", &unused)) << "the class is unregistered";
    DeleteObject(gameState.hFont);
    gameState.hFont = nullptr;
}

TEST(GameWindow, AKeyLetGoWhileAnotherWindowHadTheFocusActsNoMore) {
    gameState = GameState{};
    NewGame();
    gameState.pieceOrientation = 4;  // an O piece in open play
    gameState.pieceColumn = 5;
    gameState.pieceRow = 5;
    WindowProc(nullptr, WM_KEYDOWN, VK_LEFT, 0);
    ASSERT_EQ(gameState.pieceColumn, 4);
    // Left is let go in another window: its WM_KEYUP never comes here.
    WindowProc(nullptr, WM_KILLFOCUS, 0, 0);
    WindowProc(nullptr, WM_SETFOCUS, 0, 0);
    WindowProc(nullptr, WM_KEYDOWN, VK_SHIFT, 0);
    EXPECT_EQ(gameState.pieceColumn, 4);
}

}  // namespace
