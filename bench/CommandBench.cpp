// The commands the user waits for, on the real windows (offscreen platform):
// the measure command, one save with its fsync, and the graph command's
// LoadHistory of 10, 100, 500 and 999 records, and of 999 with the trend;
// the chart saved as PNG; a range change and a zoom step of the chart on a
// calendar of 100,000 records. Wall-clock time
// throughout: a save spends most of its time waiting for the disk.

#include "app/Program.h"
#include "core/RecordDate.h"
#include "log/HistoryTable.h"
#include "log/LogReader.h"
#include "log/LogRecord.h"
#include "log/LogWriter.h"
#include "log/PosixFileSystem.h"
#include "resources/Icons.h"
#include "support/fakes/FakeSeams.h"
#include "support/fakes/WorkedExample.h"
#include "ui/graph/qt/TFGrah.h"
#include "ui/main/TFVorn.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QEvent>
#include <QLineEdit>
#include <QTimer>
#include <QWheelEvent>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>

using namespace vorn;

namespace {

// The folder the benchmarks write into: made in the working directory, so
// that the save's fsync reaches the disk that folder is on.
std::string g_workDir;

// The program's three windows over quiet seams, the main window shown.
// Every box is answered with OK at once (the user's reading time is not
// ours); targets for height and weight, so that the plot draws both of its
// lines.
struct Bench {
    test::FakePrompter prompter;
    test::FixedClock clock{LocalTime{2026, 8, 30, 20, 15}};
    test::FakeHelpViewer help;
    test::MemorySettingsStore settings{{{"TGT", {{"VAL1", "170"}, {"VAL2", "60"}}}}};
    test::FakeFileChooser files;
    PosixFileSystem fs;
    Program program{MainController::Services{prompter, clock, help, settings, files, fs}};

    QLineEdit* height = program.FVorn().findChild<QLineEdit*>("Ed_h");
    QLineEdit* weight = program.FVorn().findChild<QLineEdit*>("Ed_w");
    QLineEdit* fat = program.FVorn().findChild<QLineEdit*>("Ed_f");

    // `trend`: the graph window shows the trend, as a choice kept from an
    // earlier run.
    explicit Bench(bool trend = false) {
        if (trend)
            settings.values["GRAPH"]["TREND"] = "1";
        program.FVorn().show();
        QApplication::processEvents();
    }
    TFVorn& main() { return program.FVorn(); }

