#pragma once

#include "ui/graph/AxisScale.h"
#include "ui/graph/GraphPlot.h"

#include <QColor>
#include <QObject>
#include <QRectF>
#include <QSizeF>

#include <memory>
#include <optional>
#include <utility>

class QCategoryAxis;
class QChart;
class QGraphicsScene;
class QLineSeries;
class QScatterSeries;
class QPainter;
class QTimer;
class QValueAxis;

namespace vorn {

// The colours of the lines, which the window's legend shows beside them.
QColor MeasuredColour();
QColor TargetColour();
// The window's sample of the target line, a deeper blue than the line.
QColor TargetSampleColour();
QColor TrendColour();

// The chart of a plot: the measured, target and trend lines on a record
// axis and a value axis fitted to them, the user's zooms, and the trend
// drawn through the points worth drawing for the view. The same chart
// serves the window (a ChartView shows it) and every file and page: a chart
// for paper also names the quantity in its title, has a legend of its
// lines and carries the trend's summary, and paint() draws it on any
// painter at any size. The x of a point is a number along the axis, the
// record's place today.
class GraphChart : public QObject {
    Q_OBJECT
public:
    enum class Medium { Screen, Paper };

    explicit GraphChart(Medium medium, QObject* parent = nullptr);
    ~GraphChart() override;

    QChart* chart() const { return chart_; }
    const Plot& plot() const { return plot_; }

    // Replaces the lines by the plot's and fits the axes to them. Animated,
    // the lines move to their new places; else they stand there at once.
    void showPlot(const Plot& plot, bool animated);
    // Animations on or off for the changes to come.
    void setAnimated(bool animated);
    void zoomOut();
    // Back to the axes fitted to the points (on a calendar, to the range's
    // hours).
    void restoreFittedView();

    // On a calendar (a plot whose x is the hour): whether one is shown; the
    // hours `fromHour` to `toHour` as the fitted view, the value axis
    // fitted to the points among them; the view `factor` times as wide
    // about the hour at x `atX` of the chart; and moved by `share` of its
    // width. Each draws the lines for the new view at once.
    bool onCalendar() const { return onCalendar_; }
    void showHours(long long fromHour, long long toHour);
    void zoomAbout(double factor, qreal atX);
    void pan(double share);

    // The point of the measured line or of the trend nearest to `at` (in
    // the chart's coordinates), within `reach` pixels and inside the plot:
    // the line and the point's index in the plot's vector of that line. A
    // tie goes to the measured line.
    struct Hit {
        bool onTrend = false;
        std::size_t index = 0;
    };
    std::optional<Hit> pointNear(const QPointF& at, qreal reach) const;

    // A copy for paper of the chart as it is shown: the same plot, the same
    // view of it.
    std::unique_ptr<GraphChart> paperCopy() const;
    // Lays a chart for paper out at `size` and draws it into the rectangle
    // of that size at the painter's origin; the painter's scale sets the
    // density.
    void paint(QPainter& painter, const QSizeF& size);

    // A ring around the point of the plot at `at`, the record chosen in the
    // table; none: no ring.
    void markPoint(const std::optional<PlotPoint>& at);

signals:
    // The plot area has moved or changed its size.
    void plotAreaChanged();

private:
    void makeSeries();
    // The x axis of the plot's kind, in the chart in place of the other.
    void useXAxis(bool calendar);
    QValueAxis* xAxis() const;
    // On a calendar: the date labels for the axis's range, and the measured
    // line through each pixel column's extremes of the view, a line of its
    // own for each run between gaps.
    void labelDates();
    void drawMeasuredRuns();
    QLineSeries* runSeries(std::size_t run);
    void fitCalendar(double fromHour, double toHour);
    // The indices of `points` that may lie within `reach` of `at`: on a
    // calendar those near it in time, else all.
    std::pair<std::size_t, std::size_t> reachable(const std::vector<PlotPoint>& points,
                                                  const QPointF& at, qreal reach) const;
    // The view the measured runs are drawn for.
    std::optional<std::pair<QRectF, QSizeF>> runsDrawnFor_;
    void makeAxes();
    void makeLegend();
    // The trend through the points worth drawing for the view shown, unless
    // it is already drawn for that view.
    void drawTrend();
    // The same without animation, once the view has settled.
    void redrawTrendStill();
    void fitAxes(bool summaryRoom);
    // Sets an axis without treating the change as the user's zoom.
    void applyScale(QValueAxis* axis, const AxisScale& scale);
    // A zoom, or a zoom out, of the user: round ticks again, and no record
    // numbers below 0.
    void axisRangeChanged(QValueAxis* axis);
    // On paper: the title naming the quantity, the legend of the lines drawn.
    void nameOnPaper();
    void paintSummary(QPainter& painter) const;

    Medium medium_;
    QChart* chart_ = nullptr;
    std::unique_ptr<QGraphicsScene> paperScene_;
    QLineSeries* measuredSeries_ = nullptr;
    QLineSeries* targetSeries_ = nullptr;
    QLineSeries* trendSeries_ = nullptr;
    QValueAxis* recordAxis_ = nullptr;
    QCategoryAxis* dateAxis_ = nullptr;
    bool onCalendar_ = false;
    // The measured line's runs past the first, drawn by measuredSeries_.
    std::vector<QLineSeries*> moreRuns_;
    QValueAxis* valueAxis_ = nullptr;
    Plot plot_;
    AxisScale fittedX_;
    AxisScale fittedY_;
    AxisScale shownX_;
    AxisScale shownY_;
    bool applying_ = false;
    // The view (the axes' ranges and the plot's size) the trend is drawn for.
    std::optional<std::pair<QRectF, QSizeF>> trendDrawnFor_;
    QTimer* trendRedraw_ = nullptr;
    QScatterSeries* recordMark_ = nullptr;
};

} // namespace vorn
