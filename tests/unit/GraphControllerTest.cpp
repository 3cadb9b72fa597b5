#include "ui/graph/GraphController.h"
#include "core/Measurement.h"
#include "log/LogReader.h"
#include "log/PosixFileSystem.h"
#include "log/TypedRecord.h"
#include "support/TestHome.h"
#include "support/fakes/FakeGraphView.h"
#include "support/fakes/FakeSeams.h"
#include "ui/graph/AxisScale.h"
#include "ui/graph/LineThinning.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <stdexcept>
#include <utility>

using namespace vorn;

namespace {

using Ys = std::vector<double>;

struct Graph : ::testing::Test {
    test::FakeGraphView view;
    TargetTable targets;
    test::FixedClock clock{LocalTime{2026, 12, 9, 17, 0}};
    test::MemorySettingsStore settings;
    test::FakePrompter prompter;
    test::FakeFileChooser files;
    PosixFileSystem fs;
    GraphController c{view, targets, {clock, settings, prompter, files, fs}};

    Graph() { view.screen = 1024; }

    // The grid as the tests fill it: a cell is written with the rest of its
    // row, as the graph command writes whole rows.
    std::vector<GridRow> grid = std::vector<GridRow>(kGridRows);
    void put(int column, int row, const std::string& text) {
        GridRow& r = grid.at(static_cast<std::size_t>(row));
        r.at(static_cast<std::size_t>(column)) = text;
        c.setRows(row, {r});
    }

    // Loads records into column `column`, one per row from row 1, as the
    // graph command does, and sets the row count to match.
    void load(int column, const std::vector<std::string>& texts) {
        for (std::size_t i = 0; i < texts.size(); ++i)
            put(column, static_cast<int>(i) + 1, texts[i]);
        c.setHistoryRowCount(static_cast<int>(texts.size()) + 1);
    }
    // The Y values of a line, checking that point i lies at X i.
    Ys ys(GraphSeries s) {
        Ys out;
        for (std::size_t i = 0; i < view.series[s].size(); ++i) {
            EXPECT_EQ(view.series[s][i].x, static_cast<double>(i)) << "point " << i;
            out.push_back(view.series[s][i].y);
        }
        return out;
    }
    Ys measured() { return ys(GraphSeries::Series1); }
    Ys target() { return ys(GraphSeries::Series2); }
};

} // namespace

TEST_F(Graph, PlotsTheColumnAgainstTheTarget) {
    struct Case {
        const char* name;
        std::vector<std::string> cells; // column 3, weight
        std::string targetText;
        Ys wantMeasured;
        Ys wantTarget;
        bool legend;
    };
    const Case cases[] = {
        {"with target", {"65.00", "64.50", "63.20"}, "60.00", {65, 64.5, 63.2}, {60, 60, 60}, true},
        {"without target", {"65.00", "64.50"}, "", {65, 64.5}, {}, false},
        {"one record", {"65.00"}, "60.00", {65}, {60}, true},
        {"target not a number", {"65.00", "64.50"}, "abc", {0, 0}, {0, 0}, true},
        {"target too large for a double", {"65.00"}, "1e400", {0}, {0}, true},
        {"bad cell zeroes both lines",
         {"65.00", "x", "", "63.00"},
         "60.00",
         {65, 0, 0, 63},
         {60, 0, 0, 60},
         true},
        {"bad cell without target", {"65.00", "6,5"}, "", {65, 0}, {}, false},
        {"cells as StrToFloat reads them", {"1e400", " 64.5\t", "1e2"}, "", {0, 64.5, 100}, {}, 0},
        {"negative values", {"-20.10", "-3.00"}, "-10.00", {-20.1, -3}, {-10, -10}, true},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        load(3, k.cells);
        c.PlotQuantity(kWeight, k.targetText);
        EXPECT_EQ(measured(), k.wantMeasured);
        EXPECT_EQ(target(), k.wantTarget);
        EXPECT_EQ(view.targetLegend, k.legend);
    }
}

