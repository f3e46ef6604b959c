// The controllers' bookkeeping: which inputs are held, the codes they
// hold, and when the held input repeats. Kept apart from the devices and the
// game state so that it can be tested without either; used by ControllerSdl.cpp.
#include <algorithm>

#include "app/ControllerSdl.h"
#include "app/TimerThreadSdl.h"

namespace {

// Past half way a stick points; it lets go again inside about a third.
constexpr int kStickPoints = 16384;
constexpr int kStickLetsGo = 11000;

}  // namespace

int StickDirection(int value, int before) {
    if (value >= kStickPoints) return 1;
    if (value <= -kStickPoints) return -1;
    if (before > 0 && value > kStickLetsGo) return 1;
    if (before < 0 && value < -kStickLetsGo) return -1;
    return 0;
}

bool PadHolds::Press(SDL_JoystickID pad, PadInput input, std::uint8_t code, PadClock::time_point now) {
    if (Holds(pad, input)) return false;
    holds_.push_back({pad, input, code});
    // As on a keyboard, only the latest press repeats.
    lead_ = holds_.back();
    repeating_ = true;
    due_ = now + rate_.delay;
    return true;
}

std::uint8_t PadHolds::Release(SDL_JoystickID pad, PadInput input) {
    auto held = std::find_if(holds_.begin(), holds_.end(),
                             [&](const Hold& hold) { return hold.pad == pad && hold.input == input; });
    if (held == holds_.end()) return 0;
    const std::uint8_t code = held->code;
    holds_.erase(held);
    // Letting go of the repeating input stops repeats, even with others held.
    if (lead_.pad == pad && lead_.input == input) repeating_ = false;
    return CodeHeld(code) ? 0 : code;
}

std::vector<std::uint8_t> PadHolds::ReleasePad(SDL_JoystickID pad) {
    std::vector<std::uint8_t> released;
    for (std::size_t i = holds_.size(); i-- > 0;) {
        if (holds_[i].pad != pad) continue;
        if (const std::uint8_t code = Release(pad, holds_[i].input)) released.push_back(code);
    }
    return released;
}

std::vector<std::uint8_t> PadHolds::ReleaseAll() {
    std::vector<std::uint8_t> released;
    while (!holds_.empty())
        if (const std::uint8_t code = Release(holds_.back().pad, holds_.back().input)) released.push_back(code);
    return released;
}

bool PadHolds::Holds(SDL_JoystickID pad, PadInput input) const {
    return std::any_of(holds_.begin(), holds_.end(),
                       [&](const Hold& hold) { return hold.pad == pad && hold.input == input; });
}

bool PadHolds::CodeHeld(std::uint8_t code) const {
    return std::any_of(holds_.begin(), holds_.end(), [code](const Hold& hold) { return hold.code == code; });
}

std::uint8_t PadHolds::RepeatDue(PadClock::time_point now) {
    if (!repeating_ || now < due_) return 0;
    due_ = NextTickDue(due_, rate_.interval, now);
    return lead_.code;
}
