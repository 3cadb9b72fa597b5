#include "ui/graph/qt/TFGrah.h"

#include "core/Errors.h"
#include "log/DatedLog.h"
#include "platform/qt/ScreenFit.h"
#include "ui/Fonts.h"
#include "ui/graph/qt/ChartExport.h"
#include "ui/graph/qt/ChartView.h"
#include "ui/graph/qt/CorrectionDialog.h"
#include "ui/graph/qt/DatedTableModel.h"
#include "ui/graph/qt/GraphChart.h"
#include "ui/graph/qt/GridModel.h"
#include "ui/graph/qt/StatsWindow.h"
#include "ui/graph/qt/TableMenu.h"

#include <QAction>
#include <QButtonGroup>
#include <QContextMenuEvent>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QScreen>
#include <QShortcut>
#include <QShowEvent>
#include <QSortFilterProxyModel>
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
constexpr int kRangeRowHeight = 28;
constexpr int kRangeButtonWidth = 68;
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
      boundary_(services.prompter), controller_(*this, targets, services),
      prompter_(services.prompter), files_(services.files) {
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
    stats_ = addChartCommand(QStringLiteral("期間ごとの集計(&M)…"), "PeriodStats",
                             &TFGrah::statsClicked);
    chartMenu_->addSeparator();
    addChartCommand(QStringLiteral("縮小(&O)"), "ZoomOut", &TFGrah::zoomOut);
    addChartCommand(QStringLiteral("元の表示に戻す(&R)"), "ZoomReset", &TFGrah::zoomReset);
    chartMenu_->addSeparator();
    showCalendar_ = addChartCommand(QStringLiteral("日付で表示(&D)"), "ShowCalendar",
                                    &TFGrah::showCalendarClicked);
    showCalendar_->setCheckable(true);
}

void TFGrah::buildRanges() {
    ranges_ = new QWidget(this);
    ranges_->setObjectName(QStringLiteral("Ranges"));
    auto* group = new QButtonGroup(ranges_);
    group->setExclusive(true);
    for (std::size_t i = 0; i < kCalendarRanges.size(); ++i) {
        const CalendarRange range = kCalendarRanges[i];
        const QString name = QString::fromUtf8(CalendarRangeName(range));
        // Alt and the range's place in the row, 1 to 5.
        auto* button = new QPushButton(QStringLiteral("%1(&%2)").arg(name).arg(i + 1), ranges_);
        button->setObjectName(QStringLiteral("Range_") +
                              QString::fromLatin1(CalendarRangeCode(range)));
        button->setAccessibleName(name);
        button->setCheckable(true);
        button->setAutoDefault(false);
        button->setGeometry(static_cast<int>(i) * kRangeButtonWidth, 0, kRangeButtonWidth,
                            kRangeRowHeight - 4);
        group->addButton(button);
        rangeButtons_[i] = button;
        connect(button, &QPushButton::clicked, this,
                [this, range] { boundary_.run([this, range] { controller_.RangeClick(range); }); });
        // Ctrl and the same digit wherever the focus is in the window.
        auto* key = new QShortcut(QKeySequence(Qt::CTRL | (Qt::Key_1 + static_cast<int>(i))), this);
        connect(key, &QShortcut::activated, button, [button] {
            if (button->isVisible())
                button->click();
        });
    }
    ranges_->hide();
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
    stats_->setEnabled(controller_.logShown());
    const QPoint at = globalPos ? *globalPos : chart1_->menuPlace();
    chartMenu_->popup(at);
}

void TFGrah::saveChartClicked() {
    boundary_.run([this] { controller_.SaveChartClick(); });
}

void TFGrah::saveTableClicked() {
    boundary_.run([this] { controller_.SaveTableClick(); });
}

StatsWindow* TFGrah::statsWindow() const {
    return statsWindow_;
}

void TFGrah::statsClicked() {
    boundary_.run([this] {
        std::shared_ptr<const DatedLog> log = controller_.StatsClick();
        if (!log)
            return;
        const int quantity = controller_.plottedQuantity();
        auto* window = new StatsWindow(
            StatsTable::Of(*log, quantity, Period::Week),
            [log, quantity](Period period) { return StatsTable::Of(*log, quantity, period); },
            prompter_, files_, this);
        window->setAttribute(Qt::WA_DeleteOnClose);
        statsWindow_ = window;
        window->show();
        window->activateWindow();
    });
}

