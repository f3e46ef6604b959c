// On-screen text on the native build: what it implements of Text.h, with
// SDL_ttf rasterising a line with the face OpenGameFace opens into one-bit
// rows, kept with a texture of the line that puts exactly those pixels into
// the frame; also the one GLFont instance. Lacks nothing of the seam. Called
// by DrawFrame and DrawHelp (DrawGLText), the entry and the message box.
#include "render/TextSdl.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <unordered_map>

#include "render/FontFacesSdl.h"
#include "render/GL.h"
#include "render/Text.h"

namespace {

TTF_Font* gameFont = nullptr;
// Why the last OpenGameFont failed; empty after one that opened the font.
std::string fontFailure;
// The pixel size lines are rasterised at; 0 until a scale is set: the font's own.
int textPixels = 0;

// A line as rasterised at textPixels, and the alpha texture made of it the
// first time it is drawn (0 until then).
struct KeptLine {
    TextBitmap bitmap;
    GLuint texture = 0;
    int textureWidth = 0;
    int textureHeight = 0;
};

// The game draws a small, fixed set of lines (the help screen's 18 every
// frame), so this stays small; the bound is only against a caller that draws
// ever new text.
std::unordered_map<std::u16string, KeptLine> drawnLines;
constexpr std::size_t kMostDrawnLines = 256;

// With the context still current its textures go too; without one (at exit)
// they went with the context.
void ForgetDrawnLines(bool contextCurrent) {
    if (contextCurrent) {
        for (auto& [text, line] : drawnLines) {
            if (line.texture != 0) glDeleteTextures(1, &line.texture);
        }
    }
    drawnLines.clear();
}

}  // namespace

// After the kept lines: it is destroyed first, and its destructor still clears them.
GLFont glFont;

GLFont::~GLFont() {
    // Runs at process exit, like the Windows font's deletion.
    CloseGameFont();
}

bool OpenGameFont() {
    if (gameFont != nullptr) return true;
    ForgetDrawnLines(false);  // what was kept without a font is empty
    if (TTF_Init() != 0) {
        fontFailure = std::string("SDL_ttf cannot start, so no font can be opened: ") + TTF_GetError();
        return false;
    }
    // SDL_ttf sizes at 72 dpi, so points are pixels: a 14-pixel em, which is
    // what GDI's negative height asks for (the character, not the cell).
    gameFont = OpenGameFace(textPixels == 0 ? -glFont.height : textPixels);
    if (gameFont == nullptr) {
        fontFailure = GameFaceFailure();
        TTF_Quit();
        return false;
    }
    fontFailure.clear();
    // Hinting meant for one-bit glyphs: the text is drawn without grey levels.
    TTF_SetFontHinting(gameFont, TTF_HINTING_MONO);
    TTF_SetFontStyle(gameFont,
                     (glFont.underline ? TTF_STYLE_UNDERLINE : 0) | (glFont.strikeOut ? TTF_STYLE_STRIKETHROUGH : 0));
    return true;
}

void CloseGameFont() {
    ForgetDrawnLines(false);
    if (gameFont == nullptr) return;
    TTF_CloseFont(gameFont);
    gameFont = nullptr;
    TTF_Quit();
}

bool GameFontOpen() {
    return gameFont != nullptr;
}

std::string GameFontFailure() {
    return fontFailure;
}

std::string Utf8FromUtf16(const char16_t* text, int length) {
    std::string utf8;
    for (int i = 0; i < length; ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c < 0xE000) {
            const bool paired = c < 0xDC00 && i + 1 < length && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000;
            c = paired ? 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00) : 0xFFFD;
        }
        if (c < 0x80) {
            utf8 += char(c);
        } else if (c < 0x800) {
            utf8 += char(0xC0 | c >> 6);
            utf8 += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            utf8 += char(0xE0 | c >> 12);
            utf8 += char(0x80 | (c >> 6 & 0x3F));
            utf8 += char(0x80 | (c & 0x3F));
        } else {
            utf8 += char(0xF0 | c >> 18);
            utf8 += char(0x80 | (c >> 12 & 0x3F));
            utf8 += char(0x80 | (c >> 6 & 0x3F));
            utf8 += char(0x80 | (c & 0x3F));
        }
    }
    return utf8;
}

TextBitmap RasteriseText(const char16_t* text, int length) {
    TextBitmap bitmap;
    if (gameFont == nullptr || length <= 0) return bitmap;
    // "Solid" is SDL_ttf's one-bit rendering: palette index 1 on the glyphs, 0 elsewhere.
    SDL_Surface* line =
        TTF_RenderUTF8_Solid(gameFont, Utf8FromUtf16(text, length).c_str(), SDL_Color{255, 255, 255, 255});
    if (line == nullptr) return bitmap;  // nothing to draw, e.g. only a zero-width character

    bitmap.width = line->w;
    bitmap.height = line->h;
    bitmap.stride = (line->w + 31) & ~31;
    const int rowBytes = bitmap.stride / 8;
    bitmap.rows.assign(std::size_t(rowBytes) * std::size_t(line->h), 0);
    SDL_LockSurface(line);
    for (int y = 0; y < line->h; ++y) {
        // The surface runs top-down; GL rows run bottom-up.
        const auto* source =
            static_cast<const unsigned char*>(line->pixels) + std::size_t(y) * std::size_t(line->pitch);
        unsigned char* target = &bitmap.rows[std::size_t(line->h - 1 - y) * std::size_t(rowBytes)];
        for (int x = 0; x < line->w; ++x) {
            if (source[x] != 0) target[x / 8] |= static_cast<unsigned char>(0x80 >> (x % 8));
        }
    }
    SDL_UnlockSurface(line);
    SDL_FreeSurface(line);
    return bitmap;
}

