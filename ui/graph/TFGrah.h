#pragma once

#include "platform/CommandBoundary.h"
#include "targets/TargetTable.h"
#include "ui/graph/GraphController.h"
#include "ui/graph/GraphView.h"

#include <QDialog>

class QChart;
class QChartView;
class QGroupBox;
class QLabel;
class QLineSeries;
class QPushButton;
class QRadioButton;
class QTableWidget;
class QValueAxis;

namespace vorn {

class Prompter;

// The graph window: one quantity of the history against its target, and the
// history grid below the chart, shown when the window is unfolded.
class TFGrah : public QDialog, private GraphView {
    Q_OBJECT
public:
    TFGrah(Prompter& prompter, const TargetTable& targets, QWidget* parent = nullptr);
    ~TFGrah() override;

    GraphController& controller() { return controller_; }

    // The frame the outer heights of the controller allow for: an 18-pixel
    // caption and 3-pixel borders. The client area is sized as that frame
    // would leave it, so that the chart is whole and the grid hidden in the
    // compact state whatever frame the window manager draws.
    static constexpr int kAssumedFrameHeight = 24;
    static constexpr int kClientWidth = 463;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // GraphView
    void setTargetLegendVisible(bool visible) override;
    void clearSeries(GraphSeries series) override;
    void setSeriesPoints(GraphSeries series, const std::vector<PlotPoint>& points) override;
    std::string cell(int column, int row) const override;
    void setCell(int column, int row, const std::string& text) override;
    void setWindowHeight(int outerHeight) override;
    int windowTop() const override;
    void setWindowTop(int top) override;
    int screenHeight() const override;
    void showModal() override;

    void buildSelector();
    void buildLegend();
    void buildChart();
    void buildGrid();
    QLineSeries* series(GraphSeries s) const;
    void rescaleAxes();

    CommandBoundary boundary_;
    GraphController controller_;

    QGroupBox* radioGroup1_ = nullptr;
    QRadioButton* radioButtons_[9] = {};
    QLabel* panel1_ = nullptr;
    QLabel* panel2_ = nullptr;
    QPushButton* button1_ = nullptr;
    QChartView* chart1_ = nullptr;
    QChart* chart_ = nullptr;
    QLineSeries* series1_ = nullptr;
    QLineSeries* series2_ = nullptr;
    QValueAxis* axisX_ = nullptr;
    QValueAxis* axisY_ = nullptr;
    QTableWidget* sg_ = nullptr;
};

} // namespace vorn
