#pragma once

#include <QMenu>
#include <QPointer>

class QAction;
class QPrinter;

namespace vorn {

class ChartView;
class CommandBoundary;
class FileChooser;
class GraphChart;
class GraphController;
class Prompter;
class StatsWindow;

// The chart's menu: the trend line, the chart's and the table's files,
// printing, the statistics per period, zooming and the calendar.
class ChartMenu : public QMenu {
public:
    struct Services {
        GraphController& controller;
        CommandBoundary& boundary;
        Prompter& prompter;
        FileChooser& files;
    };
    ChartMenu(GraphChart& graph, ChartView& view, Services services, QWidget* window);

    // At a place on the screen (none: over the chart).
    void open(const QPoint* globalPos = nullptr);
    void setTrendChecked(bool checked);
    void setCalendarChecked(bool checked);
    // The statistics window opened last from this menu, while open.
    StatsWindow* statsWindow() const;
    // The print dialog, then the chart on one page.
    void printChart();
    bool printChartOn(QPrinter& printer);

private:
    // A command; later commands go below the earlier.
    QAction* addCommand(const QString& caption, const char* name, void (ChartMenu::*run)());
    void showTrendClicked();
    void saveChartClicked();
    void saveTableClicked();
    // The statistics of the quantity shown, per week first, in a window of
    // their own.
    void statsClicked();
    // As the right button zoomed out before it opened this menu.
    void zoomOut();
    void zoomReset();
    void showCalendarClicked();

    GraphChart& graph_;
    ChartView& view_;
    Services services_;
    QAction* showTrend_ = nullptr;
    QAction* stats_ = nullptr;
    QAction* showCalendar_ = nullptr;
    QPointer<StatsWindow> statsWindow_;
};

} // namespace vorn
