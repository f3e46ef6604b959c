// Game controllers on the Windows build: what it implements of Controllers.h,
// with XInput loaded at run time so that the game starts on any Windows (and
// under Proton, whose controllers speak XInput), mapped by the shared table as
// the Linux build maps SDL's pads. Lacks hot-plug events (XInput has none:
// empty slots are asked again once a second). All on the main thread.
#include "app/ControllerWin32.h"

#include <algorithm>

#include "state/GameState.h"

namespace {

using std::chrono::milliseconds;

constexpr auto kEmptySlotWait = std::chrono::seconds(1);

// The buttons the game uses, as XInput reports them.
constexpr struct {
    WORD bit;
    PadInput input;
} kButtons[] = {
    {XINPUT_GAMEPAD_A, PadInput::South},
    {XINPUT_GAMEPAD_B, PadInput::East},
    {XINPUT_GAMEPAD_X, PadInput::West},
    {XINPUT_GAMEPAD_START, PadInput::Start},
    {XINPUT_GAMEPAD_BACK, PadInput::Back},
    {XINPUT_GAMEPAD_DPAD_UP, PadInput::PadUp},
    {XINPUT_GAMEPAD_DPAD_DOWN, PadInput::PadDown},
    {XINPUT_GAMEPAD_DPAD_LEFT, PadInput::PadLeft},
    {XINPUT_GAMEPAD_DPAD_RIGHT, PadInput::PadRight},
};

// Newest first; 9.1.0 ships with every Windows since Vista.
constexpr const wchar_t* kLibraries[] = {L"xinput1_4.dll", L"xinput1_3.dll", L"xinput9_1_0.dll"};

XInputPads pads(nullptr, KeyboardRepeatRate(1, 31));

}  // namespace

RepeatRate KeyboardRepeatRate(UINT delaySetting, UINT speedSetting) {
    const UINT delay = std::min(delaySetting, 3u);
    const UINT speed = std::min(speedSetting, 31u);
    // Speed 0 is about 2.5 repeats a second and 31 about 30, evenly between:
    // 2.5 + speed * 27.5 / 31 a second, in tenths of a repeat to stay integral.
    const auto tenthsPerSecond = 25 + speed * 275 / 31;
    return {milliseconds(250 * (delay + 1)), std::chrono::microseconds(10'000'000 / tenthsPerSecond)};
}

std::uintptr_t XInputPads::Poll(PadClock::time_point now, HWND window, bool windowActive) {
    if (getState_ == nullptr || !windowActive || foreground_() != window) return 0;
    std::uintptr_t pressed = 0;
    bool askedEmpty = false;
    for (DWORD slot = 0; slot < XUSER_MAX_COUNT && !QuitRequested(); ++slot) {
        Slot& seen = slots_[slot];
        if (!seen.connected) {
            // At most one slow question a pass, so that no frame waits for several.
            if (now < seen.askAgain || askedEmpty) continue;
            askedEmpty = true;
        }
        XINPUT_STATE state = {};
        if (getState_(slot, &state) != ERROR_SUCCESS) {
            // Unplugged, perhaps while holding: its inputs let go.
            if (seen.connected) UnmarkPadCodes(holds_.ReleasePad(static_cast<PadId>(slot)));
            seen = Slot{};
            seen.askAgain = now + kEmptySlotWait;
            continue;
        }
        // The packet number changes whenever the pad's state does.
        if (seen.applied && state.dwPacketNumber == seen.packet) continue;
        seen.connected = seen.applied = true;
        seen.packet = state.dwPacketNumber;
        if (const std::uintptr_t code = Apply(static_cast<PadId>(slot), state.Gamepad, now)) pressed = code;
    }
    if (const std::uintptr_t code = RunPadRepeat(holds_, now)) pressed = code;
    return pressed;
}

