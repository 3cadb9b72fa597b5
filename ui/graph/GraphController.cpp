#include "ui/graph/GraphController.h"

#include "core/Errors.h"
#include "core/Measurement.h"
#include "core/NumText.h"
#include "log/HistoryCsv.h"
#include "log/LogError.h"
#include "log/LogReader.h"
#include "log/RecordRemover.h"
#include "platform/Clock.h"
#include "platform/ExportFile.h"
#include "platform/FileChooser.h"
#include "platform/Prompter.h"
#include "platform/Settings.h"
#include "ui/graph/RemovalQuestion.h"
#include "ui/graph/TrendPlot.h"

#include <algorithm>
#include <cstdio>
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
    const bool withTarget = !target.empty();
    view_.setTargetLegendVisible(withTarget);

    // A text that is not a number, or one too large for a double, has no
    // value: the row then plots as 0.
    const std::optional<double> targetValue =
        withTarget ? StrToDouble(target) : std::optional<double>(0.0);
    const GridTable& grid = view_.grid();
    const int column = GridColumnOf(quantity);
    std::vector<PlotPoint> measured;
    std::vector<PlotPoint> targetLine;
    measured.reserve(static_cast<std::size_t>(std::max(rows_ - 1, 0)));
    if (withTarget)
        targetLine.reserve(measured.capacity());
    for (int row = 1; row < rows_; ++row) {
        const std::optional<double> value = grid.value(column, row);
        double y = 0;
        double t = 0;
        // One failed conversion, of the cell or of the target, drops both
        // lines to 0 at this row.
        if (value && targetValue) {
            y = *value;
            t = *targetValue;
        }
        const double x = static_cast<double>(measured.size());
        measured.push_back({x, y});
        if (withTarget)
            targetLine.push_back({x, t});
    }
    dates_ = DateGridRecords(grid, rows_, s_.clock.now());
    std::vector<PlotPoint> trendLine;
    std::optional<std::string> summary;
    trend_.clear();
    if (trendShown_) {
        // The forecast aims at the target the target line draws.
        const std::optional<double> goal = withTarget ? targetValue : std::nullopt;
        TrendPlot trend = PlotTrend(grid, rows_, quantity, dates_, goal);
        trendLine = std::move(trend.line);
        summary = std::move(trend.summary);
        trend_ = std::move(trend.trend.values);
    }
    // The lines are replaced even by no points, so that the view fits its
    // axes to this plot and not to the one before.
    view_.setPlot(measured, targetLine, trendLine);
    view_.setTrendSummary(summary);
    plotted_ = quantity;
    plottedTarget_ = target;
    plottedPoints_ = static_cast<int>(measured.size());
}

std::string GraphController::recordText(int record, const std::string& valueLine) const {
    const GridTable& grid = view_.grid();
    const int row = record + 1;
    std::string text;
    for (const int column : {0, kGridDateColumn}) {
        const std::string& header = grid.text(column, 0);
        const std::optional<RecordDate>& date = dates_[static_cast<std::size_t>(record)];
        const std::string cell =
            column == kGridDateColumn && date ? RecordDateText(*date) : grid.text(column, row);
        text += header.empty() ? cell : header + ' ' + cell;
        text += '\n';
    }
    return text + valueLine;
}

std::string GraphController::PointText(int point) const {
    if (point < 0 || point >= plottedPoints_)
        return {};
    const int column = GridColumnOf(plotted_);
    const std::string& header = view_.grid().text(column, 0);
    const std::string& cell = view_.grid().text(column, point + 1);
    return recordText(point, header.empty() ? cell : header + ' ' + cell);
}

std::string GraphController::TrendPointText(int record) const {
    if (record < 0 || static_cast<std::size_t>(record) >= trend_.size() ||
        !trend_[static_cast<std::size_t>(record)])
        return {};
    const std::string value =
        FloatToStrF(*trend_[static_cast<std::size_t>(record)], Facts(plotted_).precision, 2);
    const std::string& header = view_.grid().text(GridColumnOf(plotted_), 0);
    return recordText(record, (header.empty() ? "傾向 " : header + "の傾向 ") + value);
}