TEST_F(Graph, RadioButtonsPlotTheirColumnAgainstTheirTarget) {
    // Every column holds its own number, every target its entry + 100, so a
    // wrong column or entry shows in the points.
    for (int column = 2; column < kGridColumns; ++column)
        put(column, 1, std::to_string(column));
    c.setHistoryRowCount(2);
    for (int k = 0; k < 9; ++k)
        targets[static_cast<size_t>(k)] = std::to_string(100 + k);

    struct Case {
        void (GraphController::*click)();
        int quantity;
    };
    const Case cases[] = {
        {&GraphController::RadioButton8Click, 0}, {&GraphController::RadioButton7Click, 1},
        {&GraphController::RadioButton1Click, 2}, {&GraphController::RadioButton9Click, 3},
        {&GraphController::RadioButton2Click, 4}, {&GraphController::RadioButton3Click, 5},
        {&GraphController::RadioButton5Click, 6}, {&GraphController::RadioButton4Click, 7},
        {&GraphController::RadioButton6Click, 8},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.quantity);
        (c.*k.click)();
        EXPECT_EQ(c.selectedQuantity(), k.quantity);
        EXPECT_EQ(measured(), Ys{static_cast<double>(k.quantity + 2)});
        EXPECT_EQ(target(), Ys{static_cast<double>(100 + k.quantity)});
    }
}

TEST_F(Graph, ATargetSetLaterIsUsedByTheNextClick) {
    load(2, {"170.00"});
    c.RadioButton8Click();
    EXPECT_FALSE(view.targetLegend);
    targets[kHeight] = "171.00";
    c.RadioButton8Click();
    EXPECT_TRUE(view.targetLegend);
    EXPECT_EQ(target(), Ys{171});
}

TEST_F(Graph, NoHistoryPlotsNothingButTheLegendFollowsTheTarget) {
    view.series[GraphSeries::Series1] = {{0, 5}};
    view.series[GraphSeries::Series2] = {{0, 6}};
    targets[kWeight] = "60.00";
    c.RadioButton7Click();
    EXPECT_TRUE(measured().empty());
    EXPECT_TRUE(target().empty());
    EXPECT_TRUE(view.targetLegend);
    c.RadioButton8Click();
    EXPECT_FALSE(view.targetLegend);
}

TEST_F(Graph, PlotStopsAtTheRowCountOfTheLatestLoad) {
    load(2, {"1", "2", "3", "4", "5"});
    load(2, {"7", "8"}); // a shorter log leaves rows 3 to 5 in the grid
    c.PlotQuantity(kHeight, "");
    EXPECT_EQ(measured(), (Ys{7, 8}));
    EXPECT_EQ(view.cell(2, 5), "5");
    EXPECT_EQ(view.table->value(2, 5), 5.0); // its value stays with it
}

TEST_F(Graph, ChangingQuantityDropsTheOldTargetLine) {
    load(2, {"170.00", "170.00"});
    load(3, {"65.00", "64.00"});
    c.PlotQuantity(kWeight, "60.00");
    c.PlotQuantity(kHeight, "");
    EXPECT_EQ(measured(), (Ys{170, 170}));
    EXPECT_TRUE(target().empty());
}

TEST_F(Graph, PointTextIsWhatTheGridShowsForThatRecord) {
    const char* headers[] = {"順番", "測定日", "身長(cm)", "体重(kg)"};
    for (int column = 0; column < 4; ++column)
        put(column, 0, headers[column]);
    load(0, {"0", "1"});
    load(1, {"083020", "133107"}); // month 13: no date, its stamp is shown
    load(3, {"65.00", "<b>64.60</b>"});
    c.PlotQuantity(kWeight, "abc"); // plotted as 0, the text stays the grid's
    EXPECT_EQ(c.PointText(0), "順番 0\n測定日 2026/08/30 20時\n体重(kg) 65.00");
    EXPECT_EQ(c.PointText(1), "順番 1\n測定日 133107\n体重(kg) <b>64.60</b>");
    for (int point : {-1, 2})
        EXPECT_EQ(c.PointText(point), "") << point;

    c.PlotQuantity(kHeight, ""); // no heights: empty cells, still the grid's
    EXPECT_EQ(c.PointText(1), "順番 1\n測定日 133107\n身長(cm) ");
    put(2, 0, "");
    EXPECT_EQ(c.PointText(0), "順番 0\n測定日 2026/08/30 20時\n");
    c.setHistoryRowCount(1);
    c.PlotQuantity(kHeight, "");
    EXPECT_EQ(c.PointText(0), "");
}

