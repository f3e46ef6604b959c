// The Windows render tests' OpenGL context: a real 800 x 600 popup window
// with the game's pixel format and the game font, so GDI text and WGL run
// as in the game.
#include <windows.h>

#include "RenderTestKit.h"
#include "render/TextWin32.h"
#include "state/GameState.h"

namespace {

HWND window = nullptr;
HDC windowDC = nullptr;
HGLRC renderContext = nullptr;

LRESULT CALLBACK TestWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hWnd, message, wParam, lParam);
}

}  // namespace

void OpenTestContext() {
    WNDCLASSW windowClass{};
    windowClass.style = CS_OWNDC;
    windowClass.lpfnWndProc = TestWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"kvtnRenderTest";
    RegisterClassW(&windowClass);  // a second test in the same process finds it registered
    window = CreateWindowExW(0, L"kvtnRenderTest", L"Kolvex render test", WS_POPUP | WS_VISIBLE, 0, 0, kFrameWidth,
                             kFrameHeight, nullptr, nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    windowDC = GetDC(window);
    PIXELFORMATDESCRIPTOR format{};
    format.nSize = sizeof format;
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    format.iPixelType = PFD_TYPE_RGBA;
    format.cColorBits = 16;
    format.cDepthBits = 16;
    const int index = ChoosePixelFormat(windowDC, &format);
    ASSERT_NE(index, 0);
    ASSERT_TRUE(SetPixelFormat(windowDC, index, &format));
    renderContext = wglCreateContext(windowDC);
    ASSERT_NE(renderContext, nullptr);
    ASSERT_TRUE(wglMakeCurrent(windowDC, renderContext));
    gameState.hFont = CreateGameFont();
}

void CloseTestContext() {
    if (gameState.hFont != nullptr) DeleteObject(gameState.hFont);
    gameState.hFont = nullptr;
    if (renderContext != nullptr) {
        wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(renderContext);
    }
    if (windowDC != nullptr) ReleaseDC(window, windowDC);
    if (window != nullptr) DestroyWindow(window);
    renderContext = nullptr;
    windowDC = nullptr;
    window = nullptr;
}
