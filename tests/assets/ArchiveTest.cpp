// The archive reader and writer: what goes in comes out byte for byte under
// its exact name, and every kind of damaged or hostile archive is refused
// with the entry record cleared and nothing left allocated (the native
// build's leak checker watches the latter).
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <random>

#include "ScratchFolder.h"
#include "assets/AssetLibrary.h"
#include "morvane/Archive.h"
#include "morvane/TestKit.h"

namespace {

using morvane::WriterEntry;
using Bytes = std::vector<unsigned char>;

Bytes RandomBytes(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    Bytes bytes(size);
    for (auto& b : bytes) b = static_cast<unsigned char>(random());
    return bytes;
}

void StoreU32(Bytes& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

// A record that ReadQV must overwrite even on failure: the game never
// initialises it.
ArchiveEntry Garbage() {
    ArchiveEntry entry;
    std::memset(&entry, 0xA5, sizeof entry);
    return entry;
}

class ArchiveTest : public ::testing::Test {
protected:
    ScratchFolder folder;
};

TEST_F(ArchiveTest, EntriesComeBackByteForByteUnderTheirExactNames) {
    const std::vector<WriterEntry> entries = {
        {"first.bin", RandomBytes(1000, 1)},
        {"Case.jpg", RandomBytes(17, 2)},
        {"case.jpg", RandomBytes(23, 3)},
        {"empty", {}},
        {std::string(morvane::kMaxNameLength, 'n'), RandomBytes(70000, 4)},
    };
    ASSERT_EQ(morvane::WriteTestArchive("round.qv", entries), "");

    std::vector<morvane::IndexEntry> index;
    std::string problem;
    ASSERT_TRUE(morvane::ReadIndexFile("round.qv", index, problem)) << problem;
    ASSERT_EQ(index.size(), entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        SCOPED_TRACE(entries[i].name);
        EXPECT_EQ(index[i].name, entries[i].name);
        EXPECT_EQ(index[i].size, entries[i].bytes.size());

        ArchiveEntry entry = Garbage();
        ASSERT_NE(ReadQV("round.qv", entries[i].name.c_str(), &entry), 0);
        ASSERT_NE(entry.data, nullptr);
        EXPECT_EQ(Bytes(entry.data, entry.data + entries[i].bytes.size()), entries[i].bytes);
        FreeQV(&entry);
        EXPECT_EQ(entry.data, nullptr);
        FreeQV(&entry);  // a second release is harmless
    }

    for (const char* absent : {"CASE.JPG", "first", "first.bin ", "", "nonexistent"}) {
        ArchiveEntry entry = Garbage();
        EXPECT_EQ(ReadQV("round.qv", absent, &entry), 0) << "'" << absent << "'";
        EXPECT_EQ(entry.data, nullptr);
        EXPECT_EQ(entry.libraryWord, 0u);
    }
}

TEST_F(ArchiveTest, ChecksumIsTheCommonCrc32) {
    const char* check = "123456789";
    EXPECT_EQ(morvane::Crc32(reinterpret_cast<const unsigned char*>(check), 9), 0xCBF43926u);
    EXPECT_EQ(morvane::Crc32(nullptr, 0), 0u);
}

TEST_F(ArchiveTest, WriterRefusesWhatAReaderCouldNotFindOrStore) {
    Bytes archive;
    std::string problem;
    const std::vector<std::vector<WriterEntry>> refused = {
        {{"same", {1}}, {"same", {2}}},
        {{"", {1}}},
        {{"art/t1.jpg", {1}}},
        {{"art\\t1.jpg", {1}}},
        {{"with space", {1}}},
        {{std::string(morvane::kMaxNameLength + 1, 'n'), {1}}},
        {{"big", Bytes(morvane::kMaxEntrySize + 1)}},
    };
    for (const auto& entries : refused) {
        EXPECT_FALSE(morvane::BuildArchive(entries, archive, problem)) << entries[0].name;
        EXPECT_FALSE(problem.empty());
    }
    EXPECT_TRUE(morvane::BuildArchive({{"big", Bytes(morvane::kMaxEntrySize)}}, archive, problem)) << problem;
}

TEST_F(ArchiveTest, MissingUnreadableOrNullArgumentsAreRefused) {
    ASSERT_EQ(morvane::WriteTestArchive("good.qv", {{"a", {1, 2, 3}}}), "");
    std::filesystem::create_directory("folder.qv");
    for (const char* path : {"absent.qv", "folder.qv", ""}) {
        ArchiveEntry entry = Garbage();
        EXPECT_EQ(ReadQV(path, "a", &entry), 0) << path;
        EXPECT_EQ(entry.data, nullptr);
    }
    ArchiveEntry entry = Garbage();
    EXPECT_EQ(ReadQV(nullptr, "a", &entry), 0);
    EXPECT_EQ(entry.data, nullptr);
    entry = Garbage();
    EXPECT_EQ(ReadQV("good.qv", nullptr, &entry), 0);
    EXPECT_EQ(entry.data, nullptr);
    EXPECT_EQ(ReadQV("good.qv", "a", nullptr), 0);
    EXPECT_EQ(FreeQV(nullptr), 0);
}

TEST_F(ArchiveTest, AMissingEntryIsToldFromAnUnreadableArchiveByItsKind) {
    ASSERT_EQ(morvane::WriteTestArchive("good.qv", {{"a", {1, 2, 3}}}), "");
    const struct {
        const char* path;
        const char* name;
        morvane::EntryRead expected;
    } cases[] = {
        {"good.qv", "a", morvane::EntryRead::kRead},
        {"good.qv", "b", morvane::EntryRead::kMissing},
        {"good.qv", "A", morvane::EntryRead::kMissing},
        {"absent.qv", "a", morvane::EntryRead::kFailed},
    };
    for (const auto& c : cases) {
        Bytes bytes;
        std::string problem;
        EXPECT_EQ(morvane::ReadEntryFile(c.path, c.name, bytes, problem), c.expected) << c.path << " " << c.name;
    }
}

// Offsets within a two-entry archive built by the writer.
constexpr std::size_t kRecord0 = morvane::kHeaderSize;
constexpr std::size_t kRecord1 = morvane::kHeaderSize + morvane::kRecordSize;
constexpr std::size_t kDataStart = morvane::kHeaderSize + 2 * morvane::kRecordSize;

struct Damage {
    const char* what;
    std::function<void(Bytes&)> apply;
};

TEST_F(ArchiveTest, DamagedArchivesAreRefusedWholeAndLeaveNothingAllocated) {
    const Bytes alpha = RandomBytes(300, 5);
    const Bytes beta = RandomBytes(200, 6);
    Bytes good;
    std::string problem;
    ASSERT_TRUE(morvane::BuildArchive({{"alpha", alpha}, {"beta", beta}}, good, problem)) << problem;

    const std::vector<Damage> damages = {
        {"empty file", [](Bytes& b) { b.clear(); }},
        {"cut inside the header", [](Bytes& b) { b.resize(10); }},
        {"cut inside the entry table", [](Bytes& b) { b.resize(kRecord1 + 20); }},
        {"cut inside the last entry", [](Bytes& b) { b.resize(b.size() - 1); }},
        {"bad magic", [](Bytes& b) { b[0] = 'X'; }},
        {"newer version", [](Bytes& b) { StoreU32(b, 4, 2); }},
        {"reserved header word set", [](Bytes& b) { StoreU32(b, 12, 1); }},
        {"count beyond the limit", [](Bytes& b) { StoreU32(b, 8, morvane::kMaxEntries + 1); }},
        {"count beyond the file", [](Bytes& b) { StoreU32(b, 8, 1000); }},
        {"count of 2^32-1", [](Bytes& b) { StoreU32(b, 8, 0xFFFFFFFFu); }},
        {"name without terminator", [](Bytes& b) { std::memset(&b[kRecord1], 'n', morvane::kNameFieldSize); }},
        {"empty name", [](Bytes& b) { b[kRecord1] = 0; }},
        {"entry past the end", [](Bytes& b) { StoreU32(b, kRecord1 + 32, static_cast<std::uint32_t>(b.size())); }},
        {"entry size past the end", [](Bytes& b) { StoreU32(b, kRecord1 + 36, 201); }},
        {"offset and size wrap around",
         [](Bytes& b) {
             StoreU32(b, kRecord1 + 32, 0xFFFFFF00u);
             StoreU32(b, kRecord1 + 36, 0x200);
         }},
        {"entry inside the table", [](Bytes& b) { StoreU32(b, kRecord1 + 32, kRecord0); }},
        {"entry above the size limit",
         [](Bytes& b) {
             StoreU32(b, kRecord1 + 36, morvane::kMaxEntrySize + 1);
             b.resize(kDataStart + 300 + morvane::kMaxEntrySize + 1);
         }},
        {"reserved record word set", [](Bytes& b) { StoreU32(b, kRecord1 + 44, 7); }},
    };
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.what);
        Bytes bytes = good;
        damage.apply(bytes);
        ASSERT_TRUE(morvane::WriteWholeFile("damaged.qv", bytes, problem)) << problem;
        // Damage to one record condemns the whole archive, not just that entry.
        for (const char* name : {"alpha", "beta"}) {
            ArchiveEntry entry = Garbage();
            EXPECT_EQ(ReadQV("damaged.qv", name, &entry), 0) << name;
            EXPECT_EQ(entry.data, nullptr);
            EXPECT_EQ(entry.libraryWord, 0u);
        }
    }
}

