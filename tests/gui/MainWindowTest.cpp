#include "platform/qt/QtPrompter.h"
#include "support/ProgramFixture.h"
#include "ui/main/DataInDialogs.h"

#include <QAction>
#include <QDateTimeEdit>
#include <QDialog>
#include <QHelpEvent>
#include <QInputMethodQueryEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocumentFragment>
#include <QTimer>
#include <QToolTip>

using namespace vorn;
using namespace vorn::test;

namespace {

// The main window as the program makes it.
class MainWindowTest : public ProgramFixture {
protected:
    void typeInto(const char* name, const char* text) {
        QTest::keyClicks(find(name), QString::fromUtf8(text));
    }
    QWidget* focused() { return QApplication::focusWidget(); }
};

} // namespace

TEST_F(MainWindowTest, KeyboardWeighInShowsTheResults) {
    start();
    EXPECT_EQ(focused(), find("Ed_h"));
    typeInto("Ed_h", "170");
    QTest::keyClick(focused(), Qt::Key_Return);
    EXPECT_EQ(focused(), find("Ed_w"));
    typeInto("Ed_w", "65");
    QTest::keyClick(focused(), Qt::Key_Enter); // the keypad's Enter too
    EXPECT_EQ(focused(), find("Ed_f"));
    typeInto("Ed_f", "20");
    QTest::keyClick(focused(), Qt::Key_Return);

    const std::pair<const char*, const char*> expected[] = {
        {"Lb_f", "13.00"},  {"Lb_rm", "52.00"}, {"Lb_wt", "38.06"},     {"Lb_sw", "63.58"},
        {"Lb_bm", "22.49"}, {"Lb_ft", "2.23"},  {"Pl_you", "正常体重"},
    };
    for (const auto& [name, text] : expected)
        EXPECT_EQ(textOf(name), QString::fromUtf8(text)) << name;
    for (const char* name : {"Ed_h", "Ed_w", "Ed_f"}) {
        // What an input method asks before it composes: numbers need none.
        QInputMethodQueryEvent query(Qt::ImEnabled);
        QApplication::sendEvent(find(name), &query);
        EXPECT_FALSE(query.value(Qt::ImEnabled).toBool()) << name;
    }
    EXPECT_EQ(find("Pl_you")->palette().color(QPalette::Window), QColor(0, 255, 0));
    EXPECT_EQ(focused(), find("Ed_f")); // the focus stays after measuring
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(MainWindowTest, ArrowsEscAndShiftEnterWalkTheChain) {
    start();
    typeInto("Ed_h", "170");
    QTest::keyClick(focused(), Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(focused(), find("Ed_w"));
    QTest::keyClick(focused(), Qt::Key_Up);
    EXPECT_EQ(focused(), find("Ed_h"));
    QTest::keyClick(focused(), Qt::Key_Down);
    EXPECT_EQ(focused(), find("Ed_w"));
    QTest::keyClick(focused(), Qt::Key_Escape);
    EXPECT_EQ(focused(), find("Ed_h"));
    QTest::keyClick(focused(), Qt::Key_Escape); // nothing above the height
    EXPECT_EQ(focused(), find("Ed_h"));
    find("Ed_f")->setFocus();
    QTest::keyClick(focused(), Qt::Key_Up);
    EXPECT_EQ(focused(), find("Ed_w"));
    typeInto("Ed_w", "1000.5");
    QTest::keyClick(focused(), Qt::Key_Return);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, "正の実数(1t以下)を入力してください。");
    EXPECT_EQ(focused(), find("Ed_w"));
    QTest::keyClick(focused(), Qt::Key_Escape);
    QTest::keyClick(focused(), Qt::Key_Down);
    typeInto("Ed_w", "23.1"); // replaces the text of a field the keys reach
    EXPECT_EQ(textOf("Ed_w"), QStringLiteral("23.1"));
}

TEST_F(MainWindowTest, CtrlCClearsFromAnEditAndCtrlMMeasuresFromAnywhere) {
    start();
    typeInto("Ed_h", "170");
    typeInto("Ed_w", "65");
    find("Ed_f")->setFocus();
    QTest::keyClick(focused(), Qt::Key_M, Qt::ControlModifier);
    EXPECT_EQ(textOf("Lb_ft"), "2.23");
    EXPECT_EQ(textOf("Lb_wt"), "--.--");

    typeInto("Ed_f", "20");
    QTest::keyClick(focused(), Qt::Key_C, Qt::ControlModifier);
    for (const char* name : {"Ed_h", "Ed_w", "Ed_f"})
        EXPECT_EQ(textOf(name), "") << name;
    for (const char* name : {"Lb_f", "Lb_rm", "Lb_wt", "Lb_sw", "Lb_bm", "Lb_ft"})
        EXPECT_EQ(textOf(name), "--.--") << name;
    EXPECT_EQ(textOf("Pl_you"), QString::fromUtf8("測定中....."));
    EXPECT_EQ(find("Pl_you")->palette().color(QPalette::Window), QColor(192, 192, 192));
    EXPECT_EQ(focused(), find("Ed_h"));
}

TEST_F(MainWindowTest, CtrlKInAnEditOpensTheKeywordSearch) {
    start();
    typeInto("Ed_h", "170");
    QTest::keyClick(focused(), Qt::Key_K, Qt::ControlModifier);
    QTest::keyClick(focused(), Qt::Key_H, Qt::ControlModifier);
    ASSERT_EQ(help.calls.size(), 2u);
    EXPECT_EQ(help.calls[0].first, 0x0101u);
    EXPECT_EQ(help.calls[1].first, 11u);
    EXPECT_EQ(textOf("Ed_h"), "170"); // not cut to the end of the line
}

TEST_F(MainWindowTest, MarkersComeFromTheSettingsFile) {
    putConf("[TGT]\nVAL1=\nVAL2=65.00\nVAL4=abc\nVAL6=a, b\nVAL8=22.00\nVAL9=-15.00\n");
    start();
    const std::pair<const char*, const char*> shown[] = {
        {"Sb2", "65.00kg"}, {"Sb4", "abckg"},   {"Sb6", "a, bkg"},
        {"Sb8", "22.00"},   {"Sb9", "-15.00%"},
    };
    for (const auto& [name, hint] : shown) {
        EXPECT_TRUE(find(name)->isVisible()) << name;
        EXPECT_EQ(find(name)->toolTip(), QString::fromUtf8(hint)) << name;
    }
    for (const char* name : {"Sb1", "Sb3", "Sb5", "Sb7"})
        EXPECT_FALSE(find(name)->isVisible()) << name;
}

TEST_F(MainWindowTest, EmptyStoreShowsNoMarkerAndTheDateStampIsFixed) {
    start();
    for (int k = 1; k <= 9; ++k)
        EXPECT_FALSE(find(("Sb" + std::to_string(k)).c_str())->isVisible());
    EXPECT_EQ(textOf("Lb_dt"), "08/30-20");
    EXPECT_EQ(values().dateStamp, "083020");
}

TEST_F(MainWindowTest, LayoutNamesAndMenus) {
    start();
    EXPECT_EQ(main().windowTitle(), QString::fromUtf8("Vorn２"));
    EXPECT_EQ(main().centralWidget()->size(), QSize(242, 331));
    EXPECT_FALSE(main().windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(find("Ed_h")->geometry(), QRect(104, 40, 60, 21));
    EXPECT_EQ(find("Lb_ft")->geometry(), QRect(94, 232, 70, 21));
    EXPECT_EQ(find("SpeedButton6")->geometry(), QRect(112, 4, 22, 22));
    EXPECT_EQ(find("SpeedButton6")->toolTip(), QString::fromUtf8("目標値設定[Ctrl-T]"));
    EXPECT_EQ(find("Lb_cm")->width(), 209);

    QList<QAction*> menus = main().menuBar()->actions();
    ASSERT_EQ(menus.size(), 2);
    EXPECT_EQ(menus[0]->text(), QString::fromUtf8("ﾌｧｲﾙ(&F)"));
    EXPECT_EQ(menus[1]->text(), QString::fromUtf8("ﾍﾙﾌﾟ(&H)"));
    QStringList items;
    for (QAction* a : menus[0]->menu()->actions())
        items << (a->isSeparator() ? QStringLiteral("-")
                                   : a->text() + " " + a->shortcut().toString());
    EXPECT_EQ(
        items.join('|'),
        QString::fromUtf8("測定(&M) Ctrl+M|クリア(&C) Ctrl+C|データ保存(&S) Ctrl+S|"
                          "グラフ描画(&G) Ctrl+G|-|目標値設定(&T) Ctrl+T|-|閉じる(&Q) Ctrl+Q|-|"
                          "測定日時の変更(&D)… |記録の取り込み(&I)… "));
    items.clear();
    for (QAction* a : menus[1]->menu()->actions())
        items << a->text() + " " + a->shortcut().toString();
    EXPECT_EQ(items.join('|'), QString::fromUtf8("目次(&I) Ctrl+H|ｷｰﾜｰﾄﾞ検索(&K) Ctrl+K"));
}

TEST_F(MainWindowTest, PointerHintsFollowTheToolbar) {
    start();
    const std::pair<const char*, const char*> hints[] = {
        {"SpeedButton1", "体重を測定します。"},
        {"SpeedButton2", "入力情報をすべて消去します。"},
        {"SpeedButton3", "測定結果を保存します。"},
        {"SpeedButton4", "結果をグラフ化します。"},
        {"SpeedButton6", "各種目標値を設定します。"},
        {"SpeedButton5", "体重測定を終了します。"},
    };
    for (const auto& [name, text] : hints) {
        QTest::mouseMove(find(name), QPoint(11, 11));
        EXPECT_EQ(textOf("Lb_cm"), QString::fromUtf8(text)) << name;
    }
    QTest::mouseMove(main().centralWidget(), QPoint(120, 150));
    EXPECT_EQ(textOf("Lb_cm"), QString::fromUtf8("データを入力して下さい。"));
}

TEST_F(MainWindowTest, CtrlQWritesTheNineTargetsAndClosesTheWindow) {
    putConf("[TGT]\nVAL2=65.00\n");
    start();
    weighIn();
    values().targets[0] = "170.00";
    prompter.answers = {mb::IDNO};
    QTest::keyClick(focused(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(main().isVisible());
    EXPECT_EQ(prompter.shown.size(), 1u); // not asked again as the window closes
    // VAL2 is replaced in its line, the others are added after it.
    EXPECT_EQ(Slurp(conf),
              "[TGT]\nVAL2=65.00\nVAL1=170.00\nVAL3=\nVAL4=\nVAL5=\nVAL6=\nVAL7=\nVAL8=\nVAL9="
              "\n");
}

// The close box, Alt+F4 and the system menu ask about the measurement on
// display as Ctrl+Q does, and keep the targets; a failed save keeps the window.
TEST_F(MainWindowTest, TitleBarCloseAsksAsCtrlQDoesAndWritesTheTargets) {
    start();
    weighIn();
    values().targets[0] = "170.00";
    prompter.answers = {mb::IDYES, mb::IDOK, mb::IDNO};
    files.saveAnswers.push_back(config); // a folder
    EXPECT_FALSE(main().close());
    EXPECT_TRUE(main().close());
    ASSERT_EQ(prompter.shown.size(), 3u);
    EXPECT_EQ(prompter.shown[2], (ShownBox{"測定結果を保存して終了しますか？", "保存ﾍﾙﾌﾟ", 0x44}));
    EXPECT_EQ(Slurp(conf),
              "[TGT]\nVAL1=170.00\nVAL2=\nVAL3=\nVAL4=\nVAL5=\nVAL6=\nVAL7=\nVAL8=\nVAL9=\n");
}

TEST_F(MainWindowTest, UnwritableSettingsAreReported) {
    // A file where the Tav folder should be: the store cannot be written,
    // even by root.
    Spit(tav, "not a folder");
    start();
    values().targets[1] = "65.00";
    QTest::keyClick(focused(), Qt::Key_Q, Qt::ControlModifier);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_NE(prompter.shown[0].text.find("Vorn2.conf"), std::string::npos);
    EXPECT_FALSE(main().isVisible()); // the program still ends as asked
}

// What the settings file or the user typed is shown as text: no tag is
// rendered, no image is opened, and a NUL does not cut a message short.
TEST_F(MainWindowTest, UntrustedTextIsShownAsText) {
    const std::string markup = "<b>65</b><img src=\"/nonexistent/fifo\">kg";
    start();
    main().setMarkerHint(1, markup);
    QWidget* marker = find("Sb2");
    marker->show();
    QHelpEvent tip(QEvent::ToolTip, QPoint(4, 4), marker->mapToGlobal(QPoint(4, 4)));
    QApplication::sendEvent(marker, &tip);
    ASSERT_TRUE(QTest::qWaitFor([] { return QToolTip::isVisible(); }, 2000));
    EXPECT_EQ(QTextDocumentFragment::fromHtml(QToolTip::text()).toPlainText().toStdString(),
              markup);
    QToolTip::hideText();

    QString shown;
    Qt::TextFormat format = Qt::AutoText;
    QTimer::singleShot(0, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                format = box->textFormat();
                shown = box->text();
                box->accept();
            }
    });
    QtPrompter().show(markup + std::string("\0 tail", 6), "<i>注意ﾍﾙﾌﾟ</i>", 0x30);
    EXPECT_EQ(format, Qt::PlainText);
    EXPECT_EQ(shown.toStdString(), markup + "\u2400 tail");
}

// A height typed in metres gives results far too wide for their 70 pixels:
// each is still drawn whole, in a smaller font, and an ordinary one again in
// the window's font.
TEST_F(MainWindowTest, WideResultsAreShownWhole) {
    start();
    const char* results[] = {"Lb_f", "Lb_rm", "Lb_wt", "Lb_sw", "Lb_bm", "Lb_ft"};
    for (const char* height : {"1.7", "170"}) {
        find<QLineEdit>("Ed_h")->setText(QString::fromUtf8(height));
        find<QLineEdit>("Ed_w")->setText(QStringLiteral("65"));
        find<QLineEdit>("Ed_f")->setText(QStringLiteral("-12345"));
        QTest::keyClick(find("Ed_f"), Qt::Key_M, Qt::ControlModifier);
        for (const char* name : results) {
            auto* label = find<QLabel>(name);
            SCOPED_TRACE(std::string(name) + " " + label->text().toStdString());
            EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(label->text()),
                      label->contentsRect().width());
            EXPECT_GE(label->font().pixelSize(), 7);
        }
    }
    EXPECT_EQ(find<QLabel>("Lb_ft")->font().pixelSize(), 15);
}

// A click on the date asks for another moment, which the label then shows
// in red.
TEST_F(MainWindowTest, AClickOnTheDateChangesIt) {
    start();
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        auto* edit = dialog->findChild<QDateTimeEdit*>(QStringLiteral("MomentEdit"));
        edit->setDateTime(edit->dateTime().addDays(-1));
        dialog->accept();
    });
    QTest::mouseClick(find("Lb_dt"), Qt::LeftButton);
    EXPECT_EQ(textOf("Lb_dt"), QString::fromUtf8("08/29-20"));
    EXPECT_EQ(find("Lb_dt")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
}

