#include "ui/graph/TFGrah.h"

#include "core/Errors.h"
#include "platform/qt/PlainText.h"
#include "platform/qt/ScreenFit.h"
#include "ui/Colours.h"
#include "ui/Fonts.h"
#include "ui/graph/AxisScale.h"
#include "ui/graph/GridModel.h"
#include "ui/graph/LineThinning.h"
#include "ui/graph/TableMenu.h"

#include <QAction>
#include <QBuffer>
#include <QChart>
#include <QChartView>
#include <QContextMenuEvent>
#include <QFrame>
#include <QGraphicsLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QRubberBand>
#include <QScreen>
#include <QShowEvent>
#include <QSvgGenerator>
#include <QTableView>
#include <QTimer>
#include <QToolTip>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <functional>
#include <utility>

namespace vorn {
namespace {

using Handler = void (GraphController::*)();

// The click handler of RadioButton<n> at n - 1.
constexpr Handler kRadioHandlers[kQuantityCount] = {
    &GraphController::RadioButton1Click, &GraphController::RadioButton2Click,
    &GraphController::RadioButton3Click, &GraphController::RadioButton4Click,
    &GraphController::RadioButton5Click, &GraphController::RadioButton6Click,
    &GraphController::RadioButton7Click, &GraphController::RadioButton8Click,
    &GraphController::RadioButton9Click,
};

const QColor kMeasuredColour = FromBgr(0x0000FF);     // red
const QColor kTargetColour = FromBgr(0xFF8000);       // azure
const QColor kTargetSampleColour = FromBgr(0xFF0000); // blue
// Purple, wider than the other lines: apart from them and from every band.
const QColor kTrendColour = FromBgr(0xA00080);
constexpr int kTrendWidth = 2;
// The share of the value range added above the fitted lines while the
// trend's summary is shown, so that it covers none of them.
constexpr double kSummaryRoom = 0.2;
constexpr int kLeft = 209;
// The chart's and the grid's designed places; the window's growth goes to
// them, the selector, the legend and the button keep theirs.
const QRect kChartPlace(112, 8, 345, 281);
const QRect kGridPlace(0, 296, 465, 193);
// The client height of the unfolded window as designed.
constexpr int kUnfoldedClientHeight =
    GraphController::kExpandedHeight - TFGrah::kAssumedFrameHeight;
constexpr int kAnimationMs = 200;
// Time given to the last frames of an animation before the trend is drawn
// again for the view it ends in.
constexpr int kSettleMs = 50;
constexpr qreal kMarkerSize = 4;
// How near, in pixels, the pointer must come to a point for its tooltip.
constexpr qreal kPointReach = 6;
// The value axis before any point is plotted.
constexpr AxisScale kEmptyValueScale{0, 1, 0.2, 1};

// The chart with the usual gestures of a chart: the rubber band zooms, but
// drawn towards the upper left it restores the fitted view, as does a
// double-click. A press of the left button, which starts each of them, is
// announced first. Moves of the pointer, with no button held, are passed on
// for the point tooltips. The right button opens the chart's menu (which
// also zooms out) instead of zooming out.
class ChartView : public QChartView {
public:
    ChartView(QChart* chart, QWidget* parent, std::function<void()> pressed,
              std::function<void()> restore, std::function<void(const QPoint&)> moved,
              std::function<void(const QPoint&)> menu)
        : QChartView(chart, parent), pressed_(std::move(pressed)), restore_(std::move(restore)),
          moved_(std::move(moved)), menu_(std::move(menu)) {
        viewport()->setMouseTracking(true);
    }

protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) {
            origin_ = event->position().toPoint();
            pressed_();
        }
        QChartView::mousePressEvent(event);
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::RightButton) {
            event->accept();
            return;
        }
        auto* band = findChild<QRubberBand*>();
        const QPoint end = event->position().toPoint();
        if (event->button() == Qt::LeftButton && band && band->isVisible() &&
            end.x() < origin_.x() && end.y() < origin_.y()) {
            band->hide();
            restore_();
            event->accept();
            return;
        }
        QChartView::mouseReleaseEvent(event);
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton) {
            QChartView::mouseDoubleClickEvent(event);
            return;
        }
        restore_();
        event->accept();
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        QChartView::mouseMoveEvent(event);
        if (event->buttons() == Qt::NoButton)
            moved_(event->position().toPoint());
    }
    // The tooltip request that comes when the pointer rests would reach the
    // scene, which has no tooltip of its own and would hide the point's:
    // the point under the pointer answers it instead.
    bool viewportEvent(QEvent* event) override {
        if (event->type() == QEvent::ToolTip) {
            moved_(static_cast<QHelpEvent*>(event)->pos());
            return true;
        }
        return QChartView::viewportEvent(event);
    }
    // From the keyboard, the window opens the menu, wherever the focus is.
    void contextMenuEvent(QContextMenuEvent* event) override {
        if (event->reason() != QContextMenuEvent::Mouse) {
            event->ignore();
            return;
        }
        menu_(event->globalPos());
        event->accept();
    }

