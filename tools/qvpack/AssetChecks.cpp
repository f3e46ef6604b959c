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

std::uint32_t U16(const unsigned char* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8;
}

std::uint32_t U32(const unsigned char* p) {
    return U16(p) | U16(p + 2) << 16;
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
    const unsigned char* wav = bytes.data();
    if (bytes.size() < 12 || std::memcmp(wav, "RIFF", 4) != 0 || std::memcmp(wav + 8, "WAVE", 4) != 0) {
        return "not a RIFF WAVE file";
    }
    const std::uint64_t riffEnd = std::uint64_t{U32(wav + 4)} + 8;
    if (riffEnd > bytes.size()) return "RIFF size runs past the end of the entry";

    bool haveFormat = false;
    std::uint32_t blockAlign = 0;
    std::uint64_t at = 12;
    while (at + 8 <= riffEnd) {
        const unsigned char* chunk = wav + at;
        const std::uint64_t chunkSize = U32(chunk + 4);
        if (at + 8 + chunkSize > riffEnd) return "a chunk runs past the RIFF size";
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (chunkSize < 16) return "fmt chunk is too short";
            const std::uint32_t tag = U16(chunk + 8);
            const std::uint32_t channels = U16(chunk + 10);
            const std::uint32_t rate = U32(chunk + 12);
            const std::uint32_t bytesPerSecond = U32(chunk + 16);
            const std::uint32_t bits = U16(chunk + 22);
            blockAlign = U16(chunk + 20);
            if (tag != 1) return "not PCM (format tag " + std::to_string(tag) + ")";
            if (channels < 1 || channels > 2) return "PCM with " + std::to_string(channels) + " channels";
            if (bits != 8 && bits != 16) return std::to_string(bits) + "-bit samples (8 or 16 play everywhere)";
            if (rate < 4000 || rate > 192000) return "sample rate " + std::to_string(rate) + " Hz";
            if (blockAlign != channels * bits / 8 || bytesPerSecond != rate * blockAlign) {
                return "fmt chunk's block size or byte rate does not match its samples";
            }
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!haveFormat) return "data chunk before the fmt chunk";
            if (chunkSize == 0 || chunkSize % blockAlign != 0) return "data chunk is empty or ends mid-sample";
            return "";
        }
        at += 8 + chunkSize + (chunkSize & 1);
    }
    return haveFormat ? "no data chunk" : "no fmt chunk";
}

}  // namespace qvpack
