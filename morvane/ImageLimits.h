// What JPEG24bitQV accepts, shared by its two decoders (libjpeg on the host,
// WIC on Windows) so both refuse exactly the same sizes, and the one entry
// point each decoder provides to JPEG24bitQV.
#pragma once

#include <cstdint>

namespace morvane {

// Decodes a whole JPEG file into malloc'd RGB pixels, rows tightly packed,
// bottom row first; null (and nothing allocated) for anything not accepted.
unsigned char* DecodeJpeg(const unsigned char* data, std::uint32_t size, int* width, int* height);

// The game copies every picture into a 256 x 256 buffer.
constexpr int kMaxImageSide = 256;

inline bool ImageSizeAccepted(long width, long height) {
    return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide;
}

}  // namespace morvane
