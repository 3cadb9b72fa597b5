#pragma once

#include <QColor>

namespace vorn {

// A 0x00BBGGRR colour, as the controllers give them, as a QColor.
inline QColor FromBgr(unsigned bgr) {
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

} // namespace vorn
