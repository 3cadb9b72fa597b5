#pragma once

// The question asked before records are removed from the log.

#include "core/RecordDate.h"
#include "ui/graph/GridTable.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace vorn {

// At most this many records are named; the rest are counted, so that the
// box stays within the screen.
inline constexpr int kNamedRecords = 10;

// Names the records of grid rows `rows` (ascending, each holding a record)
// as the table shows them: number, date (the grid's stamp where `dates`,
// one per record, has none), weight and, when it is another, the plotted
// `quantity`. `copy` is where the log's old bytes are kept.
std::string RemovalQuestion(const GridTable& grid, const RecordDates& dates,
                            const std::vector<int>& rows, int quantity, const std::string& copy);

// The same for `count` records whose cells `cell` gives: the text of column
// `column` of the k-th of them as the table shows it (its date in full),
// and column headers at k = -1.
using RecordCells = std::function<std::string(int column, long long k)>;
std::string RemovalQuestion(long long count, const RecordCells& cell, int quantity,
                            const std::string& copy);

} // namespace vorn
