#pragma once

#include "core/RecordDate.h"
#include "core/Trend.h"
#include "ui/graph/GraphPlot.h"
#include "ui/graph/GridTable.h"

#include <optional>
#include <string>
#include <vector>

namespace vorn {

// The dates of the records in grid rows 1 to rows - 1, from the stamps of
// their date column, as read at `now`.
RecordDates DateGridRecords(const GridTable& grid, int rows, const LocalTime& now);

struct TrendPlot {
    Trend trend;
    // A point at each record that took a step, at the record's place.
    std::vector<PlotPoint> line;
    // The one-line summary: the weekly rate and the forecast.
    std::string summary;
};

// The trend of `quantity` through grid rows 1 to rows - 1 with their
// `dates`, and its forecast against `target` (none: the quantity has none).
// A cell that is not a number takes no step; nor, for the quantities that
// need a fat percentage, does a record saved without one.
TrendPlot PlotTrend(const GridTable& grid, int rows, int quantity, const RecordDates& dates,
                    std::optional<double> target);

} // namespace vorn
