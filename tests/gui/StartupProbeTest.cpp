// The start-up probe the benchmarks read: silent unless asked for, and when
// asked, one report line once the window is painted, then the event loop ends.

#include "app/StartupProbe.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <utility>

namespace {

long long MonotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// Standard output, who ended the loop, the clock before the show and after.
struct Started {
    std::string out;
    bool quitByProbe = false;
    long long shownNs = 0;
    long long endNs = 0;
};

// Ends the event loop on the turn after the probe's, which follows the
// window's first paint, unless the probe has ended it.
struct Guard : QObject {
    explicit Guard(QWidget& window) : QObject(&window) { window.installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && !std::exchange(painted, true))
            QTimer::singleShot(0, this, [this] {
                QTimer::singleShot(0, this, [this] {
                    fired = true;
                    QApplication::quit();
                });
            });
        return false;
    }
    bool painted = false;
    bool fired = false;
};

// Shows a window of 242 × 349 with the probe installed as the program does,
// runs the event loop (ended by the probe, or else by the guard) and keeps
// what went to standard output meanwhile.
Started RunWindow() {
    Started run;
    std::fflush(stdout);
    int fds[2];
    if (pipe(fds) != 0)
        return {"pipe failed"};
    const int saved = dup(STDOUT_FILENO);
    dup2(fds[1], STDOUT_FILENO);
    close(fds[1]);

    {
        QWidget window;
        window.setFixedSize(242, 349);
        auto* guard = new Guard(window);
        vorn::WatchStartup(window);
        run.shownNs = MonotonicNs();
        window.show();
        QApplication::exec();
        run.endNs = MonotonicNs();
        run.quitByProbe = !guard->fired;
    }

    std::fflush(stdout);
    dup2(saved, STDOUT_FILENO);
    close(saved);
    char buffer[256];
    ssize_t n;
    while ((n = read(fds[0], buffer, sizeof buffer)) > 0)
        run.out.append(buffer, static_cast<std::size_t>(n));
    close(fds[0]);
    return run;
}

} // namespace

TEST(StartupProbe, ReportsOnceThePaintedWindowIsIdleAndOnlyWhenAsked) {
    for (const bool asked : {true, false}) {
        SCOPED_TRACE(asked ? "asked" : "not asked");
        if (asked)
            setenv("VORN_STARTUP_PROBE", "1", 1);
        else
            unsetenv("VORN_STARTUP_PROBE");
        const Started run = RunWindow();
        const std::string& out = run.out;
        EXPECT_EQ(run.quitByProbe, asked);
        if (!asked) {
            EXPECT_EQ(out, "");
            continue;
        }
        long long idleNs = 0;
        long rssKb = 0;
        int width = 0;
        int height = 0;
        ASSERT_EQ(std::sscanf(out.c_str(),
                              "vorn-startup-probe idle_ns=%lld peak_rss_kb=%ld size=%dx%d", &idleNs,
                              &rssKb, &width, &height),
                  4)
            << out;
        // The monotonic clock, read after the paint: the launcher's reading
        // before the spawn lies below it.
        EXPECT_GT(idleNs, run.shownNs);
        EXPECT_LT(idleNs, run.endNs);
        EXPECT_GT(rssKb, 1000);
        EXPECT_EQ(width, 242);
        EXPECT_EQ(height, 349);
        EXPECT_EQ(out.back(), '\n');
        EXPECT_EQ(out.find('\n'), out.size() - 1) << "one line only";
    }
    unsetenv("VORN_STARTUP_PROBE");
}
