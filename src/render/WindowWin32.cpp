// The game window on Windows: what it implements of Window.h and
// ProblemBox.h, with a device context and a WGL context, and the window
// procedure that turns messages into the game's steps. It lacks resizing,
// full screen and frame pacing on purpose: the Windows game stays as first
// made, one 800 x 600 window drawing a frame on every paint. Main thread only.
#include "render/WindowWin32.h"

#include "app/Steps.h"
#include "render/GL.h"
#include "render/Render.h"
#include "state/GameState.h"

namespace {

constexpr wchar_t kClassName[] = L"kvtn";
constexpr wchar_t kTitle[] = L"Kolvex";
constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kIconGroup = 101;

// Overlapped style 0 still gets a caption and a border; this is what they add.
constexpr DWORD kFrameStyle = WS_CAPTION | WS_BORDER;

bool Fail(const char16_t* text) {
    KillGLWindow();
    ShowProblem(text);
    return false;
}

const PIXELFORMATDESCRIPTOR kPixelFormat = {
    sizeof(PIXELFORMATDESCRIPTOR),
    1,
    PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER,
    PFD_TYPE_RGBA,
    16,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    16,
    0,
    0,
    PFD_MAIN_PLANE,
    0,
    0,
    0,
    0,
};

}  // namespace

// UTF-16 either way: wchar_t is Windows' name for the same units.
void ShowProblem(const char16_t* text) {
    MessageBoxW(nullptr, reinterpret_cast<const wchar_t*>(text), L"\"Kolvex\"可能存在一些问题",
                MB_OK | MB_ICONINFORMATION);
}

void ShowWarning(const char16_t* text) {
    MessageBoxW(nullptr, reinterpret_cast<const wchar_t*>(text), L"\"Kolvex\" 警告!", MB_OK | MB_ICONINFORMATION);
}

bool CreateGLWindow() {
    RECT rect = {0, 0, kWidth, kHeight};
    gameState.hInstance = GetModuleHandleW(nullptr);

    WNDCLASSW windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = gameState.hInstance;
    windowClass.hIcon = LoadIconW(gameState.hInstance, MAKEINTRESOURCEW(kIconGroup));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    if (RegisterClassW(&windowClass) == 0) {
        ShowProblem(u"注册窗口失败,程序错误.");
        return false;
    }

    // Sized so the client area, and so the whole 800 x 600 viewport, is seen.
    AdjustWindowRectEx(&rect, kFrameStyle, FALSE, 0);
    gameState.hWnd =
        CreateWindowExW(0, kClassName, kTitle, WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, rect.right - rect.left,
                        rect.bottom - rect.top, nullptr, nullptr, gameState.hInstance, nullptr);
    if (gameState.hWnd == nullptr) return Fail(u"不能创建窗口,程序错误.");

    gameState.hDC = GetDC(gameState.hWnd);
    if (gameState.hDC == nullptr) return Fail(u"不能创建匹配的像素格式,程序错误.");
    int format = ChoosePixelFormat(gameState.hDC, &kPixelFormat);
    if (format == 0) return Fail(u"不能设置像素格式,程序错误.");
    if (!SetPixelFormat(gameState.hDC, format, &kPixelFormat)) return Fail(u"不能设置像素格式,程序错误.");
    gameState.hGLRC = wglCreateContext(gameState.hDC);
    if (gameState.hGLRC == nullptr) return Fail(u"不能创建OpenGL渲染描述,程序错误.");
    if (!wglMakeCurrent(gameState.hDC, gameState.hGLRC)) return Fail(u"不能激活当前的渲染描述表,程序错误.");

    ShowWindow(gameState.hWnd, SW_SHOW);
    SetForegroundWindow(gameState.hWnd);
    SetFocus(gameState.hWnd);
    ResizeScene(kWidth, kHeight);
    if (InitGL() == 0) {
        KillGLWindow();
        ShowWarning(u"不能初始化OpenGL程序或者程序被破坏!");
        return false;
    }
    return true;
}

void KillGLWindow() {
    if (gameState.hGLRC != nullptr) {
        if (!wglMakeCurrent(nullptr, nullptr)) ShowProblem(u"释放DC或RC失败,请按确定后继续.");
        if (!wglDeleteContext(gameState.hGLRC)) ShowProblem(u"释放RC失败,请按确定后继续.");
        gameState.hGLRC = nullptr;
    }
    if (gameState.hDC != nullptr) {
        if (!ReleaseDC(gameState.hWnd, gameState.hDC)) ShowProblem(u"释放DC失败,请按确定后继续.");
        gameState.hDC = nullptr;
    }
    if (gameState.hWnd != nullptr) {
        if (!DestroyWindow(gameState.hWnd)) ShowProblem(u"释放窗口句柄失败,请按确定后继续.");
        gameState.hWnd = nullptr;
    }
    if (!UnregisterClassW(kClassName, gameState.hInstance)) ShowProblem(u"注销程序失败,请按确定后继续.");
}

LRESULT CALLBACK WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            ResizeScene(LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_SETFOCUS:
            FocusStep(true);
            return 0;
        case WM_KILLFOCUS:
            FocusStep(false);
            return 0;
        case WM_PAINT:
            // The update region is never validated, so paint messages keep
            // coming whenever the queue is empty: that is the render loop.
            DrawFrameStep();
            SwapBuffers(gameState.hDC);
            return 0;
        case WM_CLOSE:
            QuitStep(0);
            PostQuitMessage(0);
            return 0;
        case WM_ENDSESSION:
            // Log-off, shut-down, or an installer's Restart Manager asking us
            // to make way: end as a close does. Windows may end the process
            // once this returns, before the loop's clean-up has run.
            // (WM_QUERYENDSESSION's default answer already lets it go ahead.)
            if (wParam) {
                QuitStep(0);
                PostQuitMessage(0);
            }
            return 0;
        case WM_KEYDOWN:
            KeyStep(wParam, true);
            return 0;
        case WM_KEYUP:
            KeyStep(wParam, false);
            return 0;
        default:
            return DefWindowProcW(hWnd, message, wParam, lParam);
    }
}