private:
    std::function<void()> pressed_;
    std::function<void()> restore_;
    std::function<void(const QPoint&)> moved_;
    std::function<void(const QPoint&)> menu_;
    QPoint origin_;
};

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

// A white legend entry with its caption on the right and a line sample on
// the left.
QLabel* LegendEntry(QWidget* parent, const char* name, const QString& caption, int top,
                    const char* sampleName, const QColor& sampleColour) {
    auto* panel = new QLabel(caption, parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setGeometry(16, top, 73, 25);
    panel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setAutoFillBackground(true);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    panel->setPalette(palette);

    auto* sample = new QFrame(panel);
    sample->setObjectName(QString::fromLatin1(sampleName));
    sample->setGeometry(6, 12, 20, 2);
    sample->setAutoFillBackground(true);
    QPalette samplePalette = sample->palette();
    samplePalette.setColor(QPalette::Window, sampleColour);
    sample->setPalette(samplePalette);
    return panel;
}

// A single point draws no line, so it gets its mark; so do the points of a
// line that asks for them.
void ReplacePoints(QLineSeries* line, const QList<QPointF>& points, bool marked) {
    line->setPointsVisible(points.size() == 1 || marked);
    line->replace(points);
}

QList<QPointF> PointList(const std::vector<PlotPoint>& points) {
    QList<QPointF> list;
    list.reserve(static_cast<qsizetype>(points.size()));
    for (const PlotPoint& p : points)
        list.append(QPointF(p.x, p.y));
    return list;
}

} // namespace

TFGrah::TFGrah(GraphController::Services services, const TargetTable& targets, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                          Qt::WindowCloseButtonHint),
      boundary_(services.prompter), controller_(*this, targets, services) {
    setObjectName(QStringLiteral("FGrah"));
    setWindowTitle(QStringLiteral("種類別測定グラフ"));
    setFont(UiFont(12));

    buildSelector();
    buildLegend();
    buildChart();
    buildChartMenu();
    buildGrid();

    move(kLeft, 0);
    boundary_.run([this] { controller_.FormCreate(); });
}

TFGrah::~TFGrah() = default;

void TFGrah::buildSelector() {
    radioGroup1_ = new QGroupBox(QStringLiteral(" 種類選択 "), this);
    radioGroup1_->setObjectName(QStringLiteral("RadioGroup1"));
    radioGroup1_->setGeometry(8, 8, 92, 281);

    // Made from the top down, so that the tab order follows the screen.
    for (int row = 0; row < kQuantityCount; ++row) {
        for (const QuantityFacts& facts : kQuantities) {
            if (facts.radioRow != row)
                continue;
            const QString caption = QString::fromUtf8(facts.radioCaption);
            auto* button = new QRadioButton(caption, this);
            button->setObjectName(QStringLiteral("RadioButton%1").arg(facts.radioButton));
            button->setAccessibleName(caption);
            button->setGeometry(14, 24 + 19 * row, 80, 25);
            radioButtons_[facts.radioButton - 1] = button;
        }
    }
    // Height, before the handlers are wired.
    radioButtons_[Facts(kHeight).radioButton - 1]->setChecked(true);
    for (int n = 1; n <= kQuantityCount; ++n) {
        const Handler click = kRadioHandlers[n - 1];
        // Only the button that becomes checked runs its handler.
        connect(radioButtons_[n - 1], &QRadioButton::toggled, this, [this, click](bool checked) {
            if (checked)
                boundary_.run([this, click] { (controller_.*click)(); });
        });
    }
}

