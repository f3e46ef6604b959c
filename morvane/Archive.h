// The .qv archive format in code: its constants, the CRC-32, reading and
// checking an archive's entry table, reading one entry, and writing a whole
// archive. Used by Morvane's ReadQV, by qvpack, and by tests and fuzzers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace morvane {

constexpr unsigned char kMagic[4] = {'K', 'V', 'Q', 'V'};
constexpr std::uint32_t kVersion = 1;
constexpr std::size_t kHeaderSize = 16;
constexpr std::size_t kRecordSize = 48;
constexpr std::size_t kNameFieldSize = 32;
constexpr std::size_t kMaxNameLength = kNameFieldSize - 1;
constexpr std::uint32_t kMaxEntries = 4096;
// Far above any picture or sound the game uses, low enough that a damaged
// size field cannot make a reader allocate gigabytes.
constexpr std::uint32_t kMaxEntrySize = 16u << 20;

std::uint32_t Crc32(const unsigned char* bytes, std::size_t size, std::uint32_t crc = 0);

struct IndexEntry {
    std::string name;
    std::uint32_t offset;
    std::uint32_t size;
    std::uint32_t crc;
};

// Reads the header and entry table of an open archive and checks every
// record against the file's size. On any fault returns false and says why.
bool ReadIndex(std::FILE* file, std::vector<IndexEntry>& entries, std::string& problem);
bool ReadIndexFile(const char* path, std::vector<IndexEntry>& entries, std::string& problem);

// What reading one entry came to. Callers tell a missing entry from a damaged
// archive by this, never by the wording of `problem`, which is for people.
enum class EntryRead { kRead, kMissing, kFailed };

// Reads the bytes of entry `name` of archive `path` and checks their CRC.
EntryRead ReadEntryFile(const char* path, const char* name, std::vector<unsigned char>& bytes, std::string& problem);

// True for names qvpack may store: 1 to 31 printable ASCII bytes without
// spaces or folder separators.
bool IsStorableName(const std::string& name);

struct WriterEntry {
    std::string name;
    std::vector<unsigned char> bytes;
};

// Lays out a whole archive in memory; false (and why) for a bad name, a
// duplicate name, an oversize entry or too many entries.
bool BuildArchive(const std::vector<WriterEntry>& entries, std::vector<unsigned char>& archive, std::string& problem);
// BuildArchive, then writes the file; a failed write leaves no file behind.
bool WriteArchive(const char* path, const std::vector<WriterEntry>& entries, std::string& problem);

// Whole-file helpers shared by the tools and tests.
bool ReadWholeFile(const char* path, std::vector<unsigned char>& bytes, std::string& problem);
bool WriteWholeFile(const char* path, const std::vector<unsigned char>& bytes, std::string& problem);

}  // namespace morvane
