// Wall-clock time points with millisecond resolution, used for every interval
// of the display engine and by the tool-tips.
#pragma once

#include <cstdint>

struct TimePoint {
    std::int32_t seconds;        // since 1970-01-01 00:00 UTC; 0 means unset
    std::uint16_t milliseconds;  // 0..999 within that second
};

// The clock, in milliseconds since 1970; replaceable so that tests can step
// time. Null restores the wall clock.
using TimeSource = std::int64_t (*)();
void setTimeSource(TimeSource source);

void timePointNow(TimePoint *p);
void timePointClear(TimePoint *p);
// later - earlier in milliseconds; 2147483647 when earlier is unset, else
// -2147483648 when later is unset.
std::int32_t msBetween(const TimePoint &later, const TimePoint &earlier);
