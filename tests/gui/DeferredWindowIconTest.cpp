// The window icon waits until the main window is painted and start-up is
// over, unless another window shows first.

#include "app/DeferredWindowIcon.h"

#include <QApplication>
#include <QEvent>
#include <QPixmap>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

// Notes whether the window icon was set when the event loop first came
// round after the window's first paint, as the start-up probe sees it.
class IdleWatch : public QObject {
public:
    explicit IdleWatch(QWidget& window) { window.installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && !painted_) {
            painted_ = true;
            QTimer::singleShot(0, this, [this] {
                idle = true;
                iconAtIdle = !QApplication::windowIcon().isNull();
            });
        }
        return false;
    }
    bool idle = false;
    bool iconAtIdle = false;

private:
    bool painted_ = false;
};

} // namespace

TEST(DeferredWindowIcon, SetAfterStartUpOrWhenAnotherWindowShowsFirst) {
    for (const bool otherFirst : {false, true}) {
        SCOPED_TRACE(otherFirst ? "another window first" : "main window first");
        QApplication::setWindowIcon(QIcon());
        QPixmap picture(16, 16);
        picture.fill(Qt::red);
        vorn::DeferredWindowIcon icon{QIcon(picture)};
        QWidget box;
        if (otherFirst) {
            box.show();
            EXPECT_FALSE(QApplication::windowIcon().isNull());
            continue;
        }
        QWidget main;
        icon.watch(main);
        IdleWatch watch(main);
        main.show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return watch.idle; }));
        EXPECT_FALSE(watch.iconAtIdle);
        ASSERT_TRUE(QTest::qWaitFor([] { return !QApplication::windowIcon().isNull(); }));
        EXPECT_EQ(main.windowIcon().cacheKey(), QApplication::windowIcon().cacheKey());
    }
}
