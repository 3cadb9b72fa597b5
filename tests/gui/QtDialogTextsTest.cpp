// Qt's own dialogs, as the program opens them, in Japanese: no text a user
// can meet in them (labels, buttons, tabs, items, tips, hints, menus)
// keeps an English word once the program's translations are in.

#include "platform/Prompter.h"
#include "platform/qt/QtFileChooser.h"
#include "platform/qt/QtPrompter.h"
#include "resources/QtJapanese.h"
#include "support/Cases.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace vorn;
using namespace vorn::test;

namespace {

// Latin words that are names rather than words to translate.
const QStringList kNames = {"OK", "PDF", "PNG",  "SVG",  "CSV", "mm",  "pt", "pc", "in",
                            "CC", "DD",  "ANSI", "ARCH", "JIS", "PRC", "US", "DL"};

// The dialog's texts, hidden widgets' too (they show with another printer
// or in another state), that hold an English word.
QStringList EnglishIn(QWidget* dialog) {
    QStringList texts;
    QList<QWidget*> widgets = dialog->findChildren<QWidget*>();
    for (QWidget* w : widgets << dialog) {
        for (const char* p : {"windowTitle", "toolTip", "title", "placeholderText", "text"})
            if (!qobject_cast<QLineEdit*>(w) || p != std::string("text")) // typed, not Qt's
                texts << w->property(p).toString();
        if (auto* t = qobject_cast<QTabWidget*>(w))
            for (int i = 0; i < t->count(); ++i)
                texts << t->tabText(i);
        // Paths and the system's printer names are not the dialog's words.
        if (auto* c = qobject_cast<QComboBox*>(w); c && w->objectName() != "printers")
            for (int i = 0; i < c->count(); ++i)
                if (!c->itemText(i).startsWith('/'))
                    texts << c->itemText(i);
    }
    for (QAction* a : dialog->findChildren<QAction*>())
        texts << a->text();
    QStringList english;
    for (QString t : texts)
        for (const auto& m : QRegularExpression(QStringLiteral("[A-Za-z]{2,}"))
                                 .globalMatch(t.remove(QRegularExpression("\\*\\.\\w+"))))
            if (!kNames.contains(m.captured())) {
                english << t;
                break;
            }
    return english;
}

// Runs `body` on the next modal window other than `outer`, once it is up.
void WhenModal(QWidget* outer, std::function<void(QWidget*)> body) {
    QTimer::singleShot(10, [outer, body] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == outer)
            return WhenModal(outer, body);
        body(modal);
    });
}

void Close(QWidget* modal) {
    if (auto* box = qobject_cast<QMessageBox*>(modal))
        box->buttons().constFirst()->click(); // a question takes no Escape
    else
        static_cast<QDialog*>(modal)->reject();
}

struct Row {
    const char* name;
    std::function<void()> open;
};

class QtDialogTexts : public ::testing::TestWithParam<Row> {
protected:
    static void SetUpTestSuite() { InstallQtJapanese(); }
};

TEST_P(QtDialogTexts, HaveNoEnglishLeft) {
    QStringList english;
    int dialogs = 0;
    WhenModal(nullptr, [&](QWidget* modal) {
        ++dialogs;
        english << EnglishIn(modal);
        // The print dialog's properties: its page set-up and options.
        if (auto* properties = modal->findChild<QPushButton*>("properties")) {
            WhenModal(modal, [&](QWidget* inner) {
                ++dialogs;
                english << EnglishIn(inner);
                Close(inner);
            });
            properties->click();
        }
        Close(modal);
    });
    GetParam().open();
    EXPECT_EQ(dialogs, std::string(GetParam().name) == "print" ? 2 : 1);
    EXPECT_TRUE(english.isEmpty()) << english.join('\n').toStdString();
}

void Print() {
    QPrinter printer;
    QPrintDialog dialog(&printer);
    // Printing to a PDF file, as on a system without printers.
    auto* printers = dialog.findChild<QComboBox*>("printers");
    printers->setCurrentIndex(printers->count() - 1);
    dialog.exec();
}

INSTANTIATE_TEST_SUITE_P(
    , QtDialogTexts,
    ::testing::Values(Row{"print", Print}, Row{"open", [] { QtFileChooser().chooseOpen(); }},
                      Row{"save", [] { QtFileChooser().chooseSave(); }},
                      Row{"import target", [] { QtFileChooser().chooseImportTarget(); }},
                      Row{"chart export", [] { QtFileChooser().chooseExport(ExportKind::Chart); }},
                      Row{"table export", [] { QtFileChooser().chooseExport(ExportKind::Table); }},
                      Row{"message",
                          [] { QtPrompter().show("x", "y", mb::OK | mb::ICONEXCLAMATION); }},
                      Row{"question", [] { QtPrompter().show("x", "y", mb::YESNO); }}),
    ByName());

// The save dialog of an import's log says what it is for.
TEST(ImportTargetDialog, IsTitledForTheImport) {
    QString title;
    WhenModal(nullptr, [&](QWidget* modal) { title = modal->windowTitle(), Close(modal); });
    QtFileChooser().chooseImportTarget();
    EXPECT_EQ(title.toStdString(), "記録の取り込み先");
}

} // namespace
