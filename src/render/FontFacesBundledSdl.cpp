// The portable build's font: the subset face shipped beside the program
// (KOLVEX_BUNDLED_FONT, named by the build), found from the program's own
// folder wherever it is started from, with no font matching and no
// fontconfig. OpenGameFont's OpenGameFace.
#include <SDL.h>

#include <string>

#include "render/FontFacesSdl.h"

TTF_Font* OpenGameFace(int pixels) {
    char* folder = SDL_GetBasePath();  // with its trailing slash
    if (folder == nullptr) return nullptr;
    const std::string path = std::string(folder) + KOLVEX_BUNDLED_FONT;
    SDL_free(folder);
    return TTF_OpenFont(path.c_str(), pixels);
}
