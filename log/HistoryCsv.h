#pragma once

// A log's records as a table for spreadsheets (RFC 4180).

#include "core/DateText.h"
#include "log/LogReader.h"

#include <optional>
#include <string>

namespace vorn {

// One field, quoted when it holds a comma, a double quote, a CR or an LF,
// with each double quote doubled.
std::string CsvField(const std::string& text);

// Whether a CSV starts with UTF-8's byte order mark, by which spreadsheets
// know its encoding without asking.
enum class ByteOrderMark : bool { Without, With };

// The log's records, oldest first, as CSV: UTF-8, each line ended by CR LF.
// The first line holds 日時 and the grid's nine column headers; each record
// follows with its date (DateRecords read at `now`) as "2026-08-30T20:00",
// empty where it has none, then its nine values as the grid shows them, the
// four of the fat group empty in a record saved without a fat percentage.
// With `trendQuantity`, a last column "傾向 <grid header>" holds that
// quantity's trend with two decimals, empty where the record took no step.
std::string HistoryCsv(const WholeLog& log, const LocalTime& now,
                       std::optional<int> trendQuantity = std::nullopt,
                       ByteOrderMark mark = ByteOrderMark::Without);

} // namespace vorn
