// The portable build's font: the subset face shipped beside the program
// (KOLVEX_BUNDLED_FONT, named by the build), found from the program's own
// folder wherever it is started from, with no fontconfig. OpenGameFont's
// OpenGameFace, and why that file could not be opened.
#include <SDL.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "render/FontFacesSdl.h"

namespace {

std::string faceFailure;

}  // namespace

TTF_Font* OpenGameFace(int pixels) {
    char* folder = SDL_GetBasePath();  // with its trailing slash
    if (folder == nullptr) {
        faceFailure = std::string("the program's folder, where its font is, is unknown: ") + SDL_GetError();
        return nullptr;
    }
    const std::string path = std::string(folder) + KOLVEX_BUNDLED_FONT;
    SDL_free(folder);
    TTF_Font* font = TTF_OpenFont(path.c_str(), pixels);
    if (font == nullptr) {
        std::error_code error;
        faceFailure = "font " + path +
                      (std::filesystem::exists(path, error) ? std::string(" cannot be read: ") + TTF_GetError()
                                                            : std::string(" is missing"));
    }
    return font;
}

std::string GameFaceFailure() {
    return faceFailure;
}
