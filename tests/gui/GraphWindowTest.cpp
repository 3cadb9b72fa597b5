#include "core/RecordDate.h"
#include "log/LogReader.h"
#include "log/PosixFileSystem.h"
#include "log/TypedRecord.h"
#include "platform/IniSettingsStore.h"
#include "support/TestHome.h"
#include "support/fakes/FakeSeams.h"
#include "ui/graph/qt/StatsWindow.h"
#include "ui/graph/qt/TFGrah.h"
#include "ui/graph/qt/TableMenu.h"

#include <QAbstractAnimation>
#include <QChart>
#include <QChartView>
#include <QGraphicsObject>
#include <QGroupBox>
#include <QHeaderView>
#include <QHelpEvent>
#include <QImage>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QLineEdit>
#include <QLineSeries>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSet>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <QValueAxis>
#include <QWheelEvent>
#include <QWindow>

#include <gtest/gtest.h>

#include <QApplication>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

using namespace vorn;
using namespace vorn::test;

namespace {

// Counts the paints of a widget.
class PaintCounter : public QObject {
public:
    PaintCounter(QWidget* widget, int& count) : count_(count) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        count_ += event->type() == QEvent::Paint;
        return false;
    }

private:
    int& count_;
};

struct GraphWindow : ::testing::Test {
    FakePrompter prompter;
    FixedClock clock{LocalTime{2026, 12, 9, 17, 0}};
    MemorySettingsStore settings;
    TargetTable targets;
    FakeFileChooser files;
    PosixFileSystem fs;
    TFGrah w{{clock, settings, prompter, files, fs}, targets};
    // The grid as the tests fill it: a cell is written with the rest of its
    // row, as the graph command writes whole rows.
    std::vector<GridRow> grid = std::vector<GridRow>(kGridRows);
    void put(int column, int row, const std::string& text) {
        GridRow& r = grid.at(static_cast<std::size_t>(row));
        r.at(static_cast<std::size_t>(column)) = text;
        w.controller().setRows(row, {r});
    }

    template <class T> T* child(const char* name) {
        T* found = w.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QLineSeries* series(const char* name) {
        for (QAbstractSeries* s : child<QChartView>("Chart1")->chart()->series())
            if (s->objectName() == QLatin1String(name))
                return qobject_cast<QLineSeries*>(s);
        ADD_FAILURE() << name;
        return nullptr;
    }
    QList<QPointF> points(const char* name) { return series(name)->points(); }
    int screenHeight() { return w.screen()->geometry().height(); }
    void click(const char* name) {
        QTest::mouseClick(child<QAbstractButton>(name), Qt::LeftButton);
    }
    QValueAxis* axis(Qt::Orientation o) {
        return qobject_cast<QValueAxis*>(child<QChartView>("Chart1")->chart()->axes(o).value(0));
    }
    void loadWeights(const std::vector<std::string>& weights) {
        for (std::size_t r = 0; r < weights.size(); ++r)
            put(3, static_cast<int>(r) + 1, weights[r]);
        w.controller().setHistoryRowCount(static_cast<int>(weights.size()) + 1);
    }
    // The colour a line is drawn in.
    QColor colour(const char* name) { return series(name)->pen().color(); }
    // The chart once its animations are over and the trend is drawn for the
    // view they end in.
    bool chartSettled() {
        for (QGraphicsItem* item : child<QChartView>("Chart1")->scene()->items())
            if (QGraphicsObject* part = item->toGraphicsObject())
                for (auto* a : part->findChildren<QAbstractAnimation*>())
                    if (a->state() == QAbstractAnimation::Running)
                        return false;
        return !child<QTimer>("TrendRedraw")->isActive();
    }
    // Pixels of exactly this colour in a grab of the chart as shown.
    int pixels(const QColor& colour) {
        const QImage image = child<QChartView>("Chart1")->grab().toImage();
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += image.pixelColor(x, y) == colour;
        return n;
    }
};

} // namespace

