#include "ui/graph/CalendarRange.h"

#include "core/RecordDate.h"

namespace vorn {
namespace {

struct RangeFacts {
    CalendarRange range;
    const char* name;
    const char* code;
    int months; // 0: not counted in months
};

constexpr RangeFacts kFacts[] = {
    {CalendarRange::Week, "1週間", "1w", 0},        {CalendarRange::Month, "1か月", "1m", 1},
    {CalendarRange::ThreeMonths, "3か月", "3m", 3}, {CalendarRange::Year, "1年", "1y", 12},
    {CalendarRange::All, "全期間", "all", 0},
};

const RangeFacts& FactsOf(CalendarRange range) {
    return kFacts[static_cast<int>(range)];
}

int DaysIn(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

RecordDate MonthsBefore(RecordDate d, int months) {
    const int index = d.year * 12 + (d.month - 1) - months;
    d.year = index / 12 - (index % 12 < 0);
    d.month = index - d.year * 12 + 1;
    if (d.day > DaysIn(d.year, d.month))
        d.day = DaysIn(d.year, d.month);
    return d;
}

} // namespace

const char* CalendarRangeName(CalendarRange range) {
    return FactsOf(range).name;
}

const char* CalendarRangeCode(CalendarRange range) {
    return FactsOf(range).code;
}

std::optional<CalendarRange> CalendarRangeOfCode(std::string_view code) {
    for (const RangeFacts& f : kFacts)
        if (code == f.code)
            return f.range;
    return std::nullopt;
}

HourWindow CalendarRangeWindow(CalendarRange range, long long firstHour, long long latestHour) {
    switch (range) {
    case CalendarRange::Week:
        return {latestHour - 7 * 24, latestHour};
    case CalendarRange::All:
        return {firstHour, latestHour};
    default:
        return {HoursSinceEpoch(MonthsBefore(DateOfHour(latestHour), FactsOf(range).months)),
                latestHour};
    }
}

} // namespace vorn
