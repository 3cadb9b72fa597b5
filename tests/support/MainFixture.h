#pragma once

#include "log/HistoryTable.h"
#include "log/PosixFileSystem.h"
#include "support/fakes/FakeGraphView.h"
#include "support/fakes/FakeMainView.h"
#include "support/fakes/FakeSeams.h"
#include "ui/graph/GraphController.h"
#include "ui/main/MainController.h"

#include <gtest/gtest.h>
#include <memory>

namespace vorn::test {

// The main window's controller over fakes, with the graph window behind it,
// started on 30 August at 20:15.
struct MainFixture : ::testing::Test {
    FakeMainView view;
    FakePrompter prompter;
    FixedClock clock{LocalTime{2026, 8, 30, 20, 15}};
    FakeHelpViewer help;
    MemorySettingsStore settings;
    FakeFileChooser files;
    FileChooser* chooser = &files; // the dialogs the controller is given
    PosixFileSystem posix;
    LogFileSystem* fs = &posix;
    CurrentMeasurement m;
    TargetTable targets;
    std::string dateStamp;
    std::string logFilePath;
    HistoryTable history;
    FakeGraphView graphView;
    GraphController graph{graphView, targets};
    std::unique_ptr<MainController> c;

    MainFixture() { useFileSystem(posix); }

    // Rebuilds the controller over another file layer.
    void useFileSystem(LogFileSystem& layer) {
        fs = &layer;
        c = std::make_unique<MainController>(
            view, MainController::Services{prompter, clock, help, settings, *chooser, layer},
            MainController::State{m, targets, dateStamp, logFilePath, history});
        c->setGraphWindow(&graph);
        c->FormCreate();
    }

    void type(const char* h, const char* w, const char* f) {
        view.texts[MainCtl::Ed_h] = h;
        view.texts[MainCtl::Ed_w] = w;
        view.texts[MainCtl::Ed_f] = f;
    }
    void measure(const char* h, const char* w, const char* f) {
        type(h, w, f);
        c->Button3Click();
    }
    std::string shown(MainCtl ctl) { return view.text(ctl); }
};

} // namespace vorn::test
