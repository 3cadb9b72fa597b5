#pragma once

// The ticks and labels of a date axis: hours, days, months or years by the
// span shown, on whole calendar steps, the year (or, for hours, the day)
// written out where it changes.

#include <string>
#include <vector>

namespace vorn {

struct DateTick {
    long long hour = 0; // hours since 1 January 1970 (HoursSinceEpoch)
    std::string label;
    bool operator==(const DateTick&) const = default;
};

// The ticks from `fromHour` to `toHour` (both included) at the smallest
// calendar step that gives at most `maxTicks` of them: 1, 3, 6 or 12 hours
// ("7時", "12/6 0時" where the day changes), 1 or 2 days or a week from a
// Monday ("12/6"), 1, 2, 3 or 6 months ("12月"), 1, 2, 5, 10, ... years
// ("2026年"). The first tick and any whose year differs from the tick
// before carry the year: "2026/12/6", "2027年1月".
std::vector<DateTick> DateAxisTicks(long long fromHour, long long toHour, int maxTicks);

} // namespace vorn
