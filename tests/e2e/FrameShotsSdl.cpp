// The native window's frames of the compared screens (tests/support/
// SceneRecords.h), each read back from the back buffer and written as
// NAME.rgba (800 x 600, rows bottom-up) into the folder given. Run in the
// folder of data.qv by the page's frame comparison (tests/web/page-test.mjs).
#include <SDL.h>

#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "app/Steps.h"
#include "render/GL.h"
#include "render/Language.h"
#include "render/Render.h"
#include "render/TextSdl.h"
#include "render/Window.h"
#include "state/GameState.h"
#include "support/SceneRecords.h"

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    ChooseLanguage("/nonexistent");  // the game's own texts, as the page's shots have them
    StartStep(nullptr);
    if (!CreateGLWindow()) return 1;
    OpenGameFont();
    std::vector<unsigned char> pixels(800 * 600 * 4);
    int written = 0;
    for (const char* name : kSceneNames) {
        {
            std::lock_guard<std::mutex> hold(gameStateLock);
            SetSceneRecord(name);
        }
        DrawFrame();
        glReadPixels(0, 0, 800, 600, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        const std::string path = std::string(argv[1]) + "/" + name + ".rgba";
        if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
            written += std::fwrite(pixels.data(), 1, pixels.size(), file) == pixels.size();
            std::fclose(file);
        }
    }
    KillGLWindow();
    CloseGameFont();
    SDL_Quit();
    return written == 5 ? 0 : 1;
}
