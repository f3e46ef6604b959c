// Morvane's archive entry points: ReadQV, FreeQV and Free24BMP, the parts of
// the asset library that are the same on every platform. The game's asset and
// sound loading call them; JPEG24bitQV lives beside the decoder it uses.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "assets/AssetLibrary.h"
#include "morvane/Archive.h"
#include "morvane/JpegRule.h"
#include "morvane/LastFailure.h"
#include "morvane/Wav.h"

namespace {

// Plain storage, so a thread's copy needs no destructor (nor does the DLL's).
thread_local morvane::FailureKind lastKind = morvane::FailureKind::kNone;
thread_local char lastWhy[160];

// The decoders take only what CheckJpeg passes; its verdict says why not.
void RecordPictureRefusal(const unsigned char* data, std::uint32_t size) {
    const morvane::JpegCheck check = morvane::CheckJpeg(data, size);
    if (check.verdict == morvane::JpegVerdict::kBadSize) {
        char why[96];
        std::snprintf(why, sizeof why, "%d x %d pixels: does not fit %d x %d", check.width, check.height,
                      morvane::kMaxImageSide, morvane::kMaxImageSide);
        morvane::RecordFailure(morvane::FailureKind::kRefused, why);
    } else {
        morvane::RecordFailure(morvane::FailureKind::kRefused,
                               check.verdict == morvane::JpegVerdict::kUsable ? "does not decode" : check.problem);
    }
}

}  // namespace

morvane::Failure morvane::LastFailure() {
    return {lastKind, lastWhy};
}

void morvane::RecordFailure(FailureKind kind, const std::string& why) {
    lastKind = kind;
    std::snprintf(lastWhy, sizeof lastWhy, "%s", why.c_str());
}

MORVANE_API int ReadQV(const char* archive, const char* name, ArchiveEntry* entry) {
    if (entry == nullptr) return 0;
    entry->data = nullptr;
    entry->libraryWord = 0;
    if (archive == nullptr || name == nullptr) return 0;
    try {
        std::vector<unsigned char> bytes;
        std::string problem;
        switch (morvane::ReadEntryFile(archive, name, bytes, problem)) {
            case morvane::EntryRead::kRead:
                break;
            case morvane::EntryRead::kMissing:
                morvane::RecordFailure(morvane::FailureKind::kMissing);
                return 0;
            case morvane::EntryRead::kFailed:
                morvane::RecordFailure(morvane::FailureKind::kUnreadable, problem);
                return 0;
        }
        // A sound is handed to a player that trusts the WAV's own sizes, so a
        // sound entry that is not a well-formed PCM WAV is never handed out.
        if (morvane::IsSoundName(name)) {
            problem = morvane::WavProblem(bytes.data(), bytes.size());
            if (!problem.empty()) {
                morvane::RecordFailure(morvane::FailureKind::kRefused, problem);
                return 0;
            }
        }
        // malloc so that FreeQV (this library's) is the one release; a
        // zero-length entry still gets a pointer the caller can tell from null.
        auto* copy = static_cast<unsigned char*>(std::malloc(bytes.empty() ? 1 : bytes.size()));
        if (copy == nullptr) {
            morvane::RecordFailure(morvane::FailureKind::kUnreadable, "out of memory");
            return 0;
        }
        if (!bytes.empty()) std::memcpy(copy, bytes.data(), bytes.size());
        entry->data = copy;
        entry->libraryWord = static_cast<std::uint32_t>(bytes.size());
        return 1;
    } catch (const std::bad_alloc&) {
        morvane::RecordFailure(morvane::FailureKind::kUnreadable, "out of memory");
        return 0;
    }
}

MORVANE_API int FreeQV(ArchiveEntry* entry) {
    if (entry == nullptr) return 0;
    std::free(entry->data);
    entry->data = nullptr;
    entry->libraryWord = 0;
    return 1;
}

MORVANE_API int JPEG24bitQV(const ArchiveEntry* entry, DecodedImage* image) {
    if (image == nullptr) return 0;
    std::memset(image, 0, sizeof *image);
    if (entry == nullptr || entry->data == nullptr || entry->libraryWord == 0) {
        morvane::RecordFailure(morvane::FailureKind::kRefused, "is empty");
        return 0;
    }
    int width = 0;
    int height = 0;
    unsigned char* pixels = morvane::DecodeJpeg(entry->data, entry->libraryWord, &width, &height);
    if (pixels == nullptr) {
        RecordPictureRefusal(entry->data, entry->libraryWord);
        return 0;
    }
    image->width = width;
    image->height = height;
    image->pixels = pixels;
    return 1;
}

MORVANE_API int Free24BMP(DecodedImage* image) {
    if (image == nullptr) return 0;
    std::free(image->pixels);
    std::memset(image, 0, sizeof *image);
    return 1;
}
