#include "ui/graph/qt/ChartView.h"

#include "platform/qt/PlainText.h"
#include "ui/graph/GraphController.h"
#include "ui/graph/qt/GraphChart.h"

#include <QChart>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QRubberBand>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace vorn {
namespace {

// How near, in pixels, the pointer must come to a point for its tooltip.
constexpr qreal kPointReach = 6;
// One notch of the wheel, or an arrow key, narrows the view to this share;
// an arrow key moves it by this share of its width.
constexpr double kZoomStep = 0.8;
constexpr double kPanStep = 0.1;

} // namespace

ChartView::ChartView(GraphChart& chart, const GraphController& texts, QWidget* parent)
    : QChartView(chart.chart(), parent), graph_(chart), texts_(texts) {
    viewport()->setMouseTracking(true);
    setObjectName(QStringLiteral("Chart1"));
    setAccessibleName(QStringLiteral("種類別測定値のグラフ"));
    setRenderHint(QPainter::Antialiasing);
    setRubberBand(QChartView::RectangleRubberBand);
    // Each frame of a zoom is drawn whole: redrawn by parts, the antialiased
    // edges of the lines' earlier places stayed behind.
    setViewportUpdateMode(QGraphicsView::FullViewportUpdate);
    makeSummary();
}

// The summary is a widget of its own, so that screen readers read it; the
// pointer passes through it to the chart.
void ChartView::makeSummary() {
    summary_ = new QLabel(viewport());
    summary_->setObjectName(QStringLiteral("Lb_trend"));
    summary_->setTextFormat(Qt::PlainText);
    summary_->setAttribute(Qt::WA_TransparentForMouseEvents);
    summary_->setContentsMargins(3, 1, 3, 1);
    summary_->setAutoFillBackground(true);
    QPalette palette = summary_->palette();
    // Opaque: the chart below need not be drawn again when the text changes.
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    summary_->setPalette(palette);
    summary_->hide();
    // A chart view that grows lays its chart out before it maps the larger
    // scene into its viewport: the summary is placed again after that.
    connect(&graph_, &GraphChart::plotAreaChanged, this, [this] {
        placeSummary();
        QMetaObject::invokeMethod(this, &ChartView::placeSummary, Qt::QueuedConnection);
    });
}

void ChartView::showSummary(const std::optional<std::string>& summary) {
    if (!summary) {
        summary_->hide();
        return;
    }
    const QString text = QString::fromStdString(*summary);
    const bool changed = text != summary_->text() || summary_->isHidden();
    if (text != summary_->text()) {
        summary_->setText(text);
        summary_->setAccessibleName(text);
    }
    summary_->show();
    // A later layout of the chart moves it again through plotAreaChanged.
    if (changed)
        placeSummary();
}

void ChartView::placeSummary() {
    if (summary_->isHidden())
        return;
    summary_->adjustSize();
    QChart* c = chart();
    const QRect plot = mapFromScene(c->mapToScene(c->plotArea())).boundingRect();
    const int room = viewport()->width() - summary_->width();
    summary_->move(std::clamp(plot.left() + 2, 0, std::max(room, 0)), plot.top() + 2);
}

QPoint ChartView::menuPlace() const {
    return mapToGlobal(chart()->plotArea().center().toPoint());
}

void ChartView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        origin_ = event->position().toPoint();
        graph_.setAnimated(true);
    }
    QChartView::mousePressEvent(event);
}

void ChartView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    auto* band = findChild<QRubberBand*>();
    const QPoint end = event->position().toPoint();
    if (event->button() == Qt::LeftButton && band && band->isVisible() && end.x() < origin_.x() &&
        end.y() < origin_.y()) {
        band->hide();
        graph_.restoreFittedView();
        event->accept();
        return;
    }
    QChartView::mouseReleaseEvent(event);
}

void ChartView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QChartView::mouseDoubleClickEvent(event);
        return;
    }
    graph_.restoreFittedView();
    event->accept();
}

void ChartView::mouseMoveEvent(QMouseEvent* event) {
    QChartView::mouseMoveEvent(event);
    if (event->buttons() == Qt::NoButton)
        pointerMoved(event->position().toPoint());
}

// The tooltip request that comes when the pointer rests would reach the
// scene, which has no tooltip of its own and would hide the point's: the
// point under the pointer answers it instead.
bool ChartView::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        pointerMoved(static_cast<QHelpEvent*>(event)->pos());
        return true;
    }
    return QChartView::viewportEvent(event);
}

// From the keyboard, the window opens the menu, wherever the focus is.
void ChartView::contextMenuEvent(QContextMenuEvent* event) {
    if (event->reason() != QContextMenuEvent::Mouse) {
        event->ignore();
        return;
    }
    emit menuRequested(event->globalPos());
    event->accept();
}

void ChartView::wheelEvent(QWheelEvent* event) {
    const int notches = event->angleDelta().y() / 120;
    if (!graph_.onCalendar() || notches == 0) {
        QChartView::wheelEvent(event);
        return;
    }
    const qreal x = chart()->mapFromScene(mapToScene(event->position().toPoint())).x();
    graph_.zoomAbout(std::pow(kZoomStep, notches), x);
    event->accept();
}

void ChartView::keyPressEvent(QKeyEvent* event) {
    if (!graph_.onCalendar() || event->modifiers() != Qt::NoModifier) {
        QChartView::keyPressEvent(event);
        return;
    }
    const qreal middle = chart()->plotArea().center().x();
    switch (event->key()) {
    case Qt::Key_Left:
        graph_.pan(-kPanStep);
        break;
    case Qt::Key_Right:
        graph_.pan(kPanStep);
        break;
    case Qt::Key_Up:
        graph_.zoomAbout(kZoomStep, middle);
        break;
    case Qt::Key_Down:
        graph_.zoomAbout(1 / kZoomStep, middle);
        break;
    default:
        QChartView::keyPressEvent(event);
        return;
    }
    event->accept();
}

void ChartView::pointerMoved(const QPoint& viewportPos) {
    QChart* c = chart();
    const std::optional<GraphChart::Hit> hit =
        graph_.pointNear(c->mapFromScene(mapToScene(viewportPos)), kPointReach);
    std::string text;
    if (hit && hit->onTrend)
        text = texts_.TrendPointText(graph_.plot().trendRecords[hit->index]);
    else if (hit)
        text = texts_.PointText(static_cast<int>(hit->index));
    if (text.empty()) {
        if (tipShown_)
            QToolTip::hideText();
        tipShown_ = false;
        return;
    }
    tipShown_ = true;
    // The texts come from the log file: shown as text, never as markup.
    const int reach = static_cast<int>(kPointReach);
    QToolTip::showText(viewport()->mapToGlobal(viewportPos),
                       Qt::convertFromPlainText(PlainText(text), Qt::WhiteSpaceNormal), viewport(),
                       QRect(viewportPos, QSize()).adjusted(-reach, -reach, reach, reach));
}

} // namespace vorn
