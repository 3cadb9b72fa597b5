#include "core/Forecast.h"

#include <cmath>

namespace vorn {

Forecast ForecastTarget(const Trend& trend, std::optional<long double> target) {
    if (!target || !std::isfinite(*target) || !trend.last)
        return {};
    const long double gap = *target - *trend.last;
    if (std::fabs(gap) <= kTargetReach)
        return {Forecast::Kind::Reached, {}};
    if (!trend.rate || !trend.rateEnd)
        return {};
    const long double days = gap / (*trend.rate / 7);
    // Also false for a rate of 0 or one moving away (negative or NaN days).
    if (!(days > 0 && days <= kForecastDays))
        return {};
    const auto hours = static_cast<long long>(std::floor(days * 24));
    return {Forecast::Kind::Date, DateOfHour(HoursSinceEpoch(*trend.rateEnd) + hours)};
}

} // namespace vorn
