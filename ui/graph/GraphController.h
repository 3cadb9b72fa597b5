#pragma once

#include "log/DatedLog.h"
#include "log/HistoryTable.h"
#include "targets/TargetTable.h"
#include "ui/graph/GraphPlot.h"
#include "ui/graph/GraphView.h"
#include "ui/graph/WindowChoice.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vorn {

class Clock;
class FileChooser;
class LogFileSystem;
class Prompter;
class SettingsStore;
class DatedTable;
struct DatedLog;
struct KnownRecord;
struct LoadResult;

// The behaviour of the graph window: plotting one quantity of the history
// grid against its target and, when the user asks for it, its trend; the
// quantity buttons, the chart's menu, and folding the grid away. It holds
// the loaded records (the grid's texts and values, the history they came
// from) and the latest plot; the window is shown them.
class GraphController {
public:
    struct Services {
        Clock& clock;            // "now", from which the records' years follow
        SettingsStore& settings; // where the trend and the window are kept
        Prompter& prompter;
        FileChooser& files; // the exports' save dialogs
        LogFileSystem& fs;  // the log, read again whole for the table
    };

    // Outer window heights (frame included) of the folded and unfolded window
    // in their designed size, and its client width.
    static constexpr int kCompactHeight = GraphWindowChoice::kDesignedHeight;
    static constexpr int kExpandedHeight = 517;
    static constexpr int kDesignedWidth = GraphWindowChoice::kDesignedWidth;

    GraphController(GraphView& view, const TargetTable& targets, Services services);

    // Also takes up the trend, the quantity and the size kept from an
    // earlier run.
    void FormCreate();
    void FormActivate();
    // The user made the window this size (client width, outer height), by
    // its edge or by maximising it.
    void FormResize(int width, int outerHeight);
    // Writes the quantity and the size back where they changed since they
    // were read or last written; a failure is told on standard error.
    void keepChoices();
    // The size of the folded window, as it opens next.
    int windowWidth() const { return window_.width; }
    int foldedHeight() const { return window_.height; }

    // Plots the values of grid column GridColumnOf(quantity), rows 1 to
    // historyRowCount() - 1, against targetText, with their trend while it
    // is shown. Raises std::out_of_range for a quantity outside 0..8.
    void PlotQuantity(int quantity, const std::string& targetText);

    // The record at point `point` of the measured line of the latest plot,
    // one line each: its number and its value as the grid shows them, and
    // its date as a person reads it ("2026/12/06 7時"), each after its column
    // header; the grid's stamp where the record has no date. Empty when the
    // plot has no such point.
    std::string PointText(int point) const;
    // The same for the trend line's point at record `record`, its value the
    // trend's. Empty when the trend is not shown or took no step there.
    std::string TrendPointText(int record) const;

    // The chart menu's 傾向線を表示: shows the trend or hides it, and keeps
    // the choice for the next run.
    void TrendLineClick();
    bool trendShown() const { return trendShown_; }

    // The chart menu's 日付で表示: the chart on a calendar or along the
    // records, the choice kept for the next run.
    void CalendarClick();
    bool calendarShown() const { return calendarShown_; }
    // On a calendar: shows `range` back from the latest record. Each
    // showing of the calendar starts with kFirstCalendarRange.
    void RangeClick(CalendarRange range);
    CalendarRange calendarRange() const { return range_; }

    // The chart menu's exports: each asks for a file name, writes the file
    // whole, and says why when it could not. The chart goes as the window
    // draws it, in the type its extension names; the table (CSV) holds
    // every record of the log the grid was loaded from, and the trend of
    // the plotted quantity while the trend is shown.
    void SaveChartClick();
    void SaveTableClick();
    // The chart menu's 期間ごとの集計: the log shown, read again whole and
    // dated at the clock's now, for the statistics of the quantity plotted
    // (plottedQuantity). None when no log is shown or it cannot be read,
    // which the user is told; a log that stops early is told too, and its
    // records before the stop are counted.
    std::shared_ptr<const DatedLog> StatsClick();
    int plottedQuantity() const { return plot_.quantity; }
    bool logShown() const { return historyShown_; }
    // The log that the grid shows.
    void setLogPath(const std::string& path) { logPath_ = path; }
    // The log at `path`, just read into `history` by ReadHistory with
    // `result`: its records go to the grid, and the selected quantity is
    // plotted. The grid's records may then be removed from the log.
    void ShowLog(const std::string& path, const HistoryTable& history, const LoadResult& result);

    // The table menu's 選択した記録を削除: whether it can act on grid rows
    // `rows`, that is whether a log is shown and one of them holds a record.
    bool CanRemoveRows(const std::vector<int>& rows) const;
    // Asks, naming the records of those rows (No by default), then removes
    // them from the log (RemoveRecords) and shows the log again as ShowLog
    // does. A removal that fails says why and changes nothing.
    void RemoveRowsClick(const std::vector<int>& rows);

