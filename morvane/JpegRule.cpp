// The structural check behind CheckJpeg: a walk over the file's markers that
// never reads outside the given bytes. Run by both JPEG decoders first and by
// qvpack check.
#include "morvane/JpegRule.h"

#include <cstring>

namespace morvane {

namespace {

JpegCheck Verdict(JpegCheck check, JpegVerdict verdict, const char* problem) {
    check.verdict = verdict;
    check.problem = problem;
    return check;
}

bool IsFrameHeader(unsigned char marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Names the frame kinds refused although they are JPEG: neither decoder is
// asked to handle them, and WIC and libjpeg disagree on several.
const char* RefusedFrameKind(unsigned char marker) {
    switch (marker) {
        case 0xC0:
        case 0xC1:
        case 0xC2:
            return nullptr;
        case 0xC3:
            return "lossless JPEG, which the game does not decode";
        case 0xC9:
        case 0xCA:
        case 0xCB:
            return "arithmetic-coded JPEG, which the game does not decode";
        default:
            return "hierarchical JPEG, which the game does not decode";
    }
}

// Entropy-coded data runs until a marker other than a stuffed zero or a
// restart; returns the offset of that marker's 0xFF, or size if none.
std::size_t SkipScanData(const unsigned char* data, std::size_t size, std::size_t pos) {
    while (pos < size) {
        const void* found = std::memchr(data + pos, 0xFF, size - pos);
        if (found == nullptr) return size;
        pos = static_cast<std::size_t>(static_cast<const unsigned char*>(found) - data);
        if (pos + 1 >= size) return size;
        unsigned char next = data[pos + 1];
        if (next == 0x00 || (next >= 0xD0 && next <= 0xD7)) {
            pos += 2;
        } else if (next == 0xFF) {
            pos += 1;
        } else {
            return pos;
        }
    }
    return size;
}

}  // namespace

JpegCheck CheckJpeg(const unsigned char* data, std::size_t size) {
    JpegCheck check{JpegVerdict::kUsable, nullptr, 0, 0, 0};
    constexpr const char* kNotJpeg = "not a JPEG or its header is damaged";
    constexpr const char* kCut = "does not decode (cut short before its end marker)";
    constexpr const char* kBroken = "does not decode (a damaged segment after the frame header)";
    // A PNG or BMP renamed .jpg stops here, before any system decoder sees it.
    if (data == nullptr || size < 3 || data[0] != 0xFF || data[1] != 0xD8 || data[2] != 0xFF) {
        return Verdict(check, JpegVerdict::kNotJpeg, kNotJpeg);
    }
    bool frameSeen = false;
    int scans = 0;
    std::size_t pos = 2;
    for (;;) {
        const JpegVerdict broken = frameSeen ? JpegVerdict::kDamaged : JpegVerdict::kNotJpeg;
        if (pos >= size) return Verdict(check, broken, frameSeen ? kCut : kNotJpeg);
        // libjpeg warns about stray bytes between segments, and a warning
        // refuses the picture there; refuse them here so WIC does too.
        if (data[pos] != 0xFF) return Verdict(check, broken, frameSeen ? kBroken : kNotJpeg);
        while (pos < size && data[pos] == 0xFF) ++pos;
        if (pos >= size) return Verdict(check, broken, frameSeen ? kCut : kNotJpeg);
        const unsigned char marker = data[pos++];
        if (marker == 0xD9) {
            if (scans == 0) return Verdict(check, broken, frameSeen ? kBroken : kNotJpeg);
            return check;
        }
        // Markers without a length (another start of image, restarts) have
        // no place outside scan data.
        if (marker == 0xD8 || marker == 0x01 || marker == 0x00 || (marker >= 0xD0 && marker <= 0xD7)) {
            return Verdict(check, broken, frameSeen ? kBroken : kNotJpeg);
        }
        if (size - pos < 2) return Verdict(check, broken, frameSeen ? kCut : kNotJpeg);
        const std::size_t length = (std::size_t{data[pos]} << 8) | data[pos + 1];
        if (length < 2) return Verdict(check, broken, frameSeen ? kBroken : kNotJpeg);
        if (length > size - pos) return Verdict(check, broken, frameSeen ? kCut : kNotJpeg);
        const unsigned char* body = data + pos + 2;
        const std::size_t bodySize = length - 2;

        if (IsFrameHeader(marker)) {
            if (frameSeen) return Verdict(check, JpegVerdict::kDamaged, kBroken);
            if (const char* refused = RefusedFrameKind(marker)) {
                return Verdict(check, JpegVerdict::kUnsupported, refused);
            }
            if (bodySize < 6) return Verdict(check, JpegVerdict::kNotJpeg, kNotJpeg);
            const int components = body[5];
            if (bodySize != 6 + 3 * static_cast<std::size_t>(components)) {
                return Verdict(check, JpegVerdict::kNotJpeg, kNotJpeg);
            }
            check.height = (body[1] << 8) | body[2];
            check.width = (body[3] << 8) | body[4];
            check.components = components;
            if (body[0] != 8) {
                return Verdict(check, JpegVerdict::kUnsupported,
                               "not 8 bits per sample, which the game does not decode");
            }
            if (components != 1 && components != 3) {
                return Verdict(check, JpegVerdict::kUnsupported,
                               "neither greyscale nor three-component colour (CMYK?), which the game does not decode");
            }
            for (int c = 0; c < components; ++c) {
                const int horizontal = body[6 + 3 * c + 1] >> 4;
                const int vertical = body[6 + 3 * c + 1] & 0x0F;
                if (horizontal < 1 || horizontal > 4 || vertical < 1 || vertical > 4) {
                    return Verdict(check, JpegVerdict::kNotJpeg, kNotJpeg);
                }
            }
            if (!ImageSizeAccepted(check.width, check.height)) {
                return Verdict(
                    check, JpegVerdict::kBadSize,
                    check.width == 0 || check.height == 0 ? "has a side of 0 pixels" : "is larger than 256x256");
            }
            frameSeen = true;
            pos += length;
        } else if (marker == 0xDA) {
            if (!frameSeen) return Verdict(check, JpegVerdict::kNotJpeg, kNotJpeg);
            if (++scans > kMaxScans) {
                return Verdict(check, JpegVerdict::kUnsupported, "has more than 256 scans");
            }
            pos = SkipScanData(data, size, pos + length);
        } else {
            pos += length;
        }
    }
}

}  // namespace morvane