TEST_F(GraphWindow, ControlsAreNamedAndCaptioned) {
    EXPECT_EQ(w.objectName(), "FGrah");
    EXPECT_EQ(w.windowTitle(), "種類別測定グラフ");
    EXPECT_TRUE(w.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_TRUE(w.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(child<QGroupBox>("RadioGroup1")->title(), " 種類選択 ");
    EXPECT_EQ(child<QLabel>("Panel1")->text(), "測定値 ");
    EXPECT_EQ(child<QLabel>("Panel2")->text(), "目標値 ");
    EXPECT_NE(child<QWidget>("Panel3"), nullptr);
    EXPECT_NE(child<QWidget>("Panel4"), nullptr);
    EXPECT_EQ(child<QPushButton>("Button1")->text(), "全データ(&A)");
    EXPECT_TRUE(w.font().families().contains("IPAPGothic"));
    EXPECT_EQ(w.font().pixelSize(), 12);

    QChart* chart = child<QChartView>("Chart1")->chart();
    EXPECT_EQ(chart->title(), "種類別測定値");
    EXPECT_EQ(chart->titleBrush().color(), QColor(0, 0, 255));
    EXPECT_EQ(chart->titleFont().pixelSize(), 13);
    EXPECT_FALSE(chart->legend()->isVisible());
    EXPECT_EQ(child<QChartView>("Chart1")->rubberBand(), QChartView::RectangleRubberBand);
    EXPECT_EQ(chart->backgroundBrush().color(), QColor(Qt::white));

    // Each line in the colour of its legend's sample beside the chart: the
    // measured one exactly, the target a lighter shade of the sample's blue.
    struct SeriesCase {
        const char* name;
        const char* title;
        const char* sample;
        int hueTolerance;
    };
    for (const SeriesCase& k : {SeriesCase{"Series1", "測定値", "Panel3", 0},
                                SeriesCase{"Series2", "目標値", "Panel4", 45}}) {
        QLineSeries* s = series(k.name);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->name(), QString::fromUtf8(k.title));
        const QColor sample = child<QWidget>(k.sample)->palette().color(QPalette::Window);
        EXPECT_LE(std::abs(colour(k.name).hue() - sample.hue()), k.hueTolerance) << k.name;
        EXPECT_FALSE(s->pointsVisible());
    }
    EXPECT_EQ(colour("Series1"), child<QWidget>("Panel3")->palette().color(QPalette::Window));
}

TEST_F(GraphWindow, RadioButtonsStandInScreenOrder) {
    struct Case {
        const char* name;
        const char* caption;
    };
    const Case order[] = {
        {"RadioButton8", "身長"},   {"RadioButton7", "体重"},     {"RadioButton1", "脂肪率"},
        {"RadioButton9", "脂肪量"}, {"RadioButton2", "除水分量"}, {"RadioButton3", "体水分量"},
        {"RadioButton4", "ＢMI"},   {"RadioButton5", "標準体重"}, {"RadioButton6", "肥満度"},
    };
    // One column inside the group's frame, each caption whole below the one before.
    const QRect group = child<QWidget>("RadioGroup1")->geometry();
    QList<QRadioButton*> buttons = w.findChildren<QRadioButton*>();
    ASSERT_EQ(buttons.size(), 9);
    std::sort(buttons.begin(), buttons.end(),
              [](auto* a, auto* b) { return a->geometry().top() < b->geometry().top(); });
    for (int i = 0; i < 9; ++i) {
        SCOPED_TRACE(order[i].name);
        EXPECT_EQ(buttons[i]->objectName(), order[i].name);
        const QRect place = buttons[i]->geometry();
        EXPECT_TRUE(group.contains(place) && place.x() == buttons[0]->x());
        const int textHeight = buttons[i]->fontMetrics().height();
        if (i > 0) {
            EXPECT_GE(place.center().y() - buttons[i - 1]->geometry().center().y(), textHeight);
        }
        EXPECT_GE(place.width(), buttons[i]->sizeHint().width());
        EXPECT_EQ(buttons[i]->text(), QString::fromUtf8(order[i].caption));
        EXPECT_EQ(buttons[i]->isChecked(), i == 0);
    }
}

TEST_F(GraphWindow, GridIsReadOnlyWithElevenColumnsOfAThousandRows) {
    auto* sg = child<QTableView>("sg");
    const QAbstractItemModel* model = sg->model();
    EXPECT_EQ(model->columnCount(), 11);
    EXPECT_EQ(model->rowCount(), 1000);
    EXPECT_FALSE(sg->horizontalHeader()->isVisibleTo(&w));
    EXPECT_FALSE(sg->verticalHeader()->isVisibleTo(&w));
    for (int c = 0; c < 11; ++c)
        EXPECT_EQ(sg->columnWidth(c), 70) << c;
    EXPECT_EQ(sg->selectionBehavior(), QAbstractItemView::SelectRows);
    // Across the whole window, below the chart.
    EXPECT_TRUE(sg->x() <= 0 && sg->geometry().right() >= w.width() - 1);
    EXPECT_GT(sg->y(), child<QWidget>("Chart1")->geometry().bottom());

    put(2, 1, "170.00");
    put(10, 999, "-20.10");
    EXPECT_EQ(model->index(1, 2).data().toString(), "170.00");
    EXPECT_EQ(model->index(999, 10).data().toString(), "-20.10");
    EXPECT_FALSE(model->flags(model->index(1, 2)) & Qt::ItemIsEditable);
    // A load writes its rows in one go; the rows past them keep their texts.
    GridRow row;
    row[2] = "65.00";
    w.controller().setRows(1, {row});
    EXPECT_EQ(model->index(1, 2).data().toString(), "65.00");
    EXPECT_EQ(model->index(1, 0).data().toString(), "");
    EXPECT_EQ(model->index(999, 10).data().toString(), "-20.10");

    EXPECT_EQ(sg->editTriggers(), QAbstractItemView::NoEditTriggers);
}

TEST_F(GraphWindow, ClientAreaShowsChartWholeAndGridOnlyWhenUnfolded) {
    w.show();
    const int centred = screenHeight() / 2 - 159;
    const int shift = screenHeight() / 6;
    EXPECT_GT(w.height(), 289);
    EXPECT_LE(w.height(), 296);
    EXPECT_EQ(w.width(), 463);
    EXPECT_EQ(w.pos().y(), centred);
    EXPECT_EQ(w.pos().x(), 209);

    click("Button1");
    EXPECT_GE(w.height(), 489);
    EXPECT_EQ(w.pos().y(), centred - shift);

    click("Button1");
    EXPECT_GT(w.height(), 289);
    EXPECT_LE(w.height(), 296);
    EXPECT_EQ(w.pos().y(), centred);

    click("Button1");
    child<QWidget>("sg")->setFocus();
    click("Button1"); // folded, the grid takes no focus: keys and its menu go elsewhere
    EXPECT_FALSE(child<QWidget>("sg")->hasFocus() || child<QWidget>("sg")->focusPolicy());

    // Closed while unfolded, it comes back folded and centred.
    click("Button1");
    w.hide();
    w.move(209, 5);
    w.show();
    EXPECT_LE(w.height(), 296);
    EXPECT_EQ(w.pos().y(), centred);
    w.hide();
}

TEST_F(GraphWindow, PlotReachesTheSeries) {
    loadWeights({"65.00", "64.50", "oops", "63.00"});
    targets[1] = "60.00";

    click("RadioButton7");
    EXPECT_EQ(w.controller().selectedQuantity(), 1);
    const QList<QPointF> measured{{0, 65}, {1, 64.5}, {2, 0}, {3, 63}};
    const QList<QPointF> target{{0, 60}, {1, 60}, {2, 0}, {3, 60}};
    EXPECT_EQ(points("Series1"), measured);
    EXPECT_EQ(points("Series2"), target);
    EXPECT_TRUE(child<QLabel>("Panel2")->isVisibleTo(&w));

    // Both lines lie inside the value axis, away from the frame.
    auto* axis = qobject_cast<QValueAxis*>(
        child<QChartView>("Chart1")->chart()->axes(Qt::Vertical).value(0));
    ASSERT_NE(axis, nullptr);
    EXPECT_LT(axis->min(), 0);
    EXPECT_GT(axis->max(), 65);

    // Clicking the checked button again runs nothing.
    put(3, 1, "99.00");
    click("RadioButton7");
    EXPECT_EQ(points("Series1"), measured);

    // Height has no target: its line goes, and so does its legend entry.
    click("RadioButton8");
    EXPECT_EQ(w.controller().selectedQuantity(), 0);
    EXPECT_EQ(points("Series1").size(), 4);
    EXPECT_TRUE(points("Series2").isEmpty());
    EXPECT_FALSE(child<QLabel>("Panel2")->isVisibleTo(&w));
    EXPECT_TRUE(prompter.shown.empty());

    // An empty log keeps nothing of the range before.
    w.controller().setHistoryRowCount(1);
    click("RadioButton7");
    EXPECT_EQ(axis->min(), 0);
    EXPECT_EQ(axis->max(), 1);
    EXPECT_EQ(this->axis(Qt::Horizontal)->max(), 1);
}

TEST_F(GraphWindow, ShownModallyUntilClosedAndEscapeDoesNotClose) {
    w.controller().Button1Click();
    bool wasVisible = false;
    bool compactWhenShown = false;
    bool stillOpenAfterEscape = false;
    QTimer::singleShot(0, &w, [&] {
        wasVisible = w.isVisible();
        compactWhenShown = w.height() <= 296;
        QTest::keyClick(&w, Qt::Key_Escape);
        stillOpenAfterEscape = w.isVisible();
        w.close();
    });
    w.controller().showModal();
    EXPECT_TRUE(wasVisible);
    EXPECT_TRUE(compactWhenShown);
    EXPECT_TRUE(stillOpenAfterEscape);
    EXPECT_FALSE(w.isVisible());
}

// Replotting quantities of very different ranges while the axes are still
// animating towards the previous range ends in the last plot, fitted.
TEST_F(GraphWindow, ReplottingDuringAnimationsIsSafe) {
    for (int r = 1; r <= 12; ++r)
        for (int column = 2; column < 11; ++column)
            put(column, r, std::to_string(column * column * (r % 5 + 1) - 40));
    w.controller().setHistoryRowCount(13);
    targets[0] = "170.00";
    targets[7] = "22.00";
    w.show();
    // Each click comes a few frames into the animation of the one before.
    int frames = 0;
    QWidget* port = child<QChartView>("Chart1")->viewport();
    PaintCounter counter(port, frames);
    const char* order[] = {"RadioButton1", "RadioButton4", "RadioButton8", "RadioButton2",
                           "RadioButton6", "RadioButton9", "RadioButton3", "RadioButton5"};
    for (int i = 0; i < 40; ++i) {
        click(order[i % 8]);
        const int wanted = frames + 1 + i % 3;
        // (A slow machine may end the animation in fewer.)
        ASSERT_TRUE(QTest::qWaitFor([&] { return frames >= wanted || chartSettled(); })) << i;
    }
    // The last quantity, standard weight, with its axes as a fresh plot fits them.
    ASSERT_TRUE(QTest::qWaitFor([&] { return chartSettled(); }));
    QList<QPointF> standard;
    for (int r = 1; r <= 12; ++r)
        standard.append(QPointF(r - 1, 8 * 8 * (r % 5 + 1) - 40));
    EXPECT_EQ(points("Series1"), standard);
    EXPECT_TRUE(axis(Qt::Vertical)->min() < 24 && axis(Qt::Vertical)->max() > 280 &&
                axis(Qt::Vertical)->max() < 400)
        << axis(Qt::Vertical)->min() << " " << axis(Qt::Vertical)->max();
    EXPECT_TRUE(axis(Qt::Horizontal)->min() == 0 && axis(Qt::Horizontal)->max() >= 11);
    w.hide();
}

// The grid gets its rows after its headers are hidden and sized: every row
// and column still has the grid's own size once the window is unfolded.
TEST_F(GraphWindow, UnfoldedGridRowsAndColumnsKeepTheirSize) {
    w.show();
    click("Button1");
    auto* sg = child<QTableView>("sg");
    for (int r : {0, 1, 500, 999})
        EXPECT_EQ(sg->rowHeight(r), 24) << r;
    for (int c : {0, 10})
        EXPECT_EQ(sg->columnWidth(c), 70) << c;
    EXPECT_FALSE(sg->verticalHeader()->isVisible());
    EXPECT_FALSE(sg->horizontalHeader()->isVisible());
    w.hide();
}

TEST_F(GraphWindow, EnterNeitherFoldsNorUnfoldsTheTable) {
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    const int folded = w.height();
    for (const char* focus : {"Button1", "RadioButton8"}) {
        child<QWidget>(focus)->setFocus();
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
            QTest::keyClick(QApplication::focusWidget(), key);
            EXPECT_EQ(w.height(), folded) << focus << " " << key;
        }
    }
    // Alt+A still unfolds it, once its button's click has been animated.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.height() > folded; }));
    w.hide();
}

