// The asset library's interface: the two records it fills and its four
// functions. Morvane implements it (Morvane.dll on Windows, a static library
// on the host); the game's asset loading and sound code call it.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32) && defined(MORVANE_BUILDING)
#define MORVANE_API extern "C" __declspec(dllexport)
#elif defined(_WIN32) && !defined(MORVANE_STATIC)
#define MORVANE_API extern "C" __declspec(dllimport)
#else
#define MORVANE_API extern "C"
#endif

// One archive entry's bytes, exactly as stored. `libraryWord` is the
// library's own (it holds the entry's size); the game never touches it.
struct ArchiveEntry {
    unsigned char* data;
    std::uint32_t libraryWord;
};

// A decoded picture: red, green, blue per pixel, rows tightly packed, bottom
// row first. The three reserved words belong to the library.
struct DecodedImage {
    std::uint32_t reserved0;
    std::int32_t width;
    std::int32_t height;
    std::uint32_t reserved12;
    std::uint32_t reserved16;
    unsigned char* pixels;
};

// The shipped 32-bit build is the one whose layout callers rely on byte for byte.
#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(ArchiveEntry) == 8, "ArchiveEntry is 8 bytes");
static_assert(offsetof(ArchiveEntry, data) == 0, "data at offset 0");
static_assert(offsetof(ArchiveEntry, libraryWord) == 4, "library word at offset 4");
static_assert(sizeof(DecodedImage) == 24, "DecodedImage is 24 bytes");
static_assert(offsetof(DecodedImage, reserved0) == 0, "library word at offset 0");
static_assert(offsetof(DecodedImage, width) == 4, "width at offset 4");
static_assert(offsetof(DecodedImage, height) == 8, "height at offset 8");
static_assert(offsetof(DecodedImage, reserved12) == 12, "library word at offset 12");
static_assert(offsetof(DecodedImage, reserved16) == 16, "library word at offset 16");
static_assert(offsetof(DecodedImage, pixels) == 20, "pixels at offset 20");
#endif

// Reads entry `name` of archive file `archive` into *entry; non-zero on success.
// On failure nothing stays allocated and *entry is cleared.
MORVANE_API int ReadQV(const char* archive, const char* name, ArchiveEntry* entry);
// Decodes the JPEG in *entry. On failure width = height = 0 and pixels = null.
MORVANE_API int JPEG24bitQV(const ArchiveEntry* entry, DecodedImage* image);
// Release what the records hold; safe on records already released.
MORVANE_API int Free24BMP(DecodedImage* image);
MORVANE_API int FreeQV(ArchiveEntry* entry);
