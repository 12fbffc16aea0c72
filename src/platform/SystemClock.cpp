#include "Clock.h"

#include <ctime>

Instant SystemClock::now() const
{
    timespec ts {};
    clock_gettime(CLOCK_REALTIME, &ts);
    return Instant::fromUnixSeconds(static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9);
}

std::chrono::milliseconds SystemClock::steadyTime() const
{
    // CLOCK_MONOTONIC does not advance during suspend, so a suspended interval
    // resumes where it was instead of counting the time slept.
    timespec ts {};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return std::chrono::seconds(ts.tv_sec)
        + std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::nanoseconds(ts.tv_nsec));
}
