#pragma once

#include "log/DatedLog.h"
#include "log/RecordCut.h"

#include <cstddef>
#include <string>

namespace vorn {

// The history table while the chart is on a calendar: every record of the
// whole log, oldest first, with the grid's columns (its number in the log
// from 0, its date in full, the nine quantities as the grid writes them).
// A record without a date shows its stamp.
class DatedTable {
public:
    explicit DatedTable(DatedLog log);

    std::size_t rowCount() const { return log_.records.size(); }
    static std::string header(int column);
    std::string text(std::size_t record, int column) const;
    // What a column sorts by: numbers as numbers, dates in time, records
    // without a date before every dated one.
    double sortKey(std::size_t record, int column) const;

    const DatedLog& log() const { return log_; }
    // The record as read, so that a log changed since is noticed.
    KnownRecord known(std::size_t record) const;

private:
    DatedLog log_;
};

} // namespace vorn
