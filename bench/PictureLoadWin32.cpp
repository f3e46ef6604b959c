// How long Morvane.dll takes to read and decode the game's 30 pictures from
// data.qv, the way the game's texture loading calls it, split into reading
// (ReadQV) and decoding (JPEG24bitQV), with the first decode on its own (it
// pays for loading WIC). Run under Wine beside data.qv; prints milliseconds.
#include <windows.h>

#include <cstdio>

#include "assets/AssetLibrary.h"
#include "tools/qvpack/GameEntries.h"

namespace {

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

}  // namespace

int main() {
    double reading = 0;
    double decoding = 0;
    double firstDecode = 0;
    for (const char* name : qvpack::kPictureNames) {
        LARGE_INTEGER start, read, decoded;
        ArchiveEntry entry;
        DecodedImage image;
        QueryPerformanceCounter(&start);
        if (ReadQV("data.qv", name, &entry) == 0) {
            std::printf("cannot read %s from data.qv\n", name);
            return 1;
        }
        QueryPerformanceCounter(&read);
        JPEG24bitQV(&entry, &image);
        QueryPerformanceCounter(&decoded);
        if (image.pixels == nullptr) std::printf("%s does not decode\n", name);
        Free24BMP(&image);
        FreeQV(&entry);
        reading += Milliseconds(start, read);
        (name == qvpack::kPictureNames[0] ? firstDecode : decoding) += Milliseconds(read, decoded);
    }
    std::printf("30 x ReadQV %.1f ms, first JPEG24bitQV %.1f ms, the other 29 %.1f ms\n", reading, firstDecode,
                decoding);
    return 0;
}
