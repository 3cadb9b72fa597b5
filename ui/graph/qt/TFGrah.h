#pragma once

#include "targets/TargetTable.h"
#include "ui/CommandBoundary.h"
#include "ui/graph/GraphController.h"
#include "ui/graph/GraphView.h"

#include <QDialog>

class QGroupBox;
class QLabel;
class QMenu;
class QPrinter;
class QPushButton;
class QRadioButton;
class QTableView;

namespace vorn {

class CalendarRangeRow;
class ChartMenu;
class ChartView;
class GraphChart;
class GridModel;
class StatsWindow;
class TableMenu;
class TableSwitch;

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

    // The chart's menu, at a place on the screen (none: over the chart).
    void openChartMenu(const QPoint* globalPos = nullptr);
    QMenu* chartMenu() const;
    // The statistics window opened last from the chart's menu, while open.
    StatsWindow* statsWindow() const;
    TableMenu* tableMenu() const { return tableMenu_; }

    std::string chartBytes(ChartFormat format) override;
    // The print dialog, then the chart on one page.
    void printChart();
    // The chart on one page of `printer`, filling it; false when the printer
    // cannot start.
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
    void showCalendar(bool shown) override;
    void showRange(CalendarRange range, long long fromHour, long long toHour) override;
    void showRows(const GridTable& grid, int first, int count) override;
    void setQuantityChecked(int quantity) override;
    void setWindowSize(int width, int outerHeight, bool unfolded) override;
    int windowTop() const override;
    void setWindowTop(int top) override;
    int screenHeight() const override;
    void showModal() override;
    void showDatedTable(std::shared_ptr<const DatedTable> table) override;
    std::optional<RecordCorrectionTexts> askCorrection(const RecordCorrectionTexts& record,
                                                       const RecordDate& latest) override;

    void buildSelector();
    void buildLegend();
    void buildChart();
    void buildGrid();
    // The chart and the grid in the room the window's size gives them.
    void placeChartAndGrid();
    // The menu of the focused table, or else the chart's.
    void openMenu();

    CommandBoundary boundary_;
    GraphController controller_;

    QGroupBox* radioGroup1_ = nullptr;
    QRadioButton* radioButtons_[kQuantityCount] = {}; // RadioButton<n> at n - 1
    QLabel* panel1_ = nullptr;
    QLabel* panel2_ = nullptr;
    QPushButton* button1_ = nullptr;
    GraphChart* graph_ = nullptr;
    ChartView* chart1_ = nullptr;
    ChartMenu* chartMenu_ = nullptr;
    // Made the first time the chart is on a calendar.
    CalendarRangeRow* ranges_ = nullptr;
    QTableView* sg_ = nullptr;
    GridModel* grid_ = nullptr;
    TableMenu* tableMenu_ = nullptr;
    TableSwitch* tables_ = nullptr;

    bool unfolded_ = false;
};

} // namespace vorn
