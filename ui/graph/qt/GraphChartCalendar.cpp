// The chart's ways on a calendar: date labels, the measured line thinned to
// the pixels of the view and broken at gaps, and the view moved in time.

#include "ui/graph/qt/GraphChart.h"

#include "ui/graph/ColumnThinning.h"
#include "ui/graph/DateAxisTicks.h"

#include <QCategoryAxis>
#include <QChart>
#include <QLineSeries>
#include <QSet>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace vorn {
namespace {

// The room one date label takes along the axis, in pixels.
constexpr qreal kDateLabelRoom = 64;
constexpr qreal kMarkerSize = 4;
// A view shows at least this many hours, and no more than this many years.
constexpr double kNarrowestHours = 6;
constexpr double kWidestHours = 200.0 * 366 * 24;
constexpr double kSummaryRoom = 0.2;

// The points of `points` from the last before `from` to the first after
// `to`: those in view and the neighbours their lines come from.
std::pair<std::size_t, std::size_t> InView(const std::vector<PlotPoint>& points, double from,
                                           double to) {
    const auto byX = [](const PlotPoint& p, double x) { return p.x < x; };
    const auto first = std::lower_bound(points.begin(), points.end(), from, byX);
    const auto last = std::upper_bound(points.begin(), points.end(), to,
                                       [](double x, const PlotPoint& p) { return x < p.x; });
    const std::size_t a = static_cast<std::size_t>(first - points.begin());
    const std::size_t b = static_cast<std::size_t>(last - points.begin());
    return {a == 0 ? 0 : a - 1, std::min(b + 1, points.size())};
}

} // namespace

void GraphChart::labelDates() {
    const double from = dateAxis_->min();
    const double to = dateAxis_->max();
    const int most = std::max(2, static_cast<int>(chart_->plotArea().width() / kDateLabelRoom));
    const std::vector<DateTick> ticks = DateAxisTicks(static_cast<long long>(std::ceil(from)),
                                                      static_cast<long long>(std::floor(to)), most);
    QStringList labels;
    QSet<QString> used;
    for (const DateTick& tick : ticks) {
        // The axis keeps one category per label: a label seen before (an
        // hour on another day) is made distinct by an invisible mark.
        QString label = QString::fromStdString(tick.label);
        while (used.contains(label))
            label += QChar(0x200B);
        used.insert(label);
        labels << label;
    }
    bool same = labels == dateAxis_->categoriesLabels();
    for (int i = 0; same && i < labels.size(); ++i)
        same = dateAxis_->endValue(labels[i]) == static_cast<double>(ticks[std::size_t(i)].hour);
    if (same)
        return;
    for (const QString& label : dateAxis_->categoriesLabels())
        dateAxis_->remove(label);
    // The first label has the room before it too: not cut short.
    dateAxis_->setStartValue(from - (to - from));
    for (int i = 0; i < labels.size(); ++i)
        dateAxis_->append(labels[i], static_cast<double>(ticks[std::size_t(i)].hour));
}

void GraphChart::drawMeasuredRuns() {
    const QRectF area = chart_->plotArea();
    const QRectF view(QPointF(dateAxis_->min(), valueAxis_->min()),
                      QPointF(dateAxis_->max(), valueAxis_->max()));
    if (runsDrawnFor_ && runsDrawnFor_->first == view && runsDrawnFor_->second == area.size())
        return;
    runsDrawnFor_ = std::make_pair(view, area.size());
    const auto [first, last] = InView(plot_.measured, view.left(), view.right());
    std::vector<TimedPoint> points;
    points.reserve(last - first);
    for (std::size_t i = first; i < last; ++i)
        points.push_back({plot_.measured[i].x, plot_.measured[i].y});
    const double scale = view.width() > 0 ? area.width() / view.width() : 0;
    const auto runs = ThinByPixelColumn(points, view.left(), scale);
    const bool marked = points.size() <= 20;
    for (std::size_t r = 0; r < std::max(runs.size(), moreRuns_.size() + 1); ++r) {
        QLineSeries* line = runSeries(r);
        QList<QPointF> list;
        if (r < runs.size())
            for (const std::size_t i : runs[r])
                list.append(QPointF(points[i].hour, points[i].value));
        line->setPointsVisible(list.size() == 1 || marked);
        line->setMarkerSize(kMarkerSize);
        line->replace(list);
    }
}

void GraphChart::fitCalendar(double fromHour, double toHour) {
    if (toHour <= fromHour)
        toHour = fromHour + 1;
    double low = 0;
    double high = 0;
    bool any = false;
    for (const std::vector<PlotPoint>* line : {&plot_.measured, &plot_.target, &plot_.trend}) {
        const auto [first, last] = InView(*line, fromHour, toHour);
        for (std::size_t i = first; i < last; ++i) {
            low = any ? std::min(low, (*line)[i].y) : (*line)[i].y;
            high = any ? std::max(high, (*line)[i].y) : (*line)[i].y;
            any = true;
        }
    }
    if (any && plot_.summary && std::isfinite(high + (high - low) * kSummaryRoom))
        high += (high - low) * kSummaryRoom;
    fittedX_ = AxisScale{fromHour, toHour, 1, 0};
    fittedY_ = any ? ValueAxisScale(low, high) : AxisScale{0, 1, 0.2, 1};
    restoreFittedView();
}

void GraphChart::showHours(long long fromHour, long long toHour) {
    plot_.windowFrom = fromHour;
    plot_.windowTo = toHour;
    if (onCalendar_)
        fitCalendar(static_cast<double>(fromHour), static_cast<double>(toHour));
}

void GraphChart::zoomAbout(double factor, qreal atX) {
    if (!onCalendar_)
        return;
    const QRectF area = chart_->plotArea();
    const double from = dateAxis_->min();
    const double to = dateAxis_->max();
    const double share =
        area.width() > 0 ? std::clamp((atX - area.left()) / area.width(), 0.0, 1.0) : 0.5;
    const double at = from + (to - from) * share;
    const double width = std::clamp((to - from) * factor, kNarrowestHours, kWidestHours);
    applyScale(dateAxis_, AxisScale{at - width * share, at + width * (1 - share), 1, 0});
}

void GraphChart::pan(double share) {
    if (!onCalendar_)
        return;
    const double step = (dateAxis_->max() - dateAxis_->min()) * share;
    applyScale(dateAxis_, AxisScale{dateAxis_->min() + step, dateAxis_->max() + step, 1, 0});
}

std::pair<std::size_t, std::size_t> GraphChart::reachable(const std::vector<PlotPoint>& points,
                                                          const QPointF& at, qreal reach) const {
    if (!onCalendar_)
        return {0, points.size()};
    const QRectF area = chart_->plotArea();
    const double hours =
        area.width() > 0 ? (dateAxis_->max() - dateAxis_->min()) / area.width() * reach : 0;
    const double hour = chart_->mapToValue(at, measuredSeries_).x();
    return InView(points, hour - hours, hour + hours);
}

} // namespace vorn