// A line of one point draws no line: the point is marked, on both lines.
TEST_F(GraphWindow, OneRecordDrawsItsPoints) {
    loadWeights({"65.00"});
    targets[1] = "60.00";
    click("RadioButton7");
    w.show();
    const QColor measured = colour("Series1");
    const QColor target = colour("Series2");
    EXPECT_TRUE(QTest::qWaitFor([&] { return pixels(measured) >= 12 && pixels(target) >= 12; }))
        << pixels(measured) << " " << pixels(target);
    w.hide();
}

// The graph command plots while the window is hidden: its first paint shows
// that plot whole, not the one before or a frame on the way.
TEST_F(GraphWindow, PlotMadeWhileHiddenIsWholeAtTheFirstPaint) {
    w.show(); // sized and laid out once, with nothing to draw
    w.hide();
    loadWeights({"65.00", "64.50", "63.20"});
    click("RadioButton7");
    w.show();
    EXPECT_GE(pixels(colour("Series1")), 12);
    w.hide();
}

TEST_F(GraphWindow, ZoomKeepsRoundTicksAndRecordNumbersFromZero) {
    loadWeights({"65.00", "64.60", "64.10", "64.35", "63.80", "63.55", "63.90", "63.20"});
    click("RadioButton7");
    w.show();
    auto* view = child<QChartView>("Chart1");
    QChart* chart = view->chart();
    QValueAxis* x = axis(Qt::Horizontal);
    QValueAxis* y = axis(Qt::Vertical);
    const QPointF fittedX(x->min(), x->max());
    const QPointF fittedY(y->min(), y->max());
    const auto fitted = [&] {
        return QPointF(x->min(), x->max()) == fittedX && QPointF(y->min(), y->max()) == fittedY;
    };
    // The decimals of an axis's labels, from their format "%.<decimals>f".
    const auto decimals = [](QValueAxis* a) { return a->labelFormat().mid(2).chopped(1).toInt(); };
    const auto labelsShowTheTicks = [&](QValueAxis* axis) {
        const double step = (axis->max() - axis->min()) / (axis->tickCount() - 1);
        for (double tick : {axis->min(), axis->min() + step, axis->max()}) {
            const double shown = QString::asprintf(axis->labelFormat().toLatin1(), tick).toDouble();
            EXPECT_NEAR(shown, tick, 1e-9 * std::max(1.0, std::fabs(tick))) << decimals(axis);
        }
    };

    // A narrow band of the value axis needs decimals its labels show.
    const QRectF area = chart->plotArea();
    chart->zoomIn(QRectF(area.left() + area.width() * 0.2, area.top() + area.height() * 0.45,
                         area.width() * 0.3, area.height() * 0.04));
    EXPECT_GT(decimals(y), 1);
    labelsShowTheTicks(y);
    labelsShowTheTicks(x);
    EXPECT_GE(x->min(), 0);
    for (int i = 0; i < 5; ++i) {
        chart->zoomOut();
        EXPECT_GE(x->min(), 0) << i;
        EXPECT_EQ(x->min(), std::round(x->min())) << i;
        labelsShowTheTicks(x);
        labelsShowTheTicks(y);
    }

    // A double-click, or the band drawn towards the upper left, fits again.
    QWidget* port = view->viewport();
    QTest::mouseDClick(port, Qt::LeftButton, {}, area.center().toPoint());
    EXPECT_TRUE(fitted());
    chart->zoomOut();
    const QPoint from = area.center().toPoint() + QPoint(40, 40);
    QTest::mousePress(port, Qt::LeftButton, {}, from);
    QTest::mouseMove(port, from - QPoint(20, 20));
    QTest::mouseRelease(port, Qt::LeftButton, {}, from - QPoint(60, 60));
    EXPECT_TRUE(fitted());
    // Drawn the other way it zooms, as before.
    QTest::mousePress(port, Qt::LeftButton, {}, from - QPoint(60, 60));
    QTest::mouseMove(port, from - QPoint(20, 20));
    QTest::mouseRelease(port, Qt::LeftButton, {}, from);
    EXPECT_FALSE(fitted());
    w.hide();
}

