// The start-up probe the benchmarks read: silent unless asked for, and when
// asked, one report line once the window is painted, then the event loop ends.

#include "app/StartupProbe.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

namespace {

// Shows a window of 242 × 349 with the probe installed as the program does,
// runs the event loop (ended by the probe, or by a guard after `guardMs`)
// and returns what went to standard output meanwhile.
std::string RunWindow(int guardMs, bool& quitByProbe) {
    std::fflush(stdout);
    int fds[2];
    if (pipe(fds) != 0)
        return "pipe failed";
    const int saved = dup(STDOUT_FILENO);
    dup2(fds[1], STDOUT_FILENO);
    close(fds[1]);

    QWidget window;
    window.setFixedSize(242, 349);
    vorn::WatchStartup(window);
    bool guardFired = false;
    QTimer::singleShot(guardMs, [&] {
        guardFired = true;
        QApplication::quit();
    });
    window.show();
    QApplication::exec();
    quitByProbe = !guardFired;

    std::fflush(stdout);
    dup2(saved, STDOUT_FILENO);
    close(saved);
    std::string out;
    char buffer[256];
    ssize_t n;
    while ((n = read(fds[0], buffer, sizeof buffer)) > 0)
        out.append(buffer, static_cast<std::size_t>(n));
    close(fds[0]);
    return out;
}

} // namespace

TEST(StartupProbe, ReportsOnceThePaintedWindowIsIdleAndOnlyWhenAsked) {
    const struct {
        bool asked;
        int guardMs; // long enough for a paint under the sanitizers
    } cases[] = {{true, 10000}, {false, 500}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.asked ? "asked" : "not asked");
        if (c.asked)
            setenv("VORN_STARTUP_PROBE", "1", 1);
        else
            unsetenv("VORN_STARTUP_PROBE");
        bool quitByProbe = false;
        const std::string out = RunWindow(c.guardMs, quitByProbe);
        EXPECT_EQ(quitByProbe, c.asked);
        if (!c.asked) {
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
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        const long long nowNs = static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
        EXPECT_GT(idleNs, 0);
        EXPECT_LE(idleNs, nowNs); // the launcher's clock, read before now
        EXPECT_GT(rssKb, 1000);
        EXPECT_EQ(width, 242);
        EXPECT_EQ(height, 349);
        EXPECT_EQ(out.back(), '\n');
        EXPECT_EQ(out.find('\n'), out.size() - 1) << "one line only";
    }
    unsetenv("VORN_STARTUP_PROBE");
}
