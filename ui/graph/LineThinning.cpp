#include "ui/graph/LineThinning.h"

#include <cmath>
#include <numeric>
#include <utility>

namespace vorn {
namespace {

bool Finite(const PlotPoint& p) {
    return std::isfinite(p.x) && std::isfinite(p.y);
}

// The first and the last point, and each point that is not finite with its
// neighbours, which end the run before it and start the next.
std::vector<bool> EndsAndGaps(const std::vector<PlotPoint>& line) {
    const std::size_t n = line.size();
    std::vector<bool> keep(n, false);
    keep.front() = keep.back() = true;
    for (std::size_t i = 0; i < n; ++i)
        if (!Finite(line[i]))
            for (std::size_t k = i > 0 ? i - 1 : i; k <= i + 1 && k < n; ++k)
                keep[k] = true;
    return keep;
}

// The runs between kept points, both ends finite.
std::vector<std::pair<std::size_t, std::size_t>> Runs(const std::vector<PlotPoint>& line,
                                                      const std::vector<bool>& keep) {
    std::vector<std::pair<std::size_t, std::size_t>> runs;
    for (std::size_t start = 0; start + 1 < line.size();) {
        std::size_t end = start + 1;
        while (!keep[end])
            ++end;
        if (Finite(line[start]) && Finite(line[end]))
            runs.emplace_back(start, end);
        start = end;
    }
    return runs;
}

// The line in pixels.
struct Scaled {
    const std::vector<PlotPoint>& line;
    double xScale;
    double yScale;
    double x(std::size_t i) const { return line[i].x * xScale; }
    double y(std::size_t i) const { return line[i].y * yScale; }

    // The point between a and b farthest from the chord a-b, and its squared
    // distance; not a number (the scaled values overflowed) counts as far.
    std::pair<std::size_t, double> farthest(std::size_t a, std::size_t b) const {
        const double dx = x(b) - x(a);
        const double dy = y(b) - y(a);
        const double length2 = dx * dx + dy * dy;
        std::size_t far = a;
        double distance = -1;
        for (std::size_t i = a + 1; i < b; ++i) {
            const double ex = x(i) - x(a);
            const double ey = y(i) - y(a);
            const double cross = dx * ey - dy * ex;
            const double d2 = length2 > 0 ? cross * cross / length2 : ex * ex + ey * ey;
            if (!(d2 <= distance)) {
                distance = d2;
                far = i;
            }
        }
        return {far, distance};
    }
};

} // namespace

std::vector<std::size_t> PointsWorthDrawing(const std::vector<PlotPoint>& line, double xScale,
                                            double yScale, double tolerance) {
    const std::size_t n = line.size();
    std::vector<std::size_t> all(n);
    std::iota(all.begin(), all.end(), std::size_t{0});
    const bool scaled = std::isfinite(xScale) && std::isfinite(yScale) && xScale > 0 && yScale > 0;
    if (n < 3 || !scaled)
        return all;

    std::vector<bool> keep = EndsAndGaps(line);
    const Scaled pixels{line, xScale, yScale};
    const double limit = tolerance * tolerance;
    std::vector<std::pair<std::size_t, std::size_t>> spans = Runs(line, keep);
    while (!spans.empty()) {
        const auto [a, b] = spans.back();
        spans.pop_back();
        if (b - a < 2)
            continue;
        const auto [far, distance] = pixels.farthest(a, b);
        if (!(distance <= limit)) {
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
