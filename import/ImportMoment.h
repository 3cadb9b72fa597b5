#pragma once

// Dates and times as other programs write them, turned into local time.

#include "core/DateText.h"

#include <ctime>
#include <optional>
#include <string_view>

namespace vorn {

// A date with an optional time of day and an optional zone, as written.
struct WrittenMoment {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    bool hasTime = false;
    std::optional<int> offsetSeconds; // east of UTC; "Z" is 0
};

enum class MomentRead { Ok, Unreadable, NotReal };

struct ReadMoment {
    MomentRead result = MomentRead::Unreadable;
    WrittenMoment moment;
};

// "2026-12-01", "2026/12/1", "2026年12月1日", then optionally "T" or blanks
// and "20:05", "20:05:09" or "20:05:09.123", then optionally "Z", "+09:00",
// "+0900" or "+09", after blanks or not. NotReal for a date or time that
// does not exist (30 February, 25 o'clock).
ReadMoment ReadWrittenMoment(std::string_view text);

// A time of day alone: "7:05", "07:05:09", "07:05:09.5". Nothing for
// anything else; hour and minute are not checked.
std::optional<WrittenMoment> ReadTimeOfDay(std::string_view text);

// Whether the fields name a real day and a real time of day.
bool IsRealMoment(const WrittenMoment& m);

// The moment in the system's zone (TZ honoured); a moment without a zone
// is taken as local already. Nothing when the C library cannot place it.
std::optional<LocalTime> ToLocalTime(const WrittenMoment& m);

// Seconds since 1970 UTC of a moment with a zone; nothing without one.
std::optional<std::time_t> InstantOf(const WrittenMoment& m);

} // namespace vorn
