// Which JPEG files Morvane decodes: one structural check of the bytes that
// both decoders (libjpeg on the host, WIC on Windows) run before anything
// else, so the two accept exactly the same files. Also used by qvpack check,
// and declares the one entry point each decoder provides to JPEG24bitQV.
#pragma once

#include <cstddef>
#include <cstdint>

namespace morvane {

// The game copies every picture into a 256 x 256 buffer.
constexpr int kMaxImageSide = 256;
// Progressive files may carry any number of scans; past this many a file is
// treated as hostile rather than spending seconds on a 256 x 256 picture.
constexpr int kMaxScans = 256;

inline bool ImageSizeAccepted(long width, long height) {
    return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide;
}

enum class JpegVerdict {
    kUsable,
    kNotJpeg,      // no JPEG signature, or the segments before the frame header are broken
    kUnsupported,  // a well-formed JPEG of a kind neither decoder is asked to handle
    kBadSize,      // a side of 0 or above 256 pixels
    kDamaged,      // cut short or broken after the frame header
};

struct JpegCheck {
    JpegVerdict verdict;
    const char* problem;  // a few words for people; null when usable
    int width;            // from the frame header, 0 until it is read
    int height;
    int components;
};

// Walks the file's markers from the signature to the end-of-image marker:
// baseline, extended or progressive Huffman frames only, 8-bit samples, one
// (grey) or three (colour) components, the size rule above, every segment
// inside the file, at least one scan and at most kMaxScans. What passes still
// goes to the decoder, which may refuse damaged picture data.
JpegCheck CheckJpeg(const unsigned char* data, std::size_t size);

// Decodes a whole JPEG file into malloc'd RGB pixels, rows tightly packed,
// bottom row first; null (and nothing allocated) for anything not accepted.
// Each side's decoder runs CheckJpeg first.
unsigned char* DecodeJpeg(const unsigned char* data, std::uint32_t size, int* width, int* height);

}  // namespace morvane
