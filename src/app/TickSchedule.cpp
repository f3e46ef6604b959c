// When a periodic event is next due: kept apart from the timer thread and the
// controllers so that the rule can be tested without running either. Called
// by the timer thread after every tick it runs, by a held controller input
// and by the native window's frame pace.
#include "app/TickSchedule.h"

std::chrono::steady_clock::time_point NextTickDue(std::chrono::steady_clock::time_point due,
                                                  std::chrono::steady_clock::duration period,
                                                  std::chrono::steady_clock::time_point now) {
    std::chrono::steady_clock::time_point next = due + period;
    if (next > now) return next;
    // Late by one period or more: the ticks in between are dropped.
    return due + (1 + (now - due) / period) * period;
}

std::chrono::steady_clock::duration FramePeriod(int refreshRate) {
    const int rate = refreshRate > 0 ? refreshRate : 60;
    return std::chrono::duration_cast<std::chrono::steady_clock::duration>(std::chrono::seconds(1)) / rate;
}
