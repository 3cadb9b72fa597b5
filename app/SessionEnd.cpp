#include "app/SessionEnd.h"

#include "ui/main/MainController.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <sys/socket.h>
#include <unistd.h>

namespace vorn {
namespace {

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};
// The handler only wakes the event loop: the targets are written there.
int wakeUp[2] = {-1, -1};

void OnSignal(int) {
    const int saved = errno;
    const char byte = 1;
    (void)!write(wakeUp[0], &byte, 1);
    errno = saved;
}

// Whose targets exit() writes back: Qt ends the program with exit() when
// its connection to the display breaks, as when the X server goes away at
// the end of a session without a session manager.
SessionEnd* atExit = nullptr;

void AtExit() {
    if (atExit)
        atExit->keep();
}

} // namespace

SessionEnd::SessionEnd(MainController& controller) : controller_(controller) {
    atExit = this;
    static const bool registered = std::atexit(AtExit) == 0;
    (void)registered;
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, this,
                     [this](QSessionManager&) { keep(); });
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, wakeUp) != 0) {
        std::perror("vorn: no socket pair for the end signals");
        return;
    }
    notifier_ = new QSocketNotifier(wakeUp[1], QSocketNotifier::Read, this);
    QObject::connect(notifier_, &QSocketNotifier::activated, this, [this] { signalled(); });
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int s : kSignals)
        sigaction(s, &action, nullptr);
}

SessionEnd::~SessionEnd() {
    atExit = nullptr;
    if (!notifier_)
        return;
    for (int s : kSignals)
        std::signal(s, SIG_DFL);
    delete notifier_;
    close(wakeUp[0]);
    close(wakeUp[1]);
    wakeUp[0] = wakeUp[1] = -1;
}

// No box while the session or the system waits for the program: a failure
// goes to standard error, which the session keeps.
void SessionEnd::keep() {
    const std::string failure = controller_.SessionEnd();
    if (!failure.empty())
        std::fprintf(stderr, "vorn: %s\n", failure.c_str());
}

void SessionEnd::signalled() {
    char bytes[16];
    while (read(wakeUp[1], bytes, sizeof bytes) > 0) {
    }
    keep();
    // Every window and event loop ends, a dialog's included.
    QCoreApplication::exit(0);
}

} // namespace vorn
