#include "ui/graph/qt/ChartMenu.h"

#include "core/Errors.h"
#include "log/DatedLog.h"
#include "ui/CommandBoundary.h"
#include "ui/graph/GraphController.h"
#include "ui/graph/qt/ChartExport.h"
#include "ui/graph/qt/ChartView.h"
#include "ui/graph/qt/GraphChart.h"
#include "ui/graph/qt/StatsWindow.h"

#include <QAction>

namespace vorn {

ChartMenu::ChartMenu(GraphChart& graph, ChartView& view, Services services, QWidget* window)
    : QMenu(window), graph_(graph), view_(view), services_(services) {
    setObjectName(QStringLiteral("ChartMenu"));
    showTrend_ =
        addCommand(QStringLiteral("傾向線を表示(&T)"), "ShowTrend", &ChartMenu::showTrendClicked);
    showTrend_->setCheckable(true);
    addSeparator();
    addCommand(QStringLiteral("グラフを画像で保存(&S)…"), "SaveChart",
               &ChartMenu::saveChartClicked);
    addCommand(QStringLiteral("印刷(&P)…"), "PrintChart", &ChartMenu::printChart);
    addCommand(QStringLiteral("一覧表をCSVで保存(&C)…"), "SaveTable", &ChartMenu::saveTableClicked);
    stats_ =
        addCommand(QStringLiteral("期間ごとの集計(&M)…"), "PeriodStats", &ChartMenu::statsClicked);
    addSeparator();
    addCommand(QStringLiteral("縮小(&O)"), "ZoomOut", &ChartMenu::zoomOut);
    addCommand(QStringLiteral("元の表示に戻す(&R)"), "ZoomReset", &ChartMenu::zoomReset);
    addSeparator();
    showCalendar_ = addCommand(QStringLiteral("日付で表示(&D)"), "ShowCalendar",
                               &ChartMenu::showCalendarClicked);
    showCalendar_->setCheckable(true);
}

QAction* ChartMenu::addCommand(const QString& caption, const char* name, void (ChartMenu::*run)()) {
    QAction* action = addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    connect(action, &QAction::triggered, this, [this, run] { (this->*run)(); });
    return action;
}

void ChartMenu::open(const QPoint* globalPos) {
    // The Menu key can arrive both as a key and as a request for the menu.
    if (isVisible())
        return;
    stats_->setEnabled(services_.controller.logShown());
    popup(globalPos ? *globalPos : view_.menuPlace());
}

void ChartMenu::setTrendChecked(bool checked) {
    showTrend_->setChecked(checked);
}

void ChartMenu::setCalendarChecked(bool checked) {
    showCalendar_->setChecked(checked);
}

void ChartMenu::showTrendClicked() {
    services_.boundary.run([this] { services_.controller.TrendLineClick(); });
}

void ChartMenu::saveChartClicked() {
    services_.boundary.run([this] { services_.controller.SaveChartClick(); });
}

void ChartMenu::saveTableClicked() {
    services_.boundary.run([this] { services_.controller.SaveTableClick(); });
}

void ChartMenu::statsClicked() {
    services_.boundary.run([this] {
        std::shared_ptr<const DatedLog> log = services_.controller.StatsClick();
        if (!log)
            return;
        const int quantity = services_.controller.plottedQuantity();
        auto* window = new StatsWindow(
            StatsTable::Of(*log, quantity, Period::Week),
            [log, quantity](Period period) { return StatsTable::Of(*log, quantity, period); },
            services_.prompter, services_.files, parentWidget());
        window->setAttribute(Qt::WA_DeleteOnClose);
        statsWindow_ = window;
        window->show();
        window->activateWindow();
    });
}

StatsWindow* ChartMenu::statsWindow() const {
    return statsWindow_;
}

void ChartMenu::printChart() {
    PaperDevices* paper = nullptr;
    if (!services_.boundary.run([&paper] { paper = &Paper(); }))
        return;
    const std::unique_ptr<GraphChart> chart = graph_.paperCopy();
    if (paper->print(parentWidget(), kChartDocumentTitle, DrawingOf(*chart)) ==
        PrintOutcome::Failed)
        services_.boundary.run([] { throw UserError("印刷を始められませんでした。"); });
}

bool ChartMenu::printChartOn(QPrinter& printer) {
    return Paper().printOn(printer, DrawingOf(*graph_.paperCopy()));
}

void ChartMenu::zoomOut() {
    graph_.setAnimated(true);
    graph_.zoomOut();
}

void ChartMenu::zoomReset() {
    graph_.setAnimated(true);
    graph_.restoreFittedView();
}

void ChartMenu::showCalendarClicked() {
    services_.boundary.run([this] { services_.controller.CalendarClick(); });
}

} // namespace vorn
