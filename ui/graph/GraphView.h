#pragma once

#include "ui/graph/GridTable.h"

#include <vector>

namespace vorn {

// The two lines of `Chart1`: the measured values and the target.
enum class GraphSeries { Series1, Series2 };

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
    // Replaces all points of both lines, in one go: the measured values and
    // the target (no points: no line).
    virtual void setPlot(const std::vector<PlotPoint>& measured,
                         const std::vector<PlotPoint>& target) = 0;

    // What the grid `sg` holds: its texts and their values.
    virtual const GridTable& grid() const = 0;
    // Rows first, first + 1, ... take these texts, in one go; the other rows
    // keep theirs. Raises std::out_of_range, changing nothing, for rows
    // outside the grid.
    virtual void setRows(int first, std::vector<GridRow> rows) = 0;

    // Outer window height (frame included) and top, in screen pixels.
    virtual void setWindowHeight(int outerHeight) = 0;
    virtual int windowTop() const = 0;
    virtual void setWindowTop(int top) = 0;
    virtual int screenHeight() const = 0;

    // Shows the window modally; returns when the user has closed it.
    virtual void showModal() = 0;
};

} // namespace vorn
