// One run of each fuzz target over one input: ReadQV over arbitrary archive
// bytes and JPEG24bitQV over arbitrary entry bytes. Called by the libFuzzer
// mains and by the test that replays saved inputs under the sanitizers.
#pragma once

#include <cstddef>
#include <cstdint>

namespace morvane {

// `input` is one control byte followed by the archive's bytes. Control bit 0
// repairs every in-range entry's CRC first, so the fuzzer gets past the
// checksum; the other bits pick which record's name is looked up. The bytes
// are written to `scratchPath`, because ReadQV's own file reading is what is
// under test.
void FuzzReadQVOnce(const std::uint8_t* input, std::size_t size, const char* scratchPath);

// `input` is a whole entry as stored in an archive.
void FuzzJpegOnce(const std::uint8_t* input, std::size_t size);

}  // namespace morvane
