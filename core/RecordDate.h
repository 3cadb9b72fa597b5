#pragma once

// Full dates for the records of a log. A record's stamp holds its month, day
// and hour (month × 10000 + day × 100 + hour) but no year; the year follows
// from the order of the records and the time of reading.

#include "core/DateText.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vorn {

struct RecordDate {
    int year = 0;
    int month = 1; // 1..12
    int day = 1;   // 1..31
    int hour = 0;  // 0..23
    bool operator==(const RecordDate&) const = default;
};

// One entry per record, in the records' order; none for a record that has no
// date.
using RecordDates = std::vector<std::optional<RecordDate>>;

bool IsLeapYear(int year);

// Dates for records in the order they were saved, read at `now`:
// - the last record falls in the year of `now`, or in the year before when
//   its month, day and hour lie after those of `now`;
// - walking back, a record whose stamp is later than that of the record
//   after it belongs to the year before; an equal or earlier one stays.
// A stamp that is no moment of any year (month 13, 31 April, hour 24, not a
// whole number) has no date and is passed over, so that its neighbours are
// compared with each other. A 29 February whose year, so counted, is a common
// year has no date either, but its stamp still takes part in the counting: it
// is a moment that the program really stamped.
RecordDates DateRecords(std::span<const double> stamps, const LocalTime& now);

// The year walk of DateRecords on its own, for code that places records in
// time: each record's year and its stamp (month × 10000 + day × 100 + hour),
// a 29 February of a common year included; stamp -1 for a stamp that is no
// moment of any year, which the walk passes over.
struct CountedStamp {
    int year = 0;
    int stamp = -1;
};
std::vector<CountedStamp> CountYears(std::span<const double> stamps, const LocalTime& now);

// The hours from 1 January 1970, 0 h, to a date: a scale on which two dates
// can be compared and subtracted. DateOfHour is its inverse.
long long HoursSinceEpoch(const RecordDate& date);
RecordDate DateOfHour(long long hours);

// The date as a person reads it: "2026/12/06 7時".
std::string RecordDateText(const RecordDate& date);
// The day alone: "2027/02/14".
std::string DayText(const RecordDate& date);

} // namespace vorn
