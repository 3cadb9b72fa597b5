#include "platform/qt/QtPrompter.h"

#include "platform/qt/PlainText.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMessageBox>

namespace vorn {
namespace {

// A question is answered only by one of its buttons: neither Escape nor the
// frame's close box may stand for いいえ, which would drop the measurement
// on display without the user having chosen that. A box with OK alone keeps
// both as OK.
class Box : public QMessageBox {
public:
    Box(QWidget* parent, bool question) : QMessageBox(parent), question_(question) {
        // No close box, where the window manager follows the hints.
        if (question)
            setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (question_ && event->matches(QKeySequence::Cancel)) {
            event->accept();
            return;
        }
        QMessageBox::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent* event) override {
        if (question_ && !clickedButton()) {
            event->ignore();
            return;
        }
        QMessageBox::closeEvent(event);
    }

private:
    bool question_;
};

} // namespace

int QtPrompter::show(const std::string& text, const std::string& caption, unsigned flags) {
    const bool question = (flags & mb::BUTTONS_MASK) == mb::YESNO;
    Box box(QApplication::activeWindow(), question);
    box.setWindowTitle(PlainText(caption));
    // Messages quote what was typed or read: never markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(PlainText(text));
    switch (flags & mb::ICON_MASK) {
    case mb::ICONSTOP:
        box.setIcon(QMessageBox::Critical);
        break;
    case mb::ICONEXCLAMATION:
        box.setIcon(QMessageBox::Warning);
        break;
    case mb::ICONINFORMATION:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        box.setIcon(QMessageBox::NoIcon);
    }
    if (question) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton((flags & mb::DEFBUTTON_MASK) == mb::DEFBUTTON2 ? QMessageBox::No
                                                                            : QMessageBox::Yes);
        box.button(QMessageBox::Yes)->setText(QStringLiteral("はい(&Y)"));
        box.button(QMessageBox::No)->setText(QStringLiteral("いいえ(&N)"));
        return box.exec() == QMessageBox::Yes ? mb::IDYES : mb::IDNO;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return mb::IDOK;
}

} // namespace vorn
