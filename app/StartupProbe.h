#pragma once

// The start-up probe the benchmarks read. When VORN_STARTUP_PROBE is set in
// the environment, the first paint of the watched window is followed by a
// zero-timer: when it fires, the paint has been flushed and the event loop
// has come round with start-up done. The probe then prints one line to
// standard output and quits the application:
//
//   vorn-startup-probe idle_ns=<CLOCK_MONOTONIC ns> peak_rss_kb=<VmHWM> size=<w>x<h>
//
// The launcher that started the process subtracts its own reading of the
// same clock, taken just before the spawn. Without the variable nothing is
// installed and the program runs as always. Header-only, so that the
// baseline programs of the benchmarks use exactly the same method.
//
// Only the benchmarks' programs carry it: bench/CMakeLists.txt builds
// vorn_probed from app/main.cpp with VORN_WITH_STARTUP_PROBE defined. The
// vorn that is installed and tested is built without it, and reads no
// environment variable of this probe.

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>

namespace vorn {

class StartupProbe : public QObject {
public:
    explicit StartupProbe(QWidget& window) : QObject(&window), window_(window) {
        window.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &window_ && event->type() == QEvent::Paint && !painted_) {
            painted_ = true;
            QTimer::singleShot(0, this, [this] { report(); });
        }
        return false;
    }

    // The peak resident set size so far, from /proc/self/status; 0 when unknown.
    static long PeakRssKb() {
        std::ifstream status("/proc/self/status");
        std::string line;
        while (std::getline(status, line))
            if (line.rfind("VmHWM:", 0) == 0)
                return std::strtol(line.c_str() + 6, nullptr, 10);
        return 0;
    }

private:
    void report() {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        const long long ns = static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
        std::printf("vorn-startup-probe idle_ns=%lld peak_rss_kb=%ld size=%dx%d\n", ns, PeakRssKb(),
                    window_.width(), window_.height());
        std::fflush(stdout);
        QCoreApplication::quit();
    }

    QWidget& window_;
    bool painted_ = false;
};

// Watches `window` when VORN_STARTUP_PROBE is set; call before showing it.
inline void WatchStartup(QWidget& window) {
    if (std::getenv("VORN_STARTUP_PROBE"))
        new StartupProbe(window); // owned by the window
}

} // namespace vorn