TEST_F(ArchiveTest, ChecksumMismatchRefusesOnlyTheDamagedEntry) {
    const Bytes alpha = RandomBytes(300, 7);
    const Bytes beta = RandomBytes(200, 8);
    Bytes bytes;
    std::string problem;
    ASSERT_TRUE(morvane::BuildArchive({{"alpha", alpha}, {"beta", beta}}, bytes, problem)) << problem;
    bytes[kDataStart + 300 + 150] ^= 0x01;  // one bit inside beta
    ASSERT_TRUE(morvane::WriteWholeFile("flipped.qv", bytes, problem)) << problem;

    ArchiveEntry entry = Garbage();
    EXPECT_EQ(ReadQV("flipped.qv", "beta", &entry), 0);
    EXPECT_EQ(entry.data, nullptr);
    ASSERT_NE(ReadQV("flipped.qv", "alpha", &entry), 0);
    EXPECT_EQ(Bytes(entry.data, entry.data + alpha.size()), alpha);
    FreeQV(&entry);
}

TEST_F(ArchiveTest, FirstOfTwoRecordsWithOneNameCounts) {
    Bytes bytes;
    std::string problem;
    ASSERT_TRUE(morvane::BuildArchive({{"one", {1, 1}}, {"two", {2, 2, 2}}}, bytes, problem)) << problem;
    bytes[kRecord1 + 1] = 'n';
    bytes[kRecord1 + 2] = 'e';  // "two" becomes "one"
    ASSERT_TRUE(morvane::WriteWholeFile("twice.qv", bytes, problem)) << problem;
    ArchiveEntry entry = Garbage();
    ASSERT_NE(ReadQV("twice.qv", "one", &entry), 0);
    EXPECT_EQ(Bytes(entry.data, entry.data + 2), (Bytes{1, 1}));
    FreeQV(&entry);
}

}  // namespace
