#include "app/DeferredWindowIcon.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace vorn {

DeferredWindowIcon::DeferredWindowIcon(QIcon icon) : icon_(std::move(icon)) {
    qApp->installEventFilter(this);
}

// A box that says the program could not start comes after.
DeferredWindowIcon::~DeferredWindowIcon() {
    set();
}

void DeferredWindowIcon::watch(QWidget& mainWindow) {
    main_ = &mainWindow;
}

bool DeferredWindowIcon::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && watched != main_ && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->isWindow()) {
        set();
    } else if (event->type() == QEvent::Paint && watched == main_ && !painted_) {
        painted_ = true;
        // Two turns of the event loop: whatever the paint's own turn
        // scheduled (the flush to the screen) comes first.
        QTimer::singleShot(0, this, [this] { QTimer::singleShot(0, this, [this] { set(); }); });
    }
    return false;
}

void DeferredWindowIcon::set() {
    if (set_)
        return;
    set_ = true;
    qApp->removeEventFilter(this);
    QApplication::setWindowIcon(icon_);
}

} // namespace vorn
