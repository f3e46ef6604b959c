// The .deb's and ./play's font: the face the system's font matching
// (fontconfig) picks for the game's request, then every other it ranks, so a
// broken matched file still leaves text. OpenGameFont's GameFaces.
#include <fontconfig/fontconfig.h>

#include "render/FontFacesSdl.h"
#include "render/Text.h"

namespace {

void AddFace(FcPattern* font, std::vector<FaceFile>& faces) {
    FcChar8* file = nullptr;
    if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch) return;
    FaceFile face{reinterpret_cast<const char*>(file), 0};
    if (FcPatternGetInteger(font, FC_INDEX, 0, &face.index) != FcResultMatch) face.index = 0;
    for (const FaceFile& known : faces) {
        if (known == face) return;
    }
    faces.push_back(face);
}

}  // namespace

// The files and face indices the system's font matching offers for the
// game's request: the match first, then every other face it knows, best
// first, so that a matched file that cannot be opened still leaves text on
// the screen, as Windows falls back to a default font. A configuration of our
// own, dropped afterwards: nothing of fontconfig stays loaded for the run.
std::vector<FaceFile> GameFaces() {
    std::vector<FaceFile> faces;
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (config == nullptr) return faces;
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
    FcResult result = FcResultNoMatch;
    if (FcPattern* match = FcFontMatch(config, request, &result)) {
        AddFace(match, faces);
        FcPatternDestroy(match);
    }
    // Untrimmed: every face, not only those that add characters the better ones lack.
    if (FcFontSet* ranked = FcFontSort(config, request, FcFalse, nullptr, &result)) {
        for (int i = 0; i < ranked->nfont; ++i) AddFace(ranked->fonts[i], faces);
        FcFontSetDestroy(ranked);
    }
    FcPatternDestroy(request);
    FcConfigDestroy(config);
    return faces;
}
