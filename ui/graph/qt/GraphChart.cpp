#include "ui/graph/qt/GraphChart.h"

#include "ui/Colours.h"
#include "ui/Fonts.h"
#include "ui/graph/ColumnThinning.h"
#include "ui/graph/DateAxisTicks.h"
#include "ui/graph/LineThinning.h"

#include <QCategoryAxis>
#include <QChart>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QScatterSeries>
#include <QTimer>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace vorn {

QColor MeasuredColour() {
    return FromBgr(0x0000FF); // red
}
QColor TargetColour() {
    return FromBgr(0xFF8000); // azure
}
QColor TargetSampleColour() {
    return FromBgr(0xFF0000); // blue
}
// Purple, wider than the other lines: apart from them and from every band.
QColor TrendColour() {
    return FromBgr(0xA00080);
}

namespace {

constexpr int kTrendWidth = 2;
constexpr const char* kTitle = "種類別測定値";
// The share of the value range added above the fitted lines while the
// trend's summary is shown, so that it covers none of them.
constexpr double kSummaryRoom = 0.2;
constexpr int kAnimationMs = 200;
// Time given to the last frames of an animation before the trend is drawn
// again for the view it ends in.
constexpr int kSettleMs = 50;
constexpr qreal kMarkerSize = 4;
// A line of at most this many points marks each of them; a line of one
// point is marked whatever its kind.
constexpr std::size_t kMarkedPoints = 20;
// The value axis before any point is plotted.
constexpr AxisScale kEmptyValueScale{0, 1, 0.2, 1};

// The chart draws the same in an active window as in an inactive one: each
// of its colours is its own, none comes from the palette. So a change of
// activation, which would repaint it whole right after the first paint of
// each showing, is let pass.
class Chart : public QChart {
protected:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::WindowActivate || event->type() == QEvent::WindowDeactivate)
            return true;
        return QChart::event(event);
    }
};

QList<QPointF> PointList(const std::vector<PlotPoint>& points) {
    QList<QPointF> list;
    list.reserve(static_cast<qsizetype>(points.size()));
    for (const PlotPoint& p : points)
        list.append(QPointF(p.x, p.y));
    return list;
}

// A single point draws no line, so it gets its mark; so do the points of a
// line that asks for them.
void ReplacePoints(QLineSeries* line, const QList<QPointF>& points, bool marked) {
    line->setPointsVisible(points.size() == 1 || marked);
    line->replace(points);
}

QLineSeries* Line(const char* name, const char* caption, const QColor& colour, int width) {
    auto* line = new QLineSeries;
    line->setObjectName(QString::fromLatin1(name));
    line->setName(QString::fromUtf8(caption));
    line->setPen(QPen(colour, width));
    line->setColor(colour);
    line->setMarkerSize(kMarkerSize);
    return line;
}

} // namespace

GraphChart::GraphChart(Medium medium, QObject* parent) : QObject(parent), medium_(medium) {
    chart_ = new Chart;
    chart_->setTitle(QString::fromUtf8(kTitle));
    chart_->setTitleBrush(QBrush(QColor(0, 0, 255)));
    chart_->setTitleFont(UiFont(13));
    chart_->setBackgroundBrush(Qt::white);
    chart_->setBackgroundRoundness(0);
    chart_->setPlotAreaBackgroundBrush(Qt::white);
    chart_->setPlotAreaBackgroundVisible(true);
    chart_->setMargins(QMargins(4, 4, 8, 4));
    chart_->setAnimationOptions(medium == Medium::Screen ? QChart::AllAnimations
                                                         : QChart::NoAnimation);
    chart_->setAnimationDuration(kAnimationMs);
    if (medium == Medium::Paper) {
        paperScene_ = std::make_unique<QGraphicsScene>();
        paperScene_->addItem(chart_);
    }

    // Once a zoom has run its course, or the plot taken its new size, the
    // trend is drawn again for the view it came to.
    trendRedraw_ = new QTimer(this);
    trendRedraw_->setObjectName(QStringLiteral("TrendRedraw"));
    trendRedraw_->setSingleShot(true);
    trendRedraw_->setInterval(kAnimationMs + kSettleMs);
    connect(trendRedraw_, &QTimer::timeout, this, [this] { redrawTrendStill(); });

    makeSeries();
    makeAxes();
    makeLegend();
    connect(chart_, &QChart::plotAreaChanged, this, [this] {
        trendRedraw_->start();
        emit plotAreaChanged();
    });
}

