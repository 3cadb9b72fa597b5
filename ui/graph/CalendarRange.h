#pragma once

// The ranges of the chart on a calendar: windows that end at the latest
// record and reach back a week, a month, three months, a year, or to the
// first record.

#include <array>
#include <optional>
#include <string_view>

namespace vorn {

enum class CalendarRange { Week, Month, ThreeMonths, Year, All };

inline constexpr std::array<CalendarRange, 5> kCalendarRanges = {
    CalendarRange::Week, CalendarRange::Month, CalendarRange::ThreeMonths, CalendarRange::Year,
    CalendarRange::All};
// The range a chart opens on.
inline constexpr CalendarRange kFirstCalendarRange = CalendarRange::ThreeMonths;

// "1週間", "1か月", "3か月", "1年", "全期間".
const char* CalendarRangeName(CalendarRange range);
// The command line's name of a range, "1w", "1m", "3m", "1y" or "all", and
// back; nothing for any other text.
const char* CalendarRangeCode(CalendarRange range);
std::optional<CalendarRange> CalendarRangeOfCode(std::string_view code);

// Hours from 1 January 1970, 0 h (HoursSinceEpoch), both ends included.
struct HourWindow {
    long long from = 0;
    long long to = 0;
    bool operator==(const HourWindow&) const = default;
};

// The window of `range` over records from `firstHour` to `latestHour`: it
// ends at the latest record and starts the same day and hour a week, one or
// three months or a year before (the month's last day where that month is
// shorter), or at the first record for All. A range longer than the records
// still spans its whole length, so that a week looks like a week.
HourWindow CalendarRangeWindow(CalendarRange range, long long firstHour, long long latestHour);

} // namespace vorn
