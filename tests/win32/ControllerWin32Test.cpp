// The XInput layer over stand-ins for XInputGetState and the foreground
// window: empty slots asked once a second, a focus loss letting go, and no
// pad read while another program is in front. (Unplugging while held, the
// stick and the repeat: e2e.py xinput_controller.)
#include <gtest/gtest.h>

#include <algorithm>

#include "app/ControllerWin32.h"
#include "app/Keys.h"
#include "game/GameRules.h"
#include "state/GameState.h"
#include "support/PlatformDouble.h"

namespace {

using std::chrono::milliseconds;

XINPUT_STATE fakePads[XUSER_MAX_COUNT];  // packet number 0: no pad in the slot
int asked[XUSER_MAX_COUNT];
const HWND kOurs = reinterpret_cast<HWND>(0x10);
HWND foreground = kOurs;

HWND WINAPI FakeForeground() {
    return foreground;
}

DWORD WINAPI FakeGetState(DWORD slot, XINPUT_STATE* state) {
    ++asked[slot];
    *state = fakePads[slot];
    return state->dwPacketNumber != 0 ? ERROR_SUCCESS : ERROR_DEVICE_NOT_CONNECTED;
}

void Set(DWORD slot, WORD buttons) {
    fakePads[slot] = {fakePads[slot].dwPacketNumber + 1, {buttons, 0, 0, 0, 0, 0, 0}};
}

PadClock::time_point At(int ms) {
    return PadClock::time_point{} + std::chrono::hours(1) + milliseconds(ms);
}

class ControllerWin32 : public ::testing::Test {
protected:
    void SetUp() override {
        ResetTestWorld();
        std::fill(std::begin(fakePads), std::end(fakePads), XINPUT_STATE{});
        std::fill(std::begin(asked), std::end(asked), 0);
        foreground = kOurs;
        NewGame();
        gameState.pieceColumn = 4;
    }
    XInputPads pads{FakeGetState, {milliseconds(500), milliseconds(33)}, FakeForeground};
};

TEST_F(ControllerWin32, EmptySlotsAreAskedOnceASecondOneAPassConnectedPadsOnEveryPoll) {
    Set(0, 0);
    int emptyAsked = 0;
    for (int ms = 0; ms <= 2500; ++ms) {
        const int before = asked[1] + asked[2] + asked[3];
        pads.Poll(At(ms), kOurs, true);
        emptyAsked = std::max(emptyAsked, asked[1] + asked[2] + asked[3] - before);
    }
    EXPECT_EQ(asked[0], 2501);
    EXPECT_EQ(emptyAsked, 1);
    for (int slot = 1; slot < XUSER_MAX_COUNT; ++slot) EXPECT_EQ(asked[slot], 3) << "slot " << slot;
    // A pad plugged in meanwhile is found at the next second.
    Set(2, XINPUT_GAMEPAD_START);
    for (int ms = 2501; ms <= 3010; ++ms) pads.Poll(At(ms), kOurs, true);
    EXPECT_TRUE(gameState.menuOpen);
}

TEST_F(ControllerWin32, AFocusLossLetsGoAndNothingIsReadUntilTheFocusIsBack) {
    Set(0, XINPUT_GAMEPAD_DPAD_LEFT);
    pads.Poll(At(0), kOurs, true);
    gameState.keyDown[kKeyLeft] = 0;  // as the window procedure does
    pads.Forget();
    for (int ms = 1; ms < 600; ++ms) pads.Poll(At(ms), kOurs, false);
    EXPECT_EQ(gameState.pieceColumn, 3);
    // Back in focus with Left still down and the packet unchanged: Left
    // presses anew at once, as the focus returns, and only once; the hold
    // from before the loss does not go on repeating in its old rhythm.
    pads.Resume(At(600));
    EXPECT_EQ(gameState.pieceColumn, 2);
    for (int ms = 600; ms <= 1000; ++ms) pads.Poll(At(ms), kOurs, true);
    EXPECT_EQ(gameState.pieceColumn, 2);
    Set(0, XINPUT_GAMEPAD_START);
    pads.Poll(At(1500), kOurs, false);
    EXPECT_FALSE(gameState.menuOpen);
    // Back in focus, what is held presses.
    pads.Poll(At(1501), kOurs, true);
    EXPECT_TRUE(gameState.menuOpen);
}

TEST_F(ControllerWin32, AGameBehindAnotherWindowTakesNoPressUntilItIsInFront) {
    // Started behind a launcher: never focused, so never told of a focus loss.
    foreground = reinterpret_cast<HWND>(0x20);
    Set(0, XINPUT_GAMEPAD_START);
    for (int ms = 0; ms <= 1500; ++ms) pads.Poll(At(ms), kOurs, true);
    EXPECT_FALSE(gameState.menuOpen);
    foreground = kOurs;
    pads.Poll(At(1501), kOurs, true);
    EXPECT_TRUE(gameState.menuOpen);
}

}  // namespace