// The user's zooms, the reset and a change of quantity, each animated, end
// in a chart exactly as a fresh plot draws it, with no fragment of a line.
TEST_F(GraphWindow, ZoomResetAndQuantityChangeLeaveNoMarks) {
    loadWeights({"65.00", "64.60", "64.10", "64.35", "63.80", "63.55", "63.90", "63.20"});
    click("RadioButton7");
    w.show();
    // Active, as it stays: its focus frame and colours are those of an
    // active window in every grab.
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QWidget* port = child<QChartView>("Chart1")->viewport();
    // The window once its animations are over: three grabs alike in a row.
    QImage shown;
    const auto settled = [&] {
        int same = 0;
        EXPECT_TRUE(QTest::qWaitFor([&] {
            if (!chartSettled())
                return false;
            const QImage now = w.screen()->grabWindow(w.winId()).toImage();
            same = now == shown ? same + 1 : 0;
            shown = now;
            return same == 2;
        }));
        return shown;
    };
    const QImage fresh = settled();
    const QPoint c(200, 140);
    QTest::mousePress(port, Qt::LeftButton, {}, c - QPoint(40, 30));
    QTest::mouseMove(port, c);
    QTest::mouseRelease(port, Qt::LeftButton, {}, c + QPoint(30, 20));
    settled();
    QAction* zoomOut = child<QAction>("ZoomOut");
    zoomOut->trigger();
    zoomOut->trigger();
    settled();
    QTest::mouseDClick(port, Qt::LeftButton, {}, c);
    EXPECT_TRUE(settled() == fresh);
    click("RadioButton1");
    settled();
    click("RadioButton7");
    EXPECT_TRUE(settled() == fresh);
}

// A point's tooltip stays while the pointer rests on it: the request that
// comes after a rest does not take it away (that would take a short fade).
TEST_F(GraphWindow, PointTooltipStaysWhileThePointerRests) {
    loadWeights({"65.00", "64.50", "63.20"});
    click("RadioButton7");
    w.show();
    auto* view = child<QChartView>("Chart1");
    const QPoint at = view->mapFromScene(view->chart()->mapToScene(
        view->chart()->mapToPosition(QPointF(1, 64.5), series("Series1"))));
    QTest::mouseMove(view->viewport(), at);
    ASSERT_TRUE(QTest::qWaitFor([] { return QToolTip::text().contains("64.50"); }));
    QHelpEvent rest(QEvent::ToolTip, at, view->viewport()->mapToGlobal(at));
    QApplication::sendEvent(view->viewport(), &rest);
    // Answered by the point: the scene, which would hide it, never saw it.
    EXPECT_TRUE(rest.isAccepted() && QToolTip::isVisible() && QToolTip::text().contains("64.50"));
    QToolTip::hideText();
}

