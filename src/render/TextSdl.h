// The SDL side of on-screen text: opening the game font (OpenGameFace,
// FontFacesSdl.h) and rasterising a line into one-bit rows, which DrawGLText
// keeps as a texture and draws again, and the message box draws as they are.
// The entry opens and closes the font.
#pragma once

#include <string>
#include <vector>

// Opens the game's face (the system's match for the game's font request, or
// the portable build's own file) at a 14-pixel character height. False when
// none opens: text then draws nothing. Opening again while open does nothing.
bool OpenGameFont();
void CloseGameFont();
bool GameFontOpen();
// Why the last OpenGameFont failed, in English: the font file that could not
// be opened and why. Empty while the font is open.
std::string GameFontFailure();

// One line as one bit per pixel, 1 where a glyph is: rows bottom-up, each
// padded to whole 32-bit words (stride pixels, stride / 8 bytes). Empty when
// the font is not open or the line draws no pixels.
struct TextBitmap {
    int width = 0;
    int height = 0;
    int stride = 0;
    std::vector<unsigned char> rows;
};
TextBitmap RasteriseText(const char16_t* text, int length);

// The size the window shows the 800 x 600 picture at, as a factor: text is
// rasterised at that many times the font's height, so a full-screen picture
// gets sharp glyphs of the right size. 1 (the start) is the Windows size.
// Lines drawn at one size are kept and drawn again without rasterising.
void SetTextScale(double scale);

// UTF-8 of `length` UTF-16 units; an unpaired surrogate becomes U+FFFD.
std::string Utf8FromUtf16(const char16_t* text, int length);
