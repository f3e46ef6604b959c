// The portable build's data folder: the program's own, found through the
// executable's path (a link to it leads to the real folder), so data.qv and
// the font beside it are read wherever the game is started from. The entry's
// EnterDataFolder.
#include <SDL.h>
#include <unistd.h>

#include "app/DataFolderSdl.h"

void EnterDataFolder() {
    // Where this fails the current folder stays, and the start-up report
    // names that folder if data.qv is not in it.
    if (char* folder = SDL_GetBasePath()) {
        if (chdir(folder) != 0) SDL_Log("kolvex: cannot enter %s", folder);
        SDL_free(folder);
    }
}
