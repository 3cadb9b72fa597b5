#pragma once

// Every record of a log with its date: what the calendar and the period
// statistics work on, the whole log and not only the latest 999 records.

#include "core/DateText.h"
#include "core/RecordDate.h"
#include "log/LogFileSystem.h"
#include "log/LogReader.h"

#include <string>
#include <vector>

namespace vorn {

struct DatedLog {
    std::vector<RecordFields> records; // oldest first
    RecordDates dates;                 // DateRecords of their stamps
    // Per record: saved without a fat percentage (the reader's
    // savedWithoutFat), so that its fat figures are no measurement.
    std::vector<bool> savedWithoutFatPercentage;
    LoadResult result; // where reading stopped
};

// The records of `log` dated at `now`.
DatedLog DateWholeLog(WholeLog log, const LocalTime& now);

// Reads the log at `path` once, whole, and dates its records at `now`.
// Raises LogError as ReadWholeLog does.
DatedLog ReadDatedLog(LogFileSystem& fs, const std::string& path, const LocalTime& now);

// The notice for the user about statistics of a log that stopped early:
// where it stopped and how many records were counted; empty after End.
std::string StatsNotice(const DatedLog& log);

// The values of one quantity, record by record.
std::vector<double> QuantityValues(const DatedLog& log, int quantity);

} // namespace vorn
