#include "ui/graph/GraphController.h"

#include "core/Errors.h"
#include "core/Measurement.h"
#include "core/NumText.h"
#include "log/DatedLog.h"
#include "log/HistoryCsv.h"
#include "log/LogError.h"
#include "log/LogReader.h"
#include "log/RecordCut.h"
#include "log/RecordRemover.h"
#include "platform/Clock.h"
#include "platform/ExportFile.h"
#include "platform/FileChooser.h"
#include "platform/Prompter.h"
#include "platform/Settings.h"
#include "ui/graph/CalendarPlot.h"
#include "ui/graph/DatedTable.h"
#include "ui/graph/RemovalQuestion.h"
#include "ui/graph/TrendPlot.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <utility>
#include <vector>

namespace vorn {

GraphController::GraphController(GraphView& view, const TargetTable& targets, Services services)
    : view_(view), targets_(targets), s_(services) {}

void GraphController::FormCreate() {
    kept_ = LoadGraphWindowChoice(s_.settings);
    window_ = kept_;
    selected_ = window_.quantity;
    view_.setQuantityChecked(selected_);
    becomeCompactAndCentred();
    trendShown_ = Settings(s_.settings).get(kGraphTrend);
    view_.setTrendChecked(trendShown_);
    calendarShown_ = Settings(s_.settings).get(kGraphCalendar);
    view_.showCalendar(calendarShown_);
}

void GraphController::FormActivate() {
    becomeCompactAndCentred();
}

void GraphController::becomeCompactAndCentred() {
    expanded_ = false;
    view_.setWindowSize(window_.width, window_.height, false);
    view_.setWindowTop(view_.screenHeight() / 2 - window_.height / 2);
}

// The grid's designed room, and as much again as the chart has grown.
int GraphController::unfoldedHeight() const {
    return window_.height + (kExpandedHeight - kCompactHeight) + (window_.height - kCompactHeight);
}

void GraphController::FormResize(int width, int outerHeight) {
    // Unfolded, the chart has half the room above the grid's designed
    // height: the folded window is what unfoldedHeight() grows from.
    const int folded =
        expanded_ ? (outerHeight + 2 * kCompactHeight - kExpandedHeight + 1) / 2 : outerHeight;
    window_.width = std::clamp(width, kDesignedWidth, GraphWindowChoice::kLargestSide);
    window_.height = std::clamp(folded, kCompactHeight, GraphWindowChoice::kLargestSide);
}

void GraphController::keepChoices() {
    window_.quantity = selected_;
    try {
        SaveGraphWindowChoice(s_.settings, window_, kept_);
        kept_ = window_;
    } catch (const StoreError& e) {
        // A convenience, not the user's data: no box while the window
        // closes or the program ends. The file's trouble shows when the
        // targets are written.
        std::fprintf(stderr, "vorn: %s\n", e.what());
    }
}

void GraphController::PlotQuantity(int quantity, const std::string& targetText) {
    if (quantity < 0 || quantity >= kQuantityCount)
        throw std::out_of_range("PlotQuantity: no quantity " + std::to_string(quantity));
    const std::string target = targetText; // the caller's text may change under us
    data_.dates = DateGridRecords(data_.grid, data_.rows, s_.clock.now());
    plot_ = calendarShown_ ? calendarPlot(quantity, target)
                           : PlotOf(data_, quantity, target, trendShown_);
    plottedTarget_ = target;
    // The lines are replaced even by no points, so that the view fits its
    // axes to this plot and not to the one before.
    view_.showPlot(plot_);
    if (plot_.calendar)
        view_.showRange(range_, plot_.windowFrom, plot_.windowTo);
}

Plot GraphController::calendarPlot(int quantity, const std::string& target) {
    if (!dated_) {
        dated_.emplace();
        if (!logPath_.empty()) {
            try {
                *dated_ = ReadDatedLog(s_.fs, logPath_, s_.clock.now());
            } catch (const LogError& e) {
                // The calendar stays empty; the records along the grid are
                // still there with the choice off.
                s_.prompter.show(e.what(), "警告ﾍﾙﾌﾟ", mb::OK | mb::ICONEXCLAMATION);
            }
        }
    }
    return CalendarPlotOf(*dated_, quantity, target, trendShown_, range_);
}

void GraphController::RangeClick(CalendarRange range) {
    range_ = range;
    if (!plot_.calendar)
        return;
    const HourWindow window = PlotRangeWindow(plot_, range);
    plot_.windowFrom = window.from;
    plot_.windowTo = window.to;
    view_.showRange(range, window.from, window.to);
}

std::string GraphController::calendarRecordText(std::size_t record,
                                                const std::string& valueLine) const {
    const std::string& header = data_.grid.text(kGridDateColumn, 0);
    const std::optional<RecordDate>& date = dated_->dates[record];
    return (header.empty() ? "測定日" : header) + ' ' + (date ? RecordDateText(*date) : "") + '\n' +
           valueLine;
}

std::string GraphController::recordText(int record, const std::string& valueLine) const {
    const GridTable& grid = data_.grid;
    const int row = record + 1;
    std::string text;
    for (const int column : {0, kGridDateColumn}) {
        const std::string& header = grid.text(column, 0);
        const std::optional<RecordDate>& date = data_.dates[static_cast<std::size_t>(record)];
        const std::string cell =
            column == kGridDateColumn && date ? RecordDateText(*date) : grid.text(column, row);
        text += header.empty() ? cell : header + ' ' + cell;
        text += '\n';
    }
    return text + valueLine;
}

std::string GraphController::PointText(int point) const {
    if (point < 0 || static_cast<std::size_t>(point) >= plot_.measured.size())
        return {};
    const int column = GridColumnOf(plot_.quantity);
    const std::string& header = data_.grid.text(column, 0);
    if (plot_.calendar) {
        const std::string value = FloatToStrF(plot_.measured[static_cast<std::size_t>(point)].y,
                                              Facts(plot_.quantity).precision, 2);
        return calendarRecordText(plot_.records[static_cast<std::size_t>(point)],
                                  (header.empty() ? QuantityTitle(plot_.quantity) : header) + ' ' +
                                      value);
    }
    const std::string& cell = data_.grid.text(column, point + 1);
    return recordText(point, header.empty() ? cell : header + ' ' + cell);
}

std::string GraphController::TrendPointText(int record) const {
    const auto& trend = plot_.trendValues;
    if (record < 0 || static_cast<std::size_t>(record) >= trend.size() ||
        !trend[static_cast<std::size_t>(record)])
        return {};
    const std::string value =
        FloatToStrF(*trend[static_cast<std::size_t>(record)], Facts(plot_.quantity).precision, 2);
    const std::string& header = data_.grid.text(GridColumnOf(plot_.quantity), 0);
    const std::string line = (header.empty() ? "傾向 " : header + "の傾向 ") + value;
    return plot_.calendar ? calendarRecordText(static_cast<std::size_t>(record), line)
                          : recordText(record, line);
}

void GraphController::TrendLineClick() {
    trendShown_ = !trendShown_;
    view_.setTrendChecked(trendShown_);
    PlotQuantity(plot_.quantity, plottedTarget_);
    try {
        Settings(s_.settings).set(kGraphTrend, trendShown_);
    } catch (const StoreError& e) {
        // The trend stays as the user asked for this run.
        s_.prompter.show(e.what(), "警告ﾍﾙﾌﾟ", mb::OK | mb::ICONEXCLAMATION);
    }
}

void GraphController::CalendarClick() {
    calendarShown_ = !calendarShown_;
    range_ = kFirstCalendarRange;
    view_.showCalendar(calendarShown_);
    PlotQuantity(plot_.quantity, plottedTarget_);
    showDatedTable();
    try {
        Settings(s_.settings).set(kGraphCalendar, calendarShown_);
    } catch (const StoreError& e) {
        s_.prompter.show(e.what(), "警告ﾍﾙﾌﾟ", mb::OK | mb::ICONEXCLAMATION);
    }
}

namespace {

void Warn(Prompter& prompter, const std::string& text) {
    prompter.show(text, "警告ﾍﾙﾌﾟ", mb::OK | mb::ICONEXCLAMATION);
}

} // namespace

void GraphController::SaveChartClick() {
    const auto path = s_.files.chooseExport(ExportKind::Chart);
    if (!path)
        return;
    const std::optional<ChartFormat> format = ChartFormatOf(*path);
    if (!format) {
        Warn(s_.prompter, kChartFormatHint);
        return;
    }
    if (const IoStatus status = WriteExport(*path, view_.chartBytes(*format)); !status.ok())
        Warn(s_.prompter, ExportFailure(*path, status));
}

void GraphController::SaveTableClick() {
    const auto path = s_.files.chooseExport(ExportKind::Table);
    if (!path)
        return;
    WholeLog log;
    try {
        log = ReadWholeLog(s_.fs, logPath_);
    } catch (const LogError& e) {
        Warn(s_.prompter, e.what());
        return;
    }
    const std::string csv = HistoryCsv(
        log, s_.clock.now(), trendShown_ ? std::optional<int>(plot_.quantity) : std::nullopt,
        ByteOrderMark::With);
    if (const IoStatus status = WriteExport(*path, csv); !status.ok()) {
        Warn(s_.prompter, ExportFailure(*path, status));
        return;
    }
    if (const std::string notice = ExportNotice(log); !notice.empty())
        s_.prompter.show(notice, "注意ﾍﾙﾌﾟ", mb::OK | mb::ICONEXCLAMATION);
}

std::shared_ptr<const DatedLog> GraphController::StatsClick() {
    if (!historyShown_) {
        Warn(s_.prompter, "集計する記録ファイルが読み込まれていません。");
        return nullptr;
    }
    std::shared_ptr<DatedLog> log;
    try {
        log = std::make_shared<DatedLog>(ReadDatedLog(s_.fs, logPath_, s_.clock.now()));
    } catch (const LogError& e) {
        Warn(s_.prompter, e.what());
        return nullptr;
    }
    if (const std::string notice = StatsNotice(*log); !notice.empty())
        s_.prompter.show(notice, "注意ﾍﾙﾌﾟ", mb::OK | mb::ICONEXCLAMATION);
    return log;
}

void GraphController::ShowLog(const std::string& path, const HistoryTable& history,
                              const LoadResult& result) {
    logPath_ = path;
    history_ = history;
    historyShown_ = true;
    skipped_ = result.skipped;
    dated_.reset();
    fillGrid(result.records, false);
    PlotQuantity(selected_, targets_[static_cast<size_t>(selected_)]);
    showDatedTable();
}

void GraphController::showDatedTable() {
    std::shared_ptr<const DatedTable> table;
    if (calendarShown_ && historyShown_) {
        try {
            table = std::make_shared<DatedTable>(ReadDatedLog(s_.fs, logPath_, s_.clock.now()));
        } catch (const LogError& e) {
            Warn(s_.prompter, e.what());
        }
    }
    datedTable_ = table;
    view_.showDatedTable(std::move(table));
}

void GraphController::fillGrid(int records, bool emptyFreed) {
    const int before = data_.rows;
    // The headers and the records go to the grid in one go; rows past the
    // last record keep what they held.
    setRows(0, GridRowsOf(history_, records));
    setHistoryRowCount(records + 1);
    // Rows freed by a removal are emptied: left as they were, the last of
    // them would still show a record that the log no longer holds.
    if (emptyFreed && data_.rows < before)
        setRows(data_.rows, std::vector<GridRow>(static_cast<std::size_t>(before - data_.rows)));
}

std::vector<int> GraphController::recordRows(std::vector<int> rows) const {
    std::erase_if(rows, [this](int row) { return row < 1 || row >= data_.rows; });
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

bool GraphController::CanRemoveRows(const std::vector<int>& rows) const {
    return historyShown_ && !recordRows(rows).empty();
}

void GraphController::RemoveRowsClick(const std::vector<int>& rows) {
    const std::vector<int> records = recordRows(rows);
    if (!historyShown_ || records.empty())
        return;
    const std::string question =
        RemovalQuestion(data_.grid, data_.dates, records, plot_.quantity, logPath_ + "~");
    // The records as read, so that a log changed since is refused.
    std::vector<KnownRecord> known;
    known.reserve(records.size());
    for (const int row : records)
        known.push_back(HistoryRecord(history_, skipped_, row));
    removeKnown(question, known);
}

void GraphController::removeKnown(const std::string& question,
                                  const std::vector<KnownRecord>& known) {
    if (s_.prompter.show(question, "削除ﾍﾙﾌﾟ", mb::YESNO | mb::ICONINFORMATION | mb::DEFBUTTON2) !=
        mb::IDYES)
        return;
    rewriteAndShow([&] { RemoveRecords(s_.fs, logPath_, known); });
}

void GraphController::rewriteAndShow(const std::function<void()>& rewrite) {
    try {
        rewrite();
    } catch (const LogError& e) {
        std::string message = e.what();
        if (showLogIfChanged())
            message += "\n一覧表とグラフを記録ファイルの今の内容で表示し直しました。";
        Warn(s_.prompter, message);
        return;
    }
    std::string notice;
    try {
        notice = showLogRead(ReadHistory(s_.fs, logPath_, history_));
    } catch (const LogError& e) {
        Warn(s_.prompter, e.what());
        return;
    }
    if (!notice.empty())
        s_.prompter.show(notice, "注意ﾍﾙﾌﾟ", mb::OK | mb::ICONEXCLAMATION);
}

namespace {

// The records of `records` that the table holds, ascending, each once.
std::vector<long long> TableRecords(std::vector<long long> records, const DatedTable* table) {
    const auto count = static_cast<long long>(table ? table->rowCount() : 0);
    std::erase_if(records, [count](long long r) { return r < 0 || r >= count; });
    std::sort(records.begin(), records.end());
    records.erase(std::unique(records.begin(), records.end()), records.end());
    return records;
}

} // namespace

bool GraphController::CanRemoveRecords(const std::vector<long long>& records) const {
    return historyShown_ && !TableRecords(records, datedTable_.get()).empty();
}

void GraphController::RemoveRecordsClick(std::vector<long long> records) {
    records = TableRecords(std::move(records), datedTable_.get());
    if (!historyShown_ || records.empty())
        return;
    const std::shared_ptr<const DatedTable> table = datedTable_;
    const RecordCells cell = [&](int column, long long k) {
        return k < 0 ? DatedTable::header(column)
                     : table->text(static_cast<std::size_t>(records[static_cast<std::size_t>(k)]),
                                   column);
    };
    const std::string question = RemovalQuestion(static_cast<long long>(records.size()), cell,
                                                 plot_.quantity, logPath_ + "~");
    std::vector<KnownRecord> known;
    known.reserve(records.size());
    for (const long long r : records)
        known.push_back(table->known(static_cast<std::size_t>(r)));
    removeKnown(question, known);
}

std::optional<PlotPoint> GraphController::DatedRecordPoint(long long record) const {
    if (!datedTable_ || record < 0 || static_cast<std::size_t>(record) >= datedTable_->rowCount())
        return std::nullopt;
    const DatedLog& log = datedTable_->log();
    const auto k = static_cast<std::size_t>(record);
    const auto& date = log.dates[k];
    if (!date || (Facts(plot_.quantity).fatField && log.savedWithoutFatPercentage[k]))
        return std::nullopt;
    return PlotPoint{static_cast<double>(HoursSinceEpoch(*date)),
                     log.records[k][static_cast<std::size_t>(plot_.quantity) + 1]};
}

bool GraphController::showLogIfChanged() {
    auto now = std::make_unique<HistoryTable>();
    LoadResult result;
    try {
        result = ReadHistory(s_.fs, logPath_, *now);
    } catch (const LogError&) {
        return false; // the grid stays as it was
    }
    const int records = data_.rows - 1;
    bool same = result.records == records && result.skipped == skipped_;
    for (int c = 0; same && c < HistoryTable::kColumns; ++c)
        for (int k = 1; same && k <= records; ++k)
            same = now->at(c, k) == history_.at(c, k);
    if (same)
        return false;
    history_ = *now;
    showLogRead(result);
    return true;
}

std::string GraphController::showLogRead(const LoadResult& result) {
    skipped_ = result.skipped;
    dated_.reset();
    fillGrid(result.records, true);
    PlotQuantity(selected_, targets_[static_cast<size_t>(selected_)]);
    showDatedTable();
    return LoadNotice(result);
}

void GraphController::selectQuantity(int quantity) {
    selected_ = quantity;
    PlotQuantity(quantity, targets_[static_cast<size_t>(quantity)]);
}

void GraphController::RadioButton1Click() {
    selectQuantity(QuantityOfRadioButton(1));
}
void GraphController::RadioButton2Click() {
    selectQuantity(QuantityOfRadioButton(2));
}
void GraphController::RadioButton3Click() {
    selectQuantity(QuantityOfRadioButton(3));
}
void GraphController::RadioButton4Click() {
    selectQuantity(QuantityOfRadioButton(4));
}
void GraphController::RadioButton5Click() {
    selectQuantity(QuantityOfRadioButton(5));
}
void GraphController::RadioButton6Click() {
    selectQuantity(QuantityOfRadioButton(6));
}
void GraphController::RadioButton7Click() {
    selectQuantity(QuantityOfRadioButton(7));
}
void GraphController::RadioButton8Click() {
    selectQuantity(QuantityOfRadioButton(8));
}
void GraphController::RadioButton9Click() {
    selectQuantity(QuantityOfRadioButton(9));
}

void GraphController::Button1Click() {
    const int shift = view_.screenHeight() / 6;
    const int top = view_.windowTop();
    if (!expanded_) {
        expanded_ = true;
        view_.setWindowSize(window_.width, unfoldedHeight(), true);
        view_.setWindowTop(top - shift);
    } else {
        expanded_ = false;
        view_.setWindowSize(window_.width, window_.height, false);
        view_.setWindowTop(top + shift);
    }
}

void GraphController::setHistoryRowCount(int rows) {
    GridTable::CheckRows(0, rows);
    data_.rows = rows;
}

void GraphController::setRows(int first, std::vector<GridRow> rows) {
    const int count = static_cast<int>(rows.size());
    data_.grid.setRows(first, std::move(rows));
    view_.showRows(data_.grid, first, count);
}

void GraphController::showModal() {
    view_.showModal();
    keepChoices();
}

} // namespace vorn