int TextWidth(const char16_t* text, int length) {
    int width = 0;
    int height = 0;
    if (gameFont == nullptr || length <= 0 ||
        TTF_SizeUTF8(gameFont, Utf8FromUtf16(text, length).c_str(), &width, &height) != 0)
        return 0;
    // Measured at the size the window letters at; the picture is 14-pixel text.
    const int pixels = textPixels == 0 ? -glFont.height : textPixels;
    return int(std::lround(double(width) * -glFont.height / pixels));
}

void SetTextScale(double scale) {
    const int pixels = std::max(1, int(std::lround(-glFont.height * scale)));
    if (pixels == (textPixels == 0 ? -glFont.height : textPixels)) return;
    textPixels = pixels;
    ForgetDrawnLines(true);
    if (gameFont != nullptr) TTF_SetFontSize(gameFont, pixels);
}

namespace {

int PowerOfTwoAtLeast(int size) {
    int power = 1;
    while (power < size) power *= 2;
    return power;
}

// The line's bits as an alpha texture (ink 255, else 0), rows bottom-up as
// the bitmap's, in the corner of a power-of-two square that GL 1.1 takes.
void MakeLineTexture(KeptLine& line) {
    const TextBitmap& bitmap = line.bitmap;
    line.textureWidth = PowerOfTwoAtLeast(bitmap.stride);
    line.textureHeight = PowerOfTwoAtLeast(bitmap.height);
    std::vector<unsigned char> alpha(std::size_t(line.textureWidth) * std::size_t(line.textureHeight), 0);
    const int rowBytes = bitmap.stride / 8;
    for (int y = 0; y < bitmap.height; ++y) {
        for (int x = 0; x < bitmap.stride; ++x) {
            if (bitmap.rows[std::size_t(y * rowBytes + x / 8)] & (0x80 >> (x % 8)))
                alpha[std::size_t(y) * std::size_t(line.textureWidth) + std::size_t(x)] = 255;
        }
    }
    glGenTextures(1, &line.texture);
    glBindTexture(GL_TEXTURE_2D, line.texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_ALPHA, line.textureWidth, line.textureHeight, 0, GL_ALPHA, GL_UNSIGNED_BYTE,
                 alpha.data());
}

// What glBitmap would put there, as one textured square: the line's pixels
// from the raster position's window pixel up and to the right, in the current
// colour, the rest left alone. glBitmap uploads the bits afresh at every call,
// which made the help screen's 18 lines cost more than the whole play field.
// Every state it touches is put back.
void DrawLineAtRasterPosition(void* kept) {
    KeptLine& line = *static_cast<KeptLine*>(kept);
    if (line.bitmap.rows.empty()) return;
    GLfloat at[4];
    GLint viewport[4];
    GLint boundTexture = 0;
    GLint environment = GL_MODULATE;
    GLint alphaFunction = GL_ALWAYS;
    GLfloat alphaReference = 0.0f;
    GLfloat textureCoordinates[4];
    glGetFloatv(GL_CURRENT_RASTER_POSITION, at);
    glGetIntegerv(GL_VIEWPORT, viewport);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &boundTexture);
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &environment);
    glGetIntegerv(GL_ALPHA_TEST_FUNC, &alphaFunction);
    glGetFloatv(GL_ALPHA_TEST_REF, &alphaReference);
    glGetFloatv(GL_CURRENT_TEXTURE_COORDS, textureCoordinates);
    const GLboolean alphaTestWasOn = glIsEnabled(GL_ALPHA_TEST);

    if (line.texture == 0) MakeLineTexture(line);
    glBindTexture(GL_TEXTURE_2D, line.texture);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.5f);
    // Window coordinates: one unit a pixel, texel centres on pixel centres.
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(viewport[0], viewport[0] + viewport[2], viewport[1], viewport[1] + viewport[3], -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const float left = std::floor(at[0]);
    const float bottom = std::floor(at[1]);
    const float width = float(line.bitmap.stride);
    const float height = float(line.bitmap.height);
    const float s = width / float(line.textureWidth);
    const float t = height / float(line.textureHeight);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(left, bottom);
    glTexCoord2f(s, 0.0f);
    glVertex2f(left + width, bottom);
    glTexCoord2f(s, t);
    glVertex2f(left + width, bottom + height);
    glTexCoord2f(0.0f, t);
    glVertex2f(left, bottom + height);
    glEnd();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);

    glTexCoord4fv(textureCoordinates);
    glAlphaFunc(GLenum(alphaFunction), alphaReference);
    if (!alphaTestWasOn) glDisable(GL_ALPHA_TEST);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, environment);
    glBindTexture(GL_TEXTURE_2D, GLuint(boundTexture));
    glDisable(GL_TEXTURE_2D);
}

}  // namespace

void DrawGLText(const char16_t* text, int length, float x, float y, float red, float green, float blue) {
    if (length < 0) length = 0;
    std::u16string key(text, std::size_t(length));
    auto drawn = drawnLines.find(key);
    if (drawn == drawnLines.end()) {
        if (drawnLines.size() >= kMostDrawnLines) ForgetDrawnLines(true);
        drawn = drawnLines.emplace(std::move(key), KeptLine{RasteriseText(text, length)}).first;
    }
    KeptLine& line = drawn->second;
    DrawAtTextPosition(x, y, red, green, blue, DrawLineAtRasterPosition, &line);
}
