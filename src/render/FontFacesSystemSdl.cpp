// The .deb's and ./play's font: the face the system's font matching
// (fontconfig) picks for the game's request; only if that file cannot be
// opened, every other face it ranks, so a broken match still leaves text.
// OpenGameFont's OpenGameFace, and what went wrong when none opened.
#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <string>
#include <vector>

#include "render/FontFacesSdl.h"
#include "render/Text.h"

namespace {

struct FaceFile {
    std::string path;
    int index;
    bool operator==(const FaceFile&) const = default;
};

// Why the last search opened nothing.
std::string faceFailure;

// Opens `font`'s file at `pixels`, unless an earlier try had that file already.
TTF_Font* TryFace(FcPattern* font, int pixels, std::vector<FaceFile>& tried) {
    FcChar8* file = nullptr;
    if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch) return nullptr;
    FaceFile face{reinterpret_cast<const char*>(file), 0};
    if (FcPatternGetInteger(font, FC_INDEX, 0, &face.index) != FcResultMatch) face.index = 0;
    if (std::find(tried.begin(), tried.end(), face) != tried.end()) return nullptr;
    tried.push_back(face);
    TTF_Font* opened = TTF_OpenFontIndex(face.path.c_str(), pixels, face.index);
    // The best match's reason: the font the game would have drawn with.
    if (opened == nullptr && tried.size() == 1)
        faceFailure = "font " + face.path + " cannot be read: " + TTF_GetError();
    return opened;
}

}  // namespace

// The face the system's font matching picks for the game's request; where
// that file cannot be opened, every other face it knows, best first, so
// that text still shows, as Windows falls back to a default font. Ranking
// every installed face is slow, so only then. A configuration of our own,
// dropped afterwards: nothing of fontconfig stays loaded for the run.
TTF_Font* OpenGameFace(int pixels) {
    faceFailure = "fontconfig finds no font on this system";
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (config == nullptr) {
        faceFailure = "fontconfig cannot be set up, so no font can be found";
        return nullptr;
    }
    // The request Windows gets: "Terminal" in the GB2312 character set (so a
    // face with the Chinese glyphs wins), normal weight, upright, an outline
    // font, by character height.
    FcPattern* request = FcNameParse(reinterpret_cast<const FcChar8*>("Terminal"));
    FcPatternAddString(request, FC_LANG, reinterpret_cast<const FcChar8*>("zh-cn"));
    FcPatternAddInteger(request, FC_WEIGHT, FC_WEIGHT_REGULAR);
    FcPatternAddInteger(request, FC_SLANT, glFont.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(request, FC_OUTLINE, FcTrue);
    FcPatternAddDouble(request, FC_PIXEL_SIZE, -glFont.height);
    FcConfigSubstitute(config, request, FcMatchPattern);
    FcDefaultSubstitute(request);
    std::vector<FaceFile> tried;
    TTF_Font* font = nullptr;
    FcResult result = FcResultNoMatch;
    if (FcPattern* match = FcFontMatch(config, request, &result)) {
        font = TryFace(match, pixels, tried);
        FcPatternDestroy(match);
    }
    // Untrimmed: every face, not only those that add characters the better ones lack.
    FcFontSet* ranked = font == nullptr ? FcFontSort(config, request, FcFalse, nullptr, &result) : nullptr;
    if (ranked != nullptr) {
        for (int i = 0; i < ranked->nfont && font == nullptr; ++i) font = TryFace(ranked->fonts[i], pixels, tried);
        FcFontSetDestroy(ranked);
    }
    FcPatternDestroy(request);
    FcConfigDestroy(config);
    return font;
}

std::string GameFaceFailure() {
    return faceFailure;
}
