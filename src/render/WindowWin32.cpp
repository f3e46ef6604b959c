// Window, device context and OpenGL context of the game, and the window
// procedure that turns key, focus, size, paint and close messages into game
// steps. Runs on the main thread; key messages and frames hold the lock.
#include "render/WindowWin32.h"

#include <cstring>
#include <mutex>

#include "app/ControllerWin32.h"
#include "app/Keys.h"
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

bool Fail(const wchar_t* text) {
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

void ShowProblem(const wchar_t* text) {
    MessageBoxW(nullptr, text, L"\"Kolvex\"可能存在一些问题", MB_OK | MB_ICONINFORMATION);
}

void ShowWarning(const wchar_t* text) {
    MessageBoxW(nullptr, text, L"\"Kolvex\" 警告!", MB_OK | MB_ICONINFORMATION);
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
        ShowProblem(L"注册窗口失败,程序错误.");
        return false;
    }

    // Sized so the client area, and so the whole 800 x 600 viewport, is seen.
    AdjustWindowRectEx(&rect, kFrameStyle, FALSE, 0);
    gameState.hWnd =
        CreateWindowExW(0, kClassName, kTitle, WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, rect.right - rect.left,
                        rect.bottom - rect.top, nullptr, nullptr, gameState.hInstance, nullptr);
    if (gameState.hWnd == nullptr) return Fail(L"不能创建窗口,程序错误.");

    gameState.hDC = GetDC(gameState.hWnd);
    if (gameState.hDC == nullptr) return Fail(L"不能创建匹配的像素格式,程序错误.");
    int format = ChoosePixelFormat(gameState.hDC, &kPixelFormat);
    if (format == 0) return Fail(L"不能设置像素格式,程序错误.");
    if (!SetPixelFormat(gameState.hDC, format, &kPixelFormat)) return Fail(L"不能设置像素格式,程序错误.");
    gameState.hGLRC = wglCreateContext(gameState.hDC);
    if (gameState.hGLRC == nullptr) return Fail(L"不能创建OpenGL渲染描述,程序错误.");
    if (!wglMakeCurrent(gameState.hDC, gameState.hGLRC)) return Fail(L"不能激活当前的渲染描述表,程序错误.");

    ShowWindow(gameState.hWnd, SW_SHOW);
    SetForegroundWindow(gameState.hWnd);
    SetFocus(gameState.hWnd);
    ResizeScene(kWidth, kHeight);
    if (InitGL() == 0) {
        KillGLWindow();
        ShowWarning(L"不能初始化OpenGL程序或者程序被破坏!");
        return false;
    }
    return true;
}

void KillGLWindow() {
    if (gameState.hGLRC != nullptr) {
        if (!wglMakeCurrent(nullptr, nullptr)) ShowProblem(L"释放DC或RC失败,请按确定后继续.");
        if (!wglDeleteContext(gameState.hGLRC)) ShowProblem(L"释放RC失败,请按确定后继续.");
        gameState.hGLRC = nullptr;
    }
    if (gameState.hDC != nullptr) {
        if (!ReleaseDC(gameState.hWnd, gameState.hDC)) ShowProblem(L"释放DC失败,请按确定后继续.");
        gameState.hDC = nullptr;
    }
    if (gameState.hWnd != nullptr) {
        if (!DestroyWindow(gameState.hWnd)) ShowProblem(L"释放窗口句柄失败,请按确定后继续.");
        gameState.hWnd = nullptr;
    }
    if (!UnregisterClassW(kClassName, gameState.hInstance)) ShowProblem(L"注销程序失败,请按确定后继续.");
}

LRESULT CALLBACK WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            ResizeScene(LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_SETFOCUS: {
            std::lock_guard<std::mutex> hold(gameStateLock);
            gameState.windowInactive = false;
            gameState.spinAngle = 0.0f;
            return 0;
        }
        case WM_KILLFOCUS: {
            {
                std::lock_guard<std::mutex> hold(gameStateLock);
                gameState.windowInactive = true;
                // A key let go while another window has the focus sends us no
                // WM_KEYUP: left marked, it would act on every later press.
                std::memset(gameState.keyDown, 0, sizeof gameState.keyDown);
            }
            ForgetControllerInputs();
            return 0;
        }
        case WM_PAINT: {
            // The update region is never validated, so paint messages keep
            // coming whenever the queue is empty: that is the render loop.
            {
                std::lock_guard<std::mutex> hold(gameStateLock);
                DrawFrame();
            }
            SwapBuffers(gameState.hDC);
            return 0;
        }
        case WM_CLOSE:
            RequestQuit();
            PostQuitMessage(0);
            return 0;
        case WM_ENDSESSION:
            // Log-off, shut-down, or an installer's Restart Manager asking us
            // to make way: end as a close does. Windows may end the process
            // once this returns, before the loop's clean-up has run.
            // (WM_QUERYENDSESSION's default answer already lets it go ahead.)
            if (wParam) {
                RequestQuit();
                PostQuitMessage(0);
            }
            return 0;
        case WM_KEYDOWN: {
            std::lock_guard<std::mutex> hold(gameStateLock);
            if (MarkKey(wParam, true)) HandleKeys();
            return 0;
        }
        case WM_KEYUP: {
            std::lock_guard<std::mutex> hold(gameStateLock);
            MarkKey(wParam, false);
            return 0;
        }
        default:
            return DefWindowProcW(hWnd, message, wParam, lParam);
    }
}
