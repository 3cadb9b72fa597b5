#pragma once

#include "ui/graph/ChartFormat.h"
#include "ui/graph/GridTable.h"

#include <optional>
#include <string>
#include <vector>

namespace vorn {

// The lines of `Chart1`: the measured values, the target and the trend.
enum class GraphSeries { Series1, Series2, Series3 };

struct PlotPoint {
    double x = 0;
    double y = 0;
    bool operator==(const PlotPoint&) const = default;
};

// What the graph window's controller does to its window.
class GraphView {
public:
    virtual ~GraphView() = default;

    // The target legend entry `Panel2`.
    virtual void setTargetLegendVisible(bool visible) = 0;
    // Replaces all points of the lines, in one go: the measured values, the
    // target and the trend (no points: no line).
    virtual void setPlot(const std::vector<PlotPoint>& measured,
                         const std::vector<PlotPoint>& target,
                         const std::vector<PlotPoint>& trend) = 0;
    // The trend's one-line summary and its legend entry, shown inside the
    // chart; none hides both.
    virtual void setTrendSummary(const std::optional<std::string>& summary) = 0;
    // The check mark of the chart menu's trend item.
    virtual void setTrendChecked(bool checked) = 0;

    // What the grid `sg` holds: its texts and their values.
    virtual const GridTable& grid() const = 0;
    // Rows first, first + 1, ... take these texts, in one go; the other rows
    // keep theirs. Raises std::out_of_range, changing nothing, for rows
    // outside the grid.
    virtual void setRows(int first, std::vector<GridRow> rows) = 0;

    // The radio button of a quantity checked, without running its handler.
    virtual void setQuantityChecked(int quantity) = 0;

    // The client width and the outer height (frame included), never larger
    // than the screen; `unfolded`: the grid shares the height with the
    // chart, else the chart takes all of it and the grid lies below. Then
    // the window's top, in screen pixels.
    virtual void setWindowSize(int width, int outerHeight, bool unfolded) = 0;
    virtual int windowTop() const = 0;
    virtual void setWindowTop(int top) = 0;
    virtual int screenHeight() const = 0;

    // The chart as the window draws it, as the bytes of a file of that type.
    virtual std::string chartBytes(ChartFormat format) = 0;

    // Shows the window modally; returns when the user has closed it.
    virtual void showModal() = 0;
};

} // namespace vorn
