#include "support/fakes/FakeMarkers.h"
#include "support/fakes/FakeSeams.h"
#include "ui/targets/TFTgt.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QInputMethodQueryEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>

using namespace vorn;
using namespace vorn::test;

namespace {

struct TargetsDialog : ::testing::Test {
    FakePrompter prompter;
    FakeMarkers markers;
    TargetTable table;
    std::unique_ptr<TFTgt> dialog;

    TFTgt& make(const TargetTable& initial = {}) {
        table = initial;
        dialog = std::make_unique<TFTgt>(prompter, markers, table);
        return *dialog;
    }
    void showActive() {
        dialog->show();
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    }
    template <class W> W* get(const QString& name) {
        W* w = dialog->findChild<W*>(name);
        EXPECT_TRUE(w) << name.toStdString();
        return w;
    }
    QLineEdit* edit(int row) { return get<QLineEdit>(QStringLiteral("Edit%1").arg(row)); }
    QCheckBox* box(int row) { return get<QCheckBox>(QStringLiteral("CheckBox%1").arg(row)); }
    static QString focused() {
        QWidget* f = QApplication::focusWidget();
        return f ? f->objectName() : QString();
    }
    static void press(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key), mods);
    }
};

} // namespace

TEST_F(TargetsDialog, ControlsHaveTheirNamesPlacesAndLooks) {
    TFTgt& d = make();
    EXPECT_EQ(d.objectName(), "FTgt");
    EXPECT_EQ(d.windowTitle(), "目標値設定");
    EXPECT_EQ(d.minimumSize(), QSize(192, 272));
    EXPECT_EQ(d.maximumSize(), QSize(192, 272));
    EXPECT_FALSE(d.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(d.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(d.font().pixelSize(), 12);
    // Drawn in a Japanese gothic, not in a fallback without Japanese.
    EXPECT_TRUE(QStringList({"MS PGothic", "IPAPGothic", "Noto Sans CJK JP"})
                    .contains(QFontInfo(d.font()).family()))
        << QFontInfo(d.font()).family().toStdString();
    EXPECT_EQ(get<QGroupBox>("GroupBox1")->title(), "  各種目標値  ");

    struct Place {
        const char* name;
        const char* text;
        QRect rect;
        bool inGroup;
    } places[] = {
        {"GroupBox1", "", {0, 0, 192, 241}, false},
        {"CheckBox1", "身長", {8, 18, 81, 17}, true},
        {"CheckBox5", "除脂肪量", {8, 114, 81, 17}, true},
        {"CheckBox8", "BMI", {8, 186, 81, 17}, true},
        {"CheckBox9", "肥満度", {8, 210, 81, 17}, true},
        {"Edit1", "", {96, 16, 65, 21}, true},
        {"Edit2", "", {96, 40, 65, 21}, false},
        {"Edit9", "", {96, 208, 65, 21}, true},
        {"Label1", "cm", {168, 18, 17, 17}, true},
        {"Label3", "%", {167, 66, 17, 17}, true},
        {"Label7", "kg", {167, 162, 17, 17}, true},
        {"Label8", "%", {167, 210, 17, 17}, true},
        {"Button1", "設定完了(&S)", {0, 244, 97, 25}, false},
        {"Button2", "キャンセル(&C)", {96, 244, 97, 25}, false},
    };
    for (const Place& p : places) {
        SCOPED_TRACE(p.name);
        QWidget* w = get<QWidget>(p.name);
        ASSERT_TRUE(w);
        EXPECT_EQ(w->geometry(), p.rect);
        EXPECT_EQ(w->parentWidget()->objectName(), p.inGroup ? "GroupBox1" : "FTgt");
        if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            EXPECT_EQ(b->text(), p.text);
        }
        if (auto* l = qobject_cast<QLabel*>(w)) {
            EXPECT_EQ(l->text(), p.text);
            EXPECT_EQ(l->font().pixelSize(), 13);
        }
    }
    EXPECT_FALSE(d.findChild<QLabel*>("Label9")); // the BMI row has no unit
    for (int r = 1; r <= 9; ++r) {
        EXPECT_FALSE(edit(r)->isEnabled());
        EXPECT_EQ(edit(r)->palette().color(QPalette::Base), QColor(192, 192, 192));
        EXPECT_EQ(edit(r)->font().pixelSize(), 13);
        // What an input method asks before it composes, once the row is
        // ticked: numbers need none.
        edit(r)->setEnabled(true);
        QInputMethodQueryEvent query(Qt::ImEnabled);
        QApplication::sendEvent(edit(r), &query);
        EXPECT_FALSE(query.value(Qt::ImEnabled).toBool()) << r;
        edit(r)->setEnabled(false);
    }
    for (const char* name : {"Button1", "Button2"}) {
        EXPECT_FALSE(get<QPushButton>(name)->autoDefault());
        EXPECT_FALSE(get<QPushButton>(name)->isDefault());
    }
    showActive();
    const QPoint centre = d.screen()->geometry().center();
    EXPECT_LE((d.frameGeometry().center() - centre).manhattanLength(), 40);

    // A long entry from the settings file shows from its first character.
    make({std::string(30, '7') + "x", "", "", "", "", "", "", "", ""});
    EXPECT_EQ(edit(1)->cursorPosition(), 0);

    if (const char* dir = std::getenv("VORN_SCREENSHOT_DIR")) {
        make({"170.00", "65.00", "", "", "", "", "", "", ""});
        showActive();
        dialog->grab().save(QString::fromUtf8(dir) + "/targets-dialog.png");
    }
}

TEST_F(TargetsDialog, TabGoesThroughBoxesEditsButtonsAndEdit2Last) {
    const QStringList boxes = {"CheckBox1", "CheckBox2", "CheckBox3", "CheckBox4", "CheckBox5",
                               "CheckBox6", "CheckBox7", "CheckBox8", "CheckBox9"};
    struct Case {
        TargetTable targets;
        QStringList after;
    } cases[] = {
        {TargetTable{}, {"Button1", "Button2"}}, // disabled edits are skipped
        {TargetTable{"1", "2", "3", "4", "5", "6", "7", "8", "9"},
         {"Edit1", "Edit3", "Edit4", "Edit5", "Edit6", "Edit7", "Edit8", "Edit9", "Button1",
          "Button2", "Edit2"}},
    };
    for (const Case& c : cases) {
        make(c.targets);
        showActive();
        // The last row with a target has the focus when the dialog comes up.
        EXPECT_EQ(focused(), c.targets[8].empty() ? "CheckBox1" : "Edit9");
        box(1)->setFocus();
        QStringList seen = {focused()};
        const QStringList expected = boxes + c.after + QStringList{"CheckBox1"};
        while (seen.size() < expected.size()) {
            press(Qt::Key_Tab);
            seen << focused();
        }
        EXPECT_EQ(seen.join(' ').toStdString(), expected.join(' ').toStdString());
    }
}

TEST_F(TargetsDialog, EnterAndEscDoNotConfirmOrCancel) {
    struct Case {
        const char* focus;
        int key;
        bool closes;
    } cases[] = {
        {"Edit1", Qt::Key_Return, false},     {"Edit2", Qt::Key_Enter, false},
        {"CheckBox3", Qt::Key_Return, false}, {"Edit1", Qt::Key_Escape, false},
        {"CheckBox3", Qt::Key_Escape, false}, {"Button1", Qt::Key_Escape, false},
        {"Button2", Qt::Key_Escape, false},   {"Button2", Qt::Key_Return, true},
        {"Button1", Qt::Key_Return, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.focus) + " key " + std::to_string(c.key));
        make({"170", "65", "", "", "", "", "", "", ""});
        showActive();
        get<QWidget>(c.focus)->setFocus();
        press(c.key);
        EXPECT_EQ(dialog->isVisible(), !c.closes);
        EXPECT_EQ(table[0], c.closes && std::string(c.focus) == "Button1" ? "170.00" : "170");
    }
}

