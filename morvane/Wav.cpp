// The sound rule of Wav.h. Player code trusts a WAV's own sizes, and archives
// are shared between players, so every size is checked against the bytes.
#include "morvane/Wav.h"

#include <cstring>

namespace morvane {

namespace {

std::uint32_t U16(const unsigned char* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8;
}

std::uint32_t U32(const unsigned char* p) {
    return U16(p) | U16(p + 2) << 16;
}

}  // namespace

std::string WavProblem(const unsigned char* wav, std::size_t size, WavFormat* format) {
    if (wav == nullptr || size < 12 || std::memcmp(wav, "RIFF", 4) != 0 || std::memcmp(wav + 8, "WAVE", 4) != 0) {
        return "not a RIFF WAVE file";
    }
    const std::uint64_t riffEnd = std::uint64_t{U32(wav + 4)} + 8;
    if (riffEnd > size) return "RIFF size runs past the end of the entry";

    WavFormat found{};
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
            found.channels = channels;
            found.bitsPerSample = bits;
            found.sampleRate = rate;
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!haveFormat) return "data chunk before the fmt chunk";
            if (chunkSize == 0 || chunkSize % blockAlign != 0) return "data chunk is empty or ends mid-sample";
            found.samples = chunk + 8;
            found.sampleBytes = static_cast<std::uint32_t>(chunkSize);
            found.fileSize = static_cast<std::size_t>(riffEnd);
            if (format != nullptr) *format = found;
            return "";
        }
        at += 8 + chunkSize + (chunkSize & 1);
    }
    return haveFormat ? "no data chunk" : "no fmt chunk";
}

bool IsSoundName(const char* name) {
    const std::size_t length = std::strlen(name);
    if (length < 4) return false;
    const char* suffix = name + length - 4;
    return suffix[0] == '.' && (suffix[1] | 0x20) == 'w' && (suffix[2] | 0x20) == 'a' && (suffix[3] | 0x20) == 'v';
}

}  // namespace morvane
