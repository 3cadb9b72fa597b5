// Vorn２: start-up and shut-down.

#include "app/CommandLine.h"
#include "app/DataInCommand.h"
#include "app/DeferredWindowIcon.h"
#include "app/ExportCommand.h"
#include "app/Program.h"
#include "app/SessionEnd.h"
#ifdef VORN_WITH_STARTUP_PROBE
#include "app/StartupProbe.h"
#endif
#include "import/ImportFile.h"
#include "log/PosixFileSystem.h"
#include "platform/IniSettingsStore.h"
#include "platform/SystemClock.h"
#include "platform/qt/QtFileChooser.h"
#include "platform/qt/QtHelpViewer.h"
#include "platform/qt/QtPrompter.h"
#include "resources/Icons.h"
#include "resources/QtJapanese.h"
#include "resources/SvgIcon.h"
#include "ui/Fonts.h"
#include "ui/main/TFVorn.h"

#include <QApplication>
#include <QLocale>
#include <QToolTip>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

using namespace vorn;

namespace {

// Qt ends the process with abort() when no display can be opened. While the
// application object is made, its messages are held back; a fatal one is
// turned into one line that says what is missing, and exit status 1.
std::vector<std::string> heldBack;

void StartupMessages(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type != QtFatalMsg) {
        heldBack.push_back(text.toStdString());
        return;
    }
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    std::string line = "vorn: cannot open a display";
    if ((!display || !*display) && (!wayland || !*wayland))
        line += " (neither DISPLAY nor WAYLAND_DISPLAY is set)";
    else if (!heldBack.empty())
        line += " (" + heldBack.front() + ")";
    line += "; start it in a graphical session, or under xvfb-run: xvfb-run vorn\n";
    (void)!write(STDERR_FILENO, line.data(), line.size());
    std::_Exit(1);
}

// The program's name, fonts and locale, and the Japanese texts of Qt's own
// buttons and dialogs.
void SetUpApplication() {
    QApplication::setApplicationName(QStringLiteral("vorn"));
    // No application display name: Qt would append it to every window
    // title, and each window's caption is exactly its own.
    QApplication::setDesktopFileName(QStringLiteral("vorn"));
    InitIcons();

    // One Japanese gothic everywhere: menus, tooltips, message boxes, the
    // file dialogs and the help take the size of the dialogs' text; each
    // window sets its own. Qt's own words (file sizes, types, dates) are
    // Japanese whatever LANG says; numbers are never read through it.
    QApplication::setFont(UiFont(12));
    QToolTip::setFont(UiFont(12));
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    InstallQtJapanese();
}

// The tasks of the command line that end without the application object:
// their exit status; none for the graph's files and the windows, which need it.
std::optional<int> RunWithoutWindows(const CommandLineAnswer& answer) {
    switch (answer.task) {
    case CommandLineAnswer::Task::Print:
        std::fputs(answer.out.c_str(), stdout);
        std::fputs(answer.err.c_str(), stderr);
        return std::fflush(stdout) == 0 ? answer.exitCode : 1;
    case CommandLineAnswer::Task::Csv:
        return RunCsvExport(answer);
    case CommandLineAnswer::Task::Stats:
        return RunStatsExport(answer);
    case CommandLineAnswer::Task::Graph:
        UseOffscreenWithoutDisplay();
        return std::nullopt;
    case CommandLineAnswer::Task::Import:
    case CommandLineAnswer::Task::Add: {
        PosixFileSystem fs;
        SystemClock clock;
        const DataInResult r = answer.task == CommandLineAnswer::Task::Add
                                   ? RunAdd(answer.args, fs, clock)
                                   : RunImport(answer.args, fs, clock, [](const std::string& path) {
                                         return ReadImportFile(path);
                                     });
        std::fputs(r.out.c_str(), stdout);
        std::fputs(r.err.c_str(), stderr);
        return std::fflush(stdout) == 0 ? r.exitCode : 1;
    }
    case CommandLineAnswer::Task::Windows:
        return std::nullopt;
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char** argv) {
    const CommandLineAnswer answer =
        ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (const std::optional<int> status = RunWithoutWindows(answer))
        return *status;
    // The windows and the chart take no arguments, Qt's own included.
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    QtMessageHandler previous = qInstallMessageHandler(StartupMessages);
    QApplication app(qtArgc, qtArgv);
    qInstallMessageHandler(previous);
    for (const std::string& message : heldBack)
        std::fprintf(stderr, "%s\n", message.c_str());
    if (answer.task == CommandLineAnswer::Task::Graph) {
        SetUpApplication();
        return RunGraphExport(answer);
    }
    QtPrompter prompter;
    try {
        SetUpApplication();

        DeferredWindowIcon icon(SvgIcon(QStringLiteral(":/icons/vorn.svg")));
        IniSettingsStore settings;
        SystemClock clock;
        QtHelpViewer help(prompter, FindHelpCollection(HelpFolders()));
        QtFileChooser files;
        PosixFileSystem fs;
        Program program(MainController::Services{prompter, clock, help, settings, files, fs});
        icon.watch(program.FVorn());
#ifdef VORN_WITH_STARTUP_PROBE
        // The benchmarks' build of the program (vorn_probed) only: with
        // VORN_STARTUP_PROBE set, report when the main window is painted and
        // start-up is over, then quit.
        WatchStartup(program.FVorn());
#endif
        program.FVorn().show();
        SessionEnd sessionEnd(program.FVorn().controller());
        QApplication::exec();
    } catch (const std::exception& e) {
        // The program could not start: say so, and let the shell know.
        prompter.show(e.what(), "Vorn２", mb::OK | mb::ICONSTOP);
        std::fprintf(stderr, "vorn: could not start: %s\n", e.what());
        return 1;
    }
    return 0;
}
