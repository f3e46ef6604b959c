// The SDL side's message box: a small window titled with the caption, the
// caption and text drawn inside with the game's own text rasteriser (SDL's
// X11 box uses core fonts, which have no Chinese glyphs), one button; SDL's
// box in English only where no font opens. Called by the native game's
// window code on start-up and shutdown problems.
#include "render/MessageBoxSdl.h"

#include <SDL.h>
#include <SDL_syswm.h>
#if defined(SDL_VIDEO_DRIVER_X11)
#include <X11/Xutil.h>
#endif

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "render/Language.h"
#include "render/TextSdl.h"
#include "render/WindowSdl.h"

namespace {

constexpr int kMargin = 14;
constexpr int kIconSize = 32;
constexpr int kLineGap = 4;
constexpr int kButtonWidth = 88;
constexpr int kButtonHeight = 28;
constexpr int kMinimumWidth = 260;
// TRANSLATORS: the one button of the game's message boxes ("OK").
constexpr std::u16string_view kButtonLabel = TextMark(u"确定");
// The title of SDL's own box, shown when ours has no font.
constexpr char kEnglishTitle[] = "\"Kolvex\" problem";

struct Colour {
    Uint8 red, green, blue;
};
constexpr Colour kBackground{240, 240, 240};
constexpr Colour kInk{0, 0, 0};
constexpr Colour kAccent{0, 102, 204};
constexpr Colour kButtonFace{225, 225, 225};
constexpr Colour kWhite{255, 255, 255};

struct Layout {
    std::vector<TextBitmap> lines;  // the caption first, then the text's lines
    TextBitmap buttonLabel, iconLetter;
    SDL_Rect button{};
    int width = kMinimumWidth, height = 0;
};

int Length(const char16_t* text) {
    return int(std::char_traits<char16_t>::length(text));
}

Uint32 Map(SDL_Surface* surface, Colour c) {
    return SDL_MapRGB(surface->format, c.red, c.green, c.blue);
}

void Fill(SDL_Surface* surface, SDL_Rect area, Colour c) {
    SDL_FillRect(surface, &area, Map(surface, c));
}

// Puts the 1 bits of a line with its top-left corner at (left, top).
void Blit(SDL_Surface* surface, const TextBitmap& line, int left, int top, Colour c) {
    const Uint32 ink = Map(surface, c);
    for (int row = 0; row < line.height; ++row) {
        const unsigned char* bits = &line.rows[std::size_t(row) * std::size_t(line.stride / 8)];
        for (int x = 0; x < line.width; ++x) {
            if ((bits[x / 8] & (0x80 >> (x % 8))) == 0) continue;
            SDL_Rect dot{left + x, top + line.height - 1 - row, 1, 1};
            SDL_FillRect(surface, &dot, ink);
        }
    }
}

Layout LayOut(const char16_t* text, const char16_t* caption) {
    Layout layout;
    layout.lines.push_back(RasteriseText(caption, Length(caption)));
    for (const char16_t* line = text;;) {
        const char16_t* end = line;
        while (*end != u'\0' && *end != u'\n') ++end;
        layout.lines.push_back(RasteriseText(line, int(end - line)));
        if (*end == u'\0') break;
        line = end + 1;
    }
    const std::u16string_view label = LocalText(kButtonLabel);
    layout.buttonLabel = RasteriseText(label.data(), int(label.size()));
    layout.iconLetter = RasteriseText(u"i", 1);

    int textWidth = 0, textHeight = 0;
    for (const TextBitmap& line : layout.lines) {
        textWidth = std::max(textWidth, line.width);
        textHeight += std::max(line.height, 14) + kLineGap;
    }
    // The caption stands apart from the text, as a heading.
    textHeight += kLineGap * 2;
    layout.width = std::max(kMinimumWidth, kMargin * 3 + kIconSize + textWidth);
    const int bodyHeight = std::max(kIconSize, textHeight);
    layout.button = {layout.width - kMargin - kButtonWidth, kMargin * 2 + bodyHeight, kButtonWidth, kButtonHeight};
    layout.height = layout.button.y + kButtonHeight + kMargin;
    return layout;
}

void Paint(SDL_Window* window, const Layout& layout) {
    SDL_Surface* surface = SDL_GetWindowSurface(window);
    if (surface == nullptr) return;
    Fill(surface, {0, 0, surface->w, surface->h}, kBackground);

    // The information sign: a blue disc with a white "i".
    const int centre = kMargin + kIconSize / 2, radius = kIconSize / 2;
    for (int dy = -radius; dy < radius; ++dy) {
        int half = 0;
        while ((half + 1) * (half + 1) + (dy + 1) * (dy + 1) <= radius * radius + radius) ++half;
        Fill(surface, {centre - half, centre + dy, half * 2, 1}, kAccent);
    }
    Blit(surface, layout.iconLetter, centre - layout.iconLetter.width / 2, centre - layout.iconLetter.height / 2,
         kWhite);

    int top = kMargin;
    const int left = kMargin * 2 + kIconSize;
    for (std::size_t i = 0; i < layout.lines.size(); ++i) {
        Blit(surface, layout.lines[i], left, top, i == 0 ? kAccent : kInk);
        top += std::max(layout.lines[i].height, 14) + kLineGap + (i == 0 ? kLineGap * 2 : 0);
    }

    // The one button has the focus: its frame is drawn in the accent colour.
    const SDL_Rect& b = layout.button;
    Fill(surface, b, kAccent);
    Fill(surface, {b.x + 2, b.y + 2, b.w - 4, b.h - 4}, kButtonFace);
    Blit(surface, layout.buttonLabel, b.x + (b.w - layout.buttonLabel.width) / 2,
         b.y + (b.h - layout.buttonLabel.height) / 2, kInk);
    SDL_UpdateWindowSurface(window);
}

bool Inside(const SDL_Rect& r, int x, int y) {
    return x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h;
}

// Waits for a dismissal. Events meant for other windows are dropped: a box
// only shows while the game window is gone or being torn down.
void RunBox(SDL_Window* window, const Layout& layout) {
    const Uint32 id = SDL_GetWindowID(window);
    bool buttonHeld = false;
    SDL_Event event;
    for (;;) {
        WaitForEvent(event);
        switch (event.type) {
            case SDL_QUIT:
                return;
            case SDL_WINDOWEVENT:
                if (event.window.windowID != id) break;
                if (event.window.event == SDL_WINDOWEVENT_CLOSE) return;
                if (event.window.event == SDL_WINDOWEVENT_EXPOSED) Paint(window, layout);
                break;
            case SDL_KEYDOWN: {
                // A key still held from before the box must not dismiss it unread.
                if (event.key.windowID != id || event.key.repeat != 0) break;
                const SDL_Keycode key = event.key.keysym.sym;
                if (key == SDLK_RETURN || key == SDLK_KP_ENTER || key == SDLK_ESCAPE || key == SDLK_SPACE) return;
                break;
            }
            case SDL_MOUSEBUTTONDOWN:
                if (event.button.windowID == id && event.button.button == SDL_BUTTON_LEFT)
                    buttonHeld = Inside(layout.button, event.button.x, event.button.y);
                break;
            case SDL_MOUSEBUTTONUP:
                if (event.button.windowID != id || event.button.button != SDL_BUTTON_LEFT) break;
                if (buttonHeld && Inside(layout.button, event.button.x, event.button.y)) return;
                buttonHeld = false;
                break;
            default:
                break;
        }
    }
}

// SDL writes the title into WM_NAME as Latin-1 text, so a Chinese caption
// reaches whoever reads that property (xdotool, older window managers)
// garbled; _NET_WM_NAME is right. Mark WM_NAME as UTF-8 too. Xlib is
// already loaded with SDL; it is looked up rather than linked.
void SetUtf8WindowName(SDL_Window* window, const std::string& title) {
#if defined(SDL_VIDEO_DRIVER_X11)
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) return;
    void* xlib = SDL_LoadObject("libX11.so.6");
    if (xlib == nullptr) return;
    auto toProperty =
        reinterpret_cast<decltype(&Xutf8TextListToTextProperty)>(SDL_LoadFunction(xlib, "Xutf8TextListToTextProperty"));
    auto setName = reinterpret_cast<decltype(&XSetWMName)>(SDL_LoadFunction(xlib, "XSetWMName"));
    auto release = reinterpret_cast<decltype(&XFree)>(SDL_LoadFunction(xlib, "XFree"));
    char* text = const_cast<char*>(title.c_str());
    XTextProperty name{};
    if (toProperty != nullptr && setName != nullptr && release != nullptr &&
        toProperty(info.info.x11.display, &text, 1, XUTF8StringStyle, &name) == Success) {
        setName(info.info.x11.display, info.info.x11.window, &name);
        release(name.value);
    }
    SDL_UnloadObject(xlib);
#else
    (void)window, (void)title;
#endif
}