void TFGrah::buildLegend() {
    panel1_ =
        LegendEntry(this, "Panel1", QStringLiteral("測定値 "), 200, "Panel3", kMeasuredColour);
    panel2_ =
        LegendEntry(this, "Panel2", QStringLiteral("目標値 "), 228, "Panel4", kTargetSampleColour);

    button1_ = new QPushButton(QStringLiteral("全データ(&A)"), this);
    button1_->setObjectName(QStringLiteral("Button1"));
    button1_->setAccessibleName(QStringLiteral("全データ"));
    button1_->setGeometry(16, 258, 75, 25);
    // Enter does not fold or unfold the table: only a click, Space or Alt+A.
    button1_->setAutoDefault(false);
    button1_->setDefault(false);
    connect(button1_, &QPushButton::clicked, this,
            [this] { boundary_.run([this] { controller_.Button1Click(); }); });
}

void TFGrah::buildChart() {
    // Once a zoom has run its course, or the plot taken its new size, the
    // trend is drawn again for the view it came to.
    trendRedraw_ = new QTimer(this);
    trendRedraw_->setSingleShot(true);
    trendRedraw_->setInterval(kAnimationMs + kSettleMs);
    connect(trendRedraw_, &QTimer::timeout, this, [this] { redrawTrendStill(); });

    chart_ = new Chart;
    chart_->setTitle(QStringLiteral("種類別測定値"));
    chart_->setTitleBrush(QBrush(QColor(0, 0, 255)));
    chart_->setTitleFont(UiFont(13));
    chart_->setBackgroundBrush(Qt::white);
    chart_->setBackgroundRoundness(0);
    chart_->setPlotAreaBackgroundBrush(Qt::white);
    chart_->setPlotAreaBackgroundVisible(true);
    chart_->setMargins(QMargins(4, 4, 8, 4));
    chart_->legend()->hide();
    chart_->setAnimationOptions(QChart::AllAnimations);
    chart_->setAnimationDuration(kAnimationMs);

    series1_ = new QLineSeries;
    series1_->setObjectName(QStringLiteral("Series1"));
    series1_->setName(QStringLiteral("測定値"));
    series1_->setPen(QPen(kMeasuredColour, 1));
    series1_->setColor(kMeasuredColour);
    series1_->setMarkerSize(kMarkerSize);
    series2_ = new QLineSeries;
    series2_->setObjectName(QStringLiteral("Series2"));
    series2_->setName(QStringLiteral("目標値"));
    series2_->setPen(QPen(kTargetColour, 1));
    series2_->setColor(kTargetColour);
    series2_->setMarkerSize(kMarkerSize);
    // The trend is drawn over the records, as the measured line is.
    series3_ = new QLineSeries;
    series3_->setObjectName(QStringLiteral("Series3"));
    series3_->setName(QStringLiteral("傾向"));
    series3_->setPen(QPen(kTrendColour, kTrendWidth));
    series3_->setColor(kTrendColour);
    series3_->setMarkerSize(kMarkerSize);
    chart_->addSeries(series1_);
    chart_->addSeries(series2_);
    chart_->addSeries(series3_);

    axisX_ = new QValueAxis;
    axisY_ = new QValueAxis;
    chart_->addAxis(axisX_, Qt::AlignBottom);
    chart_->addAxis(axisY_, Qt::AlignLeft);
    for (QLineSeries* s : {series1_, series2_, series3_}) {
        s->attachAxis(axisX_);
        s->attachAxis(axisY_);
    }
    fitAxes({}, false);
    for (QValueAxis* axis : {axisX_, axisY_})
        connect(axis, &QValueAxis::rangeChanged, this, [this, axis] { axisRangeChanged(axis); });

    // The legend, shown with the trend, names the trend alone: the other
    // lines have theirs beside the chart.
    QLegend* legend = chart_->legend();
    legend->setAlignment(Qt::AlignBottom);
    legend->setMarkerShape(QLegend::MarkerShapeFromSeries);
    legend->setFont(font());
    legend->setLabelColor(Qt::black);
    for (QLineSeries* s : {series1_, series2_})
        for (QLegendMarker* marker : legend->markers(s))
            marker->setVisible(false);

    // The user's zooms are animated.
    chart1_ = new ChartView(
        chart_, this, [this] { animateChart(true); }, [this] { restoreFittedView(); },
        [this](const QPoint& pos) { pointerMoved(pos); },
        [this](const QPoint& pos) { openChartMenu(&pos); });
    chart1_->setObjectName(QStringLiteral("Chart1"));
    chart1_->setAccessibleName(QStringLiteral("種類別測定値のグラフ"));
    chart1_->setGeometry(kChartPlace);
    chart1_->setRenderHint(QPainter::Antialiasing);
    chart1_->setRubberBand(QChartView::RectangleRubberBand);
    // Each frame of a zoom is drawn whole: redrawn by parts, the antialiased
    // edges of the lines' earlier places stayed behind.
    chart1_->setViewportUpdateMode(QGraphicsView::FullViewportUpdate);

    // The summary is a widget of its own, so that screen readers read it;
    // the pointer passes through it to the chart.
    trendSummary_ = new QLabel(chart1_->viewport());
    trendSummary_->setObjectName(QStringLiteral("Lb_trend"));
    trendSummary_->setTextFormat(Qt::PlainText);
    trendSummary_->setAttribute(Qt::WA_TransparentForMouseEvents);
    trendSummary_->setContentsMargins(3, 1, 3, 1);
    trendSummary_->setAutoFillBackground(true);
    QPalette palette = trendSummary_->palette();
    // Opaque: the chart below need not be drawn again when the text changes.
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    trendSummary_->setPalette(palette);
    trendSummary_->hide();
    // A chart view that grows lays its chart out before it maps the larger
    // scene into its viewport: the summary is placed again after that.
    connect(chart_, &QChart::plotAreaChanged, this, [this] {
        placeTrendSummary();
        QMetaObject::invokeMethod(this, &TFGrah::placeTrendSummary, Qt::QueuedConnection);
        trendRedraw_->start();
    });
}

