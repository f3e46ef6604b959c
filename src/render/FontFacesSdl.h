// Where the game's font comes from. The build links one of two: the system's
// font matching (FontFacesSystemSdl.cpp, the .deb and ./play) or the face
// shipped beside the program (FontFacesBundledSdl.cpp, the portable build).
// OpenGameFont calls it. The Windows build has none: GDI's font mapper picks
// the face for the font CreateGameFont asks for.
#pragma once

#include <SDL_ttf.h>

#include <string>

// The game's face opened at `pixels` (GLFont's style), with SDL_ttf started;
// null when no face opens.
TTF_Font* OpenGameFace(int pixels);
// Why the last OpenGameFace returned null, in English, naming the font file
// it could not open ("font /path/to/face.ttf is missing").
std::string GameFaceFailure();
