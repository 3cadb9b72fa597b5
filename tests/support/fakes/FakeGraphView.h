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
    void setPlot(const std::vector<PlotPoint>& measured,
                 const std::vector<PlotPoint>& target) override {
        series[GraphSeries::Series1] = measured;
        series[GraphSeries::Series2] = target;
    }
    std::string cell(int column, int row) const override {
        auto it = cells.find({column, row});
        return it == cells.end() ? std::string() : it->second;
    }
    void setRows(int first, std::vector<GridRow> rows) override {
        for (std::size_t k = 0; k < rows.size(); ++k)
            for (int column = 0; column < kGridColumns; ++column)
                cells[{column, first + static_cast<int>(k)}] =
                    rows[k][static_cast<std::size_t>(column)];
    }
    void setWindowHeight(int h) override { height = h; }
    int windowTop() const override { return top; }
    void setWindowTop(int t) override { top = t; }
    int screenHeight() const override { return screen; }
    void showModal() override {
        ++shown;
        if (onShow)
            onShow();
    }

    bool targetLegend = false;
    std::map<GraphSeries, std::vector<PlotPoint>> series;
    std::map<std::pair<int, int>, std::string> cells;
    int height = 0;
    int top = 0;
    int screen = 768;
    int shown = 0;
    std::function<void()> onShow;
};

} // namespace vorn::test
