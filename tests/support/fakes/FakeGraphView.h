#pragma once

#include "ui/graph/GraphView.h"

#include <functional>
#include <map>
#include <utility>

namespace vorn::test {

// The graph window as plain data.
class FakeGraphView : public GraphView {
public:
    void setTargetLegendVisible(bool visible) override { targetLegend = visible; }
    void setPlot(const std::vector<PlotPoint>& measured, const std::vector<PlotPoint>& target,
                 const std::vector<PlotPoint>& trend) override {
        series[GraphSeries::Series1] = measured;
        series[GraphSeries::Series2] = target;
        series[GraphSeries::Series3] = trend;
    }
    void setTrendSummary(const std::optional<std::string>& text) override { summary = text; }
    void setTrendChecked(bool checked) override { trendChecked = checked; }
    const GridTable& grid() const override { return table; }
    void setRows(int first, std::vector<GridRow> rows) override {
        table.setRows(first, std::move(rows));
    }
    std::string cell(int column, int row) const { return table.text(column, row); }
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

    bool targetLegend = false;
    std::optional<std::string> summary;
    bool trendChecked = false;
    std::map<GraphSeries, std::vector<PlotPoint>> series;
    GridTable table;
    int height = 0;
    int top = 0;
    int screen = 768;
    int shown = 0;
    std::function<void()> onShow;
};

} // namespace vorn::test
