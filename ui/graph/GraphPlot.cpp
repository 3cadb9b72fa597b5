#include "ui/graph/GraphPlot.h"

#include "core/NumText.h"
#include "ui/graph/TrendPlot.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace vorn {

Plot PlotOf(const GraphData& data, int quantity, const std::string& targetText, bool trend) {
    if (quantity < 0 || quantity >= kQuantityCount)
        throw std::out_of_range("PlotOf: no quantity " + std::to_string(quantity));
    Plot plot;
    plot.quantity = quantity;
    plot.withTarget = !targetText.empty();
    // A text that is not a number, or one too large for a double, has no
    // value: the row then plots as 0.
    const std::optional<double> targetValue =
        plot.withTarget ? StrToDouble(targetText) : std::optional<double>(0.0);
    const int column = GridColumnOf(quantity);
    const std::size_t records = static_cast<std::size_t>(std::max(data.rows - 1, 0));
    plot.measured.reserve(records);
    if (plot.withTarget)
        plot.target.reserve(records);
    for (int row = 1; row < data.rows; ++row) {
        const std::optional<double> value = data.grid.value(column, row);
        // One failed conversion, of the cell or of the target, drops both
        // lines to 0 at this row.
        const bool both = value && targetValue;
        const double x = static_cast<double>(plot.measured.size());
        plot.measured.push_back({x, both ? *value : 0});
        if (plot.withTarget)
            plot.target.push_back({x, both ? *targetValue : 0});
    }
    if (trend) {
        // The forecast aims at the target the target line draws.
        const std::optional<double> goal = plot.withTarget ? targetValue : std::nullopt;
        TrendPlot t = PlotTrend(data.grid, data.rows, quantity, data.dates, goal);
        plot.trend = std::move(t.line);
        plot.trendRecords.reserve(plot.trend.size());
        for (const PlotPoint& p : plot.trend)
            plot.trendRecords.push_back(static_cast<int>(p.x));
        plot.trendValues = std::move(t.trend.values);
        plot.summary = std::move(t.summary);
    }
    return plot;
}

std::string QuantityTitle(int quantity) {
    return Facts(quantity).gridHeader;
}

} // namespace vorn
