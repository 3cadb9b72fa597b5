#pragma once

#include "ui/graph/GraphPlot.h"

#include <cstddef>
#include <vector>

namespace vorn {

// How far, in pixels, a line drawn through fewer points may stray from the
// line through all of them: well below what antialiasing shows.
inline constexpr double kThinningTolerance = 0.125;

// The points of `line` that draw it, to within `tolerance` pixels, when a
// unit of x spans `xScale` pixels and a unit of y `yScale`: the first, the
// last, and between them those the line bends at (Douglas and Peucker's
// method). A point that is not finite is kept, and so is every point when a
// scale is not a finite positive number. Indices in order.
std::vector<std::size_t> PointsWorthDrawing(const std::vector<PlotPoint>& line, double xScale,
                                            double yScale, double tolerance = kThinningTolerance);

} // namespace vorn
