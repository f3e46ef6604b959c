// When the native timer thread's timers are next due: kept apart from the
// thread itself so that the rule can be tested without running any timer.
// Called by TimerThread after every tick it runs.
#include "app/TimerThreadSdl.h"

TimerClock::time_point NextTickDue(TimerClock::time_point due, TimerClock::duration period,
                                   TimerClock::time_point now) {
    TimerClock::time_point next = due + period;
    if (next > now) return next;
    // Late by one period or more: the ticks in between are dropped.
    return due + (1 + (now - due) / period) * period;
}
