#pragma once

// Thinning a long series on a time axis to what its pixels can show: per
// pixel column the first, the last, the lowest and the highest point, so
// that the line drawn through them reaches every peak the full line does.

#include <cstddef>
#include <vector>

namespace vorn {

// Records further apart than this are not joined by a line.
inline constexpr double kGapHours = 7 * 24;

struct TimedPoint {
    double hour = 0; // hours since 1 January 1970 (HoursSinceEpoch)
    double value = 0;
};

// The runs of the line through `points` (in time order) that a chart draws
// when an hour spans `pixelsPerHour` pixels and x = `originHour` falls on a
// column's left edge: a new run starts wherever more than kGapHours pass
// between two points; within a run each pixel column keeps its first, last,
// lowest and highest point (fewer where they coincide). Indices into
// `points`, in order. With a scale that is not a finite positive number,
// every point is kept.
std::vector<std::vector<std::size_t>> ThinByPixelColumn(const std::vector<TimedPoint>& points,
                                                        double originHour, double pixelsPerHour);

} // namespace vorn
