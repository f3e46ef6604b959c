// Where the game's font comes from: the face files to try, best first. The
// build links one of two: the system's font matching (FontFacesSystemSdl.cpp,
// the .deb and ./play) or the face shipped beside the program
// (FontFacesBundledSdl.cpp, the portable build). OpenGameFont calls it.
#pragma once

#include <string>
#include <vector>

struct FaceFile {
    std::string path;
    int index;
    bool operator==(const FaceFile&) const = default;
};

// The files and face indices to open for the game's font request (GLFont's
// height and style), best first; empty when there is none.
std::vector<FaceFile> GameFaces();