    // The same for records of the table shown while the chart is on a
    // calendar, each named by its place in the whole log (from 0).
    bool CanRemoveRecords(const std::vector<long long>& records) const;
    void RemoveRecordsClick(std::vector<long long> records);
    // Where the chart on a calendar draws that record of the plotted
    // quantity: at its date and value; none for a record it leaves out.
    std::optional<PlotPoint> DatedRecordPoint(long long record) const;

    // The table menu's 選択した記録を修正: whether it can act on grid rows
    // `rows` (or records of the table of the whole log): one record chosen.
    bool CanCorrectRows(const std::vector<int>& rows) const;
    bool CanCorrectRecords(const std::vector<long long>& records) const;
    // Asks for the record's height, weight, fat percentage and moment, then
    // writes it, derived again as the main window saves typed values, at
    // its place in time in one rewrite of the log (CorrectRecord), and
    // shows the log again. A value the main window would refuse, or a
    // rewrite that fails, says why and leaves the log as it was.
    void CorrectRowClick(int row);
    void CorrectRecordClick(long long record);

    // Selects the quantity and plots it against its target.
    void selectQuantity(int quantity);
    // Each selects the quantity of its button.
    void RadioButton1Click();
    void RadioButton2Click();
    void RadioButton3Click();
    void RadioButton4Click();
    void RadioButton5Click();
    void RadioButton6Click();
    void RadioButton7Click();
    void RadioButton8Click();
    void RadioButton9Click();

    // All data: unfolds the grid (the window grows upwards) or folds it away.
    // Unfolded, the grid takes as much more room as the user gave the chart.
    void Button1Click();

    int selectedQuantity() const { return selected_; }
    // The rows of the grid in use, its header included: one more than the
    // number of records of the latest load. Raises std::out_of_range for a
    // count outside 0..kGridRows, so that a plot never reads past the grid.
    int historyRowCount() const { return data_.rows; }
    void setHistoryRowCount(int rows);
    // Writes rows first, first + 1, ... of the grid in one go; the other rows
    // keep their texts. Raises std::out_of_range for rows outside the grid.
    void setRows(int first, std::vector<GridRow> rows);
    const GridTable& grid() const { return data_.grid; }
    // Shows the window until the user closes it, then keeps its choices.
    void showModal();

private:
    void becomeCompactAndCentred();
    int unfoldedHeight() const;
    // The rows of `rows` that hold a record, ascending, each once.
    std::vector<int> recordRows(std::vector<int> rows) const;
    std::string recordText(int record, const std::string& valueLine) const;
    // The same for record `record` of the whole log, on a calendar.
    std::string calendarRecordText(std::size_t record, const std::string& valueLine) const;
    // The plot of the latest load on a calendar, the whole log read once.
    Plot calendarPlot(int quantity, const std::string& target);
    // The history's first `records` records in the grid, the rows past them
    // kept or, with `emptyFreed`, emptied where an earlier load filled them.
    void fillGrid(int records, bool emptyFreed);
    // The log as `result` read it into the history, in the grid and the
    // plot; returns the notice of the load, if any.
    std::string showLogRead(const LoadResult& result);
    // After a removal that failed: shows the log again when it no longer
    // holds the records the grid shows, so that the user chooses again from
    // what it holds (the selection is kept otherwise); true when it did.
    bool showLogIfChanged();
    // Asks `question`; on Yes removes the records and shows the log again.
    void removeKnown(const std::string& question, const std::vector<KnownRecord>& known);
    // Runs a rewrite of the log, then shows the log again; a rewrite that
    // fails says why, and shows the log as it is when it changed meanwhile.
    void rewriteAndShow(const std::function<void()>& rewrite);
    // Asks for the corrected record (as read: `known`) and rewrites the log
    // with it.
    void correct(const KnownRecord& known);
    // The whole log in the table while the calendar is on, else the grid.
    void showDatedTable();

    GraphView& view_;
    const TargetTable& targets_;
    Services s_;
    bool trendShown_ = false;
    bool calendarShown_ = false;
    CalendarRange range_ = kFirstCalendarRange;
    // The whole log dated, read for the calendar once per load of the log.
    std::optional<DatedLog> dated_;
    std::string logPath_;
    // The records as the grid shows them, and the history the grid was last
    // filled from by ShowLog with the number of older records that load
    // left out (no history before).
    GraphData data_;
    HistoryTable history_{};
    std::shared_ptr<const DatedTable> datedTable_;
    bool historyShown_ = false;
    long long skipped_ = 0;
    int selected_ = 0;
    bool expanded_ = false;
    // The quantity and size now, and as the store holds them.
    GraphWindowChoice window_;
    GraphWindowChoice kept_;
    // The latest plot and the target text it was made with.
    Plot plot_;
    std::string plottedTarget_;
};

} // namespace vorn