TEST_F(Graph, RowCountAndCellsStayWithinTheGrid) {
    for (int rows : {0, 1, 1000}) {
        c.setHistoryRowCount(rows);
        EXPECT_EQ(c.historyRowCount(), rows);
    }
    for (int rows : {-5, -1, 1001, 5000})
        EXPECT_THROW(c.setHistoryRowCount(rows), std::out_of_range) << rows;
    c.PlotQuantity(kHeight, ""); // the count of 1000 stayed: rows 1 to 999
    EXPECT_EQ(measured().size(), 999u);

    put(10, 999, "1");
    EXPECT_EQ(view.cell(10, 999), "1");
    for (auto [first, count] : {std::pair{-1, 1}, {999, 2}, {1000, 1}, {0, 1001}})
        EXPECT_THROW(c.setRows(first, std::vector<GridRow>(static_cast<std::size_t>(count))),
                     std::out_of_range)
            << first << "+" << count;
    EXPECT_NO_THROW(c.setRows(999, {GridRow{"998"}}));
    EXPECT_EQ(view.cell(0, 999), "998");
    for (auto [column, row] : {std::pair{-1, 0}, {11, 0}, {0, -1}, {0, 1000}})
        EXPECT_THROW(view.table->value(column, row), std::out_of_range) << column << "," << row;
    for (int k : {-1, 9})
        EXPECT_THROW(c.PlotQuantity(k, ""), std::out_of_range) << k;
}

TEST_F(Graph, HeightsAndTops) {
    struct Case {
        int screen;
        int centredTop; // screen / 2 - 159
        int shift;      // screen / 6
    };
    for (const Case k : {Case{1024, 353, 170}, Case{768, 225, 128}, Case{1081, 381, 180}}) {
        SCOPED_TRACE(k.screen);
        view.screen = k.screen;
        c.FormCreate();
        EXPECT_EQ(view.height, 318);
        EXPECT_EQ(view.top, k.centredTop);

        c.Button1Click();
        EXPECT_EQ(view.height, 517);
        EXPECT_EQ(view.top, k.centredTop - k.shift);
        c.Button1Click();
        EXPECT_EQ(view.height, 318);
        EXPECT_EQ(view.top, k.centredTop);

        // The button works from wherever the user has moved the window.
        view.top = 400;
        c.Button1Click();
        EXPECT_EQ(view.top, 400 - k.shift);
        c.Button1Click();
        EXPECT_EQ(view.top, 400);
    }
}

TEST_F(Graph, ActivationBringsItBackCompactAndCentred) {
    c.FormCreate();
    c.Button1Click();
    view.top = 17;
    c.FormActivate();
    EXPECT_EQ(view.height, 318);
    EXPECT_EQ(view.top, 353); // centred on the 1024-pixel screen
    // Compact again: the next press unfolds rather than folds.
    c.Button1Click();
    EXPECT_EQ(view.height, 517);
    EXPECT_EQ(view.top, 183); // a sixth of the screen higher
}

// Written once, when the window closes; a failure shows no box and is retried.
TEST_F(Graph, QuantityAndSizeAreWrittenOnceWhenChanged) {
    c.FormCreate();
    c.Button1Click();
    c.FormResize(700, 517 + 40); // unfolded: the chart has half the room
    c.RadioButton7Click();
    settings.failReleaseWith = "書けません";
    c.showModal();
    EXPECT_TRUE(prompter.shown.empty());
    settings.failReleaseWith.clear();
    c.showModal();
    c.showModal();
    EXPECT_EQ(settings.writes, 6);
    EXPECT_EQ(settings.values["GRAPH"],
              (std::map<std::string, std::string>{
                  {"HEIGHT", "338"}, {"QUANTITY", "1"}, {"WIDTH", "700"}}));
}