void TFGrah::printChart() {
    QPrinter printer;
    PreparePrinter(printer);
    QPrintDialog dialog(&printer, this);
    dialog.setObjectName(QStringLiteral("PrintDialog"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (!printChartOn(printer))
        boundary_.run([] { throw UserError("印刷を始められませんでした。"); });
}

bool TFGrah::printChartOn(QPrinter& printer) {
    return PrintChart(*graph_->paperCopy(), printer);
}

// At the size the chart has on screen.
std::string TFGrah::chartBytes(ChartFormat format) {
    return ChartBytes(*graph_->paperCopy(), format, chart1_->size());
}

void TFGrah::showTrendClicked() {
    boundary_.run([this] { controller_.TrendLineClick(); });
}

void TFGrah::showCalendarClicked() {
    boundary_.run([this] { controller_.CalendarClick(); });
}

// As the right button zoomed out before it opened this menu.
void TFGrah::zoomOut() {
    graph_->setAnimated(true);
    graph_->zoomOut();
}

void TFGrah::zoomReset() {
    graph_->setAnimated(true);
    graph_->restoreFittedView();
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
    connect(sg_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TFGrah::markSelectedRecord);

    datedModel_ = new DatedTableModel(this);
    datedSort_ = new QSortFilterProxyModel(this);
    datedSort_->setSourceModel(datedModel_);
    datedSort_->setSortRole(DatedTableModel::kSortRole);
}

// While the chart is on a calendar the table holds the whole log, its
// header standing above the rows and sorting them by a click.
void TFGrah::showDatedTable(std::shared_ptr<const DatedTable> table) {
    const bool dated = table != nullptr;
    datedModel_->setTable(std::move(table));
    QAbstractItemModel* wanted = dated ? static_cast<QAbstractItemModel*>(datedSort_) : grid_;
    if (sg_->model() != wanted) {
        QItemSelectionModel* old = sg_->selectionModel();
        if (!dated)
            sg_->setSortingEnabled(false);
        sg_->setModel(wanted);
        delete old;
        connect(sg_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                &TFGrah::markSelectedRecord);
        sg_->horizontalHeader()->setVisible(dated);
        const int dateWidth = fontMetrics().horizontalAdvance(QStringLiteral("2026/12/06 23時"));
        sg_->setColumnWidth(kGridDateColumn, dated ? dateWidth + 12 : 70);
        if (dated) {
            sg_->horizontalHeader()->setSortIndicator(0, Qt::AscendingOrder);
            sg_->setSortingEnabled(true);
        }
    }
    graph_->markPoint(std::nullopt);
    // The newest record in view, wherever the sort has put it.
    if (const int rows = datedModel_->rowCount(); dated && rows > 0)
        sg_->scrollTo(datedSort_->mapFromSource(datedModel_->index(rows - 1, 0)));
}

std::optional<RecordCorrectionTexts> TFGrah::askCorrection(const RecordCorrectionTexts& record,
                                                           const RecordDate& latest) {
    CorrectionDialog dialog(record, latest, this);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.texts();
}

void TFGrah::markSelectedRecord() {
    if (sg_->model() != datedSort_)
        return;
    const QModelIndexList rows = sg_->selectionModel()->selectedRows();
    if (rows.isEmpty()) {
        graph_->markPoint(std::nullopt);
        return;
    }
    const QModelIndex current = sg_->selectionModel()->currentIndex();
    const QModelIndex row =
        sg_->selectionModel()->isRowSelected(current.row()) ? current : rows.front();
    graph_->markPoint(controller_.DatedRecordPoint(datedSort_->mapToSource(row).row()));
}

// --- GraphView ---

void TFGrah::showPlot(const Plot& plot) {
    panel2_->setVisible(plot.withTarget);
    // The lines move to a new plot only where the user can watch them. The
    // graph command plots while the window is hidden: animated, the first
    // paint would show the plot before, and more frames would follow.
    graph_->showPlot(plot, isVisible());
    chart1_->showSummary(plot.summary);
    markSelectedRecord();
}

void TFGrah::setTrendChecked(bool checked) {
    showTrend_->setChecked(checked);
}

void TFGrah::showCalendar(bool shown) {
    showCalendar_->setChecked(shown);
    // Made the first time they are needed: off the calendar, the window
    // has the controls it always had.
    if (shown && !ranges_)
        buildRanges();
    if (ranges_)
        ranges_->setVisible(shown);
    placeChartAndGrid();
}

void TFGrah::showRange(CalendarRange range, long long fromHour, long long toHour) {
    for (std::size_t i = 0; ranges_ && i < kCalendarRanges.size(); ++i)
        rangeButtons_[i]->setChecked(kCalendarRanges[i] == range);
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
    const int rangeRow = ranges_ && ranges_->isVisibleTo(this) ? kRangeRowHeight : 0;
    if (ranges_)
        ranges_->setGeometry(kChartPlace.left(), kChartPlace.top(),
                             kRangeButtonWidth * static_cast<int>(kCalendarRanges.size()),
                             kRangeRowHeight);
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
