// The game in its own language, always: the Windows program draws exactly the
// texts and pictures it was made with, and the host tests see them. What it implements of
// Language.h; it lacks catalogues on purpose.
#include "assets/Sound.h"
#include "render/Language.h"

std::u16string_view LocalText(std::u16string_view text) {
    return text;
}

std::u16string_view LocalTextIn(const char*, std::u16string_view text) {
    return text;
}

const char* PictureArchive(const char*) {
    return kArchiveName;
}

void ChooseLanguage(const char*) {}
