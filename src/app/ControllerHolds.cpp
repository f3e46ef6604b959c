// The controllers' bookkeeping: which inputs are held, the codes they hold,
// when the held input repeats, and the one table of what each input means.
// Used by ControllerSdl.cpp, ControllerWin32.cpp and ControllerPresses.cpp.
#include "app/ControllerHolds.h"

#include <algorithm>
#include <utility>

#include "app/Keys.h"
#include "app/TickSchedule.h"

namespace {

// Past half way a stick points; it lets go again inside about a third.
constexpr int kStickPoints = 16384;
constexpr int kStickLetsGo = 11000;

// Which key each input is, in play and in the menu: the one mapping both
// builds read. The other buttons, the right stick and the triggers do nothing.
constexpr struct {
    PadInput input;
    std::uint8_t inPlay;
    std::uint8_t inMenu;
} kPadKeys[] = {
    {PadInput::South, kKeySpace, kKeyReturn},
    {PadInput::East, kKeyUp, kKeyUp},
    {PadInput::West, kKeyUp, kKeyUp},
    {PadInput::Start, kKeyEscape, kKeyEscape},
    {PadInput::Back, kKeyM, kKeyM},
    {PadInput::PadUp, kKeyUp, kKeyUp},
    {PadInput::PadDown, kKeyDown, kKeyDown},
    {PadInput::PadLeft, kKeyLeft, kKeyLeft},
    {PadInput::PadRight, kKeyRight, kKeyRight},
    {PadInput::StickUp, kKeyUp, kKeyUp},
    {PadInput::StickDown, kKeyDown, kKeyDown},
    {PadInput::StickLeft, kKeyLeft, kKeyLeft},
    {PadInput::StickRight, kKeyRight, kKeyRight},
};

}  // namespace

std::uint8_t KeyForPadInput(PadInput input, bool menuOpen) {
    for (const auto& mapped : kPadKeys)
        if (mapped.input == input) return menuOpen ? mapped.inMenu : mapped.inPlay;
    return 0;
}

int StickDirection(int value, int before) {
    if (value >= kStickPoints) return 1;
    if (value <= -kStickPoints) return -1;
    if (before > 0 && value > kStickLetsGo) return 1;
    if (before < 0 && value < -kStickLetsGo) return -1;
    return 0;
}

bool ControllerHolds::Press(PadId pad, PadInput input, std::uint8_t code, PadClock::time_point now) {
    if (Holds(pad, input)) return false;
    holds_.push_back({pad, input, code});
    // As on a keyboard, only the latest press repeats.
    lead_ = holds_.back();
    repeating_ = true;
    due_ = now + rate_.delay;
    return true;
}

std::uint8_t ControllerHolds::Release(PadId pad, PadInput input) {
    auto held = std::find_if(holds_.begin(), holds_.end(),
                             [&](const Hold& hold) { return hold.pad == pad && hold.input == input; });
    if (held == holds_.end()) return 0;
    const std::uint8_t code = held->code;
    holds_.erase(held);
    // Letting go of the repeating input stops repeats, even with others held.
    if (lead_.pad == pad && lead_.input == input) repeating_ = false;
    return CodeHeld(code) ? 0 : code;
}

std::vector<std::uint8_t> ControllerHolds::ReleasePad(PadId pad) {
    std::vector<std::uint8_t> released;
    for (std::size_t i = holds_.size(); i-- > 0;) {
        if (holds_[i].pad != pad) continue;
        if (const std::uint8_t code = Release(pad, holds_[i].input)) released.push_back(code);
    }
    return released;
}

std::vector<std::uint8_t> ControllerHolds::ReleaseAll() {
    std::vector<std::uint8_t> released;
    while (!holds_.empty())
        if (const std::uint8_t code = Release(holds_.back().pad, holds_.back().input)) released.push_back(code);
    return released;
}

std::vector<std::uint8_t> ControllerHolds::Suspend() {
    for (const Hold& hold : holds_) suspended_.emplace_back(hold.pad, hold.input);
    return ReleaseAll();
}

std::vector<std::pair<PadId, PadInput>> ControllerHolds::TakeSuspended() {
    return std::exchange(suspended_, {});
}

bool ControllerHolds::Holds(PadId pad, PadInput input) const {
    return std::any_of(holds_.begin(), holds_.end(),
                       [&](const Hold& hold) { return hold.pad == pad && hold.input == input; });
}

bool ControllerHolds::CodeHeld(std::uint8_t code) const {
    return std::any_of(holds_.begin(), holds_.end(), [code](const Hold& hold) { return hold.code == code; });
}

std::uint8_t ControllerHolds::RepeatDue(PadClock::time_point now) {
    if (!repeating_ || now < due_) return 0;
    due_ = NextTickDue(due_, rate_.interval, now);
    return lead_.code;
}

std::optional<PadClock::time_point> ControllerHolds::NextRepeat() const {
    if (!repeating_) return std::nullopt;
    return due_;
}
