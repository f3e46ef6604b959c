// A private, empty working folder for one test: created and entered on
// construction, left and deleted afterwards, so tests that write "data.qv"
// never touch the build's own archive beside the test programs.
#pragma once

#include <filesystem>
#include <random>
#include <string>

class ScratchFolder {
public:
    ScratchFolder() : previous_(std::filesystem::current_path()) {
        std::random_device seed;
        path_ = std::filesystem::temp_directory_path() / ("kolvex-assets-" + std::to_string(seed()));
        std::filesystem::create_directories(path_);
        std::filesystem::current_path(path_);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::current_path(previous_, ignored);
        std::filesystem::remove_all(path_, ignored);
    }

private:
    std::filesystem::path previous_;
    std::filesystem::path path_;
};
