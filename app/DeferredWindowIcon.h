#pragma once

#include <QIcon>
#include <QObject>

class QWidget;

namespace vorn {

// The program's window icon, set for every window once start-up is over: the
// main window painted and the event loop come round. Handing it to X11 draws
// it in each of its sizes, which would otherwise delay the first paint. A
// window shown before then (a warning while the main window is made) gets it
// as it shows. Made before the windows, for the time the event loop runs.
class DeferredWindowIcon : public QObject {
public:
    explicit DeferredWindowIcon(QIcon icon);
    ~DeferredWindowIcon() override;
    DeferredWindowIcon(const DeferredWindowIcon&) = delete;
    DeferredWindowIcon& operator=(const DeferredWindowIcon&) = delete;

    // The window whose first paint ends start-up; call before showing it.
    void watch(QWidget& mainWindow);
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void set();

    QIcon icon_;
    QWidget* main_ = nullptr;
    bool painted_ = false;
    bool set_ = false;
};

} // namespace vorn
