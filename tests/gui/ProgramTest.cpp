// The three windows together, as the program makes them, driven by keys.

#include "support/ProgramFixture.h"
#include "support/fakes/WorkedExample.h"
#include "ui/graph/qt/TFGrah.h"
#include "ui/graph/qt/TableMenu.h"
#include "ui/targets/TFTgt.h"

#include <QAction>
#include <QChartView>
#include <QCheckBox>
#include <QItemSelectionModel>
#include <QLineSeries>
#include <QRadioButton>
#include <QSettings>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <functional>

using namespace vorn;
using namespace vorn::test;

namespace {

class ProgramTest : public ProgramFixture {
protected:
    // Runs `body` once the next modal window is up; the body must close it.
    void whenModal(std::function<void(QWidget*)> body) {
        QTimer::singleShot(10, [this, body] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal) {
                whenModal(body); // not up yet
                return;
            }
            modal->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(modal));
            EXPECT_TRUE(
                QTest::qWaitFor([&] { return QApplication::activeWindow() == modal; }, 5000));
            body(modal);
        });
    }
    QLineSeries* series(int index) {
        auto* view = program->FGrah().findChild<QChartView*>("Chart1");
        return static_cast<QLineSeries*>(view->chart()->series().at(index));
    }

    std::string log = MakeTempDir("logs") + "/data.txt";
};

} // namespace

TEST_F(ProgramTest, WeighInSaveAndGraph) {
    start();
    weighIn();
    files.saveAnswers.push_back(log);
    key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(Slurp(log), kWorkedLine);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, "正常に保存致しました");
    EXPECT_EQ(textOf("Lb_ft"), "--.--");

    files.openAnswers.push_back(log);
    bool shown = false;
    whenModal([&](QWidget* modal) {
        shown = true;
        EXPECT_EQ(modal, &program->FGrah());
        EXPECT_EQ(modal->windowTitle(), QString::fromUtf8("種類別測定グラフ"));
        const QAbstractItemModel* grid = modal->findChild<QTableView*>("sg")->model();
        EXPECT_EQ(grid->index(1, 1).data().toString(), "083020");
        EXPECT_EQ(grid->index(0, 9).data().toString(), "BMI");
        EXPECT_EQ(series(0)->count(), 1);
        EXPECT_EQ(series(0)->at(0), QPointF(0, 170));
        modal->close();
    });
    key(Qt::Key_G, Qt::ControlModifier);
    EXPECT_TRUE(shown);
}

TEST_F(ProgramTest, TargetSetInTheDialogReachesMarkersStoreAndGraph) {
    Spit(log, kWorkedLine + " 83020 170.00 66.00 20.00 13.20 52.80 38.65 63.58 22.84  3.81\n");
    start();
    whenModal([&](QWidget* dialog) {
        EXPECT_EQ(dialog, &program->FTgt());
        QTest::mouseClick(dialog->findChild<QCheckBox*>("CheckBox2"), Qt::LeftButton, {},
                          QPoint(5, 8));
        auto* edit = dialog->findChild<QLineEdit*>("Edit2");
        EXPECT_EQ(QApplication::focusWidget(), edit)
            << QApplication::focusWidget()->objectName().toStdString() << " active "
            << (QApplication::activeWindow()
                    ? QApplication::activeWindow()->objectName().toStdString()
                    : "none");
        QTest::keyClicks(edit, "65");
        QTest::keyClick(edit, Qt::Key_Return); // Enter does not confirm
        EXPECT_TRUE(dialog->isVisible());
        QTest::keyClick(edit, Qt::Key_S, Qt::AltModifier);
    });
    key(Qt::Key_T, Qt::ControlModifier);
    EXPECT_FALSE(program->FTgt().isVisible());
    auto* sb2 = find<QToolButton>("Sb2");
    EXPECT_TRUE(sb2->isVisible());
    EXPECT_EQ(sb2->toolTip(), "65.00kg");

    files.openAnswers.push_back(log);
    whenModal([&](QWidget* graph) {
        graph->findChild<QRadioButton*>("RadioButton7")->click(); // weight
        EXPECT_EQ(series(0)->count(), 2);
        ASSERT_EQ(series(1)->count(), 2);
        EXPECT_EQ(series(1)->at(0), QPointF(0, 65));
        EXPECT_EQ(series(1)->at(1), QPointF(1, 65));
        graph->close();
    });
    key(Qt::Key_G, Qt::ControlModifier);

    key(Qt::Key_Q, Qt::ControlModifier);
    QSettings store(QString::fromStdString(conf), QSettings::IniFormat);
    EXPECT_EQ(store.value("TGT/VAL2").toString(), "65.00");

    program.reset();
    start();
    EXPECT_TRUE(main().findChild<QToolButton*>("Sb2")->isVisible());
    EXPECT_TRUE(program->FTgt().findChild<QCheckBox*>("CheckBox2")->isChecked());
}

