#include "ui/graph/qt/TFGrah.h"

#include "platform/qt/ScreenFit.h"
#include "ui/Fonts.h"
#include "ui/graph/qt/CalendarRangeRow.h"
#include "ui/graph/qt/ChartExport.h"
#include "ui/graph/qt/ChartMenu.h"
#include "ui/graph/qt/ChartView.h"
#include "ui/graph/qt/CorrectionDialog.h"
#include "ui/graph/qt/GraphChart.h"
#include "ui/graph/qt/GridModel.h"
#include "ui/graph/qt/TableMenu.h"
#include "ui/graph/qt/TableSwitch.h"

#include <QContextMenuEvent>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QScreen>
#include <QShowEvent>
#include <QTableView>

#include <algorithm>
#include <utility>

namespace vorn {
namespace {

constexpr int kLeft = 209;
// The chart's and the grid's designed places; the window's growth goes to
// them, the selector, the legend and the button keep theirs.
const QRect kChartPlace(QPoint(112, 8), kDesignedChartSize);
const QRect kGridPlace(0, 296, 465, 193);
// The client height of the unfolded window as designed.
constexpr int kUnfoldedClientHeight =
    GraphController::kExpandedHeight - TFGrah::kAssumedFrameHeight;

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
    chartMenu_ = new ChartMenu(*graph_, *chart1_,
                               {controller_, boundary_, services.prompter, services.files}, this);
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
        const int quantity = QuantityOfRadioButton(n);
        // Only the button that becomes checked runs its handler.
        connect(radioButtons_[n - 1], &QRadioButton::toggled, this, [this, quantity](bool checked) {
            if (checked)
                boundary_.run([this, quantity] { controller_.selectQuantity(quantity); });
        });
    }
}

void TFGrah::buildLegend() {
    panel1_ =
        LegendEntry(this, "Panel1", QStringLiteral("測定値 "), 200, "Panel3", MeasuredColour());
    panel2_ =
        LegendEntry(this, "Panel2", QStringLiteral("目標値 "), 228, "Panel4", TargetSampleColour());

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
    graph_ = new GraphChart(GraphChart::Medium::Screen, this);
    chart1_ = new ChartView(*graph_, controller_, this);
    chart1_->setGeometry(kChartPlace);
    connect(chart1_, &ChartView::menuRequested, this,
            [this](const QPoint& pos) { openChartMenu(&pos); });
}

QMenu* TFGrah::chartMenu() const {
    return chartMenu_;
}

void TFGrah::openChartMenu(const QPoint* globalPos) {
    chartMenu_->open(globalPos);
}

StatsWindow* TFGrah::statsWindow() const {
    return chartMenu_->statsWindow();
}

void TFGrah::printChart() {
    chartMenu_->printChart();
}

bool TFGrah::printChartOn(QPrinter& printer) {
    return chartMenu_->printChartOn(printer);
}

// At the size the chart has on screen.
std::string TFGrah::chartBytes(ChartFormat format) {
    return ChartBytes(*graph_->paperCopy(), format, chart1_->size());
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
    tables_ = new TableSwitch(*sg_, *grid_, *graph_, controller_, this);
}

void TFGrah::showDatedTable(std::shared_ptr<const DatedTable> table) {
    tables_->show(std::move(table));
}

std::optional<RecordCorrectionTexts> TFGrah::askCorrection(const RecordCorrectionTexts& record,
                                                           const RecordDate& latest) {
    CorrectionDialog dialog(record, latest, this);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.texts();
}

// --- GraphView ---

void TFGrah::showPlot(const Plot& plot) {
    panel2_->setVisible(plot.withTarget);
    // The lines move to a new plot only where the user can watch them. The
    // graph command plots while the window is hidden: animated, the first
    // paint would show the plot before, and more frames would follow.
    graph_->showPlot(plot, isVisible());
    chart1_->showSummary(plot.summary);
    tables_->markSelectedRecord();
}

void TFGrah::setTrendChecked(bool checked) {
    chartMenu_->setTrendChecked(checked);
}

void TFGrah::showCalendar(bool shown) {
    chartMenu_->setCalendarChecked(shown);
    // Made the first time they are needed: off the calendar, the window
    // has the controls it always had.
    if (shown && !ranges_)
        ranges_ = new CalendarRangeRow(controller_, boundary_, this);
    if (ranges_)
        ranges_->setVisible(shown);
    placeChartAndGrid();
}

void TFGrah::showRange(CalendarRange range, long long fromHour, long long toHour) {
    if (ranges_)
        ranges_->showRange(range);
    graph_->showHours(fromHour, toHour);
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
    // On a calendar the range buttons take the top of the chart's place.
    const int rangeRow = ranges_ && ranges_->isVisibleTo(this) ? CalendarRangeRow::kHeight : 0;
    if (ranges_)
        ranges_->placeAt(kChartPlace.topLeft());
    chart1_->setGeometry(kChartPlace.adjusted(0, rangeRow, wider, taller));
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
