#pragma once

#include "ui/graph/DatedTable.h"
#include "ui/graph/GraphView.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <utility>

namespace vorn::test {

// The graph window as plain data.
class FakeGraphView : public GraphView {
public:
    void showPlot(const Plot& plot) override {
        series[GraphSeries::Series1] = plot.measured;
        series[GraphSeries::Series2] = plot.target;
        series[GraphSeries::Series3] = plot.trend;
        targetLegend = plot.withTarget;
        summary = plot.summary;
    }
    void setTrendChecked(bool checked) override { trendChecked = checked; }
    void showCalendar(bool shown) override { calendar = shown; }
    void showRange(CalendarRange r, long long from, long long to) override {
        range = r;
        shownHours = {from, to};
    }
    void showRows(const GridTable& grid, int, int) override { table = &grid; }
    const GridTable& grid() const { return *table; }
    std::string cell(int column, int row) const { return table->text(column, row); }
    void setQuantityChecked(int) override {}
    void setWindowSize(int, int h, bool) override { height = h; }
    int windowTop() const override { return top; }
    void setWindowTop(int t) override { top = t; }
    int screenHeight() const override { return screen; }
    std::string chartBytes(ChartFormat format) override {
        return "chart " + std::to_string(static_cast<int>(format));
    }
    void showModal() override {
        ++shown;
        if (onShow)
            onShow();
    }

    void showDatedTable(std::shared_ptr<const DatedTable> t) override { dated = std::move(t); }

    std::optional<RecordCorrectionTexts> askCorrection(const RecordCorrectionTexts& record,
                                                       const RecordDate&) override {
        asked.push_back(record);
        return correction;
    }

    bool targetLegend = false;
    std::optional<std::string> summary;
    bool trendChecked = false;
    bool calendar = false;
    std::optional<CalendarRange> range; // none until a range is shown
    std::pair<long long, long long> shownHours;
    std::map<GraphSeries, std::vector<PlotPoint>> series;
    const GridTable* table = nullptr; // the controller's, once it has written rows
    int height = 0;
    int top = 0;
    int screen = 768;
    int shown = 0;
    std::function<void()> onShow;
    std::shared_ptr<const DatedTable> dated;         // the table while on a calendar
    std::vector<RecordCorrectionTexts> asked;        // what the correction's dialog showed
    std::optional<RecordCorrectionTexts> correction; // its answer; none: cancelled
};

} // namespace vorn::test
