// Frames per second of the game's own loop for a few seconds, either as a
// build without controllers runs it (`plain`: XInput never loaded) or with
// XInput loaded and the pads polled on every pass (`pads`, a pad connected
// where the stand-in DLL reports one). Run in turn by bench/controller-fps.sh,
// which prints the ratio.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstring>

#include "app/ControllerWin32.h"
#include "app/Keys.h"
#include "game/GameRules.h"
#include "render/TextWin32.h"
#include "render/WindowWin32.h"
#include "state/GameState.h"

namespace {

// The game's polling loop for about `seconds`, counting paint messages (each
// a frame drawn and presented), with the pads polled on every pass or not.
double MeasureFps(double seconds, bool withPads) {
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    int frames = 0;
    double elapsed = 0.0;
    MSG message = {};
    while (elapsed < seconds) {
        if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            frames += message.message == WM_PAINT;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (withPads) PollControllers();
        elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    }
    return frames / elapsed;
}

}  // namespace

int main(int argc, char** argv) {
    const bool withPads = argc > 1 && std::strcmp(argv[1], "pads") == 0;
    gameState.hFont = CreateGameFont();
    SetStartValues();
    NewGame();
    gameState.soundOn = true;
    if (!CreateGLWindow()) {
        std::fprintf(stderr, "no window: run from the folder holding data.qv\n");
        return 1;
    }
    if (withPads) OpenControllers();
    MeasureFps(0.5, withPads);  // warm-up
    const double fps = MeasureFps(4.0, withPads);
    // Unfocused or behind another window, the poll reads nothing; with no pad
    // it asks an empty slot once a second: either run measured a cheap path.
    const bool inFront = !gameState.windowInactive && GetForegroundWindow() == gameState.hWnd;
    bool padThere = true;
    if (withPads) {
        const HMODULE xinput = GetModuleHandleW(L"xinput1_4.dll");
        const auto getState = xinput == nullptr ? nullptr
                                                : reinterpret_cast<XInputGetStateProc>(reinterpret_cast<void (*)()>(
                                                      GetProcAddress(xinput, "XInputGetState")));
        XINPUT_STATE pad = {};
        padThere = getState != nullptr && getState(0, &pad) == ERROR_SUCCESS;
    }
    std::printf("%s %.1f%s%s\n", withPads ? "pads" : "plain", fps, inFront ? "" : " unfocused",
                padThere ? "" : " nopad");
    if (withPads) {
        // The poll alone, pass after pass, against the frame it sits beside.
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < 1000000; ++i) PollControllers();
        const std::chrono::duration<double, std::nano> took = std::chrono::steady_clock::now() - start;
        std::fprintf(stderr, "one poll %.0f ns, one frame %.0f ns\n", took.count() / 1e6, 1e9 / fps);
    }
    if (withPads) CloseControllers();
    KillGLWindow();
    return 0;
}
