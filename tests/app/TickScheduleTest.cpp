// The tick schedule that the native timer thread, the controllers' held
// inputs and the native frame pace follow: a tick on time keeps the period,
// a late one runs once and the rhythm goes on as before, never catching up.
#include <gtest/gtest.h>

#include "app/TickSchedule.h"

namespace {

using std::chrono::microseconds;
using std::chrono::milliseconds;

const std::chrono::steady_clock::time_point kStart{};

TEST(TickSchedule, ATickOnTimeIsDueAgainOnePeriodAfterItsDueTime) {
    const auto due = kStart + milliseconds(10);
    // Lateness of the sleep does not shift later ticks.
    EXPECT_EQ(NextTickDue(due, milliseconds(10), due + microseconds(300)), kStart + milliseconds(20));
}

TEST(TickSchedule, ALateTickIsNotMadeUp) {
    const auto due = kStart + milliseconds(10);
    // 35 ms late over a 10 ms period: three ticks were missed and are dropped.
    const auto now = due + milliseconds(35);
    const auto next = NextTickDue(due, milliseconds(10), now);
    EXPECT_GT(next, now);
    EXPECT_EQ(next, kStart + milliseconds(50));
    // Landing exactly on a later tick still leaves that tick behind.
    EXPECT_EQ(NextTickDue(due, milliseconds(10), kStart + milliseconds(30)), kStart + milliseconds(40));
}

TEST(TickSchedule, AFramePeriodIsTheDisplaysAndTheDeadlineAfterARateChangeIsOneNewPeriodOn) {
    using std::chrono::nanoseconds;
    const struct {
        int rate;
        nanoseconds period;
    } cases[] = {{60, nanoseconds(16'666'666)},
                 {144, nanoseconds(6'944'444)},
                 {0, nanoseconds(16'666'666)},
                 {-1, nanoseconds(16'666'666)}};
    for (const auto& c : cases) EXPECT_EQ(FramePeriod(c.rate), c.period) << c.rate << " Hz";
    // The arithmetic only: a display change reaching the window's pace is
    // the window test's (GameWindow).
    const auto due = kStart + milliseconds(100);
    EXPECT_EQ(NextTickDue(due, FramePeriod(144), due + milliseconds(1)), due + nanoseconds(6'944'444));
}

}  // namespace