TEST(AxisScale, KeepsEveryLineOffTheFrame) {
    struct Case {
        double low;
        double high;
    };
    const Case cases[] = {{170, 170},     {0, 0},   {60, 65},      {-20.1, 2.23},
                          {22.49, 22.49}, {-3, -3}, {170, 170.01}, {0, 999}};
    for (const Case k : cases) {
        SCOPED_TRACE(std::to_string(k.low) + ".." + std::to_string(k.high));
        const AxisScale s = ValueAxisScale(k.low, k.high);
        EXPECT_LT(s.min, k.low);
        EXPECT_GT(s.max, k.high);
        EXPECT_GT(s.step, 0);
        // Whole steps, at most a dozen ticks.
        const double steps = (s.max - s.min) / s.step;
        EXPECT_NEAR(steps, std::round(steps), 1e-6);
        EXPECT_LE(steps, 12);
        // The labels show the step.
        EXPECT_NEAR(s.step * std::pow(10, s.decimals),
                    std::round(s.step * std::pow(10, s.decimals)), 1e-6);
    }
    // A hand-made log may hold the largest doubles: the axis still spans them.
    const Case huge[] = {{-1e308, 1e308}, {1e308, 1e308}, {-DBL_MAX, -DBL_MAX}, {0, DBL_MAX}};
    for (const Case k : huge) {
        SCOPED_TRACE(std::to_string(k.low) + ".." + std::to_string(k.high));
        const AxisScale s = ValueAxisScale(k.low, k.high);
        EXPECT_TRUE(std::isfinite(s.min) && std::isfinite(s.max) && std::isfinite(s.step));
        EXPECT_LE(s.min, k.low);
        EXPECT_GE(s.max, k.high);
        EXPECT_LT(s.min, s.max);
        EXPECT_GT(s.step, 0);
        EXPECT_EQ(s.decimals, 0);
    }
}

TEST(AxisScale, IndexAxisHasWholeStepsAndReachesTheLastPoint) {
    struct Case {
        int count;
        double max;
    };
    for (const Case k : {Case{0, 1}, Case{1, 1}, Case{2, 1}, Case{6, 5}, Case{12, 12}, Case{30, 30},
                         Case{999, 1000}}) {
        const AxisScale s = IndexAxisScale(k.count);
        EXPECT_EQ(s.min, 0) << k.count;
        EXPECT_EQ(s.max, k.max) << k.count;
        EXPECT_GE(s.step, 1) << k.count;
        EXPECT_EQ(s.step, std::round(s.step)) << k.count;
        EXPECT_EQ(s.max / s.step, std::round(s.max / s.step)) << k.count;
        EXPECT_EQ(s.decimals, 0);
    }
}

TEST(AxisScale, ZoomedRangesGetRoundTicksThatTheirLabelsShowExactly) {
    struct Case {
        bool index;
        double min;
        double max;
        int decimals;
    };
    const Case cases[] = {
        {false, 64.13, 65.87, 1},    {false, 64.401, 64.47, 2}, {false, 63.0012, 63.0049, 3},
        {false, -20.3, 2.7, 0},      {false, 65, 65.5, 1},      {false, -0.004, 0.001, 3},
        {false, 1e5, 1e5 + 1e-9, 4}, {true, 1.3, 4.7, 0},       {true, -5.5, 14.5, 0},
        {true, -3, -1, 0},           {true, 0, 1000, 0},        {true, 2.2, 2.4, 0},
    };
    for (const Case k : cases) {
        SCOPED_TRACE(std::to_string(k.min) + ".." + std::to_string(k.max));
        const AxisScale s =
            k.index ? ZoomedIndexScale(k.min, k.max) : ZoomedValueScale(k.min, k.max);
        EXPECT_EQ(s.decimals, k.decimals);
        EXPECT_LE(s.min, k.index ? std::max(k.min, 0.0) : k.min);
        EXPECT_GE(s.max, k.max);
        // Whole steps, a handful of them, each tick on a value with no more
        // decimals than the labels show.
        const double steps = (s.max - s.min) / s.step;
        EXPECT_NEAR(steps, std::round(steps), 1e-6);
        EXPECT_GE(steps, 1);
        EXPECT_LE(steps, 12);
        const double scale = std::pow(10, s.decimals);
        for (double tick : {s.min, s.min + s.step, s.max})
            EXPECT_NEAR(tick * scale, std::round(tick * scale),
                        1e-6 * std::max(1.0, std::fabs(tick * scale)));
        if (k.index) {
            EXPECT_GE(s.min, 0);
            EXPECT_GE(s.step, 1);
            EXPECT_EQ(s.step, std::round(s.step));
        }
    }
    // Near the largest doubles the zoomed range stays as it is, within them.
    const AxisScale huge = ZoomedValueScale(-DBL_MAX, DBL_MAX);
    EXPECT_EQ(huge.min, -DBL_MAX);
    EXPECT_EQ(huge.max, DBL_MAX);
    EXPECT_TRUE(std::isfinite(huge.step) && huge.step > 0);
}

