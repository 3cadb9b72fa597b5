#include "core/Errors.h"
#include "support/Cases.h"
#include "support/MainFixture.h"
#include "support/fakes/WorkedExample.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

using namespace vorn;
using namespace vorn::test;

namespace {
using SaveFlow = FlowFixture;
using CloseFlow = FlowFixture;
using GraphFlow = FlowFixture;
} // namespace

TEST_F(SaveFlow, WorkedExampleIsWrittenByteForByteThenCleared) {
    measure("170", "65", "20");
    saveTo(log);
    EXPECT_EQ(Slurp(log), kWorkedLine);
    EXPECT_EQ(prompter.shown, (Boxes{{"正常に保存致しました", "確認ﾍﾙﾌﾟ", 0x40}}));
    EXPECT_TRUE(c->NothingOnDisplay());
    EXPECT_EQ(logFilePath, log);
}

TEST_F(SaveFlow, ShortFormAndSixDigitStamps) {
    clock.time = LocalTime{2026, 11, 3, 7, 0};
    c->FormCreate();
    measure("170", "65", "");
    saveTo(log);
    measure("150", "300", "");
    saveTo(log);
    measure("95.34626", "9.5", "100");
    saveTo(log);
    EXPECT_EQ(Slurp(log), "110307 170.00 65.00 000.00 000.00 000.00 000.00 63.58 22.49  2.23\n"
                          "110307 150.00 300.00 000.00 000.00 000.00 000.00 49.50 133.30 506.06\n"
                          "110307 95.35  9.50 100.00  9.50  0.00  0.00 20.00 10.45 -52.50\n");
}

TEST_F(SaveFlow, AppendsAfterEveryEarlierByteAndWritesWhatIsShown) {
    // A hand-made last record without a line end gets one before the new.
    const std::string earlier = " 1 2 3 4 5\r\n6 7 8 9 10\r\n1 2 3 4 5 6 7 8 9 10";
    Spit(log, earlier);
    measure("170", "65", "20");
    view.texts[MainCtl::Ed_h] = "171"; // edited after measuring
    saveTo(log);
    EXPECT_EQ(Slurp(log),
              earlier + "\n 83020 171.00 65.00 20.00 13.00 52.00 38.06 63.58 22.49  2.23\n");
    EXPECT_EQ(m.height, 171.0f);
}

TEST_F(SaveFlow, NothingMeasuredOrCancelledTouchesNoFile) {
    c->Button4Click();
    EXPECT_EQ(prompter.shown, (Boxes{{"測定を行って下さい。", "警告ﾍﾙﾌﾟ", 0x30}}));
    EXPECT_EQ(view.focus, MainCtl::Ed_h);
    EXPECT_EQ(files.saveCalls, 0);

    measure("170", "65", "20");
    prompter.shown.clear();
    files.saveAnswers.push_back(std::nullopt);
    c->Button4Click();
    EXPECT_TRUE(prompter.shown.empty());
    expectDisplayKept();
    EXPECT_FALSE(std::filesystem::exists(log));
}

TEST_F(SaveFlow, ConversionErrorOnReadBackOpensNoFile) {
    measure("170", "65", "20");
    view.texts[MainCtl::Ed_w] = "6x5";
    files.saveAnswers.push_back(log);
    EXPECT_THROW(c->Button4Click(), ConvertError);
    EXPECT_FALSE(std::filesystem::exists(log));
    EXPECT_EQ(logFilePath, "");
    EXPECT_EQ(shown(MainCtl::Lb_ft), "2.23");
}

namespace {
struct Unwritable {
    const char* name;
    std::string place; // absolute, or in the log's folder
};
struct UnwritablePlace : FlowFixture, ::testing::WithParamInterface<Unwritable> {};
const Unwritable kUnwritable[] = {
    {"full device", "/dev/full"},        {"empty device", "/dev/null"},
    {"FIFO with a reader", "held"},      {"folder", ""},
    {"missing folder", "gone/data.txt"}, {"torn last line", "torn.txt"},
};
} // namespace

