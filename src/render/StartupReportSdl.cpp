// The native game's English start-up diagnosis on standard error: the SDL
// step behind a window failure, or data.qv's first missing or refused entry,
// found by reading the archive again once start-up has given up. Called by
// the SDL window code beside its message boxes.
#include "render/StartupReportSdl.h"

#include <SDL.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <vector>

#include "assets/AssetLibrary.h"
#include "assets/Sound.h"
#include "morvane/Archive.h"
#include "morvane/JpegRule.h"
#include "morvane/Wav.h"
#include "render/Render.h"

namespace {

// The window code's failure texts and the SDL call behind each.
struct WindowStep {
    std::u16string_view text;
    const char* call;
};
constexpr WindowStep kWindowSteps[] = {
    {u"注册窗口失败,程序错误.", "SDL_InitSubSystem(SDL_INIT_VIDEO)"},
    {u"不能设置像素格式,程序错误.", "SDL_GL_SetAttribute"},
    {u"不能创建窗口,程序错误.", "SDL_CreateWindow"},
    {u"不能创建OpenGL渲染描述,程序错误.", "SDL_GL_CreateContext"},
    {u"不能激活当前的渲染描述表,程序错误.", "SDL_GL_MakeCurrent"},
};

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
    std::string problem;
    if (image.pixels == nullptr) {
        const morvane::JpegCheck check = morvane::CheckJpeg(entry.data, entry.libraryWord);
        if (check.verdict == morvane::JpegVerdict::kBadSize) {
            problem = "is refused (" + std::to_string(check.width) + " x " + std::to_string(check.height) +
                      " pixels: does not fit 256 x 256)";
        } else {
            problem =
                std::string("is refused (") + (check.problem != nullptr ? check.problem : "does not decode") + ")";
        }
    } else if (std::int64_t{image.width} * image.height * 3 > kWorkingBufferBytes) {
        problem = "is refused (" + std::to_string(image.width) + " x " + std::to_string(image.height) +
                  " pixels: does not fit 256 x 256)";
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

void ReportWindowFailure(const char16_t* text, const char* reason) {
    const char* call = "the window's set-up";
    for (const WindowStep& step : kWindowSteps) {
        if (step.text == text) call = step.call;
    }
    std::fprintf(stderr, "kolvex: %s failed: %s\n", call,
                 reason != nullptr && *reason != '\0' ? reason : "no reason given");
}

void ReportAssetFailure() {
    std::fprintf(stderr, "kolvex: %s\n", DescribeAssetFailure().c_str());
}
