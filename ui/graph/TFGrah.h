#pragma once

#include "targets/TargetTable.h"
#include "ui/CommandBoundary.h"
#include "ui/graph/AxisScale.h"
#include "ui/graph/GraphController.h"
#include "ui/graph/GraphView.h"

#include <QDialog>
#include <QRectF>
#include <QSizeF>

#include <optional>
#include <utility>
#include <vector>

class QChart;
class QChartView;
class QGroupBox;
class QLabel;
class QLineSeries;
class QMenu;
class QPainter;
class QPrinter;
class QAction;
class QPushButton;
class QRadioButton;
class QTableView;
class QTimer;
class QValueAxis;

namespace vorn {

class GridModel;
class TableMenu;
class Prompter;

// The graph window: one quantity of the history against its target, and the
// history grid below the chart, shown when the window is unfolded. The user
// may make it larger; the chart and the grid take the room.
class TFGrah : public QDialog, private GraphView {
    Q_OBJECT
public:
    TFGrah(GraphController::Services services, const TargetTable& targets,
           QWidget* parent = nullptr);
    ~TFGrah() override;

    GraphController& controller() { return controller_; }

    // The frame the outer heights of the controller allow for: an 18-pixel
    // caption and 3-pixel borders. The client area is sized as that frame
    // would leave it, so that the chart is whole and the grid hidden in the
    // compact state whatever frame the window manager draws.
    static constexpr int kAssumedFrameHeight = 24;
    static constexpr int kClientWidth = 463;
    // A line of at most this many points marks each of them; a line of
    // one point is marked whatever its kind.
    static constexpr int kMarkedPoints = 20;

    // The chart's menu, at a place on the screen (none: over the chart).
    void openChartMenu(const QPoint* globalPos = nullptr);
    QMenu* chartMenu() const { return chartMenu_; }
    TableMenu* tableMenu() const { return tableMenu_; }

    std::string chartBytes(ChartFormat format) override;
    // The print dialog, then the chart on one page.
    void printChart();
    // The chart on one page of `printer`, as large as the page allows;
    // false when the printer cannot start.
    bool printChartOn(QPrinter& printer);

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // GraphView
    void showPlot(const Plot& plot) override;
    void setTrendChecked(bool checked) override;
    void showRows(const GridTable& grid, int first, int count) override;
    void setTargetLegendVisible(bool visible);
    void setPlot(const std::vector<PlotPoint>& measured, const std::vector<PlotPoint>& target,
                 const std::vector<PlotPoint>& trend);
    void setTrendSummary(const std::optional<std::string>& summary);
    void setQuantityChecked(int quantity) override;
    void setWindowSize(int width, int outerHeight, bool unfolded) override;
    int windowTop() const override;
    void setWindowTop(int top) override;
    int screenHeight() const override;
    void showModal() override;

    void buildSelector();
    void buildLegend();
    void buildChart();
    void buildChartMenu();
    // A command of the chart's menu; later commands go below the earlier.
    QAction* addChartCommand(const QString& caption, const char* name, void (TFGrah::*run)());
    void buildGrid();
    // The chart and the grid in the room the window's size gives them.
    void placeChartAndGrid();
    // The menu of the focused table, or else the chart's.
    void openMenu();
    void zoomOut();
    void zoomReset();
    void showTrendClicked();
    void saveChartClicked();
    // The chart, at `scale` times its size on screen.
    void paintChart(QPainter& painter, qreal scale);
    void saveTableClicked();
    // The trend through the points worth drawing for the view on screen,
    // unless it is already drawn for that view.
    void drawTrend();
    // The same without animation, once the view has settled.
    void redrawTrendStill();
    // The summary at the top edge of the plot, whole, wherever the plot is.
    void placeTrendSummary();
    // Animations on or off for the changes to come.
    void animateChart(bool animated);
    void fitAxes(const std::vector<const std::vector<PlotPoint>*>& lines, bool summaryRoom);
    // Sets an axis without treating the change as the user's zoom.
    void applyScale(QValueAxis* axis, const AxisScale& scale);
    // A zoom, or a zoom out, of the user: round ticks again, and no record
    // numbers below 0.
    void axisRangeChanged(QValueAxis* axis);
    // Back to the axes fitted to the points.
    void restoreFittedView();
    // The tooltip of the measured point under the pointer, if there is one.
    void pointerMoved(const QPoint& viewportPos);

    CommandBoundary boundary_;
    GraphController controller_;

    QGroupBox* radioGroup1_ = nullptr;
    QRadioButton* radioButtons_[kQuantityCount] = {}; // RadioButton<n> at n - 1
    QLabel* panel1_ = nullptr;
    QLabel* panel2_ = nullptr;
    QPushButton* button1_ = nullptr;
    QChartView* chart1_ = nullptr;
    QChart* chart_ = nullptr;
    QLineSeries* series1_ = nullptr;
    QLineSeries* series2_ = nullptr;
    QLineSeries* series3_ = nullptr;
    // The trend, a point at each record that took a step, and the view
    // (the axes' ranges and the plot's size) it is drawn for.
    std::vector<PlotPoint> trendLine_;
    std::optional<std::pair<QRectF, QSizeF>> trendDrawnFor_;
    QTimer* trendRedraw_ = nullptr;
    QLabel* trendSummary_ = nullptr;
    QMenu* chartMenu_ = nullptr;
    QAction* showTrend_ = nullptr;
    QValueAxis* axisX_ = nullptr;
    QValueAxis* axisY_ = nullptr;
    QTableView* sg_ = nullptr;
    GridModel* grid_ = nullptr;
    TableMenu* tableMenu_ = nullptr;

    AxisScale fittedX_;
    AxisScale fittedY_;
    bool unfolded_ = false;
    bool applying_ = false;
    int tipPoint_ = -1;
};

} // namespace vorn