void GraphController::TrendLineClick() {
    trendShown_ = !trendShown_;
    view_.setTrendChecked(trendShown_);
    PlotQuantity(plotted_, plottedTarget_);
    try {
        Settings(s_.settings).set(kGraphTrend, trendShown_);
    } catch (const StoreError& e) {
        // The trend stays as the user asked for this run.
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
    const std::string csv = HistoryCsv(log.records, s_.clock.now(),
                                       trendShown_ ? std::optional<int>(plotted_) : std::nullopt);
    if (const IoStatus status = WriteExport(*path, csv); !status.ok()) {
        Warn(s_.prompter, ExportFailure(*path, status));
        return;
    }
    if (const std::string notice = ExportNotice(log); !notice.empty())
        s_.prompter.show(notice, "注意ﾍﾙﾌﾟ", mb::OK | mb::ICONEXCLAMATION);
}

void GraphController::ShowLog(const std::string& path, HistoryTable& history,
                              const LoadResult& result) {
    logPath_ = path;
    history_ = &history;
    skipped_ = result.skipped;
    // The headers and the records go to the grid in one go; rows past the
    // last record keep what they held.
    setRows(0, GridRowsOf(history, result.records));
    setHistoryRowCount(result.records + 1);
    PlotQuantity(selected_, targets_[static_cast<size_t>(selected_)]);
}

std::vector<int> GraphController::recordRows(std::vector<int> rows) const {
    std::erase_if(rows, [this](int row) { return row < 1 || row >= rows_; });
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

bool GraphController::CanRemoveRows(const std::vector<int>& rows) const {
    return history_ && !recordRows(rows).empty();
}

void GraphController::RemoveRowsClick(const std::vector<int>& rows) {
    const std::vector<int> records = recordRows(rows);
    if (!history_ || records.empty())
        return;
    const std::string question =
        RemovalQuestion(view_.grid(), dates_, records, plotted_, logPath_ + "~");
    if (s_.prompter.show(question, "削除ﾍﾙﾌﾟ", mb::YESNO | mb::ICONINFORMATION | mb::DEFBUTTON2) !=
        mb::IDYES)
        return;
    // The records as read, so that a log changed since is refused.
    std::vector<KnownRecord> known;
    known.reserve(records.size());
    for (const int row : records)
        known.push_back(HistoryRecord(*history_, skipped_, row));
    try {
        RemoveRecords(s_.fs, logPath_, known);
    } catch (const LogError& e) {
        std::string message = e.what();
        if (showLogIfChanged())
            message += "\n一覧表とグラフを記録ファイルの今の内容で表示し直しました。";
        Warn(s_.prompter, message);
        return;
    }
    std::string notice;
    try {
        notice = showLogRead(ReadHistory(s_.fs, logPath_, *history_));
    } catch (const LogError& e) {
        Warn(s_.prompter, e.what());
        return;
    }
    if (!notice.empty())
        s_.prompter.show(notice, "注意ﾍﾙﾌﾟ", mb::OK | mb::ICONEXCLAMATION);
}

bool GraphController::showLogIfChanged() {
    auto now = std::make_unique<HistoryTable>();
    LoadResult result;
    try {
        result = ReadHistory(s_.fs, logPath_, *now);
    } catch (const LogError&) {
        return false; // the grid stays as it was
    }
    const int records = rows_ - 1;
    bool same = result.records == records && result.skipped == skipped_;
    for (int c = 0; same && c < HistoryTable::kColumns; ++c)
        for (int k = 1; same && k <= records; ++k)
            same = now->at(c, k) == history_->at(c, k);
    if (same)
        return false;
    *history_ = *now;
    showLogRead(result);
    return true;
}

std::string GraphController::showLogRead(const LoadResult& result) {
    const int before = rows_;
    ShowLog(logPath_, *history_, result);
    // Rows freed by the removal are emptied: left as they were, the last
    // of them would still show a record that the log no longer holds.
    if (rows_ < before)
        setRows(rows_, std::vector<GridRow>(static_cast<std::size_t>(before - rows_)));
    return LoadNotice(result);
}

void GraphController::select(int quantity) {
    selected_ = quantity;
    PlotQuantity(quantity, targets_[static_cast<size_t>(quantity)]);
}

void GraphController::RadioButton1Click() {
    select(QuantityOfRadioButton(1));
}
void GraphController::RadioButton2Click() {
    select(QuantityOfRadioButton(2));
}
void GraphController::RadioButton3Click() {
    select(QuantityOfRadioButton(3));
}
void GraphController::RadioButton4Click() {
    select(QuantityOfRadioButton(4));
}
void GraphController::RadioButton5Click() {
    select(QuantityOfRadioButton(5));
}
void GraphController::RadioButton6Click() {
    select(QuantityOfRadioButton(6));
}
void GraphController::RadioButton7Click() {
    select(QuantityOfRadioButton(7));
}
void GraphController::RadioButton8Click() {
    select(QuantityOfRadioButton(8));
}
void GraphController::RadioButton9Click() {
    select(QuantityOfRadioButton(9));
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
    rows_ = rows;
}

void GraphController::setRows(int first, std::vector<GridRow> rows) {
    view_.setRows(first, std::move(rows));
}

void GraphController::showModal() {
    view_.showModal();
    keepChoices();
}

} // namespace vorn
