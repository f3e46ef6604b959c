// Host-side DrawGLText and GLFont: no GDI here, so a line is recorded and
// drawn as a solid block of about the real glyphs' size, through the same
// OpenGL steps as the Windows version, leaving the same state behind. Used by
// the host frame tests and benchmarks.
#include "support/TextDouble.h"

#include "render/GL.h"
#include "render/Text.h"

std::vector<TextCall> textCalls;

GLFont glFont;

GLFont::~GLFont() = default;  // no font handle exists off Windows

namespace {

constexpr int kLineHeight = 14;
constexpr int kMaxBlockWidth = 1024;
// All bits set, enough for the widest block's rows.
const std::vector<GLubyte> kSolidRows(kMaxBlockWidth / 8 * kLineHeight, 0xFF);

// Wide (CJK) characters are as wide as the font is high, the others half.
int BlockWidth(const char16_t* text, int length) {
    int width = 0;
    for (int i = 0; i < length; ++i) width += text[i] >= 0x2E80 ? kLineHeight : kLineHeight / 2;
    return width < kMaxBlockWidth ? width : kMaxBlockWidth;
}

}  // namespace

int TextWidth(const char16_t* text, int length) {
    return BlockWidth(text, length);
}

void DrawGLText(const char16_t* text, int length, float x, float y, float red, float green, float blue) {
    textCalls.push_back({std::u16string(text, std::size_t(length)), x, y, red, green, blue});

    DrawTextBitmap(BlockWidth(text, length), kLineHeight, kSolidRows.data(), x, y, red, green, blue);
}
