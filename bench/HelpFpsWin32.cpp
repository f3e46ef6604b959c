// Frames per second of the help screen (eighteen GDI text lines a frame)
// against the play field, in one run, in a real window as the game draws
// them. Run under Wine from the folder holding data.qv and Morvane.dll.
#include <windows.h>

#include <chrono>
#include <cstdio>

#include "game/GameRules.h"
#include "render/GL.h"
#include "render/Render.h"
#include "state/GameState.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

LRESULT CALLBACK BenchWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hWnd, message, wParam, lParam);
}

bool OpenWindow() {
    WNDCLASSW windowClass{};
    windowClass.style = CS_OWNDC;
    windowClass.lpfnWndProc = BenchWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"kvtnBench";
    if (RegisterClassW(&windowClass) == 0) return false;
    gameState.hWnd = CreateWindowExW(0, L"kvtnBench", L"Kolvex bench", WS_POPUP | WS_VISIBLE, 0, 0, kWidth, kHeight,
                                     nullptr, nullptr, windowClass.hInstance, nullptr);
    if (gameState.hWnd == nullptr) return false;
    gameState.hDC = GetDC(gameState.hWnd);
    PIXELFORMATDESCRIPTOR format{};
    format.nSize = sizeof format;
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    format.iPixelType = PFD_TYPE_RGBA;
    format.cColorBits = 16;
    format.cDepthBits = 16;
    const int index = ChoosePixelFormat(gameState.hDC, &format);
    if (index == 0 || !SetPixelFormat(gameState.hDC, index, &format)) return false;
    gameState.hGLRC = wglCreateContext(gameState.hDC);
    return gameState.hGLRC != nullptr && wglMakeCurrent(gameState.hDC, gameState.hGLRC);
}

// Frames drawn and presented as the window procedure does, for about `seconds`.
double MeasureFps(double seconds) {
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    int frames = 0;
    double elapsed = 0.0;
    while (elapsed < seconds) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        DrawFrame();
        SwapBuffers(gameState.hDC);
        ++frames;
        elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    }
    return frames / elapsed;
}

}  // namespace

int main() {
    gameState.hFont = CreateGameFont();
    if (!OpenWindow()) {
        std::fprintf(stderr, "no window or context\n");
        return 1;
    }
    ResizeScene(kWidth, kHeight);
    if (InitGL() == 0) {
        std::fprintf(stderr, "InitGL failed: run from the folder holding data.qv\n");
        return 1;
    }
    NewGame();
    gameState.soundOn = true;
    gameState.fieldVisible = true;
    gameState.helpTextColor[0] = gameState.helpTextColor[1] = gameState.helpTextColor[2] = 0.8f;

    MeasureFps(0.5);  // warm-up
    const double play = MeasureFps(3.0);
    gameState.helpOpen = true;
    const double help = MeasureFps(3.0);
    gameState.helpOpen = false;
    const double playAgain = MeasureFps(3.0);
    std::printf("play field  %8.1f fps (%.1f again after help)\n", play, playAgain);
    std::printf("help screen %8.1f fps\n", help);
    std::printf("help / play %8.3f\n", help / ((play + playAgain) / 2));
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(gameState.hGLRC);
    ReleaseDC(gameState.hWnd, gameState.hDC);
    DestroyWindow(gameState.hWnd);
    return 0;
}
