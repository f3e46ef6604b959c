// The fuzz targets' bodies. Each checks what must hold for any bytes: a
// failed call leaves its record cleared, a successful one hands out exactly
// the promised memory, and releasing twice is harmless.
#include "FuzzBodies.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "assets/AssetLibrary.h"
#include "morvane/Archive.h"

namespace morvane {

namespace {

// Sums of bytes read land here so the reads cannot be optimised away.
volatile unsigned sink;

[[noreturn]] void Broken(const char* what) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

std::uint32_t LoadU32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24;
}

void StoreU32(std::uint8_t* p, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t RecordCount(const std::vector<std::uint8_t>& archive) {
    if (archive.size() < kHeaderSize) return 0;
    std::uint64_t fit = (archive.size() - kHeaderSize) / kRecordSize;
    std::uint64_t claimed = LoadU32(&archive[8]);
    return static_cast<std::uint32_t>(claimed < fit ? claimed : fit);
}

void RepairChecksums(std::vector<std::uint8_t>& archive) {
    std::uint32_t count = RecordCount(archive);
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint8_t* record = &archive[kHeaderSize + std::size_t{i} * kRecordSize];
        std::uint64_t offset = LoadU32(record + 32);
        std::uint64_t size = LoadU32(record + 36);
        if (offset + size <= archive.size()) StoreU32(record + 40, Crc32(&archive[offset], size));
    }
}

std::string NameOfRecord(const std::vector<std::uint8_t>& archive, unsigned pick) {
    std::uint32_t count = RecordCount(archive);
    if (count == 0) return "bk.jpg";
    const std::uint8_t* field = &archive[kHeaderSize + std::size_t{pick % count} * kRecordSize];
    std::size_t length = 0;
    while (length < kNameFieldSize && field[length] != 0) ++length;
    return std::string(reinterpret_cast<const char*>(field), length);
}

void ReadAndRelease(const char* path, const char* name) {
    ArchiveEntry entry;
    std::memset(&entry, 0xA5, sizeof entry);
    if (ReadQV(path, name, &entry) == 0) {
        if (entry.data != nullptr || entry.libraryWord != 0) Broken("failed ReadQV left something in the entry");
        return;
    }
    if (entry.data == nullptr || entry.libraryWord > kMaxEntrySize) Broken("ReadQV success with a bad record");
    // Touch every byte promised, so the address sanitizer sees any shortfall.
    unsigned sum = 0;
    for (std::uint32_t i = 0; i < entry.libraryWord; ++i) sum += entry.data[i];
    sink = sum;
    FreeQV(&entry);
    FreeQV(&entry);
    if (entry.data != nullptr) Broken("FreeQV left the pointer");
}

}  // namespace

void FuzzReadQVOnce(const std::uint8_t* input, std::size_t size, const char* scratchPath) {
    if (size == 0) return;
    const std::uint8_t control = input[0];
    std::vector<std::uint8_t> archive(input + 1, input + size);
    if (control & 1) RepairChecksums(archive);
    std::string problem;
    if (!WriteWholeFile(scratchPath, archive, problem)) Broken("cannot write the scratch archive");
    ReadAndRelease(scratchPath, NameOfRecord(archive, control >> 1).c_str());
    ReadAndRelease(scratchPath, "s.wav");
}

void FuzzJpegOnce(const std::uint8_t* input, std::size_t size) {
    // An exact-size copy, so reading one byte past the entry is caught.
    auto* bytes = static_cast<unsigned char*>(std::malloc(size == 0 ? 1 : size));
    if (bytes == nullptr) return;
    if (size != 0) std::memcpy(bytes, input, size);
    ArchiveEntry entry{bytes, static_cast<std::uint32_t>(size)};
    DecodedImage image;
    std::memset(&image, 0x5A, sizeof image);
    if (JPEG24bitQV(&entry, &image) == 0) {
        if (image.width != 0 || image.height != 0 || image.pixels != nullptr) Broken("failed decode left a size");
    } else {
        if (image.width < 1 || image.width > 256 || image.height < 1 || image.height > 256 || image.pixels == nullptr) {
            Broken("decode succeeded with a bad record");
        }
        unsigned sum = 0;
        const std::size_t total = static_cast<std::size_t>(image.width) * image.height * 3;
        for (std::size_t i = 0; i < total; ++i) sum += image.pixels[i];
        sink = sum;
    }
    Free24BMP(&image);
    Free24BMP(&image);
    if (image.pixels != nullptr) Broken("Free24BMP left the pointer");
    std::free(bytes);
}

}  // namespace morvane