TEST_P(UnwritablePlace, WarnsAndKeepsTheDisplay) {
    Spit(dir + "/torn.txt", kWorkedLine + " 83020 170.00 65");
    const TestFifos fifos(dir);
    ASSERT_GE(fifos.peer, 0);
    const std::string& where = GetParam().place;
    const std::string place = where.empty() ? dir : where[0] == '/' ? where : dir + "/" + where;
    measure("170", "65", "20");
    saveTo(place);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].caption, "警告ﾍﾙﾌﾟ");
    EXPECT_NE(prompter.shown[0].text.find(place), std::string::npos);
    EXPECT_FALSE(said("正常に保存致しました"));
    expectDisplayKept();
}
INSTANTIATE_TEST_SUITE_P(Every, UnwritablePlace, ::testing::ValuesIn(kUnwritable), ByName());

namespace {
struct CloseAnswer {
    const char* name;
    bool measured;
    int answer; // 0: no question
    bool choose;
    bool saved;
};
struct SaveQuestionAtClose : FlowFixture, ::testing::WithParamInterface<CloseAnswer> {};
const CloseAnswer kCloseAnswers[] = {
    {"nothing measured", false, 0, false, false},
    {"yes, then a name", true, mb::IDYES, true, true},
    {"yes, then cancelled", true, mb::IDYES, false, false},
    {"no", true, mb::IDNO, false, false},
};
} // namespace

TEST_P(SaveQuestionAtClose, SavesAsAnsweredAndCloses) {
    const CloseAnswer& k = GetParam();
    if (k.measured)
        measure("170", "65", "20");
    if (k.answer)
        prompter.answers.push_back(k.answer);
    files.saveAnswers.push_back(k.choose ? std::optional<std::string>(log) : std::nullopt);
    c->Button1Click();
    if (k.measured) {
        ASSERT_FALSE(prompter.shown.empty());
        EXPECT_EQ(prompter.shown[0],
                  (ShownBox{"測定結果を保存して終了しますか？", "保存ﾍﾙﾌﾟ", 0x44}));
    } else {
        EXPECT_TRUE(prompter.shown.empty());
    }
    EXPECT_EQ(std::filesystem::exists(log), k.saved);
    EXPECT_EQ(settings.writes, k.saved ? 10 : 9); // the targets, and the file saved to
    EXPECT_EQ(view.closed, 1);
}
INSTANTIATE_TEST_SUITE_P(Every, SaveQuestionAtClose, ::testing::ValuesIn(kCloseAnswers), ByName());

// The dialogs offer the last file that worked, never one that failed.
TEST_F(SaveFlow, DialogsOfferTheLastFileThatWorked) {
    settings.values["LOG"]["FILE"] = "/earlier/run.txt";
    measure("170", "65", "20");
    saveTo(log);
    measure("170", "65", "20");
    saveTo(dir); // a folder
    const std::string torn = dir + "/torn.txt";
    Spit(torn, kWorkedLine + "1 2");                            // a log, up to its torn last line
    Spit(dir + "/phone.csv", "Date,Weight\n2026/01/02,65.0\n"); // no log
    files.openAnswers = {dir + "/missing.txt", torn, dir + "/phone.csv"};
    c->Button2Click(); // nothing on display: the open dialog
    for (int k = 0; k < 3; ++k)
        c->Button5Click();
    EXPECT_EQ(files.offers,
              (std::vector<std::string>{"/earlier/run.txt", log, log, log, torn, torn}));
    EXPECT_EQ(settings.values["LOG"]["FILE"], torn);
}

TEST_F(CloseFlow, FailedSaveKeepsTheProgramOpen) {
    measure("170", "65", "20");
    prompter.answers.push_back(mb::IDYES);
    files.saveAnswers.push_back(dir); // a folder
    c->Button1Click();
    EXPECT_EQ(view.closed, 0);
    EXPECT_EQ(settings.writes, 0);
    expectDisplayKept();

    view.texts[MainCtl::Ed_f] = "abc";
    prompter.answers.push_back(mb::IDYES);
    files.saveAnswers.push_back(log);
    EXPECT_THROW(c->Button1Click(), ConvertError);
    EXPECT_EQ(view.closed, 0);
    EXPECT_EQ(settings.writes, 0);
}

