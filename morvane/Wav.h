// The one rule for which sounds the game can play: a PCM WAV whose sizes all
// lie inside the bytes it came in. ReadQV refuses a sound entry that breaks
// it, qvpack check names the problem, and the SDL clip player reads the
// format through it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace morvane {

struct WavFormat {
    std::uint32_t channels;
    std::uint32_t bitsPerSample;
    std::uint32_t sampleRate;
    const unsigned char* samples;  // the data chunk's bytes
    std::uint32_t sampleBytes;
    std::size_t fileSize;  // RIFF size + 8: all the player may read
};

// Empty when `bytes` is a playable PCM WAV (RIFF/WAVE, a PCM fmt chunk of 8
// or 16 bits, mono or stereo, a data chunk, the RIFF size and every chunk
// inside `size`); otherwise what is wrong, in a few words. Fills *format
// when it passes and format is not null.
std::string WavProblem(const unsigned char* bytes, std::size_t size, WavFormat* format = nullptr);

// Whether an archive entry's name says it is a sound.
bool IsSoundName(const char* name);

}  // namespace morvane