// Three weekly weigh-ins of 70, 60 and 60 kg: the trend 70, 69, 68.1; over
// days -14, -7 and 0 its slope is -13.3 / 98 a day, -0.95 a week; 60 kg is
// 8.1 / (0.95 / 7) = 59.68 days (1432 hours) after 15 November, 8 h.
TEST_F(Graph, TrendLineSummaryAndTooltipsAgainstHandWorkedValues) {
    const char* headers[] = {"順番", "測定日", "身長(cm)", "体重(kg)", "脂肪率(%)"};
    for (int column = 0; column < 5; ++column)
        put(column, 0, headers[column]);
    load(0, {"0", "1", "2", "3"});
    load(1, {"110108", "110808", "111508", "111608"});
    load(3, {"70.00", "60.00", "60.00", "x"}); // no number: no step
    load(4, {"20.00", "0.00", "10.00", "10.00"});
    for (int column : {5, 6, 7})
        put(column, 2, "0.00"); // record 1 saved without a fat percentage
    targets[kWeight] = "60.00";
    c.RadioButton7Click();
    EXPECT_TRUE(target().size() == 4 && view.series[GraphSeries::Series3].empty());
    EXPECT_EQ(view.summary, std::nullopt);

    c.TrendLineClick();
    EXPECT_TRUE(c.trendShown() && view.trendChecked);
    EXPECT_EQ(view.series[GraphSeries::Series3],
              (std::vector<PlotPoint>{{0, 70}, {1, 69}, {2, 68.1}}));
    EXPECT_EQ(view.summary, "傾向 −0.95 kg/週　目標到達予想 2027/01/14");
    EXPECT_EQ(c.TrendPointText(1), "順番 1\n測定日 2026/11/08 8時\n体重(kg)の傾向 69.00");

    // Record 1 was saved without a fat percentage: the fat line drops to 0
    // there, its trend takes no step. Days -15, -1, 0: slope -14.467 / 140.667.
    c.RadioButton1Click();
    EXPECT_EQ(measured(), (Ys{20, 0, 10, 10}));
    EXPECT_EQ(view.series[GraphSeries::Series3],
              (std::vector<PlotPoint>{{0, 20}, {2, 19}, {3, 18.1}}));
    EXPECT_EQ(view.summary, "傾向 −0.72 %/週");
    EXPECT_EQ(c.TrendPointText(1), "");

    c.TrendLineClick();
    EXPECT_TRUE(!c.trendShown() && !view.trendChecked && !view.summary);
    EXPECT_TRUE(view.series[GraphSeries::Series3].empty() && c.TrendPointText(0).empty());
}

TEST_F(Graph, TrendChoiceIsKeptInASectionOfItsOwn) {
    settings.values["GRAPH"]["TREND"] = "1";
    c.FormCreate();
    EXPECT_TRUE(c.trendShown() && view.trendChecked);
    c.TrendLineClick();
    EXPECT_EQ(settings.values["GRAPH"]["TREND"], "0");
    c.TrendLineClick();
    EXPECT_EQ(settings.values["GRAPH"]["TREND"], "1");
    EXPECT_EQ(settings.values.size(), 1u);
    for (const char* kept : {"0", "yes", ""}) {
        settings.values["GRAPH"]["TREND"] = kept;
        c.FormCreate();
        EXPECT_FALSE(c.trendShown() || view.trendChecked) << kept;
    }
    // A store that cannot keep it: the trend shows all the same, and the
    // user is told why it is not kept.
    settings.failReleaseWith = "書けません";
    c.TrendLineClick();
    EXPECT_TRUE(c.trendShown());
    EXPECT_EQ(prompter.shown, (test::Boxes{{"書けません", "警告ﾍﾙﾌﾟ", 0x30}}));
}