TEST_F(GraphFlow, SavedRecordLoadsAsTheLastRow) {
    Spit(log, "123123 180.00 100.00 30.00 30.00 70.00 51.24 71.28 30.86 40.29\n");
    measure("170", "65", "20");
    prompter.answers.push_back(mb::IDYES);
    files.saveAnswers.push_back(log);
    c->Button5Click();
    EXPECT_EQ(prompter.shown[0].text, "測定結果を保存してグラフ化しますか？");
    EXPECT_EQ(files.openCalls, 0);
    EXPECT_EQ(graphView.shown, 1);
    EXPECT_EQ(graph.historyRowCount(), 3);
    const char* row1[] = {"0",     "123123", "180.00", "100.00", "30.00", "30.00",
                          "70.00", "51.24",  "71.28",  "30.86",  "40.29"};
    const char* row2[] = {"1",     "083020", "170.00", "65.00", "20.00", "13.00",
                          "52.00", "38.06",  "63.58",  "22.49", "2.23"};
    const char* header[] = {"順番",         "測定日",     "身長(cm)",     "体重(kg)",
                            "脂肪率(%)",    "脂肪量(kg)", "除脂肪量(kg)", "体水分量(kg)",
                            "標準体重(kg)", "BMI",        "肥満度(%)"};
    for (int col = 0; col < 11; ++col) {
        EXPECT_EQ(graphView.cell(col, 0), header[col]);
        EXPECT_EQ(graphView.cell(col, 1), row1[col]);
        EXPECT_EQ(graphView.cell(col, 2), row2[col]);
    }
    const auto& points = graphView.series[GraphSeries::Series1];
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(points[1], (PlotPoint{1, 170.0}));
}

TEST_F(GraphFlow, DeclinedWithNoFileKnownOffersTheOpenDialog) {
    measure("170", "65", "20");
    prompter.answers = {mb::IDNO, mb::IDOK, mb::IDYES}; // declined; a save cancelled
    c->Button5Click();
    c->Button5Click();
    EXPECT_EQ(files.openCalls, 2);
    EXPECT_EQ(graphView.shown, 0);
}

TEST_F(GraphFlow, NothingMeasuredOffersTheOpenDialog) {
    Spit(log, kWorkedLine);
    saveTo(log); // refused: nothing measured; the open dialog is offered all the same
    prompter.shown.clear();
    files.openAnswers.push_back(std::nullopt);
    c->Button5Click();
    EXPECT_EQ(prompter.shown, (Boxes{{"グラフ化できません。", "警告ﾍﾙﾌﾟ", 0x30}}));
    EXPECT_EQ(graphView.shown, 0);

    files.openAnswers.push_back(log);
    c->Button5Click();
    EXPECT_EQ(logFilePath, log);
    EXPECT_EQ(graphView.shown, 1);
    EXPECT_EQ(graphView.cell(1, 1), "083020");
}

TEST_F(GraphFlow, ShorterLogLeavesEarlierRowsBelow) {
    auto write = [&](int records) {
        std::ofstream out(log, std::ios::trunc);
        for (int i = 0; i < records; ++i)
            out << " 83020 " << 150 + i
                << ".00 65.00 20.00 13.00 52.00 38.06 63.58 22.49  2.23\r\n";
    };
    write(10);
    files.openAnswers.push_back(log);
    c->Button5Click();
    write(3);
    files.openAnswers.push_back(log);
    c->Button5Click();
    EXPECT_EQ(graph.historyRowCount(), 4);
    EXPECT_EQ(graphView.cell(2, 3), "152.00");
    EXPECT_EQ(graphView.cell(2, 10), "159.00");
    EXPECT_EQ(graphView.series[GraphSeries::Series1].size(), 3u);
}

TEST_F(GraphFlow, TheNewest999RecordsAreShownAndTheRestExplained) {
    {
        // Record i has the height i: the newest 999 are shown, numbered from 0.
        std::ofstream out(log);
        for (int i = 1; i <= 1200; ++i)
            out << " 83020 " << i << ".00 65.00 20.00 13.00 52.00 38.06 63.58 22.49  2.23\n";
    }
    files.openAnswers.push_back(log);
    c->Button5Click();
    EXPECT_EQ(graph.historyRowCount(), 1000);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, "記録が999件を超えているため、最新の999件を表示します"
                                      "（それより前の 201 件は表示しません）。");
    EXPECT_EQ(graphView.shown, 1);
    EXPECT_EQ(graphView.cell(0, 1), "0");
    EXPECT_EQ(graphView.cell(2, 1), "202.00");
    EXPECT_EQ(graphView.cell(0, 999), "998");
    EXPECT_EQ(graphView.cell(2, 999), "1200.00");
    const auto& points = graphView.series[GraphSeries::Series1];
    ASSERT_EQ(points.size(), 999u);
    EXPECT_EQ(points.front(), (PlotPoint{0, 202.0}));
    EXPECT_EQ(points.back(), (PlotPoint{998, 1200.0}));
}