// Start-up leaves the graph window unmade; the first graph command that has
// a log makes it, and later ones show that same window.
TEST_F(ProgramTest, GraphWindowIsMadeByTheFirstGraphCommand) {
    Spit(log, kWorkedLine);
    start();
    EXPECT_FALSE(program->hasGraphWindow());
    EXPECT_EQ(main().findChild<TFGrah*>(), nullptr);

    files.openAnswers.push_back(std::nullopt); // cancelled
    key(Qt::Key_G, Qt::ControlModifier);
    EXPECT_FALSE(program->hasGraphWindow());

    QWidget* first = nullptr;
    for (int i = 0; i < 2; ++i) {
        files.openAnswers.push_back(log);
        QWidget* shown = nullptr;
        whenModal([&](QWidget* modal) {
            shown = modal;
            EXPECT_EQ(series(0)->count(), 1);
            modal->close();
        });
        key(Qt::Key_G, Qt::ControlModifier);
        ASSERT_TRUE(program->hasGraphWindow());
        EXPECT_EQ(shown, &program->FGrah());
        if (i == 0)
            first = shown;
    }
    EXPECT_EQ(&program->FGrah(), first);
}

// The next run offers the log (its path stays empty) and the quantity left.
TEST_F(ProgramTest, TheNextRunOffersTheLogAndTheQuantityLeft) {
    Spit(log, kWorkedLine);
    start();
    files.openAnswers.push_back(log);
    whenModal([&](QWidget* modal) {
        QTest::mouseClick(modal->findChild<QRadioButton*>("RadioButton7"), Qt::LeftButton);
        modal->close();
    });
    key(Qt::Key_G, Qt::ControlModifier);
    program.reset();

    files.offers.clear();
    start();
    files.openAnswers.push_back(std::nullopt);
    key(Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(files.offers, std::vector<std::string>{log});
    EXPECT_TRUE(values().logFilePath.empty());
    files.openAnswers.push_back(log);
    whenModal([&](QWidget* modal) {
        EXPECT_TRUE(modal->findChild<QRadioButton*>("RadioButton7")->isChecked());
        EXPECT_EQ(series(0)->at(0), QPointF(0, 65));
        modal->close();
    });
    key(Qt::Key_G, Qt::ControlModifier);
}

// Rows selected in the table, its menu from the keyboard: the question names
// their records (an undated one by its stamp) and answers No by default; No keeps the log, Yes
// removes their lines alone, keeps the old log as data.txt~ and shows the log again.
TEST_F(ProgramTest, SelectedRecordsAreRemovedFromTheLog) {
    const std::string lines[] = {
        " 82807 170.00 65.00 20.00 13.00 52.00 38.06 63.58 22.49  2.23\r\n",
        " 82907 170.00 635.00 20.00 127.00 508.00 371.86 63.58 219.72 898.73\n",
        " 83007 170.00 64.50 20.00 12.90 51.60 37.77 63.58 22.32  1.45\r\n",
        " 133020 171.00 63.40 000.00 000.00 000.00 000.00 64.33 21.68 -1.45"};
    const std::string old = lines[0] + lines[1] + lines[2] + lines[3];
    Spit(log, old);
    start();
    files.openAnswers.push_back(log);
    prompter.answers = {mb::IDNO, mb::IDYES};
    // Checks whose ASSERT returns from this lambda, not past the close.
    const auto check = [&](QWidget* graph) {
        auto* sg = graph->findChild<QTableView*>("sg");
        auto* menu = graph->findChild<TableMenu*>("TableMenu");
        const QAbstractItemModel* grid = sg->model();
        sg->setFocus();
        for (const int answer : {mb::IDNO, mb::IDYES}) {
            for (const int row : {2, 4})
                sg->selectionModel()->select(grid->index(row, 0), QItemSelectionModel::Select |
                                                                      QItemSelectionModel::Rows);
            QTest::keyClick(sg, Qt::Key_F10, Qt::ShiftModifier);
            ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }));
            EXPECT_TRUE(menu->removeAction()->isEnabled());
            QTest::keyClick(menu, Qt::Key_D);
            ASSERT_FALSE(prompter.shown.empty());
            EXPECT_EQ(prompter.shown.back().text,
                      "選択した 2 件の記録を記録ファイルから削除しますか？\n\n"
                      "順番 1　2026/08/29 7時　体重(kg) 635.00　身長(cm) 170.00\n"
                      "順番 3　133020　体重(kg) 63.40　身長(cm) 171.00\n\n"
                      "削除する前の記録ファイルは、控え「" +
                          log + "~」に残ります。");
            EXPECT_EQ(prompter.shown.back().caption, "削除ﾍﾙﾌﾟ");
            EXPECT_EQ(prompter.shown.back().flags,
                      mb::YESNO | mb::ICONINFORMATION | mb::DEFBUTTON2);
            EXPECT_EQ(Slurp(log), answer == mb::IDNO ? old : lines[0] + lines[2]);
        }
        EXPECT_EQ(Slurp(log + "~"), old);
        EXPECT_EQ(series(0)->count(), 2);
        EXPECT_EQ(grid->index(2, 3).data().toString(), "64.50");
        EXPECT_EQ(grid->index(3, 0).data().toString(), "");
        // Nothing is selected any more: the menu's command is disabled.
        QTest::keyClick(sg, Qt::Key_Menu);
        ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }));
        EXPECT_FALSE(menu->removeAction()->isEnabled());
        menu->hide();
    };
    whenModal([&](QWidget* graph) {
        check(graph);
        graph->close();
    });
    key(Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(prompter.shown.size(), 2u);
}
