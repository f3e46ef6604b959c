// The native program entry: the Windows build's start-up order, a loop that
// handles every queued event and then draws a frame when the picture changed,
// and a shutdown in which the timer thread has ended before what its
// callbacks use goes away. Adds to the Windows entry only the data folder,
// the clip device and the late font and controller start.
#include <SDL.h>

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <mutex>

#include "app/Controllers.h"
#include "app/DataFolderSdl.h"
#include "app/Steps.h"
#include "app/TimerThread.h"
#include "assets/Sound.h"
#include "assets/SoundSdl.h"
#include "render/Language.h"
#include "render/TextSdl.h"
#include "render/WindowSdl.h"
#include "state/GameState.h"

int main(int, char**) {
    EnterDataFolder();
    // The catalogues beside data.qv (the build tree, the tarball), else the
    // system's (the .deb's, in /usr/share/locale).
    std::error_code unreadable;
    const std::filesystem::path catalogues = std::filesystem::absolute("locale", unreadable);
    const bool beside = !unreadable && std::filesystem::is_directory(catalogues, unreadable);
    ChooseLanguage(beside ? catalogues.c_str() : nullptr);
    StartStep(nullptr);  // the font is opened once the menu is on the screen
    if (!CreateGLWindow()) {
        CloseGameFont();
        SDL_Quit();
        return 1;  // not 0: that is a player's close
    }
    OpenClipDevice();  // on a thread of its own
    StartTimerThread();

    // After the queue is empty a frame is drawn if the picture changed, and
    // the loop waits for the next input, tick or frame (EndPass). The loop
    // stops right after the step that asked to quit, whose code (13 for the
    // Enter that chose Quit, 0 for a close) is the exit code.
    bool firstFrameShown = false;
    while (!QuitRequested()) {
        SDL_Event event;
        BeginPass();
        while (!QuitRequested() && SDL_PollEvent(&event)) HandleWindowEvent(event);
        if (!QuitRequested()) PollControllers();
        if (QuitRequested()) break;
        if (!WindowShowing()) {
            // Minimised or hidden: no frames, just sleep until something
            // happens. The timer thread runs on; minimising paused the game.
            WaitForEvent(event);
            HandleWindowEvent(event);
            continue;
        }
        EndPass();
        if (!firstFrameShown) {
            // What the opening menu does not need waits until it is on the
            // screen: the font search (the menu has no text; without a usable
            // face text simply draws nothing, as on Windows) and the
            // controllers (a pad already plugged in is announced as added).
            OpenGameFont();
            OpenControllers();
            firstFrameShown = true;
        }
    }

    // Not holding the lock: the timer thread may need it to finish its tick.
    JoinTimerThread();
    ReleaseSounds();  // stops the clip before its bytes are freed
    CloseControllers();
    KillGLWindow();
    CloseClipDevice();
    CloseGameFont();
    SDL_Quit();
    return static_cast<int>(ExitCode());
}
