#pragma once

#include "app/Program.h"
#include "log/PosixFileSystem.h"
#include "platform/IniSettingsStore.h"
#include "support/TestHome.h"
#include "support/fakes/FakeSeams.h"
#include "ui/main/TFVorn.h"

#include <QApplication>
#include <QTest>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>

namespace vorn::test {

// The three windows as the program makes them, over scripted dialogs and the
// real settings file in a temporary XDG_CONFIG_HOME, started on 30 August at
// 20:15 and driven by keys.
class ProgramFixture : public ::testing::Test {
protected:
    void SetUp() override {
        config_ = MakeTempDir("config");
        setenv("XDG_CONFIG_HOME", config_.c_str(), 1);
    }

    void start() {
        program = std::make_unique<Program>(
            MainController::Services{prompter, clock, help, settings, files, fs});
        main().show();
        main().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&main()));
    }
    TFVorn& main() { return program->FVorn(); }

    // Keys go where the focus is, as typed on a keyboard; after a modal
    // window the main window is made active again first.
    void key(int k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        if (QApplication::activeWindow() != &main()) {
            main().activateWindow();
            ASSERT_TRUE(
                QTest::qWaitFor([&] { return QApplication::activeWindow() == &main(); }, 5000));
        }
        QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(k), mods);
    }
    void type(const char* text) {
        QTest::keyClicks(QApplication::focusWidget(), QString::fromUtf8(text));
    }

    std::string config_;
    FakePrompter prompter;
    FixedClock clock{LocalTime{2026, 8, 30, 20, 15}};
    FakeHelpViewer help;
    IniSettingsStore settings;
    FakeFileChooser files;
    PosixFileSystem fs;
    std::unique_ptr<Program> program;
};

} // namespace vorn::test
