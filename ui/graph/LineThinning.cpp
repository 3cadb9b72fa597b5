#include "ui/graph/LineThinning.h"

#include <cmath>
#include <numeric>
#include <utility>

namespace vorn {
namespace {

bool Finite(const PlotPoint& p) {
    return std::isfinite(p.x) && std::isfinite(p.y);
}

} // namespace

std::vector<std::size_t> PointsWorthDrawing(const std::vector<PlotPoint>& line, double xScale,
                                            double yScale, double tolerance) {
    const std::size_t n = line.size();
    std::vector<std::size_t> all(n);
    std::iota(all.begin(), all.end(), std::size_t{0});
    const bool scaled = std::isfinite(xScale) && std::isfinite(yScale) && xScale > 0 && yScale > 0;
    if (n < 3 || !scaled)
        return all;

    std::vector<bool> keep(n, false);
    keep.front() = keep.back() = true;
    // A point that is not finite stays, and so do its neighbours, which end
    // the run before it and start the next.
    for (std::size_t i = 0; i < n; ++i)
        if (!Finite(line[i]))
            for (std::size_t k = i > 0 ? i - 1 : i; k <= i + 1 && k < n; ++k)
                keep[k] = true;

    const auto px = [&](std::size_t i) { return line[i].x * xScale; };
    const auto py = [&](std::size_t i) { return line[i].y * yScale; };
    const double limit = tolerance * tolerance;
    std::vector<std::pair<std::size_t, std::size_t>> spans;
    for (std::size_t start = 0; start + 1 < n;) {
        std::size_t end = start + 1;
        while (!keep[end])
            ++end;
        if (Finite(line[start]) && Finite(line[end]))
            spans.emplace_back(start, end);
        start = end;
    }
    while (!spans.empty()) {
        const auto [a, b] = spans.back();
        spans.pop_back();
        if (b - a < 2)
            continue;
        // The point farthest from the chord a-b, by the squared distance.
        const double dx = px(b) - px(a);
        const double dy = py(b) - py(a);
        const double length2 = dx * dx + dy * dy;
        std::size_t far = a;
        double farthest = -1;
        for (std::size_t i = a + 1; i < b; ++i) {
            const double ex = px(i) - px(a);
            const double ey = py(i) - py(a);
            const double cross = dx * ey - dy * ex;
            const double d2 = length2 > 0 ? cross * cross / length2 : ex * ex + ey * ey;
            // Not a number (the scaled values overflowed) counts as far.
            if (!(d2 <= farthest)) {
                farthest = d2;
                far = i;
            }
        }
        if (!(farthest <= limit)) {
            keep[far] = true;
            spans.emplace_back(a, far);
            spans.emplace_back(far, b);
        }
    }
    std::vector<std::size_t> kept;
    for (std::size_t i = 0; i < n; ++i)
        if (keep[i])
            kept.push_back(i);
    return kept;
}

} // namespace vorn