void TFGrah::buildChartMenu() {
    chartMenu_ = new QMenu(this);
    chartMenu_->setObjectName(QStringLiteral("ChartMenu"));
    showTrend_ =
        addChartCommand(QStringLiteral("傾向線を表示(&T)"), "ShowTrend", &TFGrah::showTrendClicked);
    showTrend_->setCheckable(true);
    chartMenu_->addSeparator();
    addChartCommand(QStringLiteral("グラフを画像で保存(&S)…"), "SaveChart",
                    &TFGrah::saveChartClicked);
    addChartCommand(QStringLiteral("印刷(&P)…"), "PrintChart", &TFGrah::printChart);
    addChartCommand(QStringLiteral("一覧表をCSVで保存(&C)…"), "SaveTable",
                    &TFGrah::saveTableClicked);
    chartMenu_->addSeparator();
    addChartCommand(QStringLiteral("縮小(&O)"), "ZoomOut", &TFGrah::zoomOut);
    addChartCommand(QStringLiteral("元の表示に戻す(&R)"), "ZoomReset", &TFGrah::zoomReset);
}

QAction* TFGrah::addChartCommand(const QString& caption, const char* name, void (TFGrah::*run)()) {
    QAction* action = chartMenu_->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    connect(action, &QAction::triggered, this, [this, run] { (this->*run)(); });
    return action;
}

void TFGrah::openChartMenu(const QPoint* globalPos) {
    // The Menu key can arrive both as a key and as a request for the menu.
    if (chartMenu_->isVisible())
        return;
    const QPoint at =
        globalPos ? *globalPos : chart1_->mapToGlobal(chart_->plotArea().center().toPoint());
    chartMenu_->popup(at);
}

void TFGrah::saveChartClicked() {
    boundary_.run([this] { controller_.SaveChartClick(); });
}

void TFGrah::saveTableClicked() {
    boundary_.run([this] { controller_.SaveTableClick(); });
}

