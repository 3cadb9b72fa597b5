// The window icon waits for the end of start-up, or another window first.

#include "app/DeferredWindowIcon.h"

#include <QApplication>
#include <QEvent>
#include <QPixmap>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>
#include <optional>
#include <utility>

namespace {

// Whether the icon was set when the event loop first came round after the
// window's first paint, the moment the start-up probe reports.
struct IdleWatch : QObject {
    explicit IdleWatch(QWidget& window) { window.installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && !std::exchange(painted, true))
            QTimer::singleShot(0, this,
                               [this] { iconAtIdle = !QApplication::windowIcon().isNull(); });
        return false;
    }
    bool painted = false;
    std::optional<bool> iconAtIdle;
};

} // namespace

TEST(DeferredWindowIcon, SetAfterStartUpOrWhenAnotherWindowShowsFirst) {
    for (const bool otherFirst : {false, true}) {
        SCOPED_TRACE(otherFirst ? "another window first" : "main window first");
        QApplication::setWindowIcon(QIcon());
        vorn::DeferredWindowIcon icon{QIcon(QPixmap(16, 16))};
        QWidget main;
        QWidget box;
        icon.watch(main);
        IdleWatch watch(main);
        if (otherFirst) {
            box.show();
            EXPECT_FALSE(QApplication::windowIcon().isNull());
            continue;
        }
        main.show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return watch.iconAtIdle.has_value(); }));
        EXPECT_FALSE(*watch.iconAtIdle);
        ASSERT_TRUE(QTest::qWaitFor([] { return !QApplication::windowIcon().isNull(); }));
    }
}
