// The native game's English start-up diagnosis on standard error: the SDL
// step behind a window failure, or the entry of data.qv that start-up could
// not load and why, as the loader and the asset library recorded it. Called
// by the SDL window code beside its message boxes.
#include "render/StartupReportSdl.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "assets/LoadFailure.h"
#include "assets/Sound.h"
#include "morvane/LastFailure.h"

namespace {

// What the asset library said of the entry the loader could not take.
std::string LibraryReason(bool picture) {
    const morvane::Failure failure = morvane::LastFailure();
    switch (failure.kind) {
        case morvane::FailureKind::kMissing:
            return "is missing";
        case morvane::FailureKind::kUnreadable:
            return std::string("cannot be read: ") + failure.why;
        case morvane::FailureKind::kRefused:
            return picture ? std::string("is refused (") + failure.why + ")"
                           : std::string("is refused: ") + failure.why;
        case morvane::FailureKind::kNone:
            break;
    }
    return "cannot be read";
}

// What kept data.qv in the current folder from loading, in one sentence.
std::string DescribeAssetFailure() {
    std::error_code error;
    if (!std::filesystem::exists(kArchiveName, error)) {
        return std::string(kArchiveName) + " not found in " + std::filesystem::current_path(error).string();
    }
    const LoadFailure& failure = firstLoadFailure;
    if (failure.entry == nullptr) {
        return std::string(kArchiveName) + ": every picture and sound loaded; setting up OpenGL failed all the same";
    }
    std::string said = std::string(kArchiveName) + ": " + (failure.picture ? "picture " : "sound ") + failure.entry;
    if (failure.step == LoadStep::kTooLarge) {
        return said + " is refused (" + std::to_string(failure.width) + " x " + std::to_string(failure.height) +
               " pixels: too large for the picture buffer)";
    }
    return said + " " + LibraryReason(failure.picture);
}

// The main thread's last report, until a message box takes it.
std::string reported;

}  // namespace

void ReportWindowFailure(const char* call, const char* reason) {
    reported = std::string("kolvex: ") + call +
               " failed: " + (reason != nullptr && *reason != '\0' ? reason : "no reason given");
    std::fprintf(stderr, "%s\n", reported.c_str());
}

void ReportAssetFailure() {
    reported = "kolvex: " + DescribeAssetFailure();
    std::fprintf(stderr, "%s\n", reported.c_str());
}

std::string TakeReportedLine() {
    std::string line;
    line.swap(reported);
    return line;
}
