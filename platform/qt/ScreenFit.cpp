#include "platform/qt/ScreenFit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace vorn {
namespace {

// A title bar and a thin border, as most window managers draw them.
const QMargins kUsualFrame(4, 28, 4, 4);

} // namespace

QMargins FrameOf(const QWidget& window) {
    const QRect outer = window.frameGeometry();
    const QRect inner = window.geometry();
    if (!window.isVisible() || outer == inner)
        return kUsualFrame;
    return QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                    outer.right() - inner.right(), outer.bottom() - inner.bottom());
}

QSize FitSize(const QSize& designed, const QRect& available, const QMargins& frame) {
    const QSize room = available.marginsRemoved(frame).size();
    return designed.boundedTo(room.expandedTo(QSize(1, 1)));
}

QPoint FitPosition(const QRect& outer, const QRect& available) {
    const int x =
        std::max(available.left(), std::min(outer.left(), available.right() - outer.width() + 1));
    const int y =
        std::max(available.top(), std::min(outer.top(), available.bottom() - outer.height() + 1));
    return {x, y};
}

QRect AvailableArea(const QWidget& window) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

} // namespace vorn
