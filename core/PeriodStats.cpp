#include "core/PeriodStats.h"

#include "core/Trend.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vorn {
namespace {

long long FloorDiv(long long a, long long b) {
    return a / b - (a % b != 0 && (a < 0) != (b < 0));
}

long long DayNumber(const RecordDate& date) {
    return FloorDiv(HoursSinceEpoch({date.year, date.month, date.day, 0}), 24);
}

RecordDate DayOf(long long day) {
    return DateOfHour(day * 24);
}

// 1 January 1970 was a Thursday: week k runs from day 7k − 3 (a Monday) to
// day 7k + 3, and its Thursday, day 7k, names its ISO year.
constexpr long long kThursdayOffset = 3;

std::string Digits(long long n, int width) {
    char text[32];
    std::snprintf(text, sizeof text, "%0*lld", width, n);
    return text;
}

// A value as whole hundredths when it is one, as the log writes them: such
// sums are exact, so that an average or a difference that ends in a half
// is rounded as its decimal is, not as its nearest binary fraction.
long double Hundredths(double value) {
    const long double h = static_cast<long double>(value) * 100;
    const long double whole = std::round(h);
    return std::fabs(h - whole) <= std::fabs(whole) * 1e-12L ? whole : h;
}

struct Sums {
    long long key = 0;
    long long count = 0;
    long double hundredths = 0;
    double min = 0, max = 0;
    RecordDate last{};
    std::optional<long double> trend;
};

void Add(Sums& s, double value, const RecordDate& date, const std::optional<long double>& trend) {
    s.min = s.count == 0 ? value : std::min(s.min, value);
    s.max = s.count == 0 ? value : std::max(s.max, value);
    ++s.count;
    s.hundredths += Hundredths(value);
    if (s.count == 1 || HoursSinceEpoch(date) >= HoursSinceEpoch(s.last)) {
        s.last = date;
        s.trend = trend;
    }
}

// The sums of the period `key`: dates run forwards through a log, so it is
// nearly always the last one.
Sums& SumsOf(std::vector<Sums>& sums, long long key) {
    if (sums.empty() || sums.back().key < key) {
        sums.push_back({});
        sums.back().key = key;
        return sums.back();
    }
    auto at = std::lower_bound(sums.begin(), sums.end(), key,
                               [](const Sums& s, long long k) { return s.key < k; });
    if (at == sums.end() || at->key != key) {
        at = sums.insert(at, Sums{});
        at->key = key;
    }
    return *at;
}

std::vector<PeriodRow> RowsOf(const std::vector<Sums>& sums) {
    std::vector<PeriodRow> rows;
    rows.reserve(sums.size());
    const Sums* before = nullptr;
    for (const Sums& s : sums) {
        PeriodRow row;
        row.key = s.key;
        row.count = s.count;
        const long double n = static_cast<long double>(s.count);
        row.mean = s.hundredths / (100 * n);
        row.min = s.min;
        row.max = s.max;
        row.trend = s.trend;
        if (before) {
            // One division of exact products, as for the mean.
            const long double m = static_cast<long double>(before->count);
            row.change = (s.hundredths * m - before->hundredths * n) / (100 * n * m);
        }
        rows.push_back(row);
        before = &s;
    }
    return rows;
}

} // namespace

long long PeriodKey(Period period, const RecordDate& date) {
    switch (period) {
    case Period::Week:
        return FloorDiv(DayNumber(date) + kThursdayOffset, 7);
    case Period::Month:
        return date.year * 12LL + date.month - 1;
    case Period::Year:
        return date.year;
    }
    return 0;
}

std::string PeriodName(Period period, long long key) {
    switch (period) {
    case Period::Week: {
        const long long thursday = key * 7;
        const RecordDate t = DayOf(thursday);
        const long long week = (thursday - DayNumber({t.year, 1, 1, 0})) / 7 + 1;
        return Digits(t.year, 4) + "-W" + Digits(week, 2);
    }
    case Period::Month:
        return Digits(FloorDiv(key, 12), 4) + "-" + Digits(key - FloorDiv(key, 12) * 12 + 1, 2);
    case Period::Year:
        return Digits(key, 4);
    }
    return "";
}

RecordDate PeriodStart(Period period, long long key) {
    switch (period) {
    case Period::Week:
        return DayOf(key * 7 - kThursdayOffset);
    case Period::Month: {
        const long long year = FloorDiv(key, 12);
        return {static_cast<int>(year), static_cast<int>(key - year * 12 + 1), 1, 0};
    }
    case Period::Year:
        return {static_cast<int>(key), 1, 1, 0};
    }
    return {};
}

RecordDate PeriodEnd(Period period, long long key) {
    return DayOf(DayNumber(PeriodStart(period, key + 1)) - 1);
}

PeriodTable::PeriodTable(Period period, std::vector<PeriodRow> filled)
    : period_(period), filled_(std::move(filled)) {}

std::size_t PeriodTable::rowCount() const {
    return filled_.empty() ? 0
                           : static_cast<std::size_t>(filled_.back().key - filled_.front().key + 1);
}

PeriodRow PeriodTable::row(std::size_t i) const {
    const long long key = filled_.front().key + static_cast<long long>(i);
    const auto at = std::lower_bound(filled_.begin(), filled_.end(), key,
                                     [](const PeriodRow& r, long long k) { return r.key < k; });
    if (at != filled_.end() && at->key == key)
        return *at;
    PeriodRow empty;
    empty.key = key;
    return empty;
}

PeriodTable ComputePeriodStats(std::span<const double> values,
                               std::span<const std::optional<RecordDate>> dates,
                               const std::vector<bool>& withoutFat, int quantity, Period period) {
    const Trend trend = ComputeTrend(values, dates, quantity, withoutFat);
    const bool needsFat = Facts(quantity).fatField;
    std::vector<Sums> sums;
    for (std::size_t i = 0; i < values.size() && i < dates.size(); ++i) {
        if (!dates[i] || !std::isfinite(values[i]) ||
            (needsFat && i < withoutFat.size() && withoutFat[i]))
            continue;
        Add(SumsOf(sums, PeriodKey(period, *dates[i])), values[i], *dates[i], trend.values[i]);
    }
    return PeriodTable(period, RowsOf(sums));
}

} // namespace vorn
