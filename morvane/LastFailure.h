// Why this thread's last ReadQV or JPEG24bitQV call failed, in a few words
// for people: the entry points themselves can only return 0. Morvane records
// it; the native game's start-up report reads it back.
#pragma once

#include <string>

namespace morvane {

enum class FailureKind {
    kNone,
    kMissing,     // the archive has no entry of that name
    kUnreadable,  // the archive or the entry is damaged
    kRefused,     // read whole, but not a picture or sound the game takes
};

struct Failure {
    FailureKind kind;
    const char* why;  // empty for kNone and kMissing
};

Failure LastFailure();
void RecordFailure(FailureKind kind, const std::string& why = {});

}  // namespace morvane
