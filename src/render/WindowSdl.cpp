// The native game window: what it implements of Window.h and ProblemBox.h,
// with an SDL2 window, a legacy OpenGL context and the game's icon, failures
// reported with the Windows build's texts and captions, its events turned into
// the game's steps, and what only this side has: the picture fitted to any
// window size or full screen (Alt+Enter, F11) and its own frame pace where the
// driver gives no vsync. Lacks nothing of the seams. Main thread only.
#include "render/WindowSdl.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <optional>
#include <string>

#include "app/ControllerSdl.h"
#include "app/KeyTableSdl.h"
#include "app/Picture.h"
#include "app/Steps.h"
#include "app/TickSchedule.h"
#include "render/GL.h"
#include "render/Language.h"
#include "render/MessageBoxSdl.h"
#include "render/Render.h"
#include "render/StartupReportSdl.h"
#include "render/TextSdl.h"
#include "state/GameState.h"

// The game's icon file as the art generator makes it, carried inside the program.
extern const unsigned char kolvexIcon[];
extern const std::size_t kolvexIconSize;

namespace {

constexpr char kClassName[] = "kvtn";
constexpr char kTitle[] = "Kolvex";
constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kIconSide = 48;
// The smallest client area: below 640 x 480 the 14-pixel text, scaled with
// the picture, gets too small to read.
constexpr int kMinimumWidth = 640;
constexpr int kMinimumHeight = 480;

bool videoStarted = false;
SDL_Window* window = nullptr;
SDL_GLContext context = nullptr;
// As the focus events last said: a window manager may leave the focus on a
// window while it is minimised, and then sends no focus event on restore.
bool holdsFocus = false;
bool minimised = false;

using Clock = std::chrono::steady_clock;

// Where the driver gives no vsync (a virtual machine, a remote desktop, a
// software rasteriser), frames come at most at the display's rate from a
// wait of our own, not as fast as the processor can draw. Zero: not paced.
Clock::duration framePeriod{};
Clock::time_point nextFrame{};
// The performance scripts measure how fast frames can be drawn: with pacing
// off, every pass draws.
bool unpaced = false;

// A frame is drawn only when the picture changed: `shown` is the record the
// one on the screen was drawn from, `passStart` the record before this
// pass's input, and `pictureLost` says the window needs a frame whatever the
// record (exposed, resized, restored, another display).
GameState shown{};
GameState passStart{};
bool pictureLost = true;
std::uint64_t framesDrawn = 0;
// The X connection the wait watches; -1 where there is none (Wayland), and
// the wait then naps.
int xConnection = -1;

// `call` is the SDL step that failed, named in the English line.
bool Fail(const char16_t* text, const char* call) {
    // SDL's reason, before the tear-down's own calls can replace it.
    const std::string reason = SDL_GetError();
    KillGLWindow();
    ReportWindowFailure(call, reason.c_str());
    ShowProblem(text);
    return false;
}

std::uint32_t ReadLittle(const unsigned char* bytes, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) value = value << 8 | bytes[i];
    return value;
}

// The 48-pixel image of the icon file: a 32-bit DIB, rows bottom-up, blue,
// green, red, alpha, twice its height (the unused AND mask follows).
SDL_Surface* LoadIcon() {
    const unsigned char* file = kolvexIcon;
    const std::size_t size = kolvexIconSize;
    if (size < 6) return nullptr;
    const std::uint32_t count = ReadLittle(file + 4, 2);
    for (std::uint32_t i = 0; i < count && 6 + 16 * (i + 1) <= size; ++i) {
        const unsigned char* entry = file + 6 + 16 * i;
        const std::uint32_t bytes = ReadLittle(entry + 8, 4);
        const std::uint32_t offset = ReadLittle(entry + 12, 4);
        if (entry[0] != kIconSide || entry[1] != kIconSide || offset > size || bytes > size - offset) continue;
        const unsigned char* dib = file + offset;
        const std::size_t pixelBytes = std::size_t(kIconSide) * kIconSide * 4;
        if (bytes < 40 + pixelBytes || ReadLittle(dib, 4) != 40 || ReadLittle(dib + 14, 2) != 32) continue;
        SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormat(0, kIconSide, kIconSide, 32, SDL_PIXELFORMAT_BGRA32);
        if (icon == nullptr) return nullptr;
        auto* pixels = static_cast<unsigned char*>(icon->pixels);
        for (int row = 0; row < kIconSide; ++row)
            std::memcpy(pixels + row * icon->pitch, dib + 40 + (kIconSide - 1 - row) * kIconSide * 4, kIconSide * 4);
        return icon;
    }
    return nullptr;
}

