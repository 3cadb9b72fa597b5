#pragma once

#include "log/HistoryTable.h"
#include "log/PosixFileSystem.h"
#include "support/TestHome.h"
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
    SettingsStore* store = &settings; // the settings the controller is given
    FakeFileChooser files;
    PosixFileSystem posix;
    CurrentMeasurement m;
    TargetTable targets;
    std::string dateStamp;
    std::string logFilePath;
    HistoryTable history;
    FakeGraphView graphView;
    GraphController graph{graphView, targets, {clock, settings, prompter, files, posix}};
    std::unique_ptr<MainController> c;

    MainFixture() { useFileSystem(posix); }

    // Starts the controller again, over another file layer.
    void useFileSystem(LogFileSystem& layer) {
        c = std::make_unique<MainController>(
            view, MainController::Services{prompter, clock, help, *store, files, layer},
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

// The save, close and graph commands, with a log in a folder of their own.
struct FlowFixture : MainFixture {
    std::string dir = MakeTempDir("log");
    std::string log = dir + "/data.txt";

    void saveTo(const std::string& path) {
        files.saveAnswers.push_back(path);
        c->Button4Click();
    }
    // Forgets the boxes, the dialogs' answers and what the commands did.
    void forget() {
        prompter.shown.clear();
        prompter.answers.clear();
        files.saveAnswers.clear();
        files.openAnswers.clear();
        files.openCalls = 0;
        files.afterOpen = nullptr;
        view.closed = 0;
        settings.writes = 0;
        graphView.shown = 0;
    }
    int boxes(const std::string& caption) const {
        int n = 0;
        for (const ShownBox& b : prompter.shown)
            n += b.caption == caption;
        return n;
    }
    bool said(const std::string& words) const {
        for (const ShownBox& b : prompter.shown)
            if (b.text.find(words) != std::string::npos)
                return true;
        return false;
    }
    // The worked example is still on display.
    void expectDisplayKept() {
        EXPECT_EQ(shown(MainCtl::Ed_h), "170");
        EXPECT_EQ(shown(MainCtl::Lb_ft), "2.23");
    }
};

} // namespace vorn::test
