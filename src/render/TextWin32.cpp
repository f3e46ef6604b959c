// On-screen text on Windows: what it implements of Text.h, with GDI
// rasterising a line into a one-bit bitmap that glBitmap puts into the frame
// at a raster position; also the game font and its one GLFont instance. Lacks
// scaled text and kept lines: the Windows window never changes size, and GDI
// is fast enough for every frame. Called by DrawFrame and DrawHelp.
#include "render/TextWin32.h"

#include <cstdlib>

#include "render/GL.h"
#include "state/GameState.h"

GLFont glFont;

GLFont::~GLFont() {
    // Runs at process exit; the handle is not cleared, nothing draws after this.
    if (gameState.hFont != nullptr) DeleteObject(gameState.hFont);
}

HFONT CreateGameFont() {
    return CreateFontW(glFont.height, glFont.width, 0, 0, FW_NORMAL, glFont.italic, glFont.underline, glFont.strikeOut,
                       GB2312_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, L"Terminal");
}

int TextWidth(const char16_t* text, int length) {
    HDC memoryDC = CreateCompatibleDC(nullptr);
    SelectObject(memoryDC, gameState.hFont);
    SIZE extent{};
    GetTextExtentPoint32W(memoryDC, reinterpret_cast<const wchar_t*>(text), length, &extent);
    DeleteDC(memoryDC);
    return int(extent.cx);
}

void DrawGLText(const char16_t* text, int length, float x, float y, float red, float green, float blue) {
    const wchar_t* wideText = reinterpret_cast<const wchar_t*>(text);
    HDC memoryDC = CreateCompatibleDC(nullptr);
    SelectObject(memoryDC, gameState.hFont);
    SIZE extent{};
    GetTextExtentPoint32W(memoryDC, wideText, length, &extent);
    HBITMAP textBitmap = CreateBitmap(extent.cx, extent.cy, 1, 1, nullptr);
    HGDIOBJ keptBitmap = SelectObject(memoryDC, textBitmap);
    SetBkColor(memoryDC, RGB(0, 0, 0));
    SetTextColor(memoryDC, RGB(255, 255, 255));
    SetBkMode(memoryDC, OPAQUE);
    TextOutW(memoryDC, 0, 0, wideText, length);

    BITMAP bitmap{};
    GetObjectW(textBitmap, sizeof bitmap, &bitmap);
    // DIB rows are padded to whole 32-bit words.
    const LONG stride = (bitmap.bmWidth + 31) & ~LONG{31};
    const DWORD bufferSize = DWORD(stride) * DWORD(bitmap.bmHeight) / 8;

    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[2];
    } info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = bitmap.bmWidth;
    info.header.biHeight = bitmap.bmHeight;  // positive: bottom row first, as glBitmap reads
    info.header.biPlanes = 1;
    info.header.biBitCount = 1;
    info.header.biCompression = BI_RGB;
    info.header.biSizeImage = bufferSize;
    info.header.biXPelsPerMeter = 1;
    info.header.biYPelsPerMeter = 1;

    auto* buffer = static_cast<unsigned char*>(std::calloc(bufferSize, 1));
    GetDIBits(memoryDC, textBitmap, 0, UINT(bitmap.bmHeight), buffer, reinterpret_cast<BITMAPINFO*>(&info),
              DIB_RGB_COLORS);
    // The padded width: the extra columns are 0 bits and leave the frame alone.
    DrawTextBitmap(int(stride), int(bitmap.bmHeight), buffer, x, y, red, green, blue);
    std::free(buffer);

    SelectObject(memoryDC, keptBitmap);
    DeleteObject(textBitmap);
    DeleteDC(memoryDC);
}