    void type(const char* h, const char* w, const char* f) {
        height->setText(QString::fromLatin1(h));
        weight->setText(QString::fromLatin1(w));
        fat->setText(QString::fromLatin1(f));
    }
};

struct Input {
    const char* h;
    const char* w;
    const char* f;
};
// Two weigh-ins that differ in every result and in their band, taken in
// turns, so that every label and the band panel really change each time.
constexpr Input kInputs[2] = {{"170", "65", "20"}, {"160", "80", "25"}};

// Filling the three fields alone: the part of the measure figure that is
// the keyboard's, not the command's.
void BM_TypeInputs(benchmark::State& state) {
    Bench b;
    int turn = 0;
    for (auto _ : state) {
        const Input& in = kInputs[turn++ & 1];
        b.type(in.h, in.w, in.f);
    }
}

// The measure command: the emptiness checks, the computation, the six result
// labels and the band panel (the fields are filled first, each time).
void BM_Measure(benchmark::State& state) {
    Bench b;
    int turn = 0;
    for (auto _ : state) {
        const Input& in = kInputs[turn++ & 1];
        b.type(in.h, in.w, in.f);
        b.main().controller().Button3Click();
    }
}

// The same, with the window repainted before the next one.
void BM_MeasureRepainted(benchmark::State& state) {
    Bench b;
    int turn = 0;
    for (auto _ : state) {
        const Input& in = kInputs[turn++ & 1];
        b.type(in.h, in.w, in.f);
        b.main().controller().Button3Click();
        QApplication::processEvents();
    }
}

// One save: the record read back from the window, formatted, appended with a
// single write, fsync'ed and closed, then the display cleared. The
// measurement it saves is made outside the timing.
void BM_Save(benchmark::State& state) {
    Bench b;
    const std::string path = g_workDir + "/data.txt";
    std::filesystem::remove(path);
    for (auto _ : state) {
        state.PauseTiming();
        b.prompter.shown.clear();
        b.type("170", "65", "20");
        b.main().controller().Button3Click();
        state.ResumeTiming();
        if (!b.main().controller().AppendRecord(path)) {
            state.SkipWithError("the save failed");
            break;
        }
    }
    std::filesystem::remove(path);
}

// A save into a log of 100,000 records, which it reads whole first to see
// that the new record will be read back as the last; the file is cut back
// to its size outside the timing.
void BM_SaveLargeLog(benchmark::State& state) {
    const std::string path = g_workDir + "/large.txt";
    std::string bytes;
    for (int k = 0; k < state.range(0); ++k)
        bytes += test::kWorkedLine;
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    PosixFileSystem posix;
    for (auto _ : state) {
        AppendRecord(posix, path, test::kWorkedLine);
        state.PauseTiming();
        std::filesystem::resize_file(path, bytes.size());
        state.ResumeTiming();
    }
    std::filesystem::remove(path);
}

// The disk's floor for a save: the same line appended with one write,
// fsync'ed and closed, with nothing around it.
void BM_RawAppend(benchmark::State& state) {
    const std::string path = g_workDir + "/raw.txt";
    const std::string& line = test::kWorkedLine;
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
        const bool ok =
            fd >= 0 && ::write(fd, line.data(), line.size()) == static_cast<ssize_t>(line.size()) &&
            ::fsync(fd) == 0;
        if (fd >= 0)
            ::close(fd);
        if (!ok) {
            state.SkipWithError("the append failed");
            break;
        }
    }
    std::filesystem::remove(path);
}

// A log of `records` records; `variant` shifts every value, so that two logs
// of the same length differ in every cell of the grid.
std::string WriteLog(int records, int variant) {
    const std::string path =
        g_workDir + "/log-" + std::to_string(records) + "-" + std::to_string(variant) + ".txt";
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (int k = 0; k < records; ++k) {
        const double w = 60 + (k % 200) * 0.1 + variant * 0.05;
        const double h = 170 + variant * 0.5;
        const double fat = 20 + (k % 50) * 0.1;
        const double stdw = h * h * 22 / 10000;
        const RecordValues v = {h,
                                w,
                                fat,
                                w * fat / 100,
                                w - w * fat / 100,
                                w * 0.7 * 0.8,
                                stdw,
                                w / (h * h / 10000),
                                (w - stdw) / stdw * 100};
        out << FormatRecord(83020 + k % 4, v, true);
    }
    return path;
}

// Closes each graph window once it has been painted and its event loop has
// come round, as the user would; watches the whole application, so that it
// also sees a graph window that the command itself makes.
class CloseWhenPainted : public QObject {
public:
    CloseWhenPainted() { qApp->installEventFilter(this); }
    ~CloseWhenPainted() override { qApp->removeEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !painted_) {
            if (auto* graph = qobject_cast<TFGrah*>(watched)) {
                painted_ = true;
                QTimer::singleShot(0, graph, [graph] { graph->done(0); });
            }
        }
        return false;
    }
    void arm() { painted_ = false; }

private:
    bool painted_ = false;
};

// The graph command after its offer to save, on the log at `path`: returns
// once the graph window has been painted and closed again.
void LoadAndShow(Bench& b, CloseWhenPainted& closer, const std::string& path) {
    b.program.values.logFilePath = path;
    closer.arm();
    b.main().controller().LoadHistory(true);
}

