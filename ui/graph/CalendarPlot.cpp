#include "ui/graph/CalendarPlot.h"

#include "core/Forecast.h"
#include "core/NumText.h"
#include "core/Trend.h"
#include "core/TrendText.h"

#include <cmath>
#include <stdexcept>

namespace vorn {

Plot CalendarPlotOf(const DatedLog& log, int quantity, const std::string& targetText, bool trend,
                    CalendarRange range) {
    if (quantity < 0 || quantity >= kQuantityCount)
        throw std::out_of_range("CalendarPlotOf: no quantity " + std::to_string(quantity));
    Plot plot;
    plot.calendar = true;
    plot.quantity = quantity;
    // A target that is not a number draws no line and aims no forecast.
    const std::optional<double> parsed =
        targetText.empty() ? std::nullopt : StrToDouble(targetText);
    const bool hasTarget = parsed.has_value();
    const double target = parsed.value_or(0);
    plot.withTarget = hasTarget;
    const bool needsFat = Facts(quantity).fatField;
    const std::vector<double> values = QuantityValues(log, quantity);
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::optional<RecordDate>& date = log.dates[i];
        const bool withoutFat = needsFat && i < log.savedWithoutFatPercentage.size() &&
                                log.savedWithoutFatPercentage[i];
        if (!date || withoutFat || !std::isfinite(values[i]))
            continue;
        plot.measured.push_back({static_cast<double>(HoursSinceEpoch(*date)), values[i]});
        plot.records.push_back(i);
    }
    if (hasTarget && !plot.measured.empty())
        plot.target = {{plot.measured.front().x, target}, {plot.measured.back().x, target}};
    if (trend) {
        Trend t = ComputeTrend(values, log.dates, quantity, log.savedWithoutFatPercentage);
        for (std::size_t i = 0; i < t.values.size(); ++i)
            if (t.values[i] && log.dates[i]) {
                plot.trend.push_back({static_cast<double>(HoursSinceEpoch(*log.dates[i])),
                                      static_cast<double>(*t.values[i])});
                plot.trendRecords.push_back(static_cast<int>(i));
            }
        std::optional<long double> goal;
        if (hasTarget)
            goal = target;
        plot.summary = TrendSummary(t, ForecastTarget(t, goal), quantity);
        plot.trendValues = std::move(t.values);
    }
    const HourWindow window = PlotRangeWindow(plot, range);
    plot.windowFrom = window.from;
    plot.windowTo = window.to;
    return plot;
}

HourWindow PlotRangeWindow(const Plot& plot, CalendarRange range) {
    if (plot.measured.empty())
        return {};
    return CalendarRangeWindow(range, static_cast<long long>(plot.measured.front().x),
                               static_cast<long long>(plot.measured.back().x));
}

} // namespace vorn
