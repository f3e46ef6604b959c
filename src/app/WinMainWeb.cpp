// The page's entry: the native start-up order over the files index.html put
// in the page's file system, then one pass per animation frame, which the
// browser owns: the frame's ticks, its events, and a frame drawn when the
// picture changed. Lacks the native loop's wait and its timer thread (a page
// may have neither) and a program's end: Quit stops the loop and leaves the
// end picture, since a page cannot close itself.
#include <SDL.h>
#include <emscripten.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/Controllers.h"
#include "app/Steps.h"
#include "app/TimerThread.h"
#include "app/TimerThreadWeb.h"
#include "assets/Sound.h"
#include "assets/SoundSdl.h"
#include "render/Language.h"
#include "render/TextSdl.h"
#include "render/WindowSdl.h"
#include "state/GameState.h"

namespace {

constexpr char kCatalogues[] = "/locale";
bool firstFrameShown = false;
// The page's focus as its last focus event gave it, and whether hiding it
// paused the game.
bool focused = true;
bool pausedByHiding = false;

// clang-format off
EM_JS(char*, BrowserLanguages, (), {
    const list = (navigator.languages && navigator.languages.length) ? navigator.languages : [navigator.language || ""];
    return stringToNewUTF8(list.join(":"));
});
EM_JS(void, ShowEndOnPage, (const char16_t* text), {
    Module.kolvexShowEnd(UTF16ToString(text));
});
// clang-format on

// The C library's gettext follows the messages' locale alone, and the
// browser lists languages by preference: the first one a catalogue is here
// for becomes the locale ("de-AT" takes de_AT's, else de's). None: the game's
// own texts.
void FollowBrowserLanguages() {
    char* languages = BrowserLanguages();
    std::string list = languages;
    std::free(languages);
    for (std::size_t start = 0; start <= list.size();) {
        const std::size_t end = std::min(list.find(':', start), list.size());
        std::string tag = list.substr(start, end - start);
        start = end + 1;
        for (char& c : tag)
            if (c == '-') c = '_';
        for (std::string candidate = tag; !candidate.empty();) {
            std::error_code unreadable;
            if (std::filesystem::exists(std::string(kCatalogues) + "/" + candidate + "/LC_MESSAGES/kolvex.mo",
                                        unreadable)) {
                const std::string locale = tag + ".UTF-8";
                setenv("LANG", locale.c_str(), 1);
                unsetenv("LC_ALL");
                unsetenv("LC_MESSAGES");
                return;
            }
            const std::size_t cut = candidate.find('_');
            candidate = cut == std::string::npos ? std::string() : candidate.substr(0, cut);
        }
    }
}

// The native entry's shutdown, then the end picture in the player's language.
void EndPage() {
    emscripten_cancel_main_loop();
    JoinTimerThread();
    ReleaseSounds();
    CloseControllers();
    KillGLWindow();
    CloseClipDevice();
    CloseGameFont();
    // TRANSLATORS: shown on the web page once the player chose Quit ("the game
    // has ended; refresh the page to start again").
    ShowEndOnPage(LocalText(u"游戏结束,刷新页面重新开始").data());
}

void HandlePageEvent(const SDL_Event& event) {
    // The first key is what lets the page sound, so the clips' device opens
    // then, before the key's own clip is asked for.
    if (event.type == SDL_KEYDOWN) OpenClipDevice();
    if (event.type == SDL_WINDOWEVENT) {
        // A hidden page pauses the game as a minimised window does. Hidden
        // with the focus kept (a phone's browser switching apps), no focus
        // event will end that pause, so showing the page again does.
        switch (event.window.event) {
            case SDL_WINDOWEVENT_HIDDEN:
                if (focused && !pausedByHiding) FocusStep(false);
                pausedByHiding = focused;
                break;
            case SDL_WINDOWEVENT_SHOWN:
                if (pausedByHiding && focused) FocusStep(true);
                pausedByHiding = false;
                break;
            case SDL_WINDOWEVENT_FOCUS_GAINED:
                focused = true;
                pausedByHiding = false;
                break;
            case SDL_WINDOWEVENT_FOCUS_LOST:
                focused = false;
                break;
        }
    }
    HandleWindowEvent(event);
}

void Pass() {
    RunDueTicks();
    BeginPass();
    SDL_Event event;
    while (!QuitRequested() && SDL_PollEvent(&event)) HandlePageEvent(event);
    if (!QuitRequested()) PollControllers();
    if (QuitRequested()) {
        EndPage();
        return;
    }
    DrawPass();
    if (!firstFrameShown) {
        // As on the native side: what the menu does not need waits for it.
        OpenGameFont();
        OpenControllers();
        firstFrameShown = true;
    }
}

}  // namespace

int main(int, char**) {
    FollowBrowserLanguages();
    ChooseLanguage(kCatalogues);
    StartStep(nullptr);
    // A failure has shown its box on the page; nothing more runs.
    if (!CreateGLWindow()) {
        CloseGameFont();
        return 1;
    }
    StartTimerThread();
    // At the browser's frame rate; main returns, and the browser calls Pass.
    emscripten_set_main_loop(Pass, 0, 0);
    return 0;
}
