#include "ui/graph/DateAxisTicks.h"

#include "core/RecordDate.h"

#include <algorithm>

namespace vorn {
namespace {

enum class Unit { Hour, Day, Month, Year };

struct Step {
    Unit unit;
    long long count;
    long long leastHours; // the shortest a step can be: no more ticks fit a span
};

// Years go on by 1, 2, 5 × 10^k beyond the table.
constexpr Step kSteps[] = {
    {Unit::Hour, 1, 1},     {Unit::Hour, 3, 3},     {Unit::Hour, 6, 6},     {Unit::Hour, 12, 12},
    {Unit::Day, 1, 24},     {Unit::Day, 2, 48},     {Unit::Day, 7, 168},    {Unit::Month, 1, 672},
    {Unit::Month, 2, 1416}, {Unit::Month, 3, 2136}, {Unit::Month, 6, 4344}, {Unit::Year, 1, 8760},
    {Unit::Year, 2, 17520}, {Unit::Year, 5, 43800},
};

long long FloorDiv(long long a, long long b) {
    return a / b - (a % b != 0 && (a < 0) != (b < 0));
}

std::string Num(long long n) {
    return std::to_string(n);
}

std::string Label(Unit unit, const RecordDate& d, const RecordDate* before) {
    const bool newYear = !before || before->year != d.year;
    const bool newDay = newYear || before->month != d.month || before->day != d.day;
    const std::string day = Num(d.month) + "/" + Num(d.day);
    switch (unit) {
    case Unit::Hour:
        return (newDay ? (newYear ? Num(d.year) + "/" : "") + day + " " : "") + Num(d.hour) + "時";
    case Unit::Day:
        return (newYear ? Num(d.year) + "/" : "") + day;
    case Unit::Month:
        return (newYear ? Num(d.year) + "年" : "") + Num(d.month) + "月";
    case Unit::Year:
        return Num(d.year) + "年";
    }
    return "";
}

// The first tick of the step at or after `from`.
RecordDate FirstTick(const Step& s, long long from) {
    RecordDate d = DateOfHour(from);
    switch (s.unit) {
    case Unit::Hour: {
        const long long h = FloorDiv(from + s.count - 1, s.count) * s.count;
        return DateOfHour(h);
    }
    case Unit::Day: {
        // Days from 1970-01-05, a Monday, so that weeks start on Mondays.
        const long long monday = 4 * 24;
        long long day = FloorDiv(from - monday + 23, 24);
        day = FloorDiv(day + s.count - 1, s.count) * s.count;
        return DateOfHour(monday + day * 24);
    }
    case Unit::Month: {
        long long m =
            d.year * 12LL + d.month - 1 + (HoursSinceEpoch({d.year, d.month, 1, 0}) < from);
        m = FloorDiv(m + s.count - 1, s.count) * s.count;
        return {static_cast<int>(FloorDiv(m, 12)), static_cast<int>(m - FloorDiv(m, 12) * 12 + 1),
                1, 0};
    }
    case Unit::Year: {
        long long y = d.year + (HoursSinceEpoch({d.year, 1, 1, 0}) < from);
        y = FloorDiv(y + s.count - 1, s.count) * s.count;
        return {static_cast<int>(y), 1, 1, 0};
    }
    }
    return d;
}

RecordDate NextTick(const Step& s, RecordDate d) {
    switch (s.unit) {
    case Unit::Hour:
        return DateOfHour(HoursSinceEpoch(d) + s.count);
    case Unit::Day:
        return DateOfHour(HoursSinceEpoch(d) + s.count * 24);
    case Unit::Month: {
        const long long m = d.year * 12LL + d.month - 1 + s.count;
        return {static_cast<int>(FloorDiv(m, 12)), static_cast<int>(m - FloorDiv(m, 12) * 12 + 1),
                1, 0};
    }
    case Unit::Year:
        return {d.year + static_cast<int>(s.count), 1, 1, 0};
    }
    return d;
}

Step StepFor(long long span, int maxTicks) {
    for (const Step& s : kSteps)
        if (span / s.leastHours + 1 <= maxTicks)
            return s;
    for (long long years = 10;; years *= 10)
        for (const long long f : {1LL, 2LL, 5LL})
            if (span / (f * years * 8760) + 1 <= maxTicks || years > 1000000000LL)
                return {Unit::Year, f * years, f * years * 8760};
}

} // namespace

std::vector<DateTick> DateAxisTicks(long long fromHour, long long toHour, int maxTicks) {
    std::vector<DateTick> ticks;
    if (toHour < fromHour || maxTicks < 1)
        return ticks;
    const Step step = StepFor(toHour - fromHour, maxTicks);
    RecordDate before{};
    for (RecordDate d = FirstTick(step, fromHour); HoursSinceEpoch(d) <= toHour;
         d = NextTick(step, d)) {
        ticks.push_back(
            {HoursSinceEpoch(d), Label(step.unit, d, ticks.empty() ? nullptr : &before)});
        before = d;
    }
    return ticks;
}

} // namespace vorn