// The chart's menu opens by the right button on the chart (which no longer
// zooms out), the Menu key and Shift+F10; its first item shows the trend.
TEST_F(GraphWindow, ChartMenuOpensByTheRightButtonAndTheKeys) {
    loadWeights({"65.00", "64.50", "63.20"});
    click("RadioButton7");
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    auto* chart = child<QChartView>("Chart1");
    const QPoint centre = chart->mapTo(&w, chart->rect().center());
    const double yMax = axis(Qt::Vertical)->max();
    const std::function<void()> opens[] = {
        [&] { QTest::mouseClick(w.windowHandle(), Qt::RightButton, {}, centre); },
        [&] { QTest::keyClick(chart, Qt::Key_Menu); },
        [&] { QTest::keyClick(child<QWidget>("RadioButton7"), Qt::Key_F10, Qt::ShiftModifier); },
    };
    for (std::size_t i = 0; i < std::size(opens); ++i) {
        opens[i]();
        EXPECT_TRUE(QTest::qWaitFor([&] { return w.chartMenu()->isVisible(); })) << i;
        w.chartMenu()->hide();
    }
    QTest::mouseClick(chart->viewport(), Qt::RightButton, {}, chart->rect().center());
    EXPECT_EQ(axis(Qt::Vertical)->max(), yMax);
    QAction* item = w.chartMenu()->actions().value(0);
    EXPECT_TRUE(item->text() == "傾向線を表示(&T)" && item->isCheckable() && !item->isChecked());
    w.hide();
}

TEST_F(GraphWindow, TrendDrawsItsLineLegendAndSummaryAndHasTooltips) {
    loadWeights({"70.00", "69.00", "68.50", "68.00", "67.00"});
    click("RadioButton7");
    w.show();
    child<QAction>("ShowTrend")->trigger();
    EXPECT_TRUE(points("Series3").size() == 5 && series("Series3")->name() == "傾向");
    EXPECT_TRUE(QTest::qWaitFor([&] { return pixels(colour("Series3")) >= 12; }));
    auto* view = child<QChartView>("Chart1");
    QLegend* legend = view->chart()->legend();
    EXPECT_TRUE(legend->isVisible());
    for (const char* name : {"Series1", "Series2", "Series3"})
        EXPECT_EQ(legend->markers(series(name)).value(0)->isVisible(), name[6] == '3') << name;

    // The summary: read aloud, in the window's font, whole, at the plot's top.
    auto* summary = child<QLabel>("Lb_trend");
    EXPECT_TRUE(summary->isVisible() && summary->font() == w.font());
    EXPECT_EQ(summary->text(), "傾向 --.-- kg/週"); // the records have no dates
    EXPECT_EQ(summary->accessibleName(), summary->text());
    EXPECT_GE(summary->width(), summary->sizeHint().width());
    const QRect plot = view->mapFromScene(view->chart()->plotArea()).boundingRect();
    EXPECT_TRUE(view->viewport()->rect().contains(summary->geometry()));
    EXPECT_NEAR(summary->y(), plot.top(), 4);
    w.windowHandle()->resize(w.size() + QSize(300, 200)); // grown by its edge, it stays there
    EXPECT_TRUE(QTest::qWaitFor([&] {
        const QRect grown = view->mapFromScene(view->chart()->plotArea()).boundingRect();
        return grown.height() > plot.height() + 150 &&
               (summary->pos() - grown.topLeft()).manhattanLength() <= 6;
    }));

    const QPoint at = view->mapFromScene(view->chart()->mapToScene(
        view->chart()->mapToPosition(QPointF(1, 69.9), series("Series3"))));
    QTest::mouseMove(view->viewport(), at);
    EXPECT_TRUE(QTest::qWaitFor([] { return QToolTip::text().contains("傾向 69.90"); }));
    QToolTip::hideText();

    child<QAction>("ShowTrend")->trigger();
    EXPECT_TRUE(points("Series3").isEmpty());
    EXPECT_FALSE(summary->isVisible() || legend->isVisible());
    w.hide();
}

// A long trend is drawn through fewer points, as finely as the view needs once
// it has settled; a record the line is not drawn through keeps its tooltip.
TEST_F(GraphWindow, TrendIsDrawnAgainForTheViewAZoomSettlesIn) {
    std::vector<std::string> weights;
    for (int r = 0; r < 100; ++r)
        weights.push_back(QString::number(70 + 3 * std::sin(r / 15.0), 'f', 2).toStdString());
    loadWeights(weights);
    click("RadioButton7");
    w.show();
    child<QAction>("ShowTrend")->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return chartSettled(); })); // in its new layout
    const QList<QPointF> drawn = points("Series3");
    EXPECT_TRUE(drawn.size() > 2 && drawn.size() < 100) << drawn.size();
    // The first record the line is not drawn through, and its trend.
    int hidden = 0;
    double trend = 70;
    for (int r = 1; r < 100 && hidden == 0; ++r) {
        trend += 0.1 * (std::stod(weights[static_cast<std::size_t>(r)]) - trend);
        hidden = drawn.value(r).x() == r ? 0 : r;
    }
    ASSERT_GT(hidden, 0);
    auto* view = child<QChartView>("Chart1");
    QChart* chart = view->chart();
    QTest::mouseMove(view->viewport(), view->mapFromScene(chart->mapToScene(chart->mapToPosition(
                                           QPointF(hidden, trend), series("Series3")))));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return QToolTip::text().contains("傾向 " + QString::number(trend, 'f', 2)); }));
    QToolTip::hideText();
    const QRectF area = chart->plotArea();
    chart->zoomIn(QRectF(area.left(), area.top(), area.width() / 8, area.height()));
    EXPECT_TRUE(QTest::qWaitFor([&] { return points("Series3").size() > drawn.size(); }));
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, area.center().toPoint());
    EXPECT_TRUE(QTest::qWaitFor([&] { return points("Series3").size() == drawn.size(); }));
    w.hide();
}

