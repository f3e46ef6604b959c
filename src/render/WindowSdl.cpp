// The native game window: SDL2 window, legacy OpenGL context and the game's
// icon, failures reported with the Windows build's texts and captions, the
// events that WindowProc's seven messages stand for, and the picture fitted
// to any window size or full screen. Main thread only; key events and frames
// hold the lock.
#include "render/WindowSdl.h"

#include <SDL.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

#include "app/ControllerSdl.h"
#include "app/KeyTableSdl.h"
#include "app/Keys.h"
#include "render/GL.h"
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

// Where the driver gives no vsync (a virtual machine, a remote desktop, a
// software rasteriser), frames come at the display's rate from a sleep of
// our own, not as fast as the processor can draw a still menu. 0: not paced.
Uint64 framePeriod = 0;
Uint64 nextFrame = 0;

// `call` is the SDL step that failed, named in the English line.
bool Fail(const char16_t* text, const char* call) {
    // SDL's reason, before the tear-down's own calls can replace it.
    const std::string reason = SDL_GetError();
    KillGLWindow();
    ShowProblem(text, ReportWindowFailure(call, reason.c_str()));
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
    const char* unpaced = SDL_getenv("KOLVEX_UNPACED_FRAMES");
    if (unpaced != nullptr && *unpaced != '\0' && *unpaced != '0') return;
    int rate = 60;  // what a display that reports none most likely runs at
    SDL_DisplayMode mode{};
    const int display = SDL_GetWindowDisplayIndex(window);
    if (display >= 0 && SDL_GetCurrentDisplayMode(display, &mode) == 0 && mode.refresh_rate > 0)
        rate = mode.refresh_rate;
    framePeriod = SDL_GetPerformanceFrequency() / Uint64(rate);
    nextFrame = 0;
}

// Sleeps until the next frame is due. Deadlines follow each other a period
// apart, so millisecond sleeps still average the exact rate; a frame that
// came late starts the count again instead of hurrying the ones after it.
void WaitForFrameDue() {
    if (framePeriod == 0) return;
    const Uint64 now = SDL_GetPerformanceCounter();
    nextFrame = nextFrame == 0 ? now + framePeriod : nextFrame + framePeriod;
    if (nextFrame <= now) {
        nextFrame = now;
        return;
    }
    SDL_Delay(Uint32((nextFrame - now) * 1000 / SDL_GetPerformanceFrequency()));
}

void SetFocusFlags(bool active) {
    std::lock_guard<std::mutex> hold(gameStateLock);
    gameState.windowInactive = !active;
    if (active) gameState.spinAngle = 0.0f;
    // A key let go while another window has the focus sends us no key-up:
    // left marked, it would act on every later press.
    if (!active) std::memset(gameState.keyDown, 0, sizeof gameState.keyDown);
}

}  // namespace

void ShowProblem(const char16_t* text, const std::string& said) {
    ShowMessageBoxSdl(text, u"\"Kolvex\"可能存在一些问题", said);
}

void ShowWarning(const char16_t* text, const std::string& said) {
    ShowMessageBoxSdl(text, u"\"Kolvex\" 警告!", said);
}

bool CreateGLWindow() {
    // SDL 2.26 takes the X11 class from the environment only, and only at start.
    setenv("SDL_VIDEO_X11_WMCLASS", kClassName, 1);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
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
        return Fail(u"不能设置像素格式,程序错误.", "SDL_GL_SetAttribute");

    window =
        SDL_CreateWindow(kTitle, 0, 0, kWidth, kHeight, SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN | SDL_WINDOW_RESIZABLE);
    if (window == nullptr) return Fail(u"不能创建窗口,程序错误.", "SDL_CreateWindow");
    SDL_SetWindowMinimumSize(window, kMinimumWidth, kMinimumHeight);
    if (SDL_Surface* icon = LoadIcon()) {
        SDL_SetWindowIcon(window, icon);
        SDL_FreeSurface(icon);
    }

    context = SDL_GL_CreateContext(window);
    if (context == nullptr) return Fail(u"不能创建OpenGL渲染描述,程序错误.", "SDL_GL_CreateContext");
    if (SDL_GL_MakeCurrent(window, context) != 0)
        return Fail(u"不能激活当前的渲染描述表,程序错误.", "SDL_GL_MakeCurrent");

    // Frames at the display's pace: adaptive vsync where the driver has it,
    // else plain vsync, else our own pacing. Not getting vsync is no failure.
    framePeriod = 0;
    if (SDL_GL_SetSwapInterval(-1) != 0 && SDL_GL_SetSwapInterval(1) != 0) PaceFramesAtDisplayRate();

    SDL_RaiseWindow(window);
    // Keys are all the game reads: no composition, no text events.
    SDL_StopTextInput();
    ResizeScene(kWidth, kHeight);
    if (InitGL() == 0) {
        KillGLWindow();
        ShowWarning(u"不能初始化OpenGL程序或者程序被破坏!", ReportAssetFailure());
        return false;
    }
    return true;
}

