// Reading a .qv archive: the entry table, checked as a whole before any entry
// is trusted, and single entries checked against their CRC. ReadQV, qvpack's
// list/extract/check and the fuzzers all go through here.
#include <cstring>
#include <memory>

#include "morvane/Archive.h"

namespace morvane {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

std::uint32_t LoadU32(const unsigned char* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24;
}

bool Fail(std::string& problem, const char* why) {
    problem = why;
    return false;
}

// The file's length, or -1. Archives beyond 2 GiB are refused with it, as no
// valid one comes close.
long FileLength(std::FILE* file) {
    if (std::fseek(file, 0, SEEK_END) != 0) return -1;
    long length = std::ftell(file);
    if (std::fseek(file, 0, SEEK_SET) != 0) return -1;
    return length;
}

bool ReadExactly(std::FILE* file, long offset, unsigned char* into, std::size_t size) {
    if (std::fseek(file, offset, SEEK_SET) != 0) return false;
    return size == 0 || std::fread(into, 1, size, file) == size;
}

}  // namespace

bool ReadIndex(std::FILE* file, std::vector<IndexEntry>& entries, std::string& problem) {
    entries.clear();
    long length = FileLength(file);
    if (length < 0) return Fail(problem, "cannot read the file");
    std::uint64_t fileSize = static_cast<std::uint64_t>(length);
    if (fileSize < kHeaderSize) return Fail(problem, "file is too short for an archive header");

    unsigned char header[kHeaderSize];
    if (!ReadExactly(file, 0, header, sizeof header)) return Fail(problem, "cannot read the archive header");
    if (std::memcmp(header, kMagic, sizeof kMagic) != 0) return Fail(problem, "not a .qv archive (bad magic)");
    if (LoadU32(header + 4) != kVersion) return Fail(problem, "unsupported archive version");
    std::uint32_t count = LoadU32(header + 8);
    if (LoadU32(header + 12) != 0) return Fail(problem, "reserved header word is not zero");
    if (count > kMaxEntries) return Fail(problem, "too many entries");

    std::uint64_t tableEnd = kHeaderSize + std::uint64_t{count} * kRecordSize;
    if (tableEnd > fileSize) return Fail(problem, "entry table runs past the end of the file");
    std::vector<unsigned char> table(static_cast<std::size_t>(tableEnd - kHeaderSize));
    if (!ReadExactly(file, kHeaderSize, table.data(), table.size()))
        return Fail(problem, "cannot read the entry table");

    entries.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        const unsigned char* record = table.data() + std::size_t{i} * kRecordSize;
        const void* nul = std::memchr(record, 0, kNameFieldSize);
        if (nul == nullptr) return Fail(problem, "entry name is not terminated");
        std::size_t nameLength = static_cast<const unsigned char*>(nul) - record;
        if (nameLength == 0) return Fail(problem, "entry has an empty name");
        IndexEntry entry{std::string(reinterpret_cast<const char*>(record), nameLength), LoadU32(record + 32),
                         LoadU32(record + 36), LoadU32(record + 40)};
        if (LoadU32(record + 44) != 0) return Fail(problem, "reserved entry word is not zero");
        if (entry.size > kMaxEntrySize) return Fail(problem, "entry is larger than 16 MiB");
        if (entry.offset < tableEnd) return Fail(problem, "entry overlaps the entry table");
        if (std::uint64_t{entry.offset} + entry.size > fileSize)
            return Fail(problem, "entry runs past the end of the file");
        entries.push_back(std::move(entry));
    }
    return true;
}

bool ReadIndexFile(const char* path, std::vector<IndexEntry>& entries, std::string& problem) {
    FilePtr file(std::fopen(path, "rb"));
    if (!file) return Fail(problem, "cannot open the file");
    return ReadIndex(file.get(), entries, problem);
}

EntryRead ReadEntryFile(const char* path, const char* name, std::vector<unsigned char>& bytes, std::string& problem) {
    bytes.clear();
    FilePtr file(std::fopen(path, "rb"));
    std::vector<IndexEntry> entries;
    if (!file) {
        Fail(problem, "cannot open the file");
        return EntryRead::kFailed;
    }
    if (!ReadIndex(file.get(), entries, problem)) return EntryRead::kFailed;
    for (const IndexEntry& entry : entries) {
        if (entry.name != name) continue;
        bytes.resize(entry.size);
        if (!ReadExactly(file.get(), static_cast<long>(entry.offset), bytes.data(), bytes.size())) {
            bytes.clear();
            Fail(problem, "cannot read the entry's bytes");
            return EntryRead::kFailed;
        }
        if (Crc32(bytes.data(), bytes.size()) != entry.crc) {
            bytes.clear();
            Fail(problem, "entry's CRC-32 does not match (damaged archive)");
            return EntryRead::kFailed;
        }
        return EntryRead::kRead;
    }
    Fail(problem, "no entry of that name");
    return EntryRead::kMissing;
}

bool ReadWholeFile(const char* path, std::vector<unsigned char>& bytes, std::string& problem) {
    bytes.clear();
    FilePtr file(std::fopen(path, "rb"));
    if (!file) return Fail(problem, "cannot open the file");
    long length = FileLength(file.get());
    if (length < 0) return Fail(problem, "cannot read the file");
    if (static_cast<unsigned long>(length) > kMaxEntrySize) return Fail(problem, "file is larger than 16 MiB");
    bytes.resize(static_cast<std::size_t>(length));
    if (!ReadExactly(file.get(), 0, bytes.data(), bytes.size())) {
        bytes.clear();
        return Fail(problem, "cannot read the file");
    }
    return true;
}

}  // namespace morvane
