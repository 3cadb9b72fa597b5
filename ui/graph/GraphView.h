#pragma once

#include "core/RecordDate.h"
#include "ui/graph/CalendarRange.h"
#include "ui/graph/ChartFormat.h"
#include "ui/graph/GraphPlot.h"
#include "ui/graph/GridTable.h"

#include <memory>
#include <optional>
#include <string>

namespace vorn {

class DatedTable;

// A record as the correction's dialog shows it and gives it back: the
// texts of its three typed values (an empty fat percentage: none) and its
// moment.
struct RecordCorrectionTexts {
    std::string height;
    std::string weight;
    std::string fat;
    RecordDate when;
    bool operator==(const RecordCorrectionTexts&) const = default;
};

// The lines of `Chart1`: the measured values, the target and the trend.
enum class GraphSeries { Series1, Series2, Series3 };

// What the graph window's controller does to its window. The controller
// holds the data; the window shows what it is given and hands nothing back.
class GraphView {
public:
    virtual ~GraphView() = default;

    // Draws this plot in place of the one before, in one go: its lines (no
    // points: no line), the target's legend entry while it has a target,
    // the trend's summary and legend entry while it has a summary.
    virtual void showPlot(const Plot& plot) = 0;
    // The check mark of the chart menu's trend item.
    virtual void setTrendChecked(bool checked) = 0;
    // The chart on a calendar (dates along its axis, the whole log) or
    // along the records: the menu's check mark and what goes with it.
    // Called whenever it changes, and once as the window is made.
    virtual void showCalendar(bool shown) = 0;
    // On a calendar: the range picked (its button checked) and the hours
    // from `fromHour` to `toHour` (HoursSinceEpoch) shown, the latest plot
    // kept as it is.
    virtual void showRange(CalendarRange range, long long fromHour, long long toHour) = 0;
    // Rows first to first + count - 1 of `grid` have new texts. The grid is
    // the controller's and outlives the window: the window may keep
    // reading it.
    virtual void showRows(const GridTable& grid, int first, int count) = 0;

    // The radio button of a quantity checked, without running its handler.
    virtual void setQuantityChecked(int quantity) = 0;

    // The client width and the outer height (frame included), never larger
    // than the screen; `unfolded`: the grid shares the height with the
    // chart, else the chart takes all of it and the grid lies below. Then
    // the window's top, in screen pixels.
    virtual void setWindowSize(int width, int outerHeight, bool unfolded) = 0;
    virtual int windowTop() const = 0;
    virtual void setWindowTop(int top) = 0;
    virtual int screenHeight() const = 0;

    // The chart as the window shows it, named and with a legend, as the
    // bytes of a file of that type.
    virtual std::string chartBytes(ChartFormat format) = 0;

    // Shows the window modally; returns when the user has closed it.
    virtual void showModal() = 0;

    // The table while the chart is on a calendar: every record of the whole
    // log, the newest in view. None: the grid, as when the calendar is off.
    virtual void showDatedTable(std::shared_ptr<const DatedTable> table) = 0;
    // The dialog of 選択した記録を修正, filled with `record`, no later than
    // `latest`; none when the user cancels.
    virtual std::optional<RecordCorrectionTexts> askCorrection(const RecordCorrectionTexts& record,
                                                               const RecordDate& latest) = 0;
};

} // namespace vorn
