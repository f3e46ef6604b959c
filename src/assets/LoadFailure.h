// The first picture or sound start-up could not load, and at which step, so
// that the native game's English report can say which entry failed and ask
// the asset library why. Set by the picture and sound loaders.
#pragma once

enum class LoadStep {
    kRead,      // ReadQV refused the entry
    kDecode,    // JPEG24bitQV refused the picture
    kTooLarge,  // decoded, but larger than the loader's working buffer
};

struct LoadFailure {
    const char* entry = nullptr;  // null: nothing failed
    bool picture = false;
    LoadStep step = LoadStep::kRead;
    int width = 0;  // for kTooLarge
    int height = 0;
};

extern LoadFailure firstLoadFailure;
