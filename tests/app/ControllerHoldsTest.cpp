// The controllers' bookkeeping, portable and shared by the XInput and SDL
// pads: the held input repeats as a held key does, and a release or a
// removed controller lets go only of what nothing else still holds.
#include <gtest/gtest.h>

#include "app/ControllerHolds.h"

namespace {

using std::chrono::milliseconds;

constexpr std::uint8_t kLeft = 0x25;
constexpr std::uint8_t kSpace = 0x20;
const PadClock::time_point kStart{};
const RepeatRate kRate{milliseconds(500), milliseconds(33)};

TEST(ControllerHolds, AHeldInputRepeatsAfterTheDelayAtTheRateWithoutCatchingUp) {
    ControllerHolds holds(kRate);
    ASSERT_TRUE(holds.Press(1, PadInput::PadLeft, kLeft, kStart));
    EXPECT_EQ(holds.RepeatDue(kStart + milliseconds(499)), 0);
    EXPECT_EQ(holds.RepeatDue(kStart + milliseconds(500)), kLeft);
    EXPECT_EQ(holds.RepeatDue(kStart + milliseconds(510)), 0);
    EXPECT_EQ(holds.RepeatDue(kStart + milliseconds(533)), kLeft);
    // A pass 100 ms late repeats once; the next one keeps the old rhythm.
    EXPECT_EQ(holds.RepeatDue(kStart + milliseconds(666)), kLeft);
    EXPECT_EQ(holds.RepeatDue(kStart + milliseconds(667)), 0);
    EXPECT_EQ(holds.RepeatDue(kStart + milliseconds(698)), kLeft);
}

TEST(ControllerHolds, OnlyTheLatestPressRepeatsAndNothingAfterItIsReleased) {
    ControllerHolds holds(kRate);
    holds.Press(1, PadInput::PadLeft, kLeft, kStart);
    holds.Press(1, PadInput::South, kSpace, kStart + milliseconds(300));
    EXPECT_EQ(holds.RepeatDue(kStart + milliseconds(600)), 0);
    EXPECT_EQ(holds.RepeatDue(kStart + milliseconds(800)), kSpace);
    holds.Release(1, PadInput::South);
    EXPECT_EQ(holds.RepeatDue(kStart + milliseconds(2000)), 0);
    // Focus loss forgets everything held.
    holds.Press(1, PadInput::South, kSpace, kStart);
    holds.ReleaseAll();
    EXPECT_EQ(holds.RepeatDue(kStart + milliseconds(2000)), 0);
}

TEST(ControllerHolds, AReleaseKeepsACodeThatAnotherInputStillHolds) {
    ControllerHolds holds(kRate);
    holds.Press(1, PadInput::PadLeft, kLeft, kStart);
    holds.Press(1, PadInput::StickLeft, kLeft, kStart);
    EXPECT_EQ(holds.Release(1, PadInput::PadLeft), 0);
    EXPECT_EQ(holds.Release(1, PadInput::StickLeft), kLeft);
}

TEST(ControllerHolds, ARemovedControllerReleasesWhatOnlyItHeld) {
    ControllerHolds holds(kRate);
    holds.Press(1, PadInput::PadLeft, kLeft, kStart);
    holds.Press(1, PadInput::South, kSpace, kStart);
    holds.Press(2, PadInput::StickLeft, kLeft, kStart);
    EXPECT_EQ(holds.ReleasePad(1), std::vector<std::uint8_t>{kSpace});
    EXPECT_EQ(holds.ReleasePad(2), std::vector<std::uint8_t>{kLeft});
    EXPECT_EQ(holds.RepeatDue(kStart + milliseconds(2000)), 0);
}

TEST(ControllerHolds, AStickRestingNearTheLineDoesNotFlicker) {
    EXPECT_EQ(StickDirection(-20000, 0), -1);
    EXPECT_EQ(StickDirection(-15000, -1), -1);  // drifted back a little: still held
    EXPECT_EQ(StickDirection(-15000, 0), 0);    // and not pressed from rest
    EXPECT_EQ(StickDirection(-5000, -1), 0);
    EXPECT_EQ(StickDirection(20000, -1), 1);
}

}  // namespace
