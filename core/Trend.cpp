#include "core/Trend.h"

#include <algorithm>
#include <cmath>

namespace vorn {

bool SavedWithoutFat(const std::array<double, kQuantityCount>& record) {
    for (const QuantityFacts& f : kQuantities)
        if (f.fatField && record[static_cast<std::size_t>(f.quantity)] != 0)
            return false;
    return true;
}

namespace {

// The slope of the trend against time in days, over the records that count.
// Two passes over the window (means, then deviations), so that the sums stay
// small whatever the size of the values.
std::optional<long double> WeeklyRate(const Trend& trend,
                                      std::span<const std::optional<RecordDate>> dates,
                                      std::optional<std::size_t> endIndex) {
    if (!endIndex)
        return std::nullopt;
    const long long end = HoursSinceEpoch(*dates[*endIndex]);
    const long long first = end - kRateWindowDays * 24LL;
    // Hours before the end of a counted record within the window, or -1.
    auto hoursBefore = [&](std::size_t i) -> long long {
        if (!dates[i] || !trend.values[i])
            return -1;
        const long long t = HoursSinceEpoch(*dates[i]);
        return t >= first && t <= end ? end - t : -1;
    };
    long double n = 0, sumT = 0, sumY = 0;
    long long widest = 0;
    for (std::size_t i = 0; i <= *endIndex; ++i) {
        const long long h = hoursBefore(i);
        if (h < 0)
            continue;
        n += 1;
        sumT += static_cast<long double>(h);
        sumY += *trend.values[i];
        widest = std::max(widest, h);
    }
    if (widest < kRateMinSpanDays * 24LL)
        return std::nullopt;
    const long double meanT = sumT / n, meanY = sumY / n;
    long double sxx = 0, sxy = 0;
    for (std::size_t i = 0; i <= *endIndex; ++i) {
        const long long h = hoursBefore(i);
        if (h < 0)
            continue;
        // Days run forwards: the record h hours before the end stands at -h.
        const long double dt = (meanT - static_cast<long double>(h)) / 24;
        sxx += dt * dt;
        sxy += dt * (*trend.values[i] - meanY);
    }
    return sxy / sxx * 7;
}

} // namespace

Trend ComputeTrend(std::span<const double> values, std::span<const std::optional<RecordDate>> dates,
                   int quantity, const std::vector<bool>& withoutFat) {
    const bool needsFat = Facts(quantity).fatField;
    Trend trend;
    trend.values.resize(values.size());
    std::optional<std::size_t> endIndex; // the last dated record that stepped
    for (std::size_t i = 0; i < values.size(); ++i) {
        const long double v = values[i];
        if (!std::isfinite(v) || (needsFat && i < withoutFat.size() && withoutFat[i]))
            continue;
        trend.last = trend.last ? *trend.last + kTrendShare * (v - *trend.last) : v;
        trend.values[i] = trend.last;
        if (i < dates.size() && dates[i])
            endIndex = i;
    }
    trend.rate = WeeklyRate(trend, dates, endIndex);
    if (trend.rate)
        trend.rateEnd = dates[*endIndex];
    return trend;
}

} // namespace vorn
