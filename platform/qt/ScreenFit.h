#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace vorn {

// A window opens within the part of its screen that panels leave free: in
// its designed size where that fits, smaller where it does not.

// The frame a window manager draws around `window`: its own once it has
// been shown with one, else an ordinary title bar and border.
QMargins FrameOf(const QWidget& window);
// `designed` (the window without its frame), shrunk to what `available`
// leaves once `frame` is drawn around it.
QSize FitSize(const QSize& designed, const QRect& available, const QMargins& frame);
// Where the frame `outer` lies inside `available`, moved as little as
// possible; its top left stays in when it is larger.
QPoint FitPosition(const QRect& outer, const QRect& available);
// The available area of the screen `window` is on, or of the primary one.
QRect AvailableArea(const QWidget& window);

} // namespace vorn