std::uintptr_t XInputPads::Apply(PadId pad, const XINPUT_GAMEPAD& state, PadClock::time_point now) {
    // Releases first: a press evaluates the held keys, and a button let go in
    // the same read must not act once more with it.
    for (const auto& button : kButtons)
        if ((state.wButtons & button.bit) == 0 && holds_.Holds(pad, button.input))
            ReleasePadInput(holds_, pad, button.input);
    std::uintptr_t pressed = 0;
    const auto take = [&pressed](std::uintptr_t code) {
        if (code != 0) pressed = code;
    };
    // XInput's stick counts up as positive, SDL's as negative.
    take(MovePadStick(holds_, pad, PadInput::StickLeft, PadInput::StickRight, state.sThumbLX, now));
    if (!QuitRequested()) take(MovePadStick(holds_, pad, PadInput::StickDown, PadInput::StickUp, state.sThumbLY, now));
    for (const auto& button : kButtons) {
        // A press that ended the game is the last one: its code is the exit code.
        if (QuitRequested()) break;
        if ((state.wButtons & button.bit) != 0 && !holds_.Holds(pad, button.input))
            take(PressPadInput(holds_, pad, button.input, now));
    }
    return pressed;
}

void XInputPads::Forget() {
    holds_.Suspend();
    for (Slot& slot : slots_) slot.applied = false;
}

void XInputPads::Resume(PadClock::time_point now) {
    if (getState_ == nullptr) return;
    XINPUT_STATE states[XUSER_MAX_COUNT] = {};
    bool read[XUSER_MAX_COUNT] = {};
    for (DWORD slot = 0; slot < XUSER_MAX_COUNT; ++slot)
        read[slot] = slots_[slot].connected && getState_(slot, &states[slot]) == ERROR_SUCCESS;
    PressStillHeld(
        holds_,
        [&](PadId pad, PadInput input) {
            if (pad < 0 || pad >= PadId(XUSER_MAX_COUNT) || !read[pad]) return false;
            const XINPUT_GAMEPAD& state = states[pad].Gamepad;
            for (const auto& button : kButtons)
                if (button.input == input) return (state.wButtons & button.bit) != 0;
            // XInput's stick counts up and right as positive.
            const bool across = input == PadInput::StickLeft || input == PadInput::StickRight;
            const int direction = input == PadInput::StickRight || input == PadInput::StickUp ? 1 : -1;
            return StickDirection(across ? state.sThumbLX : state.sThumbLY, direction) == direction;
        },
        now);
}

void OpenControllers() {
    XInputGetStateProc getState = nullptr;
    for (const wchar_t* name : kLibraries) {
        // Never freed: XInput runs a thread of its own (Wine's watches for pads
        // coming and going) that outlives the last FreeLibrary and goes on in
        // unloaded code; under Wine that faulted at quit and started the
        // debugger. Like any system library with a thread, it stays loaded for
        // the life of the process.
        const HMODULE library = LoadLibraryW(name);
        if (library == nullptr) continue;
        // Through a plain function pointer: FARPROC's own type is not the call's.
        getState = reinterpret_cast<XInputGetStateProc>(
            reinterpret_cast<void (*)()>(GetProcAddress(library, "XInputGetState")));
        if (getState != nullptr) break;
    }
    UINT delay = 1;
    UINT speed = 31;
    SystemParametersInfoW(SPI_GETKEYBOARDDELAY, 0, &delay, 0);
    SystemParametersInfoW(SPI_GETKEYBOARDSPEED, 0, &speed, 0);
    pads = XInputPads(getState, KeyboardRepeatRate(delay, speed));
}

void CloseControllers() {
    // Nothing is read from here on; the library itself stays (OpenControllers).
    pads = XInputPads(nullptr, KeyboardRepeatRate(1, 31));
}

void PollControllers() {
    if (QuitRequested()) return;
    // Only the main thread writes the focus flag, so it reads it unlocked.
    pads.Poll(PadClock::now(), gameState.hWnd, !gameState.windowInactive);
}

void ForgetControllerInputs() {
    pads.Forget();
}

void ResumeControllerInputs() {
    pads.Resume(PadClock::now());
}
