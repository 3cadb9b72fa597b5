// Vorn２: start-up and shut-down.

#include "app/Program.h"
#include "app/StartupProbe.h"
#include "log/PosixFileSystem.h"
#include "platform/SystemClock.h"
#include "platform/qt/QtFileChooser.h"
#include "platform/qt/QtHelpViewer.h"
#include "platform/qt/QtPrompter.h"
#include "platform/qt/QtSettingsStore.h"
#include "resources/Icons.h"
#include "ui/main/TFVorn.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <exception>

using namespace vorn;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QtPrompter prompter;
    try {
        QApplication::setApplicationName(QStringLiteral("vorn"));
        QApplication::setApplicationDisplayName(QStringLiteral("Vorn２"));
        QApplication::setDesktopFileName(QStringLiteral("vorn"));
        InitIcons();
        QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/vorn.svg")));

        // Qt's own Japanese texts for the standard buttons and file dialogs.
        QTranslator qtTranslator;
        if (qtTranslator.load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"),
                              QStringLiteral("_"),
                              QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QApplication::installTranslator(&qtTranslator);

        QtSettingsStore settings;
        SystemClock clock;
        QtHelpViewer help(prompter, FindHelpCollection());
        QtFileChooser files;
        PosixFileSystem fs;
        Program program(MainController::Services{prompter, clock, help, settings, files, fs});
        // Benchmarks only: with VORN_STARTUP_PROBE set, report when the main
        // window is painted and start-up is over, then quit.
        WatchStartup(program.FVorn());
        program.FVorn().show();
        QApplication::exec();
    } catch (const std::exception& e) {
        prompter.show(e.what(), "Vorn２", 0x10);
    }
    return 0;
}