TEST_F(GraphFlow, TargetLineFollowsTheTargetTable) {
    Spit(log, kWorkedLine + kWorkedLine);
    targets[0] = "165.00";
    files.openAnswers.push_back(log);
    c->Button5Click();
    EXPECT_TRUE(graphView.targetLegend);
    const auto& target = graphView.series[GraphSeries::Series2];
    ASSERT_EQ(target.size(), 2u);
    EXPECT_EQ(target[0], (PlotPoint{0, 165.0}));
}

// The program makes its graph window only when a graph command has a log to
// show, and then keeps it.
TEST_F(GraphFlow, GraphWindowIsMadeOnceWhenALogIsFirstShown) {
    Spit(log, kWorkedLine);
    int made = 0;
    c->setGraphWindow(nullptr);
    c->setGraphWindowMaker([&]() -> GraphController& {
        ++made;
        return graph;
    });
    const struct {
        std::optional<std::string> open; // nullopt: the open dialog is cancelled
        int madeAfter;
        int shownAfter;
    } steps[] = {
        {std::nullopt, 0, 0},
        {dir + "/missing.txt", 0, 0},
        {log, 1, 1},
        {log, 1, 2},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.open.value_or("cancelled"));
        files.openAnswers.push_back(step.open);
        c->Button5Click();
        EXPECT_EQ(made, step.madeAfter);
        EXPECT_EQ(graphView.shown, step.shownAfter);
    }
    EXPECT_EQ(graphView.cell(2, 1), "170.00");
}

namespace {
using ExportFlow = FlowFixture;
const char* const kRecord = " 83020 170.00 65.00 20.00 13.00 52.00 38.06 63.58 22.49  2.23\n";
} // namespace

TEST_F(ExportFlow, TheTableHoldsEveryRecordOfTheLogAndTheShownTrend) {
    std::string text;
    for (int i = 0; i < 1000; ++i)
        text += kRecord;
    Spit(log, text);
    files.openAnswers.push_back(log);
    c->Button5Click();
    graph.RadioButton7Click();
    graph.TrendLineClick();
    forget();
    files.exportAnswers.push_back(dir + "/t.csv");
    graph.SaveTableClick();
    const std::string csv = Slurp(dir + "/t.csv");
    EXPECT_EQ(files.exportKinds, std::vector<ExportKind>{ExportKind::Table});
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 1001);
    EXPECT_TRUE(csv.starts_with("\xEF\xBB\xBF日時,")) << "a byte order mark for spreadsheets";
    EXPECT_NE(csv.find(",傾向 体重(kg)\r\n2026-08-30T20:00,170.00,65.00,"), std::string::npos);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(ExportFlow, WhatCannotBeWrittenLeavesNothingAndSaysWhy) {
    Spit(log, std::string(kRecord) + " 1 2 x\n");
    files.openAnswers.push_back(log);
    c->Button5Click();
    struct Case {
        void (GraphController::*click)();
        std::string path;
        std::string said;
    };
    const Case cases[] = {
        {&GraphController::SaveTableClick, dir + "/t.csv", "それより前の 1 件を書き出しました。"},
        {&GraphController::SaveChartClick, dir + "/g.jpg", kChartFormatHint},
        {&GraphController::SaveTableClick, dir, "理由: フォルダーです"},
        {&GraphController::SaveTableClick, dir + "/u.csv", "を読み込めませんでした。"},
    };
    for (const Case& k : cases) {
        forget();
        if (k.path.ends_with("u.csv"))
            std::filesystem::remove(log);
        files.exportAnswers.push_back(k.path);
        (graph.*k.click)();
        EXPECT_TRUE(said(k.said)) << k.path;
    }
    const std::string csv = Slurp(dir + "/t.csv");
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 2) << "the records before the stop";
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1) << "only t.csv";
    files.exportAnswers.push_back(dir + "/g.SVG");
    graph.SaveChartClick();
    EXPECT_EQ(Slurp(dir + "/g.SVG"), "chart 1");
}