TEST_F(Graph, CalendarChoiceIsKeptBesideTheTrend) {
    for (const auto& [kept, shown] : {std::pair{"1", true}, {"0", false}, {"yes", false}}) {
        settings.values["GRAPH"]["CALENDAR"] = kept;
        c.FormCreate();
        EXPECT_TRUE(c.calendarShown() == shown && view.calendar == shown) << kept;
    }
    c.CalendarClick();
    EXPECT_TRUE(c.calendarShown() && view.calendar);
    EXPECT_EQ(settings.values["GRAPH"]["CALENDAR"], "1");
    c.CalendarClick();
    EXPECT_EQ(settings.values["GRAPH"]["CALENDAR"], "0");
    EXPECT_FALSE(view.calendar);
}

// On a calendar: the whole log at its hours, without the undated record and,
// for the fat group, without the one saved with no fat percentage.
TEST_F(Graph, CalendarPlotsTheWholeLogAtTheRecordsHours) {
    const std::string path = test::MakeTempDir("calendar") + "/data.txt";
    test::Spit(path, " 130100 170.00 67.00 21.00 13.00 52.00 38.06 63.58 22.49  2.23\n"
                     " 110108 170.00 66.00 22.00 13.00 52.00 38.06 63.58 22.49  2.23\n"
                     " 120607 170.00 65.00 000.00 000.00 000.00 000.00 63.58 22.49  2.23\n"
                     " 120619 170.00 64.50 20.00 12.90 51.60 37.77 63.58 22.31  1.44\n");
    settings.values["GRAPH"]["CALENDAR"] = "1";
    c.FormCreate();
    HistoryTable history;
    c.ShowLog(path, history, ReadHistory(fs, path, history));
    const double nov1 = static_cast<double>(HoursSinceEpoch({2026, 11, 1, 8}));
    const double dec6 = static_cast<double>(HoursSinceEpoch({2026, 12, 6, 7}));
    struct Case {
        int quantity;
        std::vector<PlotPoint> want;
    };
    for (const Case& k : {Case{kWeight, {{nov1, 66}, {dec6, 65}, {dec6 + 12, 64.5}}},
                          Case{kFatPercent, {{nov1, 22}, {dec6 + 12, 20}}}}) {
        c.selectQuantity(k.quantity);
        EXPECT_EQ(view.series[GraphSeries::Series1], k.want) << k.quantity;
    }
    EXPECT_EQ(c.PointText(1), "測定日 2026/12/06 19時\n脂肪率(%) 20.00");
    EXPECT_EQ(view.range, CalendarRange::ThreeMonths);
    c.RangeClick(CalendarRange::Week);
    EXPECT_EQ(view.shownHours, std::pair(static_cast<long long>(dec6 + 12 - 7 * 24),
                                         static_cast<long long>(dec6 + 12)));
}

// The trend is drawn through the points it bends at, for the pixels a unit
// spans; a bend of half a pixel at scale 1 is kept, of a two-hundredth of one
// at scale 0.01 dropped.
TEST(LineThinning, KeepsThePointsTheLineBendsAtOnScreen) {
    const double nan = std::nan("");
    const std::vector<PlotPoint> bend = {{0, 0}, {1, 0.5}, {2, 0}};
    const std::vector<PlotPoint> gap = {{0, 0}, {1, 0}, {2, nan}, {3, 0}, {4, 0}, {5, 0}};
    struct Case {
        const char* name;
        std::vector<PlotPoint> line;
        double scale;
        std::vector<std::size_t> kept;
    };
    const Case cases[] = {
        {"straight", {{0, 70}, {1, 69.75}, {2, 69.5}, {3, 69.25}, {4, 69}}, 1, {0, 4}},
        {"a bend seen", bend, 1, {0, 1, 2}},
        {"a bend too small to see", bend, 0.01, {0, 2}},
        {"the farthest bend first", {{0, 0}, {1, 1.5}, {2, 3}, {3, 1.5}, {4, 0}}, 1, {0, 2, 4}},
        {"not a number, and its neighbours", gap, 1, {0, 1, 2, 3, 5}},
        {"overflowing scale", bend, 1e308, {0, 1, 2}},
        {"no scale", bend, 0, {0, 1, 2}},
        {"two points", {{0, 0}, {1, 1}}, 1, {0, 1}},
    };
    for (const Case& k : cases)
        EXPECT_EQ(PointsWorthDrawing(k.line, k.scale, k.scale), k.kept) << k.name;
}