void TFGrah::printChart() {
    QPrinter printer;
    printer.setDocName(QStringLiteral("種類別測定グラフ"));
    QPrintDialog dialog(&printer, this);
    dialog.setObjectName(QStringLiteral("PrintDialog"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (!printChartOn(printer))
        boundary_.run([] { throw UserError("印刷を始められませんでした。"); });
}

bool TFGrah::printChartOn(QPrinter& printer) {
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    // The whole chart on one page, as large as the page allows.
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const QSizeF size = chart1_->size();
    const qreal scale = std::min(page.width() / size.width(), page.height() / size.height());
    paintChart(painter, scale);
    return true;
}

void TFGrah::paintChart(QPainter& painter, qreal scale) {
    // The scene through the view's own rendering: a widget's render() would
    // scale it twice on a scaled painter.
    placeTrendSummary();
    const QRect view = chart1_->viewport()->rect();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF target(QPointF(0, 0), QSizeF(view.size()) * scale);
    // Round the chart's own background, the window's shows, as on screen.
    painter.fillRect(target,
                     chart1_->viewport()->palette().color(chart1_->viewport()->backgroundRole()));
    chart1_->render(&painter, target, view);
    // What stands on the chart: the trend's summary.
    if (!trendSummary_->isHidden()) {
        painter.save();
        painter.scale(scale, scale);
        trendSummary_->render(&painter, trendSummary_->pos());
        painter.restore();
    }
}

std::string TFGrah::chartBytes(ChartFormat format) {
    const QSize size = chart1_->size();
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    switch (format) {
    case ChartFormat::Png: {
        // Twice the pixel density, for print and high-density screens.
        constexpr qreal kRatio = 2;
        QImage image(size * kRatio, QImage::Format_ARGB32_Premultiplied);
        {
            QPainter painter(&image);
            paintChart(painter, kRatio);
        }
        image.setDevicePixelRatio(kRatio);
        image.save(&buffer, "PNG");
        break;
    }
    case ChartFormat::Svg: {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setResolution(96); // a pixel of the window is a CSS pixel
        svg.setTitle(windowTitle());
        QPainter painter(&svg);
        paintChart(painter, 1);
        break;
    }
    case ChartFormat::Pdf: {
        // A page of the chart's size, one pixel to a 96th of an inch.
        constexpr int kDpi = 96;
        QPdfWriter pdf(&buffer);
        pdf.setTitle(windowTitle());
        pdf.setCreator(QStringLiteral("Vorn２"));
        pdf.setResolution(kDpi);
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setPageSize(QPageSize(QSizeF(size) * 72.0 / kDpi, QPageSize::Point));
        QPainter painter(&pdf);
        paintChart(painter, 1);
        break;
    }
    }
    return buffer.data().toStdString();
}

void TFGrah::showTrendClicked() {
    boundary_.run([this] { controller_.TrendLineClick(); });
}

// As the right button zoomed out before it opened this menu.
void TFGrah::zoomOut() {
    animateChart(true);
    chart_->zoomOut();
}

void TFGrah::zoomReset() {
    animateChart(true);
    restoreFittedView();
}

void TFGrah::buildGrid() {
    // The model comes after the headers are hidden and sized: a visible row
    // header would measure the captions of its first and last hundred rows
    // as they arrive, work that a grid without headers never needs.
    sg_ = new QTableView(this);
    sg_->setObjectName(QStringLiteral("sg"));
    sg_->setAccessibleName(QStringLiteral("全データの表"));
    sg_->setGeometry(kGridPlace);
    sg_->horizontalHeader()->hide();
    sg_->verticalHeader()->hide();
    sg_->horizontalHeader()->setDefaultSectionSize(70);
    sg_->horizontalHeader()->setMinimumSectionSize(0);
    sg_->verticalHeader()->setDefaultSectionSize(24);
    sg_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    sg_->setSelectionBehavior(QAbstractItemView::SelectRows);
    // Several rows at once, with Ctrl and Shift: the table's menu removes
    // the records of every selected row.
    sg_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    sg_->setShowGrid(true);
    QPalette palette = sg_->palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    sg_->setPalette(palette);
    grid_ = new GridModel(controller_.grid(), sg_);
    sg_->setModel(grid_);
    tableMenu_ = new TableMenu(sg_, controller_, boundary_, this);
}

// --- GraphView ---

void TFGrah::setTargetLegendVisible(bool visible) {
    panel2_->setVisible(visible);
}

void TFGrah::setPlot(const std::vector<PlotPoint>& measured, const std::vector<PlotPoint>& target,
                     const std::vector<PlotPoint>& trend) {
    // The lines move to a new plot only where the user can watch them. The
    // graph command plots while the window is hidden: animated, the first
    // paint would show the plot before, and more frames would follow.
    const bool animated = isVisible();
    animateChart(animated);
    series1_->clear();
    series2_->clear();
    series3_->clear();
    fitAxes({&measured, &target, &trend}, !trend.empty());
    // Without animations each change is laid out at once. The axes and
    // their labels are laid out while the lines are empty, so that each
    // line is laid out only once, for its new points.
    if (!animated)
        chart_->layout()->activate();
    ReplacePoints(series1_, PointList(measured), measured.size() <= kMarkedPoints);
    ReplacePoints(series2_, PointList(target), false);
    trendLine_ = trend;
    trendDrawnFor_ = {};
    drawTrend();
}

// The trend has a point at each record, often several to a pixel, and the
// chart strokes each of its segments on its own. It is drawn through the
// points it bends at, for the view on screen; once a zoom or a new size has
// settled, for that view.
void TFGrah::drawTrend() {
    const QRectF plot = chart_->plotArea();
    const QRectF view(QPointF(axisX_->min(), axisY_->min()), QPointF(axisX_->max(), axisY_->max()));
    if (trendDrawnFor_ && trendDrawnFor_->first == view && trendDrawnFor_->second == plot.size())
        return;
    trendDrawnFor_ = std::make_pair(view, plot.size());
    const std::vector<std::size_t> kept =
        PointsWorthDrawing(trendLine_, plot.width() / view.width(), plot.height() / view.height());
    QList<QPointF> list;
    list.reserve(static_cast<qsizetype>(kept.size()));
    for (const std::size_t i : kept)
        list.append(QPointF(trendLine_[i].x, trendLine_[i].y));
    ReplacePoints(series3_, list, false);
}

void TFGrah::redrawTrendStill() {
    const QChart::AnimationOptions options = chart_->animationOptions();
    chart_->setAnimationOptions(QChart::NoAnimation);
    drawTrend();
    chart_->setAnimationOptions(options);
}

void TFGrah::setTrendSummary(const std::optional<std::string>& summary) {
    const bool shown = summary.has_value();
    chart_->legend()->setVisible(shown);
    if (!shown) {
        trendSummary_->hide();
        return;
    }
    const QString text = QString::fromStdString(*summary);
    const bool changed = text != trendSummary_->text() || trendSummary_->isHidden();
    if (text != trendSummary_->text()) {
        trendSummary_->setText(text);
        trendSummary_->setAccessibleName(text);
    }
    trendSummary_->show();
    // A later layout of the chart moves it again through plotAreaChanged.
    if (changed)
        placeTrendSummary();
}

void TFGrah::setTrendChecked(bool checked) {
    showTrend_->setChecked(checked);
}

void TFGrah::placeTrendSummary() {
    if (trendSummary_->isHidden())
        return;
    trendSummary_->adjustSize();
    const QRect plot = chart1_->mapFromScene(chart_->mapToScene(chart_->plotArea())).boundingRect();
    const int room = chart1_->viewport()->width() - trendSummary_->width();
    trendSummary_->move(std::clamp(plot.left() + 2, 0, std::max(room, 0)), plot.top() + 2);
}

void TFGrah::animateChart(bool animated) {
    chart_->setAnimationOptions(animated ? QChart::AllAnimations : QChart::NoAnimation);
}

// Fits both axes to the points of both lines, or to none: nothing of an
// earlier plot stays. The ticks are a fixed count over a whole number of
// steps: tick marks that follow an interval instead crash the axis
// animation when the number of ticks changes while it runs.
void TFGrah::fitAxes(const std::vector<const std::vector<PlotPoint>*>& lines, bool summaryRoom) {
    double low = 0;
    double high = 0;
    bool any = false;
    std::size_t count = 0;
    for (const std::vector<PlotPoint>* line : lines) {
        count = std::max(count, line->size());
        for (const PlotPoint& p : *line) {
            low = any ? std::min(low, p.y) : p.y;
            high = any ? std::max(high, p.y) : p.y;
            any = true;
        }
    }
    if (any && summaryRoom && std::isfinite(high + (high - low) * kSummaryRoom))
        high += (high - low) * kSummaryRoom;
    fittedX_ = IndexAxisScale(static_cast<int>(count));
    fittedY_ = any ? ValueAxisScale(low, high) : kEmptyValueScale;
    restoreFittedView();
}

void TFGrah::restoreFittedView() {
    applyScale(axisX_, fittedX_);
    applyScale(axisY_, fittedY_);
    trendRedraw_->start();
}

void TFGrah::applyScale(QValueAxis* axis, const AxisScale& scale) {
    const bool outer = !applying_;
    applying_ = true;
    axis->setRange(scale.min, scale.max);
    // Each end divided on its own: max - min may overflow for huge values.
    const double steps = scale.max / scale.step - scale.min / scale.step;
    axis->setTickCount(static_cast<int>(std::lround(std::clamp(steps, 1.0, 20.0))) + 1);
    const QString format = QStringLiteral("%.%1f").arg(scale.decimals);
    if (axis->labelFormat() != format)
        axis->setLabelFormat(format);
    if (outer)
        applying_ = false;
}

void TFGrah::axisRangeChanged(QValueAxis* axis) {
    if (applying_)
        return;
    applyScale(axis, axis == axisX_ ? ZoomedIndexScale(axis->min(), axis->max())
                                    : ZoomedValueScale(axis->min(), axis->max()));
    trendRedraw_->start();
}

void TFGrah::pointerMoved(const QPoint& viewportPos) {
    const QPointF at = chart_->mapFromScene(chart1_->mapToScene(viewportPos));
    const QRectF area = chart_->plotArea().adjusted(-1, -1, 1, 1);
    // The nearest point of the measured line or of the trend, as the record
    // it stands at; a tie goes to the measured line.
    int nearest = -1;
    bool onTrend = false;
    qreal best = kPointReach * kPointReach;
    // The trend is drawn through fewer points than it has: its tooltips come
    // from all of them.
    for (QLineSeries* line : {series1_, series3_}) {
        const QList<QPointF> points = line == series3_ ? PointList(trendLine_) : line->points();
        for (const QPointF& point : points) {
            const QPointF p = chart_->mapToPosition(point, line);
            const QPointF d = p - at;
            const qreal distance = d.x() * d.x() + d.y() * d.y();
            if (area.contains(p) && (distance < best || (distance == best && line == series1_))) {
                best = distance;
                nearest = static_cast<int>(point.x());
                onTrend = line == series3_;
            }
        }
    }
    const std::string text = nearest < 0 ? std::string()
                             : onTrend   ? controller_.TrendPointText(nearest)
                                         : controller_.PointText(nearest);
    if (text.empty()) {
        if (tipPoint_ >= 0)
            QToolTip::hideText();
        tipPoint_ = -1;
        return;
    }
    tipPoint_ = nearest;
    // The texts come from the log file: shown as text, never as markup.
    const int reach = static_cast<int>(kPointReach);
    QToolTip::showText(chart1_->viewport()->mapToGlobal(viewportPos),
                       Qt::convertFromPlainText(PlainText(text), Qt::WhiteSpaceNormal),
                       chart1_->viewport(),
                       QRect(viewportPos, QSize()).adjusted(-reach, -reach, reach, reach));
}

void TFGrah::showPlot(const Plot& plot) {
    setTargetLegendVisible(plot.withTarget);
    setPlot(plot.measured, plot.target, plot.trend);
    setTrendSummary(plot.summary);
}

void TFGrah::showRows(const GridTable& grid, int first, int count) {
    grid_->showRows(grid, first, count);
    // The rows now hold other records, or none: a selection made before
    // must not pick them.
    sg_->clearSelection();
}

void TFGrah::setQuantityChecked(int quantity) {
    const QSignalBlocker quiet(radioButtons_[Facts(quantity).radioButton - 1]);
    radioButtons_[Facts(quantity).radioButton - 1]->setChecked(true);
    // The others are unchecked by their group, each without its handler
    // running: only a button that becomes checked runs one.
}

// Never larger than the screen leaves room for: the grid then scrolls.
void TFGrah::setWindowSize(int width, int outerHeight, bool unfolded) {
    unfolded_ = unfolded;
    // The folded grid lies below the window's edge: keys typed into it, or
    // its menu, would act on rows nobody sees.
    sg_->setFocusPolicy(unfolded ? Qt::StrongFocus : Qt::NoFocus);
    if (!unfolded && sg_->hasFocus())
        radioButtons_[Facts(controller_.selectedQuantity()).radioButton - 1]->setFocus();
    const QRect available = AvailableArea(*this);
    const QMargins frame = FrameOf(*this);
    setMinimumSize(
        FitSize(QSize(kClientWidth, GraphController::kCompactHeight - kAssumedFrameHeight),
                available, frame));
    // A maximised window would keep the screen's size.
    setWindowState(windowState() & ~Qt::WindowMaximized);
    resize(FitSize(QSize(width, std::max(0, outerHeight - kAssumedFrameHeight)), available, frame));
    placeChartAndGrid();
}

void TFGrah::placeChartAndGrid() {
    const int wider = width() - kClientWidth;
    // Folded, the chart takes all the height; unfolded, it shares what is
    // beyond the designed height with the grid, which reaches the bottom.
    const int taller =
        std::max(0, unfolded_ ? (height() - kUnfoldedClientHeight) / 2
                              : height() - (GraphController::kCompactHeight - kAssumedFrameHeight));
    chart1_->setGeometry(kChartPlace.adjusted(0, 0, wider, taller));
    const int gridTop = kGridPlace.top() + taller;
    const int gridBottomGap = kUnfoldedClientHeight - kGridPlace.bottom() - 1;
    const int gridHeight =
        unfolded_ ? std::max(0, height() - gridBottomGap - gridTop) : kGridPlace.height();
    sg_->setGeometry(kGridPlace.left(), gridTop, kGridPlace.width() + wider, gridHeight);
}

int TFGrah::windowTop() const {
    return pos().y();
}

// Where the screen has room: a window near an edge stops at it.
void TFGrah::setWindowTop(int top) {
    const QRect outer(QPoint(pos().x(), top), size().grownBy(FrameOf(*this)));
    move(FitPosition(outer, AvailableArea(*this)));
}

int TFGrah::screenHeight() const {
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    return s ? s->geometry().height() : 0;
}

void TFGrah::showModal() {
    exec();
}

// --- events ---

void TFGrah::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    placeChartAndGrid();
    // Only what the user did (an edge dragged) is remembered; the
    // controller's own sizes come back as events of the program's. A
    // maximised window keeps the size it will come back to.
    if (event->spontaneous() && !(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        boundary_.run([this] { controller_.FormResize(width(), height() + kAssumedFrameHeight); });
}

void TFGrah::showEvent(QShowEvent* event) {
    // Each showing is an activation: folded and centred again. Activations
    // from switching between applications leave the window as it is.
    if (!event->spontaneous())
        boundary_.run([this] { controller_.FormActivate(); });
    QDialog::showEvent(event);
}

void TFGrah::keyPressEvent(QKeyEvent* event) {
    // The window closes only through its frame, not with Escape.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    // The table's menu when the table has the focus, the chart's wherever
    // else it is.
    if ((event->key() == Qt::Key_Menu && event->modifiers() == Qt::NoModifier) ||
        (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier)) {
        openMenu();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFGrah::contextMenuEvent(QContextMenuEvent* event) {
    if (event->reason() == QContextMenuEvent::Mouse) {
        event->ignore();
        return;
    }
    openMenu();
    event->accept();
}

void TFGrah::openMenu() {
    if (sg_->hasFocus())
        tableMenu_->open();
    else
        openChartMenu();
}

} // namespace vorn