// The scene of a chart for paper owns the chart; the window's chart belongs
// to the view that shows it.
GraphChart::~GraphChart() {
    if (paperScene_)
        disconnect(chart_, nullptr, this, nullptr);
}

void GraphChart::makeSeries() {
    measuredSeries_ = Line("Series1", "測定値", MeasuredColour(), 1);
    targetSeries_ = Line("Series2", "目標値", TargetColour(), 1);
    // The trend is drawn over the records, as the measured line is.
    trendSeries_ = Line("Series3", "傾向", TrendColour(), kTrendWidth);
    for (QLineSeries* s : {measuredSeries_, targetSeries_, trendSeries_})
        chart_->addSeries(s);
}

void GraphChart::makeAxes() {
    recordAxis_ = new QValueAxis;
    // Outside the chart until a plot on a calendar comes.
    dateAxis_ = new QCategoryAxis(this);
    dateAxis_->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    // A label gets the room between its tick and the next: smaller than
    // the value axis's, the years' labels fit.
    dateAxis_->setLabelsFont(UiFont(10));
    valueAxis_ = new QValueAxis;
    chart_->addAxis(recordAxis_, Qt::AlignBottom);
    chart_->addAxis(valueAxis_, Qt::AlignLeft);
    for (QLineSeries* s : {measuredSeries_, targetSeries_, trendSeries_}) {
        s->attachAxis(recordAxis_);
        s->attachAxis(valueAxis_);
    }
    fitAxes(false);
    for (QValueAxis* axis : {recordAxis_, valueAxis_, static_cast<QValueAxis*>(dateAxis_)})
        connect(axis, &QValueAxis::rangeChanged, this, [this, axis] { axisRangeChanged(axis); });
}

void GraphChart::useXAxis(bool calendar) {
    if (onCalendar_ == calendar)
        return;
    QValueAxis* from = xAxis();
    onCalendar_ = calendar;
    QValueAxis* to = xAxis();
    chart_->removeAxis(from);
    from->setParent(this); // the chart let it go
    chart_->addAxis(to, Qt::AlignBottom);
    for (QLineSeries* s : {measuredSeries_, targetSeries_, trendSeries_})
        s->attachAxis(to);
    for (QLineSeries* s : moreRuns_) {
        s->clear();
        s->attachAxis(to);
    }
    runsDrawnFor_ = {};
}

QValueAxis* GraphChart::xAxis() const {
    return onCalendar_ ? dateAxis_ : recordAxis_;
}

QLineSeries* GraphChart::runSeries(std::size_t run) {
    if (run == 0)
        return measuredSeries_;
    while (moreRuns_.size() < run) {
        QLineSeries* line = Line("Series1Run", "測定値", MeasuredColour(), 1);
        chart_->addSeries(line);
        line->attachAxis(xAxis());
        line->attachAxis(valueAxis_);
        for (QLegendMarker* marker : chart_->legend()->markers(line))
            marker->setVisible(false);
        moreRuns_.push_back(line);
    }
    return moreRuns_[run - 1];
}

// In the window, the legend is shown with the trend and names the trend
// alone: the other lines have theirs beside the chart. On paper it names
// every line drawn.
void GraphChart::makeLegend() {
    QLegend* legend = chart_->legend();
    legend->hide();
    legend->setAlignment(Qt::AlignBottom);
    legend->setMarkerShape(QLegend::MarkerShapeFromSeries);
    legend->setFont(UiFont(12));
    legend->setLabelColor(Qt::black);
    for (QLineSeries* s : {measuredSeries_, targetSeries_})
        for (QLegendMarker* marker : legend->markers(s))
            marker->setVisible(false);
}

void GraphChart::setAnimated(bool animated) {
    // On a calendar the lines are drawn again for each view: at once.
    chart_->setAnimationOptions(animated && !onCalendar_ ? QChart::AllAnimations
                                                         : QChart::NoAnimation);
}

void GraphChart::showPlot(const Plot& plot, bool animated) {
    plot_ = plot;
    useXAxis(plot.calendar);
    setAnimated(animated);
    measuredSeries_->clear();
    targetSeries_->clear();
    trendSeries_->clear();
    if (medium_ == Medium::Screen)
        chart_->legend()->setVisible(plot_.summary.has_value());
    else
        nameOnPaper();
    fitAxes(!plot_.trend.empty());
    // Without animations each change is laid out at once. The axes and
    // their labels are laid out while the lines are empty, so that each
    // line is laid out only once, for its new points.
    if (!animated)
        chart_->layout()->activate();
    if (onCalendar_)
        drawMeasuredRuns();
    else
        ReplacePoints(measuredSeries_, PointList(plot_.measured),
                      plot_.measured.size() <= kMarkedPoints);
    ReplacePoints(targetSeries_, PointList(plot_.target), false);
    trendDrawnFor_ = {};
    drawTrend();
}

