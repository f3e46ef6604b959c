// The portable build's font: the subset face shipped beside the program
// (KOLVEX_BUNDLED_FONT, named by the build), found from the program's own
// folder wherever it is started from, with no font matching and no
// fontconfig. OpenGameFont's GameFaces.
#include <SDL.h>

#include "render/FontFacesSdl.h"

std::vector<FaceFile> GameFaces() {
    char* folder = SDL_GetBasePath();  // with its trailing slash
    if (folder == nullptr) return {};
    std::vector<FaceFile> faces{{std::string(folder) + KOLVEX_BUNDLED_FONT, 0}};
    SDL_free(folder);
    return faces;
}
