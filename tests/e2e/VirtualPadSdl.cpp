// A test library preloaded into the native kolvex: a virtual game controller
// that e2e.py drives by appending lines to the file named by
// KOLVEX_PAD_COMMANDS. Each SDL_PollEvent or SDL_PumpEvents call of the
// game's main thread (the loop pumps while it waits) applies at most one new
// line, then counts it in that file's ".applied".
#include <SDL.h>
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

SDL_Joystick* pad = nullptr;
long readUpTo = 0;  // bytes of the command file already applied
int applied = 0;

// The next whole line after what was applied, if there is one.
bool NextLine(const char* path, char* line, int size) {
    std::FILE* file = std::fopen(path, "r");
    if (file == nullptr) return false;
    const bool whole =
        std::fseek(file, readUpTo, SEEK_SET) == 0 && std::fgets(line, size, file) && std::strchr(line, '\n');
    std::fclose(file);
    if (whole) readUpTo += long(std::strlen(line));
    return whole;
}

int DeviceIndexOf(SDL_Joystick* joystick) {
    for (int i = 0; i < SDL_NumJoysticks(); ++i)
        if (SDL_JoystickGetDeviceInstanceID(i) == SDL_JoystickInstanceID(joystick)) return i;
    return -1;
}

// attach | button N 0/1 | axis N VALUE | detach
void Apply(const char* line) {
    char what[16] = {};
    int which = 0;
    int value = 0;
    if (std::sscanf(line, "%15s %d %d", what, &which, &value) < 1) return;
    if (std::strcmp(what, "attach") == 0 && pad == nullptr) {
        const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                                    SDL_CONTROLLER_BUTTON_MAX, 0);
        if (index >= 0) pad = SDL_JoystickOpen(index);
        if (pad == nullptr) std::fprintf(stderr, "virtual pad: %s\n", SDL_GetError());
    } else if (pad == nullptr) {
        std::fprintf(stderr, "virtual pad: %s without a pad\n", what);
    } else if (std::strcmp(what, "button") == 0) {
        SDL_JoystickSetVirtualButton(pad, which, Uint8(value));
    } else if (std::strcmp(what, "axis") == 0) {
        SDL_JoystickSetVirtualAxis(pad, which, Sint16(value));
    } else if (std::strcmp(what, "detach") == 0) {
        const int index = DeviceIndexOf(pad);
        SDL_JoystickClose(pad);
        pad = nullptr;
        SDL_JoystickDetachVirtual(index);
    }
}

// One line a call: SDL turns the pad's new state into events as it polls,
// so a press and its release in one call would be no event at all.
void ApplyNextCommand() {
    const char* path = std::getenv("KOLVEX_PAD_COMMANDS");
    char line[128];
    if (path == nullptr || !NextLine(path, line, sizeof line)) return;
    Apply(line);
    const std::string done = std::string(path) + ".applied";
    if (std::FILE* file = std::fopen(done.c_str(), "w")) {
        std::fprintf(file, "%d\n", ++applied);
        std::fclose(file);
    }
}

}  // namespace

extern "C" int SDL_PollEvent(SDL_Event* event) {
    static const auto real = reinterpret_cast<int (*)(SDL_Event*)>(dlsym(RTLD_NEXT, "SDL_PollEvent"));
    ApplyNextCommand();
    return real(event);
}

extern "C" void SDL_PumpEvents() {
    static const auto real = reinterpret_cast<void (*)()>(dlsym(RTLD_NEXT, "SDL_PumpEvents"));
    ApplyNextCommand();
    real();
}