// The 800 x 600 picture at the largest 4:3 size the drawable area holds,
// centred; the frame's clear leaves the rest black. The scene is projected
// for that rectangle, so it is drawn at the screen's own resolution, and the
// text is rasterised to match.
void FitPicture() {
    int width = kWidth;
    int height = kHeight;
    SDL_GL_GetDrawableSize(window, &width, &height);
    if (width <= 0 || height <= 0) return;
    int fittedWidth = width;
    int fittedHeight = int(std::int64_t{width} * kHeight / kWidth);
    if (fittedHeight > height) {
        fittedHeight = height;
        fittedWidth = int(std::int64_t{height} * kWidth / kHeight);
    }
    ResizeScene(fittedWidth, fittedHeight);
    glViewport((width - fittedWidth) / 2, (height - fittedHeight) / 2, fittedWidth, fittedHeight);
    SetTextScale(double(fittedHeight) / kHeight);
}

// Alt+Enter and F11 switch between the window and desktop full screen; the
// game never sees them. SDL gives the window back its size and place.
bool IsFullScreenToggle(const SDL_KeyboardEvent& key) {
    const SDL_Keycode sym = key.keysym.sym;
    const bool alt = (key.keysym.mod & KMOD_ALT) != 0 && (key.keysym.mod & (KMOD_CTRL | KMOD_GUI)) == 0;
    return sym == SDLK_F11 || (alt && (sym == SDLK_RETURN || sym == SDLK_KP_ENTER));
}

void ToggleFullScreen() {
    const bool full = (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP) == SDL_WINDOW_FULLSCREEN_DESKTOP;
    SDL_SetWindowFullscreen(window, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
}

// The performance scripts measure how fast frames can be drawn, so they
// turn the pacing off.
void PaceFramesAtDisplayRate() {
    if (unpaced) return;
    SDL_DisplayMode mode{};
    const int display = SDL_GetWindowDisplayIndex(window);
    const bool known = display >= 0 && SDL_GetCurrentDisplayMode(display, &mode) == 0;
    // Taken again when the window moves to another display: the next
    // deadline is the new period after the last one.
    framePeriod = FramePeriod(known ? mode.refresh_rate : 0);
}

// The display under the window changed, or its set of displays did.
void FollowDisplay() {
    if (framePeriod != Clock::duration::zero()) PaceFramesAtDisplayRate();
    pictureLost = true;
}

int XConnectionOf(SDL_Window* of) {
#if defined(SDL_VIDEO_DRIVER_X11)
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(of, &info) == SDL_TRUE && info.subsystem == SDL_SYSWM_X11)
        return ConnectionNumber(info.info.x11.display);
#else
    (void)of;
#endif
    return -1;
}

}  // namespace

// The English line the start-up report last wrote goes with the box: where
// the box cannot draw its text, SDL's own box shows that line instead.
// The box's texts are written in the game's own language where they are
// called for, and shown in the player's.
void ShowProblem(const char16_t* text) {
    const std::string said = TakeReportedLine();
    // TRANSLATORS: the title of the box that reports a failed start (or end)
    // of the game, as in "Kolvex may have a problem".
    const std::u16string_view caption = LocalText(u"\"Kolvex\"可能存在一些问题");
    ShowMessageBoxSdl(LocalText(text).data(), caption.data(), said);
}

void ShowWarning(const char16_t* text) {
    const std::string said = TakeReportedLine();
    // TRANSLATORS: the title of the box that reports damaged or missing game
    // data, as in "Kolvex warning!".
    const std::u16string_view caption = LocalText(u"\"Kolvex\" 警告!");
    ShowMessageBoxSdl(LocalText(text).data(), caption.data(), said);
}

