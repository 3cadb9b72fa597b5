#include "app/ExportCommand.h"

#include "core/Errors.h"
#include "log/HistoryCsv.h"
#include "log/LogError.h"
#include "log/LogReader.h"
#include "log/PosixFileSystem.h"
#include "platform/ExportFile.h"
#include "platform/FileChooser.h"
#include "platform/IniSettingsStore.h"
#include "platform/PosixFile.h"
#include "platform/Prompter.h"
#include "platform/Settings.h"
#include "platform/SystemClock.h"
#include "targets/TargetStore.h"
#include "targets/TargetTable.h"
#include "ui/graph/GridTable.h"
#include "ui/graph/TFGrah.h"

#include <QApplication>
#include <QRadioButton>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace vorn {
namespace {

void Say(const std::string& text) {
    std::fprintf(stderr, "vorn: %s\n", text.c_str());
}

// Whatever the chart's window would show in a box goes to standard error.
class StderrPrompter : public Prompter {
public:
    int show(const std::string& text, const std::string&, unsigned) override {
        Say(text);
        shown = true;
        return mb::IDOK;
    }
    bool shown = false;
};

// The settings as the window reads them, never written: a missing file stays
// missing, and the trend's choice of an export is not kept. The chart is
// drawn in its designed size, whatever size the window was left at, so that
// a script gets the same image from every user.
class ReadOnlySettings : public SettingsStore {
public:
    void open(const std::string& key, const std::string& what) override {
        struct stat st {};
        present_ = ::stat(IniSettingsStore::fileForKey(key).c_str(), &st) == 0;
        if (present_)
            store_.open(key, what);
    }
    std::string readString(const std::string& section, const std::string& name,
                           const std::string& def) override {
        const bool size = section == kGraphWidth.place.section &&
                          (name == kGraphWidth.place.name || name == kGraphHeight.place.name);
        return present_ && !size ? store_.readString(section, name, def) : def;
    }
    void writeString(const std::string&, const std::string&, const std::string&) override {}
    void release() override {
        if (present_)
            store_.release();
    }

private:
    IniSettingsStore store_;
    bool present_ = false;
};

class NoFiles : public FileChooser {
public:
    std::optional<std::string> chooseSave() override { return std::nullopt; }
    std::optional<std::string> chooseOpen() override { return std::nullopt; }
    void offer(const std::string&) override {}
    std::optional<std::string> chooseExport(ExportKind) override { return std::nullopt; }
};

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

void UseOffscreenWithoutDisplay() {
    auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value && *value;
    };
    if (!set("QT_QPA_PLATFORM") && !set("DISPLAY") && !set("WAYLAND_DISPLAY"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

} // namespace

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
    const std::string csv = HistoryCsv(log.records, clock.now(),
                                       a.trend ? std::optional<int>(a.quantity) : std::nullopt);
    if (!WriteOut(csv))
        return 1;
    if (const std::string notice = ExportNotice(log); !notice.empty()) {
        Say(notice);
        return 1;
    }
    return 0;
}

int RunGraphExport(const CommandLineAnswer& a, char* programName,
                   const std::function<void()>& setUp) {
    UseOffscreenWithoutDisplay();
    int qtArgc = 1;
    char* qtArgv[] = {programName, nullptr};
    QApplication app(qtArgc, qtArgv);
    setUp();

    PosixFileSystem fs;
    HistoryTable history;
    LoadResult result;
    try {
        result = ReadHistory(fs, a.log, history);
    } catch (const LogError& e) {
        Say(e.what());
        return 1;
    }
    TargetTable targets;
    ReadOnlySettings settings;
    StderrPrompter prompter;
    try {
        LoadTargets(settings, targets);
    } catch (const StoreError& e) {
        Say(e.what()); // as the window: drawn without targets
    }
    SystemClock clock;
    NoFiles files;
    TFGrah graph({clock, settings, prompter, files, fs}, targets);
    GraphController& c = graph.controller();
    if (c.trendShown() != a.trend)
        c.TrendLineClick();
    c.setLogPath(a.log);
    c.setRows(0, GridRowsOf(history, result.records));
    c.setHistoryRowCount(result.records + 1);
    const int button = Facts(a.quantity).radioButton;
    if (auto* radio = graph.findChild<QRadioButton*>("RadioButton" + QString::number(button)))
        radio->setChecked(true);
    c.PlotQuantity(a.quantity, targets[static_cast<std::size_t>(a.quantity)]);
    // Laid out as on screen, but never shown there; plotted while hidden,
    // the lines stand at once, without the window's animation.
    graph.setAttribute(Qt::WA_DontShowOnScreen);
    graph.show();
    QApplication::processEvents();

    const std::optional<ChartFormat> format = ChartFormatOf(a.output);
    const IoStatus status = WriteExport(a.output, graph.chartBytes(*format));
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

} // namespace vorn
