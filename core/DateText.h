#pragma once

#include <string>
#include <string_view>

namespace vorn {

// A moment of local time, as the clock gives it.
struct LocalTime {
    int year = 0;
    int month = 1;  // 1..12
    int day = 1;    // 1..31
    int hour = 0;   // 0..23
    int minute = 0; // 0..59
};

// Two-digit month, day and hour texts, as the "mm", "dd" and "hh" patterns.
// Raises std::invalid_argument for any other pattern.
std::string FormatDateTime(std::string_view pattern, const LocalTime& t);

} // namespace vorn