bool CreateGLWindow() {
    // SDL 2.26 takes the X11 class from the environment only, and only at start.
    setenv("SDL_VIDEO_X11_WMCLASS", kClassName, 1);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        // TRANSLATORS: a start-up failure's box: no window could be opened at
        // all ("registering the window failed, program error.").
        return Fail(u"注册窗口失败,程序错误.", "SDL_InitSubSystem(SDL_INIT_VIDEO)");
    videoStarted = true;
    // The game opens nothing dropped on it, and SDL would hand each drop over
    // as a string for us to free.
    for (Uint32 drop : {SDL_DROPFILE, SDL_DROPTEXT, SDL_DROPBEGIN, SDL_DROPCOMPLETE}) SDL_EventState(drop, SDL_IGNORE);

    // Minimum sizes and no version or profile: a legacy context, as the
    // Windows pixel format asks for.
    if (SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 5) != 0 || SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 6) != 0 ||
        SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 5) != 0 || SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16) != 0 ||
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1) != 0)
        // TRANSLATORS: a start-up failure's box: the display offers no
        // suitable pixel format ("cannot set the pixel format, program error.").
        return Fail(u"不能设置像素格式,程序错误.", "SDL_GL_SetAttribute");

    // Drawn at the display's own density where it has more than one pixel a
    // point (a page's canvas, a scaled Wayland output): the picture fits the
    // drawable, so it stays sharp rather than stretched.
    window = SDL_CreateWindow(kTitle, 0, 0, kWidth, kHeight,
                              SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
    // TRANSLATORS: a start-up failure's box ("cannot create the window,
    // program error.").
    if (window == nullptr) return Fail(u"不能创建窗口,程序错误.", "SDL_CreateWindow");
    SDL_SetWindowMinimumSize(window, kMinimumWidth, kMinimumHeight);
    if (SDL_Surface* icon = LoadIcon()) {
        SDL_SetWindowIcon(window, icon);
        SDL_FreeSurface(icon);
    }

    context = SDL_GL_CreateContext(window);
    // TRANSLATORS: a start-up failure's box: no OpenGL context ("cannot create
    // the OpenGL rendering context, program error.").
    if (context == nullptr) return Fail(u"不能创建OpenGL渲染描述,程序错误.", "SDL_GL_CreateContext");
    if (SDL_GL_MakeCurrent(window, context) != 0)
        // TRANSLATORS: a start-up failure's box ("cannot activate the current
        // rendering context, program error.").
        return Fail(u"不能激活当前的渲染描述表,程序错误.", "SDL_GL_MakeCurrent");

    // Frames at the display's pace: adaptive vsync where the driver has it,
    // else plain vsync, else our own pacing. Not getting vsync is no failure.
    framePeriod = {};
    nextFrame = {};
    const char* unpacedSetting = SDL_getenv("KOLVEX_UNPACED_FRAMES");
    unpaced = unpacedSetting != nullptr && *unpacedSetting != '\0' && *unpacedSetting != '0';
    pictureLost = true;
    xConnection = XConnectionOf(window);
    if (SDL_GL_SetSwapInterval(-1) != 0 && SDL_GL_SetSwapInterval(1) != 0) PaceFramesAtDisplayRate();

    SDL_RaiseWindow(window);
    // Keys are all the game reads: no composition, no text events.
    SDL_StopTextInput();
    // From the drawable, which a high-density canvas makes larger than the
    // window from the start, with no size event to say so.
    FitPicture();
    if (InitGL() == 0) {
        KillGLWindow();
        ReportAssetFailure();
        // TRANSLATORS: the box shown when the game's data (data.qv beside the
        // program) is missing or damaged ("cannot set up the OpenGL program,
        // or the program is damaged!").
        ShowWarning(u"不能初始化OpenGL程序或者程序被破坏!");
        return false;
    }
    return true;
}

void KillGLWindow() {
    SetTextScale(1.0);  // a message box after this shows the font at its own size
    if (context != nullptr) {
        if (SDL_GL_MakeCurrent(window, nullptr) != 0) {
            ReportWindowFailure("SDL_GL_MakeCurrent(window, NULL)", SDL_GetError());
            // TRANSLATORS: a box at the game's end, when its drawing context
            // cannot be let go ("releasing the DC or RC failed, press OK to
            // go on.").
            ShowProblem(u"释放DC或RC失败,请按确定后继续.");
        }
        SDL_GL_DeleteContext(context);
        context = nullptr;
    }
    if (window != nullptr) {
        SDL_DestroyWindow(window);
        window = nullptr;
    }
    holdsFocus = false;
    minimised = false;
    if (videoStarted) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        videoStarted = false;
    }
}