TEST_F(TargetsDialog, AccessKeysPressTheButtons) {
    for (int key : {Qt::Key_S, Qt::Key_C}) {
        make();
        markers = {};
        showActive();
        box(2)->click();
        QTest::keyClicks(edit(2), "65");
        press(key, Qt::AltModifier);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog->isVisible(); }, 5000));
        const bool ok = key == Qt::Key_S;
        EXPECT_EQ(table[1], ok ? "65.00" : "");
        EXPECT_EQ(markers.visible[1], ok);
    }
}

TEST_F(TargetsDialog, CloseBoxEndsTheModalShowingAndKeepsTheRows) {
    TFTgt& d = make({"", "65.00", "", "", "", "", "", "", ""});
    QTimer::singleShot(0, &d, [&] {
        box(2)->setChecked(false);
        d.close();
    });
    d.exec();
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(table[1], "65.00");
    EXPECT_FALSE(box(2)->isChecked()); // nothing is reset for the next showing
}

TEST_F(TargetsDialog, TickingOpensTheEditAndUntickingEmptiesIt) {
    make();
    showActive();
    QTest::mouseClick(box(4), Qt::LeftButton, {}, QPoint(5, 8));
    EXPECT_TRUE(edit(4)->isEnabled());
    EXPECT_EQ(edit(4)->palette().color(QPalette::Base), QColor(255, 255, 255));
    EXPECT_EQ(focused(), "Edit4");
    QTest::keyClicks(edit(4), "12.5");
    QTest::mouseClick(box(4), Qt::LeftButton, {}, QPoint(5, 8));
    EXPECT_FALSE(edit(4)->isEnabled());
    EXPECT_EQ(edit(4)->palette().color(QPalette::Base), QColor(192, 192, 192));
    EXPECT_EQ(edit(4)->text(), "");
    EXPECT_EQ(table[3], "");
}

TEST_F(TargetsDialog, ErrorsAndOutOfRangeValuesKeepTheDialogOpen) {
    struct Case {
        const char* typed;
        const char* shown; // part of the message shown
        const char* caption;
    } cases[] = {{"abc", "'abc'", "Vorn２"}, {"400", "正しい値を設定して下さい。", "設定ﾍﾙﾌﾟ"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        prompter.shown.clear();
        make();
        showActive();
        box(1)->click();
        QTest::keyClicks(edit(1), c.typed);
        box(3)->setFocus();
        get<QPushButton>("Button1")->click();
        EXPECT_TRUE(dialog->isVisible());
        ASSERT_EQ(prompter.shown.size(), 1u);
        EXPECT_NE(prompter.shown[0].text.find(c.shown), std::string::npos);
        EXPECT_EQ(prompter.shown[0].caption, c.caption);
    }
    EXPECT_EQ(focused(), "Edit1"); // after the range message
    EXPECT_EQ(table[0], "400.00");
}