// The choice outlives the window, in a section of its own of the real
// settings file; every other line stays as it was.
TEST_F(GraphWindow, TrendChoiceIsKeptInTheSettingsFile) {
    const ConfigFolder folder;
    const std::string mine = "; mine\r\n[TGT]\r\nVAL2=60.00\r\n";
    folder.putConf(mine);
    {
        IniSettingsStore store;
        TFGrah first{{clock, store, prompter, files, fs}, targets};
        first.chartMenu()->actions().value(0)->trigger();
        EXPECT_TRUE(first.controller().trendShown());
    }
    EXPECT_EQ(Slurp(folder.conf).substr(0, mine.size()), mine);
    IniSettingsStore store;
    TFGrah second{{clock, store, prompter, files, fs}, targets};
    EXPECT_TRUE(second.chartMenu()->actions().value(0)->isChecked());
    EXPECT_TRUE(second.controller().trendShown() && prompter.shown.empty());
}

// The room goes to the chart and the grid; the size is kept, within the screen.
TEST_F(GraphWindow, GrowsWhereTheChartAndGridAreAndKeepsItsSize) {
    w.show();
    const auto places = [&] {
        return std::vector<QRect>{child<QWidget>("RadioButton6")->geometry(),
                                  child<QWidget>("Panel2")->geometry(),
                                  child<QWidget>("Button1")->geometry()};
    };
    const std::vector<QRect> fixed = places();
    const QRect chart = child<QWidget>("Chart1")->geometry();
    const QRect grid = child<QWidget>("sg")->geometry();
    const QSize folded = w.size();
    w.windowHandle()->resize(folded + QSize(200, 20)); // as by the window's edge
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.width() == folded.width() + 200; }));
    EXPECT_EQ(child<QWidget>("Chart1")->geometry(), chart.adjusted(0, 0, 200, 20));
    click("Button1"); // the grid grows as the chart did
    EXPECT_EQ(child<QWidget>("Chart1")->geometry(), chart.adjusted(0, 0, 200, 20));
    EXPECT_EQ(child<QWidget>("sg")->geometry(), grid.adjusted(0, 20, 200, 40));
    EXPECT_EQ(places(), fixed);
    w.controller().keepChoices();

    TFGrah next{{clock, settings, prompter, files, fs}, targets};
    next.show();
    EXPECT_EQ(next.size(), folded + QSize(200, 20));
    // Maximised, it keeps the size it had before for the next time.
    const std::string kept = settings.values["GRAPH"]["WIDTH"];
    next.showMaximized();
    ASSERT_TRUE(QTest::qWaitFor([&] { return next.width() > folded.width() + 300; }));
    next.controller().keepChoices();
    EXPECT_EQ(settings.values["GRAPH"]["WIDTH"], kept);
    settings.values["GRAPH"] = {{"WIDTH", "9000"}, {"HEIGHT", "9000"}};
    TFGrah huge{{clock, settings, prompter, files, fs}, targets};
    huge.show();
    EXPECT_TRUE(huge.screen()->availableGeometry().contains(huge.frameGeometry()));
}

TEST_F(GraphWindow, TheChartMenuSavesTheChartAsTheWindowDrawsIt) {
    QStringList captions;
    for (QAction* a : w.chartMenu()->actions())
        captions << a->text();
    EXPECT_EQ(captions.mid(0, 5), QStringList({"傾向線を表示(&T)", "", "グラフを画像で保存(&S)…",
                                               "印刷(&P)…", "一覧表をCSVで保存(&C)…"}));
    put(GridColumnOf(0), 1, "170.00");
    put(GridColumnOf(0), 2, "171.00");
    w.controller().setHistoryRowCount(3);
    w.controller().PlotQuantity(0, "");
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    const std::string dir = MakeTempDir("chart");
    for (const char* name : {"/g.png", "/g.svg", "/g.pdf"}) {
        files.exportAnswers.push_back(dir + name);
        w.findChild<QAction*>(QStringLiteral("SaveChart"))->trigger();
    }
    const QImage png(QString::fromStdString(dir + "/g.png"));
    ASSERT_EQ(png.size(), child<QChartView>("Chart1")->size() * 2);
    int red = 0;
    const QColor measured = colour("Series1");
    for (int y = 0; y < png.height(); ++y)
        for (int x = 0; x < png.width(); ++x)
            red += png.pixelColor(x, y) == measured;
    EXPECT_GT(red, 100) << "the measured points";
    EXPECT_TRUE(Slurp(dir + "/g.pdf").starts_with("%PDF-"));
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(dir + "/print.pdf"));
    ASSERT_TRUE(w.printChartOn(printer));
    EXPECT_NE(Slurp(dir + "/print.pdf").find("/Count 1\n"), std::string::npos) << "one page";
    EXPECT_NE(Slurp(dir + "/g.svg").find("<svg"), std::string::npos);
    EXPECT_TRUE(prompter.shown.empty());
}

