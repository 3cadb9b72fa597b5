#pragma once

#include "core/Quantities.h"

#include <array>
#include <string>
#include <vector>

namespace vorn {

// The history grid `sg`: kGridColumns columns (sequence number, date, the
// quantities) by 1000 rows, row 0 holding the column headers.
constexpr int kGridRows = 1000;

// The texts of one row of `sg`, column by column.
using GridRow = std::array<std::string, kGridColumns>;

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

    // Cells of `sg`; column and row are within the grid.
    virtual std::string cell(int column, int row) const = 0;
    // Rows first, first + 1, ... take these texts, in one go; they all lie
    // within the grid. The other rows keep theirs.
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
