#pragma once

// When the trend of a quantity is expected to reach its target.

#include "core/RecordDate.h"
#include "core/Trend.h"

#include <optional>

namespace vorn {

// How near the trend must come to count as at the target.
inline constexpr long double kTargetReach = 0.005L;
// A forecast further away than this many days is none.
inline constexpr int kForecastDays = 730;

struct Forecast {
    enum class Kind {
        None,    // no target, no rate, moving away, or too far ahead
        Reached, // the last trend is within kTargetReach of the target
        Date,    // the trend is expected to reach the target on `date`
    };
    Kind kind = Kind::None;
    RecordDate date; // for Date: the day, and the hour, it is reached
    bool operator==(const Forecast&) const = default;
};

// The forecast for `trend` against `target` (none when the quantity has no
// target). It counts from the last trend value at the date of the last
// record the rate was read from, at the rate it was read.
Forecast ForecastTarget(const Trend& trend, std::optional<long double> target);

} // namespace vorn
