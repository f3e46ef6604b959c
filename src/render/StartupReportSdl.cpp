// The native game's English start-up diagnosis on standard error: the SDL
// step behind a window failure, or data.qv's first missing or refused entry,
// found by reading the archive again once start-up has given up. Called by
// the SDL window code beside its message boxes.
#include "render/StartupReportSdl.h"

#include <SDL.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "assets/AssetLibrary.h"
#include "assets/Sound.h"
#include "morvane/Archive.h"
#include "morvane/JpegRule.h"
#include "morvane/Wav.h"
#include "render/Render.h"

namespace {

// The sound entries LoadSounds reads, in its order.
constexpr const char* kSoundNames[] = {"down.wav", "move.wav", "s.wav"};

// Why entry `name` does not read, in the archive reader's own words.
std::string EntryProblem(const char* name) {
    std::vector<unsigned char> bytes;
    std::string problem;
    if (morvane::ReadEntryFile(kArchiveName, name, bytes, problem)) return "cannot be read";
    return problem == "no entry of that name" ? "is missing" : "cannot be read: " + problem;
}

// Empty when the picture loads as start-up loads it.
std::string PictureProblem(const char* name) {
    ArchiveEntry entry{};
    if (ReadQV(kArchiveName, name, &entry) == 0) return EntryProblem(name);
    DecodedImage image{};
    JPEG24bitQV(&entry, &image);
    auto tooLarge = [](auto width, auto height) {
        return "is refused (" + std::to_string(width) + " x " + std::to_string(height) +
               " pixels: does not fit 256 x 256)";
    };
    std::string problem;
    if (image.pixels == nullptr) {
        const morvane::JpegCheck check = morvane::CheckJpeg(entry.data, entry.libraryWord);
        if (check.verdict == morvane::JpegVerdict::kBadSize) {
            problem = tooLarge(check.width, check.height);
        } else {
            problem =
                std::string("is refused (") + (check.problem != nullptr ? check.problem : "does not decode") + ")";
        }
    } else if (std::int64_t{image.width} * image.height * 3 > kWorkingBufferBytes) {
        problem = tooLarge(image.width, image.height);
    }
    Free24BMP(&image);
    FreeQV(&entry);
    return problem;
}

// Empty when the sound loads as start-up loads it.
std::string SoundProblem(const char* name) {
    ArchiveEntry entry{};
    if (ReadQV(kArchiveName, name, &entry) != 0) {
        FreeQV(&entry);
        return {};
    }
    // ReadQV refuses a sound that is not a playable WAV without saying why.
    std::vector<unsigned char> bytes;
    std::string problem;
    if (!morvane::ReadEntryFile(kArchiveName, name, bytes, problem)) return EntryProblem(name);
    problem = morvane::WavProblem(bytes.data(), bytes.size());
    return problem.empty() ? "cannot be read" : "is refused: " + problem;
}

// What keeps data.qv in the current folder from loading, in one sentence.
std::string DescribeAssetFailure() {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::current_path(error);
    if (!std::filesystem::exists(kArchiveName, error)) {
        return std::string(kArchiveName) + " not found in " + folder.string();
    }
    const std::string archive = std::string(kArchiveName) + ": ";
    std::vector<morvane::IndexEntry> entries;
    std::string problem;
    if (!morvane::ReadIndexFile(kArchiveName, entries, problem)) return archive + "the archive is refused: " + problem;
    for (const char* name : TextureEntryNames) {
        problem = PictureProblem(name);
        if (!problem.empty()) return archive + "picture " + name + " " + problem;
    }
    for (const char* name : kSoundNames) {
        problem = SoundProblem(name);
        if (!problem.empty()) return archive + "sound " + name + " " + problem;
    }
    return archive + "every picture and sound reads here; loading them failed all the same";
}

}  // namespace

void ReportWindowFailure(const char* call, const char* reason) {
    std::fprintf(stderr, "kolvex: %s failed: %s\n", call,
                 reason != nullptr && *reason != '\0' ? reason : "no reason given");
}

void ReportAssetFailure() {
    std::fprintf(stderr, "kolvex: %s\n", DescribeAssetFailure().c_str());
}