// The graph command after its offer to save: the log read, the grid filled,
// the plot drawn and the window shown until it is painted. Two logs of the
// same length are loaded in turns, so that every cell changes each time. An
// empty log is the baseline: the window shown with nothing to draw. The
// graph opens on height, whose records (and trend) are level here; `weight`
// plots the weights instead, whose trend bends at every record.
void LoadHistoryTimes(benchmark::State& state, bool trend, bool weight = false) {
    const int records = static_cast<int>(state.range(0));
    const std::string logs[2] = {WriteLog(records, 0), WriteLog(records, 1)};
    Bench b(trend);
    CloseWhenPainted closer;
    LoadAndShow(b, closer, logs[1]); // makes the window and its surface
    if (b.program.FGrah().controller().historyRowCount() != records + 1) {
        state.SkipWithError("the log did not load");
        return;
    }
    if (b.program.FGrah().controller().trendShown() != trend) {
        state.SkipWithError("the trend is not as asked");
        return;
    }
    if (weight)
        b.program.FGrah().controller().RadioButton2Click();
    int turn = 0;
    for (auto _ : state)
        LoadAndShow(b, closer, logs[turn++ & 1]);
}

void BM_LoadHistory(benchmark::State& state) {
    LoadHistoryTimes(state, false);
}

// The same with the trend shown: its line, its legend and its summary.
void BM_LoadHistoryTrend(benchmark::State& state) {
    LoadHistoryTimes(state, true);
}

// The weights plotted, without and with their trend.
void BM_LoadHistoryWeight(benchmark::State& state) {
    LoadHistoryTimes(state, false, true);
}

void BM_LoadHistoryTrendWeight(benchmark::State& state) {
    LoadHistoryTimes(state, true, true);
}

// The chart saved as PNG from the graph window's menu, 999 records and the
// trend shown: drawn at twice the density, encoded, written and synced.
void BM_SaveChartPng(benchmark::State& state) {
    const std::string log = WriteLog(static_cast<int>(state.range(0)), 0);
    Bench b(true);
    CloseWhenPainted closer;
    LoadAndShow(b, closer, log);
    const std::string png = g_workDir + "/chart.png";
    for (auto _ : state) {
        b.files.exportAnswers.push_back(png);
        b.program.FGrah().controller().SaveChartClick();
    }
    if (!b.prompter.shown.empty() || !std::filesystem::exists(png))
        state.SkipWithError("the chart was not saved");
}

// The first graph command of a run: the graph window made, its grid filled
// and the window shown for the first time. A new program for each,
// made outside the timing.
void BM_LoadHistoryFirst(benchmark::State& state) {
    const int records = static_cast<int>(state.range(0));
    const std::string log = WriteLog(records, 0);
    CloseWhenPainted closer;
    for (auto _ : state) {
        state.PauseTiming();
        auto b = std::make_unique<Bench>();
        state.ResumeTiming();
        LoadAndShow(*b, closer, log);
        state.PauseTiming();
        b.reset();
        state.ResumeTiming();
    }
}

// Reading the log into the history table alone: the part of LoadHistory
// that is plain C++.
void BM_ReadHistory(benchmark::State& state) {
    const int records = static_cast<int>(state.range(0));
    const std::string log = WriteLog(records, 0);
    PosixFileSystem fs;
    auto table = std::make_unique<HistoryTable>();
    for (auto _ : state) {
        const LoadResult r = ReadHistory(fs, log, *table);
        benchmark::DoNotOptimize(r);
    }
}

// A log of `records` readings two hours apart, ending at `end`: on a
// calendar, 100,000 of them span 23 years.
std::string WriteDatedLog(int records, const RecordDate& end) {
    const std::string path = g_workDir + "/dated-" + std::to_string(records) + ".txt";
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    const long long last = HoursSinceEpoch(end);
    for (int k = 0; k < records; ++k) {
        const RecordDate d = DateOfHour(last - 2LL * (records - 1 - k));
        const double w = 70 + 4 * std::sin(k / 4380.0 * 6.2832) + (k % 7) * 0.2;
        const RecordValues v = {170, w, 20, w / 5, w * 0.8, w * 0.56, 63.58, w / 2.89, 0};
        out << FormatRecord(d.month * 10000 + d.day * 100 + d.hour, v, true);
    }
    return path;
}

