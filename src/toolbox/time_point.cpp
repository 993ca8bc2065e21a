// Wall-clock time points and their differences.
#include "toolbox/time_point.h"

#include <chrono>

static std::int64_t wallClockMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

static TimeSource timeSource = wallClockMs;

void setTimeSource(TimeSource source) { timeSource = source != nullptr ? source : wallClockMs; }

void timePointNow(TimePoint *p) {
    std::int64_t ms = timeSource();
    p->seconds = static_cast<std::int32_t>(ms / 1000);
    p->milliseconds = static_cast<std::uint16_t>(ms % 1000);
}

void timePointClear(TimePoint *p) {
    p->seconds = 0;
    p->milliseconds = 0;
}

std::int32_t msBetween(const TimePoint &later, const TimePoint &earlier) {
    if (earlier.seconds == 0) return 2147483647;
    if (later.seconds == 0) return -2147483647 - 1;
    // 32-bit wrap-around arithmetic, done unsigned so that it is defined.
    std::uint32_t s = static_cast<std::uint32_t>(later.seconds) - static_cast<std::uint32_t>(earlier.seconds);
    std::uint32_t ms = s * 1000u + later.milliseconds - earlier.milliseconds;
    return static_cast<std::int32_t>(ms);
}
