// The controllers' bookkeeping, portable and shared by the XInput and SDL
// pads: the held input repeats as a held key does, a release or a removed
// controller lets go only of what nothing else still holds, and what is held
// through a focus loss presses anew when the focus returns.
#include <gtest/gtest.h>

#include "app/ControllerHolds.h"
#include "app/Keys.h"
#include "game/GameRules.h"
#include "state/GameState.h"
#include "support/PlatformDouble.h"

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

TEST(ControllerHolds, WhatIsStillHeldWhenTheFocusReturnsPressesAnewOnceAndWhatWasLetGoDoesNot) {
    const struct {
        const char* what;
        bool stillDown;
        int column;  // where the piece is after the focus returned
    } cases[] = {
        {"Left held through the loss moves once more", true, 4},
        {"Left let go while another window had the focus", false, 5},
    };
    for (const auto& c : cases) {
        ResetTestWorld();
        NewGame();
        gameState.pieceOrientation = 4;  // an O in open play
        gameState.pieceColumn = 5;
        gameState.pieceRow = 5;
        ControllerHolds holds(kRate);
        holds.Press(1, PadInput::PadLeft, kLeft, kStart);
        holds.Suspend();
        EXPECT_FALSE(holds.Holds(1, PadInput::PadLeft)) << c.what;
        EXPECT_EQ(holds.RepeatDue(kStart + milliseconds(600)), 0) << c.what << ": nothing repeats meanwhile";
        int asked = 0;
        const auto down = [&](PadId pad, PadInput input) {
            ++asked;
            return c.stillDown && pad == 1 && input == PadInput::PadLeft;
        };
        EXPECT_EQ(PressStillHeld(holds, down, kStart + milliseconds(700)), c.stillDown ? std::uintptr_t{kLeft} : 0u)
            << c.what;
        EXPECT_EQ(gameState.pieceColumn, c.column) << c.what;
        EXPECT_EQ(holds.Holds(1, PadInput::PadLeft), c.stillDown) << c.what;
        // Taken once: a second return of the focus presses nothing more.
        EXPECT_EQ(PressStillHeld(holds, down, kStart + milliseconds(800)), 0u) << c.what;
        EXPECT_EQ(asked, 1) << c.what;
    }
}

}  // namespace
