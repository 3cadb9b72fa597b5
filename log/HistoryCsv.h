#pragma once

// A log's records as a table for spreadsheets (RFC 4180).

#include "core/DateText.h"
#include "log/LogReader.h"

#include <optional>
#include <span>
#include <string>

namespace vorn {

// One field, quoted when it holds a comma, a double quote, a CR or an LF,
// with each double quote doubled.
std::string CsvField(const std::string& text);

// The records, oldest first, as CSV: UTF-8 without a byte order mark, each
// line ended by CR LF. The first line holds 日時 and the grid's nine column
// headers; each record follows with its date (DateRecords read at `now`) as
// "2026-08-30T20:00", empty where it has none, then its nine values as the
// grid shows them. With `trendQuantity`, a last column "傾向 <grid header>"
// holds that quantity's trend with two decimals, empty where the record took
// no step.
std::string HistoryCsv(std::span<const RecordFields> records, const LocalTime& now,
                       std::optional<int> trendQuantity = std::nullopt);

} // namespace vorn