// False under SDL's drivers that draw nowhere.
bool OnADisplay() {
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver != nullptr && std::strcmp(driver, "dummy") != 0 && std::strcmp(driver, "offscreen") != 0;
}

// Shows the box; false when there is no display or font to show it with.
bool ShowBox(const char16_t* text, const char16_t* caption) {
    if (!OnADisplay()) return false;
    const Layout layout = LayOut(text, caption);
    if (layout.lines.front().rows.empty()) return false;  // no font: nothing readable to show

    // The window surface in plain X memory, not through an OpenGL renderer:
    // the box may be reporting that OpenGL failed, and SDL would remake the
    // window for one, dropping the name set below.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // As on Windows, the click that brings the box to the front also presses
    // its button; SDL would drop a click that comes within 10 ms of the focus.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    const std::string title = Utf8FromUtf16(caption, Length(caption));
    SDL_Window* window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, layout.width,
                                          layout.height, SDL_WINDOW_HIDDEN);
    if (window == nullptr) return false;
    SetUtf8WindowName(window, title);
    SDL_ShowWindow(window);
    Paint(window, layout);
    SDL_RaiseWindow(window);
    RunBox(window, layout);
    SDL_DestroyWindow(window);
    return true;
}

// With no font to draw our box's text, the player would see nothing at all:
// SDL's own box, in English (on X11 it draws with the server's core fonts,
// which have no Chinese), says what went wrong and which font is missing.
// Both lines also go to standard error, where `said` already is.
void ShowEnglishBox(const std::string& said) {
    const std::string noFont = "kolvex: " + GameFontFailure();
    std::fprintf(stderr, "%s\n", noFont.c_str());
    const std::string message = said.empty() ? noFont : said + "\n" + noFont;
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, kEnglishTitle, message.c_str(), nullptr);
}

}  // namespace

void ShowMessageBoxSdl(const char16_t* text, const char16_t* caption, const std::string& said) {
    const bool videoWasUp = SDL_WasInit(SDL_INIT_VIDEO) != 0;
    const bool videoUp = videoWasUp || SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    const bool fontWasOpen = GameFontOpen();
    const bool fontOpen = videoUp && OpenGameFont();
    const bool shown = fontOpen && ShowBox(text, caption);
    if (!shown) {
        const std::string line =
            Utf8FromUtf16(caption, Length(caption)) + ": " + Utf8FromUtf16(text, Length(text)) + "\n";
        std::fputs(line.c_str(), stderr);
        if (videoUp && !fontOpen && OnADisplay()) ShowEnglishBox(said);
    }
    if (!fontWasOpen) CloseGameFont();
    if (videoUp && !videoWasUp) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}