// The graph window on a calendar of 100,000 records, shown: each step is
// one change of the view (`zoom`: a notch of the wheel in or out over the
// chart's middle; else the ranges 1年 and 全期間 in turns), the chart then
// painted.
void CalendarStepTimes(benchmark::State& state, bool zoom) {
    Bench b;
    b.settings.values["GRAPH"]["CALENDAR"] = "1";
    TargetTable targets;
    TFGrah w{{b.clock, b.settings, b.prompter, b.files, b.fs}, targets};
    const std::string log = WriteDatedLog(static_cast<int>(state.range(0)), {2026, 8, 28, 7});
    auto history = std::make_unique<HistoryTable>();
    w.controller().ShowLog(log, *history, ReadHistory(b.fs, log, *history));
    w.show();
    QApplication::processEvents();
    auto* view = w.findChild<QChartView*>(QStringLiteral("Chart1"));
    if (!w.controller().calendarShown() || !view) {
        state.SkipWithError("no calendar");
        return;
    }
    const QPoint middle = view->chart()->plotArea().center().toPoint();
    int turn = 0;
    for (auto _ : state) {
        const bool odd = turn++ & 1;
        if (zoom) {
            QWheelEvent wheel(middle, view->viewport()->mapToGlobal(middle), {},
                              {0, odd ? -120 : 120}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
            QApplication::sendEvent(view->viewport(), &wheel);
        } else {
            w.controller().RangeClick(odd ? CalendarRange::All : CalendarRange::Year);
        }
        view->viewport()->repaint();
    }
}

void BM_CalendarRange(benchmark::State& state) {
    CalendarStepTimes(state, false);
}

void BM_CalendarZoom(benchmark::State& state) {
    CalendarStepTimes(state, true);
}

// The offscreen platform says at every showing of a window that it cannot
// pass size hints on; that line would bury the results.
QtMessageHandler g_qtMessages = nullptr;
void QuietQtMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (!text.contains(QLatin1String("propagateSizeHints")))
        g_qtMessages(type, context, text);
}

} // namespace

BENCHMARK(BM_TypeInputs)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Measure)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MeasureRepainted)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RawAppend)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Save)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveLargeLog)->Arg(100000)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadHistory)
    ->Arg(10)
    ->Arg(100)
    ->Arg(999)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadHistory)
    ->Arg(0)
    ->Arg(10)
    ->Arg(100)
    ->Arg(500)
    ->Arg(999)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadHistoryTrend)->Arg(999)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadHistoryWeight)->Arg(999)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadHistoryTrendWeight)->Arg(999)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveChartPng)->Arg(999)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CalendarRange)->Arg(100000)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CalendarZoom)->Arg(100000)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadHistoryFirst)
    ->Arg(999)
    ->Iterations(20)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    // Never the user's files, never a real display.
    char home[] = "/tmp/vorn-bench-home-XXXXXX";
    if (!mkdtemp(home)) {
        std::perror("mkdtemp");
        return 1;
    }
    setenv("HOME", home, 1);
    setenv("XDG_CONFIG_HOME", (std::string(home) + "/.config").c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);

    std::string work = (std::filesystem::current_path() / "vorn-bench-XXXXXX").string();
    if (!mkdtemp(work.data())) {
        std::perror("mkdtemp");
        return 1;
    }
    g_workDir = work;

    g_qtMessages = qInstallMessageHandler(QuietQtMessages);
    QApplication app(argc, argv);
    InitIcons();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 2;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    std::error_code ec;
    std::filesystem::remove_all(work, ec);
    std::filesystem::remove_all(home, ec);
    return 0;
}
