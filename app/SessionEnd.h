#pragma once

#include <QObject>

class QSocketNotifier;

namespace vorn {

class MainController;

// The ends of the program that do not pass through the main window: the
// desktop session asking for its data before it ends (logout), the signals
// with which the system or a terminal ends a program (SIGTERM, SIGHUP,
// SIGINT), and the loss of the display. Each writes the confirmed targets
// back; a signal then ends the program as its close would. Made once, in
// main(), for the time the event loop runs.
class SessionEnd : public QObject {
public:
    explicit SessionEnd(MainController& controller);
    ~SessionEnd() override;
    SessionEnd(const SessionEnd&) = delete;
    SessionEnd& operator=(const SessionEnd&) = delete;

    // Writes the targets and the graph window's choices back, a failure told
    // on standard error.
    void keep();

private:
    void signalled();

    MainController& controller_;
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace vorn
