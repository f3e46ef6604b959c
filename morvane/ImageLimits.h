// What JPEG24bitQV accepts, shared by its two decoders (libjpeg on the host,
// WIC on Windows) so both refuse exactly the same sizes.
#pragma once

namespace morvane {

// The game copies every picture into a 256 x 256 buffer.
constexpr int kMaxImageSide = 256;

inline bool ImageSizeAccepted(long width, long height) {
    return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide;
}

}  // namespace morvane
