#pragma once

// The period statistics as a table of texts: what the statistics window
// shows and what its CSV, and that of `vorn --stats`, holds.

#include "core/PeriodStats.h"
#include "log/DatedLog.h"

#include <array>
#include <cstddef>
#include <string>

namespace vorn {

inline constexpr std::array<const char*, 9> kStatsHeaders = {"期間", "開始", "終了", "件数", "平均",
                                                             "最小", "最大", "差",   "傾向"};

class StatsTable {
public:
    StatsTable(PeriodTable periods, int quantity);
    // The statistics of `quantity` over the whole log.
    static StatsTable Of(const DatedLog& log, int quantity, Period period);

    int quantity() const { return quantity_; }
    const PeriodTable& periods() const { return periods_; }
    std::size_t rowCount() const { return periods_.rowCount(); }
    // The cell's text: a value with two decimals as the grid writes it,
    // a day as "2026-12-06", empty where there is nothing to say.
    std::string text(std::size_t row, std::size_t column) const;
    // The header and every row as CSV (RFC 4180, UTF-8, CR LF).
    std::string csv() const;

private:
    PeriodTable periods_;
    int quantity_;
};

} // namespace vorn
