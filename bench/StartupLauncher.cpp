// Start-up time and peak memory of vorn beside its two floors.
//
//   vorn_bench_startup RUNS VORN FLOOR TEXT_FLOOR
//
// Starts VORN, FLOOR (the empty-window program) and TEXT_FLOOR (the window
// with vorn's texts) RUNS times each, taking turns, with VORN_STARTUP_PROBE
// set. Each start-up is the time from just before the spawn to the moment
// the program's probe reports its window painted and its event loop idle,
// both read on CLOCK_MONOTONIC. FLOOR is given the size of vorn's main
// window; TEXT_FLOOR must come up at that size by itself, or it no longer
// shows the same window and the run stops. One start of each, not counted,
// comes first to warm the file cache. Prints "key value" lines: the
// medians, minimums and maximums in milliseconds and the median peak RSS in
// kilobytes, for vorn, floor and text_floor.

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

struct Start {
    double ms = 0;
    long peakRssKb = 0;
    std::string size;
};

long long MonotonicNs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

// Reads what the child writes until the probe line is complete, the pipe
// closes or `timeoutMs` pass; returns everything read.
std::string ReadProbe(int fd, int timeoutMs) {
    std::string out;
    const long long deadline = MonotonicNs() + static_cast<long long>(timeoutMs) * 1000000LL;
    while (out.find("vorn-startup-probe") == std::string::npos ||
           out.find('\n', out.find("vorn-startup-probe")) == std::string::npos) {
        const long long left = (deadline - MonotonicNs()) / 1000000LL;
        if (left <= 0)
            break;
        pollfd p{fd, POLLIN, 0};
        const int rc = poll(&p, 1, static_cast<int>(left));
        if (rc < 0 && errno == EINTR)
            continue;
        if (rc <= 0)
            break;
        char buffer[512];
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        out.append(buffer, static_cast<std::size_t>(n));
    }
    return out;
}

Start Launch(const std::vector<std::string>& command) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    posix_spawn_file_actions_addclose(&actions, pipeFds[1]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);

    std::vector<char*> argv;
    for (const std::string& a : command)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    const long long before = MonotonicNs();
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (rc != 0) {
        close(pipeFds[0]);
        throw std::runtime_error("cannot start " + command[0] + ": " + std::strerror(rc));
    }

    const std::string out = ReadProbe(pipeFds[0], 60000);
    close(pipeFds[0]);
    const std::size_t at = out.find("vorn-startup-probe");
    long long idleNs = 0;
    Start start;
    char size[64] = {};
    const bool parsed =
        at != std::string::npos &&
        std::sscanf(out.c_str() + at, "vorn-startup-probe idle_ns=%lld peak_rss_kb=%ld size=%63s",
                    &idleNs, &start.peakRssKb, size) == 3;
    if (!parsed)
        kill(pid, SIGKILL);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (!parsed)
        throw std::runtime_error(command[0] + " gave no start-up report (is the display there?)");
    start.ms = static_cast<double>(idleNs - before) / 1e6;
    start.size = size;
    return start;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

void Print(const char* name, const std::vector<Start>& starts) {
    std::vector<double> ms;
    std::vector<double> rss;
    for (const Start& s : starts) {
        ms.push_back(s.ms);
        rss.push_back(static_cast<double>(s.peakRssKb));
    }
    std::printf("%s_ms_median %.2f\n", name, Median(ms));
    std::printf("%s_ms_min %.2f\n", name, *std::min_element(ms.begin(), ms.end()));
    std::printf("%s_ms_max %.2f\n", name, *std::max_element(ms.begin(), ms.end()));
    std::printf("%s_rss_kb_median %.0f\n", name, Median(rss));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 5 || std::atoi(argv[1]) < 1) {
        std::fprintf(stderr, "usage: %s RUNS VORN FLOOR TEXT_FLOOR\n", argv[0]);
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    setenv("VORN_STARTUP_PROBE", "1", 1);
    try {
        const std::vector<std::string> vorn = {argv[2]};
        const std::string size = Launch(vorn).size; // warm-up
        const std::vector<std::string> floor = {argv[3], size};
        Launch(floor);
        const std::vector<std::string> textFloor = {argv[4]};
        const std::string textSize = Launch(textFloor).size;
        if (textSize != size)
            throw std::runtime_error(textFloor[0] + " came up at " + textSize + ", vorn at " +
                                     size + ": it no longer shows vorn's main window");

        const std::vector<std::string>* programs[3] = {&vorn, &floor, &textFloor};
        std::vector<Start> starts[3];
        // A start is slowed by the one before it, whose exit the X server is
        // still clearing up: each program follows each of the others equally
        // often. The cycle 0 1 2 0 2 1 holds every ordered pair once.
        const int cycle[6] = {0, 1, 2, 0, 2, 1};
        const auto full = [&](int which) { return starts[which].size() >= std::size_t(runs); };
        for (int i = 0; !(full(0) && full(1) && full(2)); ++i) {
            const int which = cycle[i % 6];
            if (!full(which))
                starts[which].push_back(Launch(*programs[which]));
        }
        std::printf("runs %d\nsize %s\n", runs, size.c_str());
        Print("vorn", starts[0]);
        Print("floor", starts[1]);
        Print("text_floor", starts[2]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
