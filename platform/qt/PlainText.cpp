#include "platform/qt/PlainText.h"

#include <QHelpEvent>
#include <QTextDocument>
#include <QToolTip>
#include <QWidget>

namespace vorn {

QString PlainText(const std::string& utf8) {
    QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    for (QChar& c : text) {
        const char16_t u = c.unicode();
        if ((u < 0x20 && u != '\n' && u != '\t') || u == 0x7f)
            c = QChar(u == 0x7f ? char16_t(0x2421) : char16_t(0x2400 + u));
    }
    return text;
}

bool PlainToolTips::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ToolTip)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget)
        return false;
    const QString tip = widget->toolTip();
    const auto* help = static_cast<QHelpEvent*>(event);
    if (tip.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), Qt::convertFromPlainText(tip, Qt::WhiteSpaceNormal),
                           widget, {}, widget->toolTipDuration());
    return true;
}

} // namespace vorn