void GraphChart::nameOnPaper() {
    chart_->setTitle(QString::fromUtf8(kTitle) + QStringLiteral("　") +
                     QString::fromStdString(QuantityTitle(plot_.quantity)));
    QLegend* legend = chart_->legend();
    const std::pair<QLineSeries*, bool> lines[] = {{measuredSeries_, true},
                                                   {targetSeries_, plot_.withTarget},
                                                   {trendSeries_, plot_.summary.has_value()}};
    for (const auto& [line, drawn] : lines)
        for (QLegendMarker* marker : legend->markers(line)) {
            marker->setVisible(drawn);
            marker->setLabelBrush(line->color());
        }
    legend->show();
}

// The trend has a point at each record, often several to a pixel, and the
// chart strokes each of its segments on its own. It is drawn through the
// points it bends at, for the view shown; once a zoom or a new size has
// settled, for that view.
void GraphChart::drawTrend() {
    const QRectF plot = chart_->plotArea();
    const QRectF view(QPointF(xAxis()->min(), valueAxis_->min()),
                      QPointF(xAxis()->max(), valueAxis_->max()));
    if (trendDrawnFor_ && trendDrawnFor_->first == view && trendDrawnFor_->second == plot.size())
        return;
    trendDrawnFor_ = std::make_pair(view, plot.size());
    const std::vector<std::size_t> kept =
        PointsWorthDrawing(plot_.trend, plot.width() / view.width(), plot.height() / view.height());
    QList<QPointF> list;
    list.reserve(static_cast<qsizetype>(kept.size()));
    for (const std::size_t i : kept)
        list.append(QPointF(plot_.trend[i].x, plot_.trend[i].y));
    ReplacePoints(trendSeries_, list, false);
}

void GraphChart::redrawTrendStill() {
    const QChart::AnimationOptions options = chart_->animationOptions();
    chart_->setAnimationOptions(QChart::NoAnimation);
    if (onCalendar_) {
        labelDates();
        drawMeasuredRuns();
    }
    drawTrend();
    chart_->setAnimationOptions(options);
}

// Fits both axes to the points of every line, or to none: nothing of an
// earlier plot stays. The ticks are a fixed count over a whole number of
// steps: tick marks that follow an interval instead crash the axis
// animation when the number of ticks changes while it runs.
void GraphChart::fitAxes(bool summaryRoom) {
    if (onCalendar_) {
        fitCalendar(static_cast<double>(plot_.windowFrom), static_cast<double>(plot_.windowTo));
        return;
    }
    double low = 0;
    double high = 0;
    double last = -1;
    bool any = false;
    for (const std::vector<PlotPoint>* line : {&plot_.measured, &plot_.target, &plot_.trend})
        for (const PlotPoint& p : *line) {
            low = any ? std::min(low, p.y) : p.y;
            high = any ? std::max(high, p.y) : p.y;
            last = std::max(last, p.x);
            any = true;
        }
    if (any && summaryRoom && std::isfinite(high + (high - low) * kSummaryRoom))
        high += (high - low) * kSummaryRoom;
    fittedX_ = IndexAxisScale(static_cast<int>(last) + 1);
    fittedY_ = any ? ValueAxisScale(low, high) : kEmptyValueScale;
    restoreFittedView();
}

void GraphChart::restoreFittedView() {
    applyScale(xAxis(), fittedX_);
    applyScale(valueAxis_, fittedY_);
    trendRedraw_->start();
}

void GraphChart::zoomOut() {
    chart_->zoomOut();
}

void GraphChart::applyScale(QValueAxis* axis, const AxisScale& scale) {
    const bool outer = !applying_;
    applying_ = true;
    (axis == valueAxis_ ? shownY_ : shownX_) = scale;
    axis->setRange(scale.min, scale.max);
    if (axis == dateAxis_) {
        labelDates();
        drawMeasuredRuns();
        drawTrend();
        if (outer)
            applying_ = false;
        return;
    }
    // Each end divided on its own: max - min may overflow for huge values.
    const double steps = scale.max / scale.step - scale.min / scale.step;
    axis->setTickCount(static_cast<int>(std::lround(std::clamp(steps, 1.0, 20.0))) + 1);
    const QString format = QStringLiteral("%.%1f").arg(scale.decimals);
    if (axis->labelFormat() != format)
        axis->setLabelFormat(format);
    if (outer)
        applying_ = false;
}

