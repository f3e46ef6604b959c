// Game controllers on the native build: what it implements of Controllers.h,
// with SDL's GameController devices (its own mapping database, and
// SDL_GAMECONTROLLERCONFIG, which SDL reads itself) as the keys a keyboard
// player uses. Lacks nothing of the seam; its reads come as events. All on
// the main thread; the game state is touched under its lock only.
#include "app/ControllerSdl.h"

#include <SDL.h>
#include <SDL_syswm.h>
#if defined(SDL_VIDEO_DRIVER_X11)
#include <X11/XKBlib.h>
#endif

#include <algorithm>

#include "app/ControllerHolds.h"

namespace {

// What a keyboard does when its display does not say (Wayland, no Xkb).
constexpr RepeatRate kUsualRepeat{std::chrono::milliseconds(500), std::chrono::milliseconds(33)};

bool started = false;
std::vector<SDL_GameController*> pads;
ControllerHolds holds(kUsualRepeat);

// The keyboard's own delay and rate, so that a held button repeats as a held
// key does on this desktop. Xlib is already loaded with SDL; it is looked up
// rather than linked.
RepeatRate ReadKeyboardRepeat() {
#if defined(SDL_VIDEO_DRIVER_X11)
    SDL_Window* window = SDL_GL_GetCurrentWindow();
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window == nullptr || SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11)
        return kUsualRepeat;
    void* xlib = SDL_LoadObject("libX11.so.6");
    if (xlib == nullptr) return kUsualRepeat;
    auto getRate = reinterpret_cast<decltype(&XkbGetAutoRepeatRate)>(SDL_LoadFunction(xlib, "XkbGetAutoRepeatRate"));
    unsigned int delay = 0;
    unsigned int interval = 0;
    const bool read = getRate != nullptr && getRate(info.info.x11.display, XkbUseCoreKbd, &delay, &interval) &&
                      delay > 0 && interval > 0;
    SDL_UnloadObject(xlib);
    if (read) return {std::chrono::milliseconds(delay), std::chrono::milliseconds(interval)};
#endif
    return kUsualRepeat;
}

// The buttons the game uses; the others, the right stick and the triggers do nothing.
constexpr struct {
    SDL_GameControllerButton button;
    PadInput input;
} kButtons[] = {
    {SDL_CONTROLLER_BUTTON_A, PadInput::South},
    {SDL_CONTROLLER_BUTTON_B, PadInput::East},
    {SDL_CONTROLLER_BUTTON_X, PadInput::West},
    {SDL_CONTROLLER_BUTTON_START, PadInput::Start},
    {SDL_CONTROLLER_BUTTON_BACK, PadInput::Back},
    {SDL_CONTROLLER_BUTTON_DPAD_UP, PadInput::PadUp},
    {SDL_CONTROLLER_BUTTON_DPAD_DOWN, PadInput::PadDown},
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, PadInput::PadLeft},
    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, PadInput::PadRight},
};

bool InputOfButton(Uint8 button, PadInput& input) {
    for (const auto& mapped : kButtons) {
        if (mapped.button == button) {
            input = mapped.input;
            return true;
        }
    }
    return false;
}

bool StillDown(PadId id, PadInput input) {
    SDL_GameController* pad = SDL_GameControllerFromInstanceID(id);
    if (pad == nullptr) return false;
    for (const auto& mapped : kButtons)
        if (mapped.input == input) return SDL_GameControllerGetButton(pad, mapped.button) != 0;
    const bool across = input == PadInput::StickLeft || input == PadInput::StickRight;
    const int value = SDL_GameControllerGetAxis(pad, across ? SDL_CONTROLLER_AXIS_LEFTX : SDL_CONTROLLER_AXIS_LEFTY);
    // SDL's stick counts down and right as positive.
    const int direction = input == PadInput::StickRight || input == PadInput::StickDown ? 1 : -1;
    return StickDirection(value, direction) == direction;
}

void OpenPad(int deviceIndex) {
    const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(deviceIndex);
    for (SDL_GameController* pad : pads)
        if (SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad)) == id) return;
    if (SDL_GameController* pad = SDL_GameControllerOpen(deviceIndex)) pads.push_back(pad);
}

void ClosePad(SDL_JoystickID id) {
    UnmarkPadCodes(holds.ReleasePad(id));
    auto gone = std::find_if(pads.begin(), pads.end(), [id](SDL_GameController* pad) {
        return SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad)) == id;
    });
    if (gone == pads.end()) return;
    SDL_GameControllerClose(*gone);
    pads.erase(gone);
}

}  // namespace

void OpenControllers() {
    holds = ControllerHolds(ReadKeyboardRepeat());
    // Without controller support the keyboard still plays.
    started = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
    if (!started) return;
    // SDL also announces these as added; opening twice is harmless.
    for (int i = 0; i < SDL_NumJoysticks(); ++i)
        if (SDL_IsGameController(i)) OpenPad(i);
}

void CloseControllers() {
    holds.ReleaseAll();
    for (SDL_GameController* pad : pads) SDL_GameControllerClose(pad);
    pads.clear();
    if (started) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    started = false;
}

void HandleControllerEvent(const SDL_Event& event) {
    PadInput input{};
    switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED:
            OpenPad(event.cdevice.which);
            break;
        case SDL_CONTROLLERDEVICEREMOVED:
            ClosePad(event.cdevice.which);
            break;
        case SDL_CONTROLLERBUTTONDOWN:
            if (InputOfButton(event.cbutton.button, input))
                PressPadInput(holds, event.cbutton.which, input, PadClock::now());
            break;
        case SDL_CONTROLLERBUTTONUP:
            if (InputOfButton(event.cbutton.button, input)) ReleasePadInput(holds, event.cbutton.which, input);
            break;
        case SDL_CONTROLLERAXISMOTION:
            if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX)
                MovePadStick(holds, event.caxis.which, PadInput::StickLeft, PadInput::StickRight, event.caxis.value,
                             PadClock::now());
            if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY)
                MovePadStick(holds, event.caxis.which, PadInput::StickUp, PadInput::StickDown, event.caxis.value,
                             PadClock::now());
            break;
        default:
            break;
    }
}

void PollControllers() {
    RunPadRepeat(holds, PadClock::now());
}

bool ControllersOpen() {
    return !pads.empty();
}

std::optional<PadClock::time_point> NextControllerRepeat() {
    return holds.NextRepeat();
}

void ForgetControllerInputs() {
    UnmarkPadCodes(holds.Suspend());
}

// SDL keeps a pad's presses from a window without the focus out of its state
// (its releases come through), so what reads as down now was held all along.
void ResumeControllerInputs() {
    PressStillHeld(holds, StillDown, PadClock::now());
}
