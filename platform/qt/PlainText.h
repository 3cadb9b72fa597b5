#pragma once

// Text that comes from the user, a file or the settings is shown as it is,
// never read as markup: a tag in a target would otherwise be rendered, and
// an image tag naming a FIFO would block the program while it is opened.

#include <QObject>
#include <QString>
#include <string>

namespace vorn {

// UTF-8 text for a widget. Control characters other than line ends and tabs
// become their visible symbols (NUL is shown as U+2400), so that none cuts a
// message short or moves the text around.
QString PlainText(const std::string& utf8);

// Shows the tooltips of the widgets it is installed on as plain text. Qt
// guesses the format of a tooltip; this filter escapes it instead, while
// toolTip() itself, which screen readers read, keeps the bare text.
class PlainToolTips : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace vorn
