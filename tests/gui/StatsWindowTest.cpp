// The statistics window: a table that screen readers read as one, saved as
// CSV from its menu, for the period chosen in it.

#include "ui/graph/qt/StatsWindow.h"
#include "support/TestHome.h"
#include "support/fakes/FakeSeams.h"

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QTableView>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>

using namespace vorn;
using namespace vorn::test;

namespace {

StatsTable Weights(Period period) {
    const std::vector<double> values = {60.00, 60.01, 60.91};
    const RecordDates dates = {RecordDate{2026, 11, 30, 8}, RecordDate{2026, 12, 1, 8},
                               RecordDate{2026, 12, 14, 8}};
    return StatsTable(ComputePeriodStats(values, dates, {}, kWeight, period), kWeight);
}

struct StatsWindowTest : ::testing::Test {
    FakePrompter prompter;
    FakeFileChooser files;
    std::vector<Period> asked;
    StatsWindow w{Weights(Period::Week),
                  [this](Period p) {
                      asked.push_back(p);
                      return Weights(p);
                  },
                  prompter, files};
    StatsWindowTest() {
        w.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&w));
    }
};

} // namespace

TEST_F(StatsWindowTest, ScreenReadersReadATableWithItsHeaders) {
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(w.tableView());
    ASSERT_TRUE(table && table->tableInterface());
    EXPECT_EQ(table->role(), QAccessible::Table);
    EXPECT_EQ(table->tableInterface()->rowCount(), 3);
    EXPECT_EQ(table->tableInterface()->columnDescription(4).toStdString(), "平均");
    EXPECT_EQ(table->tableInterface()->cellAt(0, 4)->text(QAccessible::Name).toStdString(),
              "60.01");
}

TEST_F(StatsWindowTest, ItsMenuOpensByMouseAndKeysAndSavesTheCsv) {
    QTableView* view = w.tableView();
    w.activateWindow();
    view->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->hasFocus(); }));
    const QPoint inside = view->viewport()->mapTo(&w, QPoint(20, 20));
    const std::function<void()> opens[] = {
        [&] { QTest::mouseClick(w.windowHandle(), Qt::RightButton, {}, inside); },
        [&] { QTest::keyClick(w.windowHandle(), Qt::Key_Menu); },
        [&] { QTest::keyClick(view, Qt::Key_F10, Qt::ShiftModifier); },
    };
    for (std::size_t i = 0; i < std::size(opens); ++i) {
        opens[i]();
        EXPECT_TRUE(QTest::qWaitFor([&] { return w.tableMenu()->isVisible(); })) << i;
        w.tableMenu()->hide();
    }
    const std::string dir = MakeTempDir("stats-window");
    files.exportAnswers = {dir + "/w.csv", dir};
    w.tableMenu()->actions().value(0)->trigger();
    EXPECT_EQ(Slurp(dir + "/w.csv"), Weights(Period::Week).csv());
    QTest::keyClick(view, Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text.rfind("ファイル「" + dir + "」に書き出せませんでした。", 0),
              0u);
    EXPECT_EQ(files.exportKinds, std::vector<ExportKind>(2, ExportKind::Table));
}

TEST_F(StatsWindowTest, ThePeriodChosenIsShown) {
    w.findChild<QComboBox*>("StatsPeriod")->setCurrentIndex(1);
    EXPECT_EQ(asked, std::vector<Period>{Period::Month});
    EXPECT_EQ(w.tableView()->model()->index(1, 0).data().toString().toStdString(), "2026-12");
}
