// Replays saved fuzz inputs (crashers once found, and hostile files worth
// keeping) through the fuzz targets' own bodies, under this build's address
// and undefined-behaviour sanitizers. Host only: the inputs live in the
// source tree.
#include <gtest/gtest.h>

#include <filesystem>

#include "ScratchFolder.h"
#include "morvane/Archive.h"
#include "morvane/fuzz/FuzzBodies.h"

namespace {

std::vector<std::filesystem::path> Inputs(const char* target) {
    std::vector<std::filesystem::path> files;
    for (const auto& item : std::filesystem::directory_iterator(std::filesystem::path(KOLVEX_FUZZ_INPUTS) / target)) {
        if (item.is_regular_file()) files.push_back(item.path());
    }
    return files;
}

std::vector<unsigned char> Load(const std::filesystem::path& path) {
    std::vector<unsigned char> bytes;
    std::string problem;
    EXPECT_TRUE(morvane::ReadWholeFile(path.string().c_str(), bytes, problem)) << path << ": " << problem;
    return bytes;
}

TEST(FuzzReplay, SavedArchiveInputsReadSafely) {
    ScratchFolder folder;
    auto files = Inputs("readqv");
    ASSERT_FALSE(files.empty());
    for (const auto& file : files) {
        SCOPED_TRACE(file.filename().string());
        auto bytes = Load(file);
        morvane::FuzzReadQVOnce(bytes.data(), bytes.size(), "replay.qv");
    }
}

TEST(FuzzReplay, SavedPictureInputsDecodeSafely) {
    auto files = Inputs("jpeg");
    ASSERT_FALSE(files.empty());
    for (const auto& file : files) {
        SCOPED_TRACE(file.filename().string());
        auto bytes = Load(file);
        morvane::FuzzJpegOnce(bytes.data(), bytes.size());
    }
}

}  // namespace
