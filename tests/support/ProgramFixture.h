#pragma once

#include "app/Program.h"
#include "log/PosixFileSystem.h"
#include "platform/IniSettingsStore.h"
#include "support/TestHome.h"
#include "support/fakes/FakeSeams.h"
#include "ui/main/TFVorn.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace vorn::test {

// The three windows as the program makes them, over scripted dialogs and the
// real settings file in a temporary XDG_CONFIG_HOME, started on 30 August at
// 20:15 and driven by keys.
class ProgramFixture : public ::testing::Test, public ConfigFolder {
protected:
    void start() {
        program = std::make_unique<Program>(
            MainController::Services{prompter, clock, help, settings, files, fs});
        main().show();
        main().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&main()));
    }
    TFVorn& main() { return program->FVorn(); }
    ProgramValues& values() { return program->values; }

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
    // The worked example, each field ended with Enter.
    void weighIn() {
        for (const char* text : {"170", "65", "20"}) {
            type(text);
            key(Qt::Key_Return);
        }
    }

    // A control of `window` (the main window unless named) by its name.
    template <class T = QWidget> T* find(const char* name, QWidget* window = nullptr) {
        T* w = (window ? window : &main())->findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    // What a field or a label of the main window shows.
    QString textOf(const char* name) {
        if (auto* e = main().findChild<QLineEdit*>(QString::fromUtf8(name)))
            return e->text();
        return find<QLabel>(name)->text();
    }

    FakePrompter prompter;
    FixedClock clock{LocalTime{2026, 8, 30, 20, 15}};
    FakeHelpViewer help;
    IniSettingsStore settings;
    FakeFileChooser files;
    PosixFileSystem fs;
    std::unique_ptr<Program> program;
};

} // namespace vorn::test
