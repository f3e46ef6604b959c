// The yardstick for Kolvex's start-up time under Wine: the least a program
// needs to show an OpenGL frame in a window like the game's (same class
// style, frame, size and pixel format). scripts/startup-time.py launches it
// beside Kolvex.exe and prints the ratio of the two; Esc or close ends it.
// clang-format off
#include <windows.h>
#include <GL/gl.h>
// clang-format on

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            // Like the game: a frame per paint, the window never validated.
            glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
            glClear(GL_COLOR_BUFFER_BIT);
            SwapBuffers(GetDC(window));
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE) PostQuitMessage(0);
            return 0;
        case WM_CLOSE:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSW windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = L"minimalwgl";
    if (RegisterClassW(&windowClass) == 0) return 1;
    RECT rect = {0, 0, kWidth, kHeight};
    AdjustWindowRectEx(&rect, WS_CAPTION | WS_BORDER, FALSE, 0);
    HWND window = CreateWindowExW(0, L"minimalwgl", L"MinimalWGL", WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
                                  rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) return 1;
    HDC dc = GetDC(window);
    PIXELFORMATDESCRIPTOR format = {};
    format.nSize = sizeof format;
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    format.iPixelType = PFD_TYPE_RGBA;
    format.cColorBits = 16;
    format.cDepthBits = 16;
    format.iLayerType = PFD_MAIN_PLANE;
    if (!SetPixelFormat(dc, ChoosePixelFormat(dc, &format), &format)) return 1;
    HGLRC context = wglCreateContext(dc);
    if (context == nullptr || !wglMakeCurrent(dc, context)) return 1;
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    SetFocus(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(context);
    ReleaseDC(window, dc);
    DestroyWindow(window);
    return 0;
}