// A file or a page of the chart says what it shows: the quantity with its
// unit, and a legend of the lines drawn in their own colours; the print
// dialog offers a landscape page. The window's own chart stays as it was.
TEST_F(GraphWindow, FilesAndPagesNameTheQuantityAndTheirLines) {
    loadWeights({"65.00", "64.50", "63.20"});
    struct Case {
        const char* target;
        bool trend;
    };
    for (const Case& k : {Case{"", false}, Case{"60.00", false}, Case{"60.00", true}}) {
        targets[kWeight] = k.target;
        if (w.controller().trendShown() != k.trend)
            w.controller().TrendLineClick();
        w.controller().RadioButton7Click();
        const QString svg = QString::fromStdString(w.chartBytes(ChartFormat::Svg)).remove('\n');
        const auto named = [&](const char* line, const char* caption) {
            return svg.contains(
                QRegularExpression(QStringLiteral("\"%1\"[^>]*>%2<")
                                       .arg(colour(line).name(), QString::fromUtf8(caption))));
        };
        SCOPED_TRACE(std::string(k.target) + (k.trend ? " trend" : ""));
        EXPECT_TRUE(svg.contains(QStringLiteral(">種類別測定値 体重(")));
        EXPECT_TRUE(named("Series1", "測定値"));
        EXPECT_EQ(named("Series2", "目標値"), *k.target != 0);
        EXPECT_EQ(named("Series3", "傾向"), k.trend);
    }
    EXPECT_EQ(child<QChartView>("Chart1")->chart()->title(), "種類別測定値");

    bool landscape = false;
    QTimer::singleShot(0, &w, [&] {
        auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        landscape =
            dialog && dialog->printer()->pageLayout().orientation() == QPageLayout::Landscape;
        if (dialog)
            dialog->reject();
    });
    child<QAction>("PrintChart")->trigger();
    EXPECT_TRUE(landscape);
}

// 期間ごとの集計 opens, by its access key, the statistics per week of the
// quantity shown over the whole log; no two items of the menu share a key.
TEST_F(GraphWindow, ChartMenuOpensThePeriodStatisticsByItsKey) {
    const std::string path = MakeTempDir("stats") + "/data.txt";
    Spit(path, " 120107 170.00 65.00 20.00 13.00 52.00 38.06 63.58 22.49  2.23\n"
               " 120907 170.00 64.00 20.00 12.80 51.20 37.48 63.58 22.15  0.66\n");
    HistoryTable history;
    w.controller().ShowLog(path, history, ReadHistory(fs, path, history));
    click("RadioButton7");
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QSet<QChar> keys;
    for (QAction* item : w.chartMenu()->actions()) {
        const qsizetype amp = item->text().indexOf('&');
        const QChar key = amp >= 0 ? item->text()[amp + 1].toUpper() : QChar();
        EXPECT_TRUE(key.isNull() || !keys.contains(key)) << item->text().toStdString();
        keys.insert(key);
    }
    QTest::keyClick(child<QWidget>("RadioButton7"), Qt::Key_Menu);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.chartMenu()->isVisible(); }));
    QTest::keyClick(w.chartMenu(), Qt::Key_M);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.statsWindow() && w.statsWindow()->isVisible(); }));
    StatsWindow* stats = w.statsWindow();
    EXPECT_EQ(stats->windowTitle(), "期間ごとの集計 - 体重(kg)");
    EXPECT_EQ(stats->table().periods().period(), Period::Week);
    ASSERT_EQ(stats->table().rowCount(), 2u);
    EXPECT_EQ(stats->table().text(1, 4), "64.00");
    stats->close();
    w.hide();
}

