// The XInput layer over a stand-in for XInputGetState: empty slots asked
// once a second, and a focus loss letting go. (Unplugging while held, the
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

struct {
    bool connected[XUSER_MAX_COUNT];
    XINPUT_STATE state[XUSER_MAX_COUNT];
    int asked[XUSER_MAX_COUNT];
} fake;

DWORD WINAPI FakeGetState(DWORD slot, XINPUT_STATE* state) {
    ++fake.asked[slot];
    *state = fake.state[slot];
    return fake.connected[slot] ? ERROR_SUCCESS : ERROR_DEVICE_NOT_CONNECTED;
}

void Set(DWORD slot, WORD buttons) {
    fake.connected[slot] = true;
    fake.state[slot] = {fake.state[slot].dwPacketNumber + 1, {buttons, 0, 0, 0, 0, 0, 0}};
}

const PadClock::time_point kStart = PadClock::time_point{} + std::chrono::hours(1);
const RepeatRate kRate{milliseconds(500), milliseconds(33)};

class ControllerWin32 : public ::testing::Test {
protected:
    void SetUp() override {
        ResetTestWorld();
        fake = {};
        NewGame();
        gameState.pieceColumn = 4;
    }
    XInputPads pads{FakeGetState, kRate};
};

TEST_F(ControllerWin32, EmptySlotsAreAskedOnceASecondOneAPassConnectedPadsOnEveryPoll) {
    Set(0, 0);
    int emptyAsked = 0;
    for (int ms = 0; ms <= 2500; ++ms) {
        const int before = fake.asked[1] + fake.asked[2] + fake.asked[3];
        pads.Poll(kStart + milliseconds(ms), true);
        emptyAsked = std::max(emptyAsked, fake.asked[1] + fake.asked[2] + fake.asked[3] - before);
    }
    EXPECT_EQ(fake.asked[0], 2501);
    EXPECT_EQ(emptyAsked, 1);
    for (int slot = 1; slot < XUSER_MAX_COUNT; ++slot) EXPECT_EQ(fake.asked[slot], 3) << "slot " << slot;
    // A pad plugged in meanwhile is found at the next second.
    Set(2, XINPUT_GAMEPAD_START);
    for (int ms = 2501; ms <= 3010; ++ms) pads.Poll(kStart + milliseconds(ms), true);
    EXPECT_TRUE(gameState.menuOpen);
}

TEST_F(ControllerWin32, AFocusLossLetsGoAndNothingIsReadUntilTheFocusIsBack) {
    Set(0, XINPUT_GAMEPAD_DPAD_LEFT);
    pads.Poll(kStart, true);
    gameState.keyDown[kKeyLeft] = 0;  // as the window procedure does
    pads.Forget();
    for (int ms = 1; ms < 1500; ++ms) pads.Poll(kStart + milliseconds(ms), false);
    EXPECT_EQ(gameState.pieceColumn, 3);
    Set(0, XINPUT_GAMEPAD_START);
    pads.Poll(kStart + milliseconds(1500), false);
    EXPECT_FALSE(gameState.menuOpen);
    // Back in focus, what is held presses.
    pads.Poll(kStart + milliseconds(1501), true);
    EXPECT_TRUE(gameState.menuOpen);
}

}  // namespace
