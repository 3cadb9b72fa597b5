#pragma once

// What the graph shows of the loaded log, and the plot of one quantity made
// from it: plain data, no window.

#include "core/RecordDate.h"
#include "ui/graph/GridTable.h"

#include <optional>
#include <string>
#include <vector>

namespace vorn {

// A point of a line: x places it along the chart's horizontal axis (the
// record's number from 0, or on a calendar its hour, HoursSinceEpoch), y is
// its value.
struct PlotPoint {
    double x = 0;
    double y = 0;
    bool operator==(const PlotPoint&) const = default;
};

// The loaded records as the grid shows them: the texts and values of the
// grid, the rows in use (the header row included) and the records' dates.
struct GraphData {
    GridTable grid;
    int rows = 0;
    RecordDates dates; // one per record, rows 1 to rows - 1
};

// The chart of one quantity: its measured line (a point at every record),
// its target line (none without a target), and while the trend is shown,
// the trend's line (a point at each record that took a step), its value at
// every record and its one-line summary.
struct Plot {
    int quantity = 0;
    bool withTarget = false;
    std::vector<PlotPoint> measured;
    std::vector<PlotPoint> target;
    std::vector<PlotPoint> trend;
    // The record each point of the trend line stands at.
    std::vector<int> trendRecords;
    std::vector<std::optional<long double>> trendValues;
    std::optional<std::string> summary;
    // On a calendar: x is the hour; records[i] is the record (in the log,
    // from 0) of measured point i, and the trend's records and values count
    // records of the log too. `window` is the range of hours first shown.
    bool calendar = false;
    std::vector<std::size_t> records;
    long long windowFrom = 0;
    long long windowTo = 0;
};

// The plot of `quantity` through the records of `data` against `targetText`
// (empty: no target), with its trend when `trend`. A cell or target that is
// not a number drops both lines to 0 at that record. Raises
// std::out_of_range for a quantity outside 0..8.
Plot PlotOf(const GraphData& data, int quantity, const std::string& targetText, bool trend);

// What the chart's exports name the plotted quantity by: its grid header,
// caption and unit ("体重(kg)").
std::string QuantityTitle(int quantity);

} // namespace vorn