// With the calendar on, the table shows the whole log under a header,
// sorts numbers as numbers, marks the chosen record on the chart and removes
// it through its menu; with the calendar off it is the grid again.
TEST_F(GraphWindow, CalendarTableSortsMarksAndRemoves) {
    const std::string path = MakeTempDir("dated") + "/data.txt";
    const std::string heavy =
        " 120207 170.00 100.00 000.00 000.00 000.00 000.00 63.58 34.60 57.28\n";
    const std::string log = " 120107 170.00 65.00 20.00 13.00 52.00 38.06 63.58 22.49  2.23\n" +
                            heavy + " 120307 170.00 9.50 20.00 1.90 7.60 5.56 63.58 3.29 -85.06\n";
    Spit(path, log);
    HistoryTable history;
    w.controller().ShowLog(path, history, ReadHistory(fs, path, history));
    click("RadioButton7");
    w.controller().CalendarClick();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    auto* table = child<QTableView>("sg");
    ASSERT_TRUE(table->horizontalHeader()->isVisible());
    QAbstractItemModel* m = table->model();
    ASSERT_EQ(m->rowCount(), 3);
    EXPECT_EQ(m->index(1, 1).data().toString(), "2026/12/02 7時");
    table->sortByColumn(3, Qt::AscendingOrder);
    std::vector<std::string> weights;
    for (int r = 0; r < 3; ++r)
        weights.push_back(m->index(r, 3).data().toString().toStdString());
    EXPECT_EQ(weights, (std::vector<std::string>{"9.50", "65.00", "100.00"}));
    table->selectRow(2);
    auto* mark = child<QChartView>("Chart1")->chart()->findChild<QXYSeries*>("RecordMark");
    ASSERT_NE(mark, nullptr);
    EXPECT_EQ(mark->points(), QList<QPointF>{QPointF(498'943, 100)});
    prompter.answers = {mb::IDYES};
    w.tableMenu()->removeAction()->trigger();
    EXPECT_EQ(Slurp(path), std::string(log).erase(log.find(heavy), heavy.size()));
    EXPECT_EQ(table->model()->rowCount(), 2);
    w.controller().CalendarClick();
    EXPECT_TRUE(table->model()->rowCount() == kGridRows && table->horizontalHeader()->isHidden());
    w.hide();
}

// 選択した記録を修正 acts on exactly one selected row: its dialog shows the
// record, and what is typed there replaces it in the log and the grid.
TEST_F(GraphWindow, TableMenuCorrectsTheOneSelectedRecord) {
    const std::string path = MakeTempDir("correct") + "/data.txt";
    const std::string first = " 120107 170.00 65.00 20.00 13.00 52.00 38.06 63.58 22.49  2.23\n";
    Spit(path, first + " 120307 170.00 64.00 20.00 12.80 51.20 37.48 63.58 22.15  0.66\n");
    HistoryTable history;
    w.controller().ShowLog(path, history, ReadHistory(fs, path, history));
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    auto* table = child<QTableView>("sg");
    TableMenu* menu = w.tableMenu();
    for (const bool both : {true, false}) {
        table->selectionModel()->select(
            QItemSelection(table->model()->index(both ? 1 : 2, 0), table->model()->index(2, 10)),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        menu->open();
        ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }));
        EXPECT_EQ(menu->correctAction()->isEnabled(), !both);
        if (both)
            menu->hide();
    }
    std::string shownWeight;
    QTimer::singleShot(0, [&] {
        auto* dialog = QApplication::activeModalWidget();
        auto* weight = dialog->findChild<QLineEdit*>("CorrectWeight");
        shownWeight = weight->text().toStdString();
        weight->setText("61.5");
        QTest::keyClick(dialog, Qt::Key_Return);
    });
    QTest::keyClick(menu, Qt::Key_E);
    EXPECT_EQ(shownWeight, "64.00");
    EXPECT_EQ(Slurp(path), first + TypedRecordLine(120307, {"170.00", "61.5", "20.00"}));
    EXPECT_EQ(table->model()->index(2, 3).data().toString(), "61.50");
    w.hide();
}

// The table of the whole log opens on its newest record.
TEST_F(GraphWindow, CalendarTableOpensOnTheNewestRecord) {
    const std::string path = MakeTempDir("newest") + "/data.txt";
    std::string log;
    for (int day = 1; day <= 40; ++day) { // 1 November to 10 December
        char line[80];
        std::snprintf(line, sizeof line,
                      " %d 170.00 65.00 20.00 13.00 52.00 38.06 63.58 22.49  2.23\n",
                      day <= 30 ? 110007 + day * 100 : 120007 + (day - 30) * 100);
        log += line;
    }
    Spit(path, log);
    HistoryTable history;
    w.controller().ShowLog(path, history, ReadHistory(fs, path, history));
    w.controller().CalendarClick();
    click("Button1");
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    auto* table = child<QTableView>("sg");
    auto seen = [&](int row) {
        return table->viewport()->rect().intersects(
            table->visualRect(table->model()->index(row, 0)));
    };
    EXPECT_TRUE(seen(39) && !seen(0));
    w.hide();
}

// On a calendar the date axis follows the range buttons (by their access
// keys and by Ctrl and a digit too), the wheel, the arrow keys and a double-click; records more
// than a week apart are not joined.
TEST_F(GraphWindow, CalendarRangesAndGesturesMoveTheDateAxis) {
    const std::string path = MakeTempDir("calendar") + "/data.txt";
    std::string log;
    for (const auto& [month, first, last] : {std::tuple{11, 1, 10}, {11, 20, 30}, {12, 1, 6}})
        for (int day = first; day <= last; ++day)
            log += QStringLiteral(" %1 170.00 65.00 20.00 13.00 52.00 38.06 63.58 22.49  2.23\n")
                       .arg(month * 10000 + day * 100 + 7)
                       .toStdString();
    Spit(path, log);
    HistoryTable history;
    w.controller().ShowLog(path, history, ReadHistory(fs, path, history));
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    EXPECT_EQ(w.findChild<QWidget*>(QStringLiteral("Ranges")), nullptr); // none off the calendar
    w.chartMenu()->findChild<QAction*>("ShowCalendar")->trigger();
    ASSERT_TRUE(child<QWidget>("Ranges")->isVisible());
    auto* view = child<QChartView>("Chart1");
    auto* x = qobject_cast<QValueAxis*>(view->chart()->axes(Qt::Horizontal).value(0));
    ASSERT_NE(x, nullptr);
    const double last = static_cast<double>(HoursSinceEpoch({2026, 12, 6, 7}));
    const double first = static_cast<double>(HoursSinceEpoch({2026, 11, 1, 7}));
    const QPoint middle = view->chart()->plotArea().center().toPoint();
    auto* week = child<QPushButton>("Range_1w");
    QWheelEvent wheel(middle, view->viewport()->mapToGlobal(middle), {}, {0, 120}, Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
    // Where the axis starts (NaN: anywhere; `shift`: from where it was) and
    // how many hours it spans after each step.
    struct Step {
        const char* name;
        std::function<void()> act;
        bool shift;
        double from, width;
    };
    const double anywhere = std::nan("");
    const Step steps[] = {
        {"opened", [] {}, false, last - 91 * 24, 91 * 24},
        {"Alt+1",
         [&] {
             // A button's access key clicks it as an animation: after a while.
             child<QWidget>("RadioButton2")->setFocus();
             QTest::keyClick(QApplication::focusWidget(), Qt::Key_1, Qt::AltModifier);
             EXPECT_TRUE(QTest::qWaitFor([&] { return week->isChecked(); }));
         },
         false, last - 168, 168},
        {"Ctrl+4", [&] { QTest::keyClick(view, Qt::Key_4, Qt::ControlModifier); }, false,
         static_cast<double>(HoursSinceEpoch({2025, 12, 6, 7})),
         last - HoursSinceEpoch({2025, 12, 6, 7})},
        {"Ctrl+1", [&] { QTest::keyClick(view, Qt::Key_1, Qt::ControlModifier); }, false,
         last - 168, 168},
        {"wheel", [&] { QApplication::sendEvent(view->viewport(), &wheel); }, false, anywhere,
         168 * 0.8},
        {"right", [&] { QTest::keyClick(view, Qt::Key_Right); }, true, 168 * 0.08, 168 * 0.8},
        {"double-click", [&] { QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, middle); },
         false, last - 168, 168},
        {"全期間", [&] { child<QPushButton>("Range_all")->click(); }, false, first, last - first},
    };
    for (const Step& s : steps) {
        const double before = x->min();
        s.act();
        EXPECT_NEAR(x->max() - x->min(), s.width, 1e-6) << s.name;
        if (!std::isnan(s.from)) {
            EXPECT_NEAR(x->min(), s.shift ? before + s.from : s.from, 1e-6) << s.name;
        }
    }
    int runs = 0;
    for (QAbstractSeries* s : view->chart()->series())
        runs += s->objectName().startsWith(QLatin1String("Series1")) &&
                !qobject_cast<QLineSeries*>(s)->points().isEmpty();
    EXPECT_EQ(runs, 2);
}
