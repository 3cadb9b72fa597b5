#include "ui/graph/ColumnThinning.h"

#include <algorithm>
#include <cmath>

namespace vorn {
namespace {

// Appends the points of one column, points[from] to points[to - 1]: the
// first, the lowest, the highest and the last, in their order.
void KeepColumn(const std::vector<TimedPoint>& points, std::size_t from, std::size_t to,
                std::vector<std::size_t>& run) {
    std::size_t low = from, high = from;
    for (std::size_t i = from + 1; i < to; ++i) {
        if (points[i].value < points[low].value)
            low = i;
        if (points[i].value > points[high].value)
            high = i;
    }
    std::size_t kept[] = {from, std::min(low, high), std::max(low, high), to - 1};
    for (const std::size_t i : kept)
        if (run.empty() || run.back() < i)
            run.push_back(i);
}

} // namespace

std::vector<std::vector<std::size_t>> ThinByPixelColumn(const std::vector<TimedPoint>& points,
                                                        double originHour, double pixelsPerHour) {
    const bool thin = std::isfinite(pixelsPerHour) && pixelsPerHour > 0;
    auto column = [&](std::size_t i) {
        return thin ? std::floor((points[i].hour - originHour) * pixelsPerHour)
                    : static_cast<double>(i);
    };
    std::vector<std::vector<std::size_t>> runs;
    std::size_t start = 0; // of the column at hand
    for (std::size_t i = 1; i <= points.size(); ++i) {
        const bool gap = i < points.size() && points[i].hour - points[i - 1].hour > kGapHours;
        if (i < points.size() && !gap && column(i) == column(start))
            continue;
        if (runs.empty())
            runs.emplace_back();
        KeepColumn(points, start, i, runs.back());
        if (gap)
            runs.emplace_back();
        start = i;
    }
    return runs;
}

} // namespace vorn
