#pragma once

// The trend of one quantity through its records: an exponentially smoothed
// value, one step per record whatever the time between them, and how fast
// it moves per week.

#include "core/Quantities.h"
#include "core/RecordDate.h"

#include <array>
#include <optional>
#include <span>
#include <vector>

namespace vorn {

// Each step moves the trend this share of the way to the record's value.
inline constexpr long double kTrendShare = 0.1L;
// The rate is read from the records of this many days up to the last one,
// and needs two of them at least kRateMinSpanDays apart.
inline constexpr int kRateWindowDays = 28;
inline constexpr int kRateMinSpanDays = 7;

struct Trend {
    // The trend at each record. None where the record took no step (a record
    // saved without a fat percentage, for the quantities that need one, or a
    // value that is not a number): nothing is drawn there, and the next step
    // goes on from the value before.
    std::vector<std::optional<long double>> values;
    // The trend after the last step; none when no record took a step.
    std::optional<long double> last;
    // The change per week, and the date of the last record it was read from.
    std::optional<long double> rate;
    std::optional<RecordDate> rateEnd;
};

// Whether a record (its nine quantities in quantity order) was saved without
// a fat percentage: its fat fields are all 0.
bool SavedWithoutFat(const std::array<double, kQuantityCount>& record);

// The trend of `quantity` through `values`, one per plotted record in order,
// with the records' `dates` (DateRecords) and, for the quantities that need a
// fat percentage, which records were saved without one (`withoutFat[i]` for
// values[i]; missing entries count as saved with one). The first record that
// steps starts the trend at its value; each later one moves it a tenth of the
// way to its own. Records without a date still step; the rate is the
// least-squares slope, against time in days, of the trend at the dated
// records that stepped within kRateWindowDays of the last such record, times 7.
Trend ComputeTrend(std::span<const double> values, std::span<const std::optional<RecordDate>> dates,
                   int quantity, const std::vector<bool>& withoutFat = {});

} // namespace vorn
