// Test kit, host side: encodes RGB pixels to JPEG with libjpeg-turbo, so
// tests and fuzz seeds can make pictures of known content.
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <cstdlib>

#include "morvane/JpegErrorTrapLibjpeg.h"
#include "morvane/TestKit.h"

namespace morvane {

namespace {

// Plain data only across setjmp. Returns malloc'd bytes or null.
unsigned char* Encode(const unsigned char* rgb, int width, int height, unsigned long* size) {
    jpeg_compress_struct cinfo;
    ErrorTrap trap;
    unsigned char* out = nullptr;
    *size = 0;
    cinfo.err = jpeg_std_error(&trap.manager);
    trap.manager.error_exit = Bail;
    if (setjmp(trap.jump) != 0) {
        jpeg_destroy_compress(&cinfo);
        std::free(out);
        return nullptr;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &out, size);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 95, TRUE);
    // Full-resolution colour, so a sharp colour edge stays sharp.
    cinfo.comp_info[0].h_samp_factor = 1;
    cinfo.comp_info[0].v_samp_factor = 1;
    jpeg_start_compress(&cinfo, TRUE);
    const std::size_t stride = static_cast<std::size_t>(width) * 3;
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<unsigned char*>(rgb + stride * cinfo.next_scanline);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return out;
}

}  // namespace

std::vector<unsigned char> EncodeJpeg(const unsigned char* rgb, int width, int height) {
    if (rgb == nullptr || width <= 0 || height <= 0) return {};
    unsigned long size = 0;
    unsigned char* bytes = Encode(rgb, width, height, &size);
    if (bytes == nullptr) return {};
    std::vector<unsigned char> jpeg(bytes, bytes + size);
    std::free(bytes);
    return jpeg;
}

}  // namespace morvane
