// On-screen text, declared once for both programs: the game font's
// parameters (GLFont, one instance for the run) and the one call that draws a
// line of UTF-16 text into the scene, and its width. DrawGLText is defined by TextWin32.cpp
// (GDI rasterises the line) and TextSdl.cpp (SDL_ttf does, and the line is
// kept as a texture); the host tests link a recording stand-in that leaves the
// same OpenGL state. How each side opens its font is its own: CreateGameFont
// (TextWin32.h), OpenGameFont (TextSdl.h).
#pragma once

#include <cstdint>

#include "state/PlatformTypes.h"

// Parameters of the game's one font. The instance lives for the whole process;
// its destructor deletes gameState.hFont, if any, at exit.
class GLFont {
public:
    GLFont() : height(-14), width(0), italic(false), underline(false), strikeOut(false) {}
    virtual ~GLFont();

    std::int32_t height;  // negative: matched by character height, in pixels
    std::int32_t width;   // 0: the font mapper picks the width
    bool italic;
    bool underline;
    bool strikeOut;
};

extern GLFont glFont;

// Draws `length` characters of `text` with the lower-left corner at (x, y) in
// the plane 10 units in front of the eye, in one flat colour. Afterwards the
// model-view matrix is the identity, the current colour is the text colour,
// depth testing is on, lighting and texturing are as before, and the unpack
// alignment is 1: the help screen builds on exactly that.
void DrawGLText(const char16_t* text, int length, float x, float y, float red, float green, float blue);

// How wide `length` characters of `text` draw, in pixels of the 800 x 600
// picture, whatever size the window shows it at; 0 without a font.
int TextWidth(const char16_t* text, int length);

// DrawGLText's OpenGL half, shared by every side: `rows` holds `height` rows of
// `width` bits each, padded to whole bytes, bottom row first, 1 = ink.
void DrawTextBitmap(int width, int height, const unsigned char* rows, float x, float y, float red, float green,
                    float blue);

// The steps around the drawing itself, the same for every way of putting a
// line in: sets the raster position for (x, y) in the text colour with
// lighting, texturing and depth testing off, calls draw(line) there unless
// the position lies outside the view, and leaves the state DrawGLText
// promises.
void DrawAtTextPosition(float x, float y, float red, float green, float blue, void (*draw)(void* line), void* line);
