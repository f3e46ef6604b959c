// Writing a .qv archive: the layout qvpack creates and tests build their
// fixtures with (entries back to back after the table, in the order given).
#include <cstring>
#include <filesystem>
#include <set>
#include <system_error>

#include "morvane/Archive.h"

namespace morvane {

namespace {

void StoreU32(unsigned char* p, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(value >> (8 * i));
}

bool Fail(std::string& problem, const std::string& why) {
    problem = why;
    return false;
}

}  // namespace

bool IsStorableName(const std::string& name) {
    if (name.empty() || name.size() > kMaxNameLength) return false;
    for (char c : name) {
        if (c <= ' ' || c > '~' || c == '/' || c == '\\') return false;
    }
    return true;
}

bool BuildArchive(const std::vector<WriterEntry>& entries, std::vector<unsigned char>& archive, std::string& problem) {
    archive.clear();
    if (entries.size() > kMaxEntries) return Fail(problem, "more than 4096 entries");
    std::set<std::string> seen;
    std::uint64_t total = kHeaderSize + entries.size() * kRecordSize;
    for (const WriterEntry& entry : entries) {
        if (!IsStorableName(entry.name)) {
            return Fail(problem, "'" + entry.name + "' is not a storable name (1-31 printable characters, no / or \\)");
        }
        if (!seen.insert(entry.name).second) return Fail(problem, "'" + entry.name + "' appears twice");
        if (entry.bytes.size() > kMaxEntrySize) return Fail(problem, "'" + entry.name + "' is larger than 16 MiB");
        total += entry.bytes.size();
    }
    // Offsets are 32-bit; 4096 entries of 16 MiB could overflow them.
    if (total > 0xFFFFFFFFu) return Fail(problem, "archive would exceed 4 GiB");

    archive.assign(kHeaderSize + entries.size() * kRecordSize, 0);
    std::memcpy(archive.data(), kMagic, sizeof kMagic);
    StoreU32(&archive[4], kVersion);
    StoreU32(&archive[8], static_cast<std::uint32_t>(entries.size()));
    archive.reserve(static_cast<std::size_t>(total));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const WriterEntry& entry = entries[i];
        std::uint32_t offset = static_cast<std::uint32_t>(archive.size());
        unsigned char* record = &archive[kHeaderSize + i * kRecordSize];
        std::memcpy(record, entry.name.data(), entry.name.size());
        StoreU32(record + 32, offset);
        StoreU32(record + 36, static_cast<std::uint32_t>(entry.bytes.size()));
        StoreU32(record + 40, Crc32(entry.bytes.data(), entry.bytes.size()));
        archive.insert(archive.end(), entry.bytes.begin(), entry.bytes.end());
    }
    return true;
}

bool WriteArchive(const char* path, const std::vector<WriterEntry>& entries, std::string& problem) {
    std::vector<unsigned char> archive;
    return BuildArchive(entries, archive, problem) && WriteWholeFile(path, archive, problem);
}

bool WriteWholeFile(const char* path, const std::vector<unsigned char>& bytes, std::string& problem) {
    // Written beside the target and renamed over it only once complete, so a
    // failed write (a full disk, say) never costs the file that was there.
    const std::string partial = std::string(path) + ".partial";
    std::FILE* file = std::fopen(partial.c_str(), "wb");
    if (file == nullptr) return Fail(problem, "cannot create the file");
    bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (std::fclose(file) != 0) written = false;
    std::error_code error;
    if (written) std::filesystem::rename(partial, path, error);
    if (!written || error) {
        std::remove(partial.c_str());
        return Fail(problem, "cannot write the file");
    }
    return true;
}

}  // namespace morvane
