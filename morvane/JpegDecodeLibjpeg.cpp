// JPEG24bitQV on the host: decodes an archive entry with libjpeg-turbo into
// bottom-row-first RGB. Linked into the host Morvane library (tests, qvpack,
// fuzzers); Windows builds use the system decoder instead.
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "assets/AssetLibrary.h"
#include "morvane/JpegErrorTrapLibjpeg.h"
#include "morvane/JpegRule.h"

namespace {

using morvane::Bail;
using morvane::ErrorTrap;

// Warnings are libjpeg's word for damaged scan data it papered over. WIC
// papers over the same damage without a word, so both decoders accept such a
// file alike; damage CheckJpeg can see (a file cut short) is refused on both.
void Silent(j_common_ptr) {}

// Only plain data lives across setjmp here: no destructors may be skipped by
// the longjmp. Returns the pixels (malloc'd) or null.
unsigned char* DecodeRgb(const unsigned char* data, unsigned long size, int* width, int* height) {
    jpeg_decompress_struct cinfo;
    ErrorTrap trap;
    unsigned char* volatile pixels = nullptr;

    cinfo.err = jpeg_std_error(&trap.manager);
    trap.manager.error_exit = Bail;
    trap.manager.output_message = Silent;
    if (setjmp(trap.jump) != 0) {
        jpeg_destroy_decompress(&cinfo);
        std::free(pixels);
        return nullptr;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data, size);
    if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK) Bail(reinterpret_cast<j_common_ptr>(&cinfo));
    // CheckJpeg read the same frame header; this guards the allocation below.
    if (!morvane::ImageSizeAccepted(static_cast<long>(cinfo.image_width), static_cast<long>(cinfo.image_height))) {
        Bail(reinterpret_cast<j_common_ptr>(&cinfo));
    }
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    if (cinfo.output_components != 3) Bail(reinterpret_cast<j_common_ptr>(&cinfo));

    const int w = static_cast<int>(cinfo.output_width);
    const int h = static_cast<int>(cinfo.output_height);
    const std::size_t stride = static_cast<std::size_t>(w) * 3;
    pixels = static_cast<unsigned char*>(std::malloc(stride * h));
    if (pixels == nullptr) Bail(reinterpret_cast<j_common_ptr>(&cinfo));
    while (cinfo.output_scanline < cinfo.output_height) {
        // JPEG stores the top row first; the game wants the bottom row first.
        JSAMPROW row = pixels + stride * (h - 1 - static_cast<int>(cinfo.output_scanline));
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    *width = w;
    *height = h;
    return pixels;
}

}  // namespace

unsigned char* morvane::DecodeJpeg(const unsigned char* data, std::uint32_t size, int* width, int* height) {
    if (CheckJpeg(data, size).verdict != JpegVerdict::kUsable) return nullptr;
    return DecodeRgb(data, size, width, height);
}
