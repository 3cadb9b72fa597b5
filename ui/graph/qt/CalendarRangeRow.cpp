#include "ui/graph/qt/CalendarRangeRow.h"

#include "ui/CommandBoundary.h"
#include "ui/graph/GraphController.h"

#include <QButtonGroup>
#include <QPushButton>
#include <QShortcut>

namespace vorn {

CalendarRangeRow::CalendarRangeRow(GraphController& controller, CommandBoundary& boundary,
                                   QWidget* window)
    : QWidget(window) {
    setObjectName(QStringLiteral("Ranges"));
    auto* group = new QButtonGroup(this);
    group->setExclusive(true);
    for (std::size_t i = 0; i < kCalendarRanges.size(); ++i) {
        const CalendarRange range = kCalendarRanges[i];
        const QString name = QString::fromUtf8(CalendarRangeName(range));
        // Alt and the range's place in the row, 1 to 5.
        auto* button = new QPushButton(QStringLiteral("%1(&%2)").arg(name).arg(i + 1), this);
        button->setObjectName(QStringLiteral("Range_") +
                              QString::fromLatin1(CalendarRangeCode(range)));
        button->setAccessibleName(name);
        button->setCheckable(true);
        button->setAutoDefault(false);
        button->setGeometry(static_cast<int>(i) * kButtonWidth, 0, kButtonWidth, kHeight - 4);
        group->addButton(button);
        buttons_[i] = button;
        connect(button, &QPushButton::clicked, this, [&controller, &boundary, range] {
            boundary.run([&controller, range] { controller.RangeClick(range); });
        });
        // Ctrl and the same digit wherever the focus is in the window.
        auto* key =
            new QShortcut(QKeySequence(Qt::CTRL | (Qt::Key_1 + static_cast<int>(i))), window);
        connect(key, &QShortcut::activated, button, [button] {
            if (button->isVisible())
                button->click();
        });
    }
    hide();
}

void CalendarRangeRow::showRange(CalendarRange range) {
    for (std::size_t i = 0; i < kCalendarRanges.size(); ++i)
        buttons_[i]->setChecked(kCalendarRanges[i] == range);
}

void CalendarRangeRow::placeAt(const QPoint& topLeft) {
    setGeometry(topLeft.x(), topLeft.y(), kButtonWidth * static_cast<int>(kCalendarRanges.size()),
                kHeight);
}

} // namespace vorn
