#pragma once

#include <QFont>

namespace vorn {

// The program's Japanese UI font at a pixel size: the Windows gothic first,
// then the gothics a Debian desktop has.
inline QFont UiFont(int pixelSize) {
    QFont f;
    f.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                   QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")});
    f.setPixelSize(pixelSize);
    return f;
}

// A 0x00BBGGRR colour as a QColor.
inline QColor FromBgr(unsigned bgr) {
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

} // namespace vorn
