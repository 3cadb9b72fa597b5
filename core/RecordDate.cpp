#include "core/RecordDate.h"

#include <cmath>
#include <cstdio>

namespace vorn {
namespace {

int DaysInMonth(int month, bool leap) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && leap ? 29 : kDays[month - 1];
}

// The stamp as a whole number MMDDHH when it is a moment of some year
// (29 February included), else -1.
int ReadStamp(double stamp) {
    // NaN fails the comparison too.
    if (!(stamp >= 0 && stamp <= 123123) || stamp != std::floor(stamp))
        return -1;
    const int s = static_cast<int>(stamp);
    const int month = s / 10000;
    const int day = s / 100 % 100;
    const int hour = s % 100;
    if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(month, true) || hour > 23)
        return -1;
    return s;
}

// Days from 1970-01-01 in the proleptic Gregorian calendar, counted in eras
// of 400 years so that no year needs a loop.
long long DaysFromCivil(long long y, int m, int d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

} // namespace

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

std::vector<CountedStamp> CountYears(std::span<const double> stamps, const LocalTime& now) {
    std::vector<CountedStamp> counted(stamps.size());
    int year = now.year;
    // The stamp of the record after the one at hand; `now` for the last.
    int later = now.month * 10000 + now.day * 100 + now.hour;
    for (std::size_t i = stamps.size(); i-- > 0;) {
        const int stamp = ReadStamp(stamps[i]);
        if (stamp < 0)
            continue;
        if (stamp > later)
            --year;
        later = stamp;
        counted[i] = {year, stamp};
    }
    return counted;
}

RecordDates DateRecords(std::span<const double> stamps, const LocalTime& now) {
    const std::vector<CountedStamp> counted = CountYears(stamps, now);
    RecordDates dates(stamps.size());
    for (std::size_t i = 0; i < counted.size(); ++i) {
        const auto [year, stamp] = counted[i];
        if (stamp < 0)
            continue;
        const RecordDate date{year, stamp / 10000, stamp / 100 % 100, stamp % 100};
        if (date.month == 2 && date.day == 29 && !IsLeapYear(year))
            continue;
        dates[i] = date;
    }
    return dates;
}

long long HoursSinceEpoch(const RecordDate& date) {
    return DaysFromCivil(date.year, date.month, date.day) * 24 + date.hour;
}

RecordDate DateOfHour(long long hours) {
    const long long h = hours >= 0 ? hours % 24 : (hours % 24 + 24) % 24;
    const long long z = (hours - h) / 24 + 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const int year = static_cast<int>(yoe + era * 400 + (month <= 2));
    return {year, month, day, static_cast<int>(h)};
}

std::string RecordDateText(const RecordDate& date) {
    return DayText(date) + " " + std::to_string(date.hour) + "時";
}

std::string DayText(const RecordDate& date) {
    char text[48];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d", date.year, date.month, date.day);
    return text;
}

} // namespace vorn
