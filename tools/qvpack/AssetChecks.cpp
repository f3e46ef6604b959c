// What makes a picture or a sound usable by the game; called by qvpack check.
#include "AssetChecks.h"

#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "assets/AssetLibrary.h"
#include "morvane/ImageLimits.h"
#include "morvane/JpegErrorTrapLibjpeg.h"
#include "morvane/Wav.h"

namespace qvpack {

namespace {

using morvane::Bail;
using morvane::ErrorTrap;

void Silent(j_common_ptr) {}

// The size a JPEG's header claims, so an oversize picture is named as such
// rather than just "does not decode". Plain data only across setjmp.
bool JpegHeaderSize(const unsigned char* data, unsigned long size, long* width, long* height) {
    jpeg_decompress_struct cinfo;
    ErrorTrap trap;
    cinfo.err = jpeg_std_error(&trap.manager);
    trap.manager.error_exit = Bail;
    trap.manager.output_message = Silent;
    if (setjmp(trap.jump) != 0) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data, size);
    jpeg_read_header(&cinfo, TRUE);
    *width = static_cast<long>(cinfo.image_width);
    *height = static_cast<long>(cinfo.image_height);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

bool IsPowerOfTwo(long n) {
    return n > 0 && (n & (n - 1)) == 0;
}

}  // namespace

std::string PictureProblem(const std::vector<unsigned char>& bytes) {
    if (bytes.empty()) return "empty";
    long width = 0;
    long height = 0;
    if (!JpegHeaderSize(bytes.data(), bytes.size(), &width, &height)) return "not a JPEG or its header is damaged";
    std::string size = std::to_string(width) + "x" + std::to_string(height);
    if (!morvane::ImageSizeAccepted(width, height)) return size + " is larger than 256x256";
    if (!IsPowerOfTwo(width) || !IsPowerOfTwo(height) || width < 4 || height < 4) {
        return size + ": each side must be a power of two from 4 to 256";
    }
    // The game's own decoder has the last word (colour space, damage). The
    // record's library word is the entry's size, as ReadQV leaves it.
    ArchiveEntry entry{const_cast<unsigned char*>(bytes.data()), static_cast<std::uint32_t>(bytes.size())};
    DecodedImage image;
    JPEG24bitQV(&entry, &image);
    bool decoded = image.pixels != nullptr;
    Free24BMP(&image);
    return decoded ? "" : "does not decode (damaged, or an unsupported colour space)";
}

std::string SoundProblem(const std::vector<unsigned char>& bytes) {
    return morvane::WavProblem(bytes.data(), bytes.size());
}

}  // namespace qvpack