void GraphChart::axisRangeChanged(QValueAxis* axis) {
    if (applying_)
        return;
    if (axis == dateAxis_) {
        applyScale(axis, AxisScale{axis->min(), axis->max(), 1, 0});
        return;
    }
    applyScale(axis, axis == recordAxis_ ? ZoomedIndexScale(axis->min(), axis->max())
                                         : ZoomedValueScale(axis->min(), axis->max()));
    trendRedraw_->start();
}

std::optional<GraphChart::Hit> GraphChart::pointNear(const QPointF& at, qreal reach) const {
    const QRectF area = chart_->plotArea().adjusted(-1, -1, 1, 1);
    std::optional<Hit> nearest;
    qreal best = reach * reach;
    // The trend is drawn through fewer points than it has: its tooltips come
    // from all of them.
    for (const bool onTrend : {false, true}) {
        const std::vector<PlotPoint>& points = onTrend ? plot_.trend : plot_.measured;
        QLineSeries* line = onTrend ? trendSeries_ : measuredSeries_;
        const auto [first, last] = reachable(points, at, reach);
        for (std::size_t i = first; i < last; ++i) {
            const QPointF p = chart_->mapToPosition(QPointF(points[i].x, points[i].y), line);
            const QPointF d = p - at;
            const qreal distance = d.x() * d.x() + d.y() * d.y();
            if (area.contains(p) && (distance < best || (distance == best && !onTrend))) {
                best = distance;
                nearest = Hit{onTrend, i};
            }
        }
    }
    return nearest;
}

std::unique_ptr<GraphChart> GraphChart::paperCopy() const {
    auto paper = std::make_unique<GraphChart>(Medium::Paper);
    paper->showPlot(plot_, false);
    paper->applyScale(paper->xAxis(), shownX_);
    paper->applyScale(paper->valueAxis_, shownY_);
    return paper;
}

void GraphChart::paint(QPainter& painter, const QSizeF& size) {
    if (!paperScene_)
        return; // the window's chart is drawn by its view
    chart_->resize(size);
    chart_->layout()->activate();
    if (onCalendar_) {
        // The date labels fitted to the width may change the plot's height.
        labelDates();
        chart_->layout()->activate();
    }
    redrawTrendStill();
    const QRectF target(QPointF(0, 0), size);
    // The chart's background leaves its edge uncovered: white, as on screen.
    painter.fillRect(target, Qt::white);
    painter.setRenderHint(QPainter::Antialiasing);
    paperScene_->setSceneRect(target);
    paperScene_->render(&painter, target, target);
    paintSummary(painter);
}

// What stands on the chart: the trend's summary, opaque, at the plot's top.
void GraphChart::paintSummary(QPainter& painter) const {
    if (!plot_.summary)
        return;
    const QString text = QString::fromStdString(*plot_.summary);
    painter.save();
    painter.setFont(UiFont(12));
    const QRectF area = chart_->plotArea();
    const QSizeF box = QSizeF(painter.fontMetrics().boundingRect(text).size()) + QSizeF(6, 2);
    const qreal room = chart_->size().width() - box.width();
    const QRectF place(
        QPointF(std::clamp(area.left() + 2, 0.0, std::max(room, 0.0)), area.top() + 2), box);
    painter.fillRect(place, Qt::white);
    painter.setPen(Qt::black);
    painter.drawText(place, Qt::AlignCenter, text);
    painter.restore();
}

void GraphChart::markPoint(const std::optional<PlotPoint>& at) {
    if (!recordMark_) {
        recordMark_ = new QScatterSeries;
        recordMark_->setObjectName(QStringLiteral("RecordMark"));
        recordMark_->setMarkerShape(QScatterSeries::MarkerShapeCircle);
        recordMark_->setMarkerSize(11);
        recordMark_->setColor(Qt::transparent);
        recordMark_->setBorderColor(MeasuredColour());
        chart_->addSeries(recordMark_);
        for (QLegendMarker* marker : chart_->legend()->markers(recordMark_))
            marker->setVisible(false);
    }
    // On the axes the measured line is drawn on now: the x axis is another
    // on a calendar.
    for (QAbstractAxis* axis : recordMark_->attachedAxes())
        recordMark_->detachAxis(axis);
    for (QAbstractAxis* axis : measuredSeries_->attachedAxes())
        recordMark_->attachAxis(axis);
    recordMark_->clear();
    if (at)
        recordMark_->append(at->x, at->y);
}

} // namespace vorn
