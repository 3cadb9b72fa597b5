#pragma once

// The chart of one quantity on a calendar: every dated record of the whole
// log at its date and hour.

#include "log/DatedLog.h"
#include "ui/graph/CalendarRange.h"
#include "ui/graph/GraphPlot.h"

#include <string>

namespace vorn {

// The plot of `quantity` through the records of `log` that have a date and
// a value, at their hours; for the quantities that need a fat percentage
// only the records saved with one. The target line spans the first to the
// last of them. The trend steps through every record as it does along the
// records, drawn at the dated ones. The window is `range` back from the
// latest record. Raises std::out_of_range for a quantity outside 0..8.
Plot CalendarPlotOf(const DatedLog& log, int quantity, const std::string& targetText, bool trend,
                    CalendarRange range);

// The window of `range` over the plot's measured points (none: 0 to 0).
HourWindow PlotRangeWindow(const Plot& plot, CalendarRange range);

} // namespace vorn
