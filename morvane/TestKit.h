// Helpers for tests that need real asset bytes: JPEG encoding of an RGB
// buffer (libjpeg on the host, WIC on Windows), PCM WAV files, and archives
// (see Archive.h). Linked as `morvane_testkit` by test programs and fuzzers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "morvane/Archive.h"

namespace morvane {

// Encodes `width` x `height` RGB pixels, rows top first as in any image
// file, at a quality where flat colours come back within a few levels.
// Returns an empty vector on failure.
std::vector<unsigned char> EncodeJpeg(const unsigned char* rgb, int width, int height);

// A picture of one colour.
std::vector<unsigned char> SolidColourJpeg(int width, int height, std::uint8_t red, std::uint8_t green,
                                           std::uint8_t blue);

// A complete PCM WAV file of `sampleCount` frames of a quiet square wave.
std::vector<unsigned char> PcmWav(int channels, int bitsPerSample, int sampleRate, int sampleCount);

// Writes an archive of the given entries to `path`; fails the calling test
// loudly through the returned problem text when it cannot.
std::string WriteTestArchive(const std::string& path, const std::vector<WriterEntry>& entries);

}  // namespace morvane