void KillGLWindow() {
    SetTextScale(1.0);  // a message box after this shows the font at its own size
    if (context != nullptr) {
        if (SDL_GL_MakeCurrent(window, nullptr) != 0)
            ShowProblem(u"释放DC或RC失败,请按确定后继续.",
                        ReportWindowFailure("SDL_GL_MakeCurrent(window, NULL)", SDL_GetError()));
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

std::uintptr_t HandleWindowEvent(const SDL_Event& event) {
    switch (event.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            if (IsFullScreenToggle(event.key)) {
                if (event.type == SDL_KEYDOWN && event.key.repeat == 0) ToggleFullScreen();
                return 0;
            }
            const SDL_Keysym& key = event.key.keysym;
            const std::uint8_t virtualKey = VirtualKeyFromSdl(key.sym, key.scancode, key.mod);
            if (IsSystemKeySdl(virtualKey, key.mod)) return virtualKey;
            std::lock_guard<std::mutex> hold(gameStateLock);
            // An auto-repeat (event.key.repeat) is a press like any other.
            const bool down = event.type == SDL_KEYDOWN;
            if (MarkKey(virtualKey, down) && down) HandleKeys();
            return virtualKey;
        }
        case SDL_WINDOWEVENT:
            switch (event.window.event) {
                case SDL_WINDOWEVENT_SIZE_CHANGED:
                    FitPicture();
                    break;
                case SDL_WINDOWEVENT_FOCUS_GAINED:
                    holdsFocus = true;
                    SetFocusFlags(true);
                    break;
                case SDL_WINDOWEVENT_RESTORED:
                    // The pause that minimising made ends here where no focus
                    // event is coming (restoring from maximised changes nothing).
                    if (minimised && holdsFocus) SetFocusFlags(true);
                    minimised = false;
                    break;
                case SDL_WINDOWEVENT_MINIMIZED:  // paused even where the focus stays
                    minimised = true;
                    SetFocusFlags(false);
                    ForgetControllerInputs();
                    break;
                case SDL_WINDOWEVENT_FOCUS_LOST:
                    holdsFocus = false;
                    SetFocusFlags(false);
                    ForgetControllerInputs();
                    break;
                case SDL_WINDOWEVENT_CLOSE:
                    // The window manager's close button, Alt+F4 on a desktop.
                    RequestQuit();
                    break;
                default:
                    break;
            }
            return 0;
        case SDL_CONTROLLERDEVICEADDED:
        case SDL_CONTROLLERDEVICEREMOVED:
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
        case SDL_CONTROLLERAXISMOTION:
            return HandleControllerEvent(event);
        case SDL_QUIT:
            RequestQuit();
            return 0;
        default:
            return 0;
    }
}

bool WindowShowing() {
    return window != nullptr && (SDL_GetWindowFlags(window) & (SDL_WINDOW_HIDDEN | SDL_WINDOW_MINIMIZED)) == 0;
}

void PresentFrame() {
    {
        std::lock_guard<std::mutex> hold(gameStateLock);
        DrawFrame();
    }
    SDL_GL_SwapWindow(window);
    WaitForFrameDue();  // not holding the lock: the timer thread runs on meanwhile
}
