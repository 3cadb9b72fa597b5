#pragma once

#include "ui/graph/CalendarRange.h"

#include <QWidget>

class QPushButton;

namespace vorn {

class CommandBoundary;
class GraphController;

// The row of range buttons above the chart on a calendar, from a week to
// the whole log: Alt and the button's place in the row, or Ctrl and the
// same digit wherever the focus is in the window. Hidden when made.
class CalendarRangeRow : public QWidget {
public:
    static constexpr int kHeight = 28;
    static constexpr int kButtonWidth = 68;

    CalendarRangeRow(GraphController& controller, CommandBoundary& boundary, QWidget* window);

    // The checked button is the range's, and only that.
    void showRange(CalendarRange range);
    // At the top left of the chart's place.
    void placeAt(const QPoint& topLeft);

private:
    QPushButton* buttons_[kCalendarRanges.size()] = {};
};

} // namespace vorn
