#include "ui/graph/TrendPlot.h"

#include "core/Forecast.h"
#include "core/TrendText.h"

#include <algorithm>
#include <array>
#include <limits>

namespace vorn {
namespace {

constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();

std::vector<double> Column(const GridTable& grid, int rows, int column) {
    std::vector<double> values;
    values.reserve(static_cast<std::size_t>(std::max(rows - 1, 0)));
    for (int row = 1; row < rows; ++row)
        values.push_back(grid.value(column, row).value_or(kNoValue));
    return values;
}

// Which records were saved without a fat percentage; asked only for the
// quantities that need one.
std::vector<bool> WithoutFat(const GridTable& grid, int rows) {
    std::vector<bool> without;
    without.reserve(static_cast<std::size_t>(std::max(rows - 1, 0)));
    for (int row = 1; row < rows; ++row) {
        std::array<double, kQuantityCount> record{};
        for (int q = 0; q < kQuantityCount; ++q)
            record[static_cast<std::size_t>(q)] =
                grid.value(GridColumnOf(q), row).value_or(kNoValue);
        without.push_back(SavedWithoutFat(record));
    }
    return without;
}

} // namespace

RecordDates DateGridRecords(const GridTable& grid, int rows, const LocalTime& now) {
    return DateRecords(Column(grid, rows, kGridDateColumn), now);
}

TrendPlot PlotTrend(const GridTable& grid, int rows, int quantity, const RecordDates& dates,
                    std::optional<double> target) {
    const std::vector<double> values = Column(grid, rows, GridColumnOf(quantity));
    const std::vector<bool> withoutFat =
        Facts(quantity).fatField ? WithoutFat(grid, rows) : std::vector<bool>{};
    TrendPlot plot;
    plot.trend = ComputeTrend(values, dates, quantity, withoutFat);
    for (std::size_t i = 0; i < plot.trend.values.size(); ++i)
        if (const auto& v = plot.trend.values[i])
            plot.line.push_back({static_cast<double>(i), static_cast<double>(*v)});
    const std::optional<long double> goal =
        target ? std::optional<long double>(*target) : std::nullopt;
    plot.summary = TrendSummary(plot.trend, ForecastTarget(plot.trend, goal), quantity);
    return plot;
}

} // namespace vorn
