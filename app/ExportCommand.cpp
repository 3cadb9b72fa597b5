#include "app/ExportCommand.h"

#include "core/Errors.h"
#include "log/DatedLog.h"
#include "log/HistoryCsv.h"
#include "log/LogError.h"
#include "log/LogReader.h"
#include "log/PosixFileSystem.h"
#include "platform/ExportFile.h"
#include "platform/IniSettingsStore.h"
#include "platform/PosixFile.h"
#include "platform/SystemClock.h"
#include "targets/TargetStore.h"
#include "targets/TargetTable.h"
#include "ui/graph/CalendarPlot.h"
#include "ui/graph/GraphPlot.h"
#include "ui/graph/StatsTable.h"
#include "ui/graph/TrendPlot.h"
#include "ui/graph/qt/ChartExport.h"
#include "ui/graph/qt/GraphChart.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace vorn {
namespace {

void Say(const std::string& text) {
    std::fprintf(stderr, "vorn: %s\n", text.c_str());
}

// The targets as the window reads them; a missing settings file stays
// missing. A file that cannot be read leaves them empty, as the window does.
TargetTable ReadTargets() {
    TargetTable targets;
    struct stat st {};
    if (::stat(IniSettingsStore::fileForKey(kTargetKey).c_str(), &st) != 0)
        return targets;
    try {
        IniSettingsStore store;
        LoadTargets(store, targets);
    } catch (const StoreError& e) {
        Say(e.what());
    }
    return targets;
}

bool WriteOut(const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        std::size_t n = 0;
        const IoStatus status =
            posix::WriteOnce(STDOUT_FILENO, bytes.data() + done, bytes.size() - done, n);
        if (!status.ok() || n == 0) {
            Say("標準出力に書き出せませんでした。\n理由: " +
                (status.ok() ? ErrnoReason(EIO, true) : status.reason));
            return false;
        }
        done += n;
    }
    return true;
}

} // namespace

void UseOffscreenWithoutDisplay() {
    auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value && *value;
    };
    if (!set("QT_QPA_PLATFORM") && !set("DISPLAY") && !set("WAYLAND_DISPLAY"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

int RunCsvExport(const CommandLineAnswer& a) {
    PosixFileSystem fs;
    WholeLog log;
    try {
        log = ReadWholeLog(fs, a.log);
    } catch (const LogError& e) {
        Say(e.what());
        return 1;
    }
    SystemClock clock;
    const std::string csv =
        HistoryCsv(log, clock.now(), a.trend ? std::optional<int>(a.quantity) : std::nullopt,
                   a.byteOrderMark ? ByteOrderMark::With : ByteOrderMark::Without);
    if (!WriteOut(csv))
        return 1;
    if (const std::string notice = ExportNotice(log); !notice.empty()) {
        Say(notice);
        return 1;
    }
    return 0;
}

int RunStatsExport(const CommandLineAnswer& a) {
    PosixFileSystem fs;
    SystemClock clock;
    DatedLog log;
    try {
        log = ReadDatedLog(fs, a.log, clock.now());
    } catch (const LogError& e) {
        Say(e.what());
        return 1;
    }
    if (!WriteOut(StatsTable::Of(log, a.quantity, a.period).csv()))
        return 1;
    if (const std::string notice = StatsNotice(log); !notice.empty()) {
        Say(notice);
        return 1;
    }
    return 0;
}

namespace {

// Writes the chart to --output at --size, or at the designed size whatever
// size the window was left at, so that a script gets the same picture from
// every user; then the notice of a log that stopped early.
int WritePaperChart(const CommandLineAnswer& a, GraphChart& paper, const LoadResult& result) {
    const QSizeF size =
        a.size ? QSizeF(a.size->first, a.size->second) / kPngDensity : QSizeF(kDesignedChartSize);
    std::string bytes;
    try {
        bytes = ChartBytes(paper, *ChartFormatOf(a.output), size);
    } catch (const UserError& e) {
        Say(e.what());
        return 1;
    }
    const IoStatus status = WriteExport(a.output, bytes);
    if (!status.ok()) {
        Say(ExportFailure(a.output, status));
        return 1;
    }
    if (const std::string notice = LoadNotice(result); !notice.empty()) {
        Say(notice);
        return result.stop == LoadResult::Stop::End ? 0 : 1;
    }
    return 0;
}

// The chart on a calendar of the whole log, read once; the notice of a log
// that stopped early on standard error.
int RunCalendarExport(const CommandLineAnswer& a) {
    PosixFileSystem fs;
    DatedLog log;
    try {
        log = ReadDatedLog(fs, a.log, SystemClock().now());
    } catch (const LogError& e) {
        Say(e.what());
        return 1;
    }
    const TargetTable targets = ReadTargets();
    GraphChart paper(GraphChart::Medium::Paper);
    paper.showPlot(CalendarPlotOf(log, a.quantity, targets[static_cast<std::size_t>(a.quantity)],
                                  a.trend, a.range.value_or(kFirstCalendarRange)),
                   false);
    return WritePaperChart(a, paper, log.result);
}

} // namespace

int RunGraphExport(const CommandLineAnswer& a) {
    if (a.calendar)
        return RunCalendarExport(a);
    PosixFileSystem fs;
    auto history = std::make_unique<HistoryTable>();
    LoadResult result;
    try {
        result = ReadHistory(fs, a.log, *history);
    } catch (const LogError& e) {
        Say(e.what());
        return 1;
    }
    const TargetTable targets = ReadTargets();
    GraphData data;
    data.grid.setRows(0, GridRowsOf(*history, result.records));
    data.rows = result.records + 1;
    data.dates = DateGridRecords(data.grid, data.rows, SystemClock().now());
    GraphChart paper(GraphChart::Medium::Paper);
    paper.showPlot(PlotOf(data, a.quantity, targets[static_cast<std::size_t>(a.quantity)], a.trend),
                   false);
    return WritePaperChart(a, paper, result);
}

} // namespace vorn