// A removal refused because another program rewrote the record's line shows
// the log as it is now, so that the user chooses again from that.
TEST_F(Graph, RefusedRemovalShowsTheLogAsItIsNow) {
    using test::Slurp, test::Spit;
    const std::string path = test::MakeTempDir("removal") + "/data.txt";
    const std::string first = " 120607 170.00 65.00 20.00 13.00 52.00 38.06 63.58 22.49  2.23\n";
    Spit(path, first + " 120707 170.00 635.00 20.00 127.00 508.00 371.86 63.58 219.72 898.73\n");
    HistoryTable history;
    c.ShowLog(path, history, ReadHistory(fs, path, history));
    const std::string now =
        first + " 120707 170.00 63.50 20.00 12.70 50.80 37.19 63.58 21.97 -0.13\n";
    Spit(path, now);
    prompter.answers = {mb::IDYES};
    c.RemoveRowsClick({2});
    EXPECT_EQ(Slurp(path), now);
    EXPECT_TRUE(prompter.shown.back().text.ends_with(
        "変更しています\n記録ファイルは元のままです。\n"
        "一覧表とグラフを記録ファイルの今の内容で表示し直しました。"));
    EXPECT_EQ(view.grid().text(3, 2), "63.50");
}

// With the calendar on, the table holds every record of the whole log, past
// the grid's 999, each dated in full (a stamp that names no day shown as
// it is), and a removal from it takes out exactly the record chosen there.
TEST_F(Graph, CalendarTableHoldsTheWholeLogAndRemovesFromIt) {
    using test::Slurp, test::Spit;
    const std::string path = test::MakeTempDir("dated") + "/data.txt";
    const std::string fat = " 170.00 65.00 20.00 13.00 52.00 38.06 63.58 22.49  2.23\n";
    std::string log = " 133107" + fat +
                      " 120107 170.00 100.00 000.00 000.00 000.00 000.00 63.58 "
                      "34.60 57.28\n";
    for (int k = 2; k < 1001; ++k)
        log += " 120807" + fat;
    Spit(path, log);
    HistoryTable history;
    c.ShowLog(path, history, ReadHistory(fs, path, history));
    EXPECT_EQ(view.dated, nullptr);
    c.CalendarClick();
    ASSERT_NE(view.dated, nullptr);
    const DatedTable& t = *view.dated;
    ASSERT_EQ(t.rowCount(), 1001u);
    struct Cell {
        std::size_t record;
        int column;
        const char* text;
        double key;
    };
    for (const Cell& k : {Cell{0, 1, "133107", -INFINITY}, Cell{1, 0, "1", 1},
                          Cell{1, 1, "2026/12/01 7時", 498'919.0}, Cell{1, 3, "100.00", 100},
                          Cell{1000, 1, "2026/12/08 7時", 499'087.0}, Cell{1000, 2, "170.00", 170}})
        EXPECT_TRUE(t.text(k.record, k.column) == k.text && t.sortKey(k.record, k.column) == k.key)
            << k.record << ' ' << k.column << ' ' << t.text(k.record, k.column);
    EXPECT_EQ(t.header(1), "測定日");
    c.selectQuantity(kFatPercent);
    EXPECT_FALSE(c.DatedRecordPoint(1)); // saved without a fat percentage
    EXPECT_EQ(c.DatedRecordPoint(1000), (PlotPoint{499'087.0, 20}));
    EXPECT_TRUE(c.CanRemoveRecords({1}) && !c.CanRemoveRecords({1001}));
    EXPECT_TRUE(c.CanCorrectRecords({1}) && !c.CanCorrectRecords({1, 2}) && !c.CanCorrectRows({2}));
    prompter.answers = {mb::IDYES};
    c.RemoveRecordsClick({1});
    EXPECT_EQ(Slurp(path),
              log.erase(log.find(" 120107"), log.find(" 120807") - log.find(" 120107")));
    EXPECT_NE(prompter.shown.front().text.find("順番 1　2026/12/01 7時　体重(kg) 100.00"),
              std::string::npos);
    EXPECT_EQ(view.dated->rowCount(), 1000u);
}

// A record corrected goes, derived again, to its place in time in one
// rewrite that keeps the old log as LOG~; a value the main window refuses,
// a moment to come, or a cancel leaves the log as it was.
TEST_F(Graph, CorrectedRecordGoesToItsPlaceInTime) {
    using test::Slurp, test::Spit;
    const std::string a = " 120107 170.00 65.00 20.00 13.00 52.00 38.06 63.58 22.49  2.23\n";
    const std::string b = " 120307 170.00 64.00 20.00 12.80 51.20 37.48 63.58 22.15  0.66\n";
    const std::string c5 = " 120507 170.00 63.00 20.00 12.60 50.40 36.89 63.58 21.80 -0.91\n";
    auto line = [](int stamp, const char* w, std::optional<std::string> fat) {
        return TypedRecordLine(stamp, {"170.00", w, std::move(fat)});
    };
    struct Case {
        const char* name;
        std::optional<RecordCorrectionTexts> typed;
        std::string after; // empty: the log as it was
        const char* box;   // a piece of the box shown, if any
        int row = 3;
    };
    const Case cases[] = {
        {"moved earlier", RecordCorrectionTexts{"170.00", "64.50", "20", {2026, 12, 2, 7}},
         a + line(120207, "64.50", "20") + b, nullptr},
        {"the weight alone, without fat", RecordCorrectionTexts{"170", "62", "", {2026, 12, 5, 7}},
         a + b + line(120507, "62", std::nullopt), nullptr},
        {"weight past the range", RecordCorrectionTexts{"170", "1001", "", {2026, 12, 5, 7}}, "",
         "正の実数(1t以下)"},
        {"height not a number", RecordCorrectionTexts{"abc", "62", "", {2026, 12, 5, 7}}, "",
         "正の実数(300以下)"},
        {"height 0", RecordCorrectionTexts{"0", "62", "", {2026, 12, 5, 7}}, "", "身長が 0"},
        {"still to come", RecordCorrectionTexts{"170", "62", "", {2026, 12, 10, 7}}, "",
         "まだ来ていない"},
        {"cancelled", std::nullopt, "", nullptr},
        {"moved later", RecordCorrectionTexts{"170.00", "64.50", "20", {2026, 12, 4, 7}},
         b + line(120407, "64.50", "20") + c5, nullptr, 1},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        const std::string path = test::MakeTempDir("correct") + "/data.txt";
        Spit(path, a + b + c5);
        HistoryTable history;
        c.ShowLog(path, history, ReadHistory(fs, path, history));
        prompter.shown.clear();
        view.correction = k.typed;
        EXPECT_TRUE(c.CanCorrectRows({k.row}) && !c.CanCorrectRows({2, 3}));
        c.CorrectRowClick(k.row);
        const RecordCorrectionTexts lastShown{"170.00", "63.00", "20.00", {2026, 12, 5, 7}};
        EXPECT_TRUE(k.row != 3 || view.asked.back() == lastShown);
        EXPECT_EQ(Slurp(path), k.after.empty() ? a + b + c5 : k.after);
        EXPECT_EQ(Slurp(path + "~"), k.after.empty() ? "" : a + b + c5);
        const std::string shown = prompter.shown.empty() ? "" : prompter.shown.back().text;
        EXPECT_TRUE(k.box ? shown.find(k.box) != std::string::npos : shown.empty()) << shown;
    }
}
