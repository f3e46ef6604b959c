// What makes a picture or a sound usable by the game; called by qvpack check.
#include "AssetChecks.h"

#include <cstdint>

#include "assets/AssetLibrary.h"
#include "morvane/JpegRule.h"
#include "morvane/Wav.h"

namespace qvpack {

namespace {

bool IsPowerOfTwo(long n) {
    return n > 0 && (n & (n - 1)) == 0;
}

}  // namespace

std::string PictureProblem(const std::vector<unsigned char>& bytes) {
    if (bytes.empty()) return "empty";
    // First the rule both of the game's decoders apply before decoding.
    const morvane::JpegCheck check = morvane::CheckJpeg(bytes.data(), bytes.size());
    const std::string size = std::to_string(check.width) + "x" + std::to_string(check.height);
    if (check.verdict == morvane::JpegVerdict::kBadSize) return size + " " + check.problem;
    if (check.verdict != morvane::JpegVerdict::kUsable) return check.problem;
    // The game uploads any size that fits, but OpenGL 1.1 drivers show only
    // power-of-two textures, and 4-byte rows keep every upload simple.
    if (!IsPowerOfTwo(check.width) || !IsPowerOfTwo(check.height) || check.width < 4 || check.height < 4) {
        return size + ": each side must be a power of two from 4 to 256";
    }
    // The game's own decoder has the last word on the picture data. The
    // record's library word is the entry's size, as ReadQV leaves it.
    ArchiveEntry entry{const_cast<unsigned char*>(bytes.data()), static_cast<std::uint32_t>(bytes.size())};
    DecodedImage image;
    JPEG24bitQV(&entry, &image);
    bool decoded = image.pixels != nullptr;
    Free24BMP(&image);
    return decoded ? "" : "does not decode (damaged picture data)";
}

std::string SoundProblem(const std::vector<unsigned char>& bytes) {
    return morvane::WavProblem(bytes.data(), bytes.size());
}

}  // namespace qvpack
