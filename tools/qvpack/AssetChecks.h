// The checks behind `qvpack check`: whether an entry's bytes are a picture
// or a sound the game can use. Each returns an empty string when the bytes
// pass, else what is wrong in a few words.
#pragma once

#include <string>
#include <vector>

namespace qvpack {

// A JPEG that decodes, with each side a power of two from 4 to 256 (the game
// uploads rows with 4-byte alignment and copies into a 256 x 256 buffer).
std::string PictureProblem(const std::vector<unsigned char>& bytes);

// A PCM WAV whose RIFF size covers its fmt and data chunks, since the game
// plays it straight from the archive's bytes and the player trusts that size.
std::string SoundProblem(const std::vector<unsigned char>& bytes);

}  // namespace qvpack