void HandleWindowEvent(const SDL_Event& event) {
    switch (event.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            if (IsFullScreenToggle(event.key)) {
                if (event.type == SDL_KEYDOWN && event.key.repeat == 0) ToggleFullScreen();
                pictureLost = true;
                break;
            }
            const SDL_Keysym& key = event.key.keysym;
            const std::uint8_t virtualKey = VirtualKeyFromSdl(key.sym, key.scancode, key.mod);
            // An auto-repeat (event.key.repeat) is a press like any other.
            if (!IsSystemKeySdl(virtualKey, key.mod)) KeyStep(virtualKey, event.type == SDL_KEYDOWN);
            break;
        }
        case SDL_WINDOWEVENT:
            switch (event.window.event) {
                case SDL_WINDOWEVENT_SIZE_CHANGED:
                    FitPicture();
                    pictureLost = true;
                    break;
                case SDL_WINDOWEVENT_EXPOSED:
                case SDL_WINDOWEVENT_SHOWN:
                case SDL_WINDOWEVENT_MAXIMIZED:
                    pictureLost = true;
                    break;
                case SDL_WINDOWEVENT_FOCUS_GAINED:
                    holdsFocus = true;
                    FocusStep(true);
                    break;
                case SDL_WINDOWEVENT_RESTORED:
                    // The pause that minimising made ends here where no focus
                    // event is coming (restoring from maximised changes nothing).
                    if (minimised && holdsFocus) FocusStep(true);
                    minimised = false;
                    pictureLost = true;
                    break;
                case SDL_WINDOWEVENT_MINIMIZED:  // paused even where the focus stays
                    minimised = true;
                    FocusStep(false);
                    break;
                case SDL_WINDOWEVENT_FOCUS_LOST:
                    holdsFocus = false;
                    FocusStep(false);
                    break;
                case SDL_WINDOWEVENT_CLOSE:
                    // The window manager's close button, Alt+F4 on a desktop.
                    QuitStep(0);
                    break;
                case SDL_WINDOWEVENT_DISPLAY_CHANGED:
                    FollowDisplay();
                    break;
                default:
                    break;
            }
            break;
        case SDL_DISPLAYEVENT:
            FollowDisplay();
            break;
        case SDL_CONTROLLERDEVICEADDED:
        case SDL_CONTROLLERDEVICEREMOVED:
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
        case SDL_CONTROLLERAXISMOTION:
            HandleControllerEvent(event);
            break;
        case SDL_QUIT:
            QuitStep(0);
            break;
        default:
            break;
    }
}

PassFacts PassFactsNow() {
    return {framesDrawn, framePeriod};
}

bool WindowShowing() {
    return window != nullptr && (SDL_GetWindowFlags(window) & (SDL_WINDOW_HIDDEN | SDL_WINDOW_MINIMIZED)) == 0;
}

void BeginPass() {
    std::lock_guard<std::mutex> hold(gameStateLock);
    passStart = gameState;
}

std::optional<Clock::time_point> DrawPass() {
    if (unpaced) {
        DrawFrameStep();
        SDL_GL_SwapWindow(window);
        ++framesDrawn;
        return Clock::now();
    }
    bool byInput = false;
    bool changed = false;
    {
        std::lock_guard<std::mutex> hold(gameStateLock);
        byInput = PictureDiffers(passStart, gameState);
        changed = byInput || PictureDiffers(shown, gameState);
    }
    const bool paced = framePeriod != Clock::duration::zero();
    Clock::time_point now = Clock::now();
    const bool due = !paced || nextFrame == Clock::time_point{} || now >= nextFrame;
    // A key's or a pad's change is drawn at once, a tick's at the pace.
    if (pictureLost || byInput || (changed && due)) {
        DrawFrameStep(&shown);
        SDL_GL_SwapWindow(window);  // not holding the lock: the timer thread runs on
        ++framesDrawn;
        pictureLost = false;
        now = Clock::now();
        nextFrame = paced && due && !byInput && nextFrame != Clock::time_point{}
                        ? NextTickDue(nextFrame, framePeriod, now)
                        : now + framePeriod;
        changed = false;
    }
    // A change whose frame is not due yet waits for it; else for anything.
    return changed ? std::optional<Clock::time_point>(nextFrame) : std::nullopt;
}

int WindowXConnection() {
    return xConnection;
}
