#include "platform/qt/QtPrompter.h"

#include "platform/qt/PlainText.h"

#include <QApplication>
#include <QMessageBox>

namespace vorn {

int QtPrompter::show(const std::string& text, const std::string& caption, unsigned flags) {
    QMessageBox box(QApplication::activeWindow());
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
    if ((flags & mb::BUTTONS_MASK) == mb::YESNO) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? mb::IDYES : mb::IDNO;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return mb::IDOK;
}

} // namespace vorn
