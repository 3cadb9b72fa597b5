#pragma once

// The records of one quantity summed up per calendar period: ISO weeks
// (Monday first; week 1 holds the year's first Thursday), months or years.

#include "core/RecordDate.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vorn {

enum class Period { Week, Month, Year };

// A period as a number that counts them on: the weeks from the one of
// 1 January 1970, year × 12 + month − 1, or the year.
long long PeriodKey(Period period, const RecordDate& date);
// "2026-W49" (the ISO week-numbering year), "2026-12", "2026".
std::string PeriodName(Period period, long long key);
// The first and the last day of the period (hour 0).
RecordDate PeriodStart(Period period, long long key);
RecordDate PeriodEnd(Period period, long long key);

struct PeriodRow {
    long long key = 0;
    long long count = 0;
    // None for a period without records; `change` also for the first one
    // with records.
    std::optional<long double> mean, min, max, change;
    // The trend at the period's last record, where that record stepped.
    std::optional<long double> trend;
};

// Every period from the first record's to the last one's, those without a
// record included.
class PeriodTable {
public:
    PeriodTable(Period period, std::vector<PeriodRow> filled);
    Period period() const { return period_; }
    std::size_t rowCount() const;
    // Row `i` from the first period; a period without records has count 0.
    PeriodRow row(std::size_t i) const;

private:
    Period period_;
    std::vector<PeriodRow> filled_; // the periods with records, in order
};

// The periods of `values` (one per record, in the log's order) of
// `quantity`, with the records' `dates` (DateRecords) and `withoutFat`
// (SavedWithoutFat of each record). A record without a date is left out, and
// so, for a quantity that needs a fat percentage, is one saved without it.
// The trend goes through every record, as ComputeTrend takes them.
PeriodTable ComputePeriodStats(std::span<const double> values,
                               std::span<const std::optional<RecordDate>> dates,
                               const std::vector<bool>& withoutFat, int quantity, Period period);

} // namespace vorn