// The import's preview shows the file's texts as they are, and writes
// nothing unless 取り込む is pressed.
TEST_F(MainWindowTest, TheImportPreviewShowsPlainTextAndTwoButtons) {
    start();
    DataInDialogs dialogs(&main());
    const ImportPreview preview{
        "形式: <b>x</b>", {"2026/08/01 7時  80107 ..."}, {"<i>3行目</i>: 理由"}};
    for (const char* press : {"キャンセル", "取り込む"}) {
        QStringList seen;
        QTimer::singleShot(0, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            ASSERT_TRUE(dialog);
            for (QLabel* l : dialog->findChildren<QLabel*>())
                seen << l->text() + QString::number(l->textFormat());
            seen << dialog->findChild<QPlainTextEdit*>()->toPlainText();
            for (QPushButton* b : dialog->findChildren<QPushButton*>())
                seen << b->text();
            for (QPushButton* b : dialog->findChildren<QPushButton*>())
                if (b->text() == QString::fromUtf8(press))
                    b->click();
        });
        EXPECT_EQ(dialogs.confirmImport(preview), std::string(press) == "取り込む");
        EXPECT_EQ(seen.join('|'),
                  QString::fromUtf8(
                      "形式: <b>x</b>0|保存する記録（先頭から）:\n2026/08/01 7時  80107 "
                      "...\n\n取り込まない行と理由:\n<i>3行目</i>: 理由\n|取り込む|キャンセル"));
    }
}
