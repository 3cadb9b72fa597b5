#pragma once

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

namespace vorn {

// The Japanese gothics the program asks for: the Windows one first, then
// those a Debian desktop has. Only the installed ones are requested: for a
// family it does not know, fontconfig answers with its default sans (DejaVu
// Sans, which has no Japanese), and the later families would never be tried.
inline const QStringList& UiFamilies() {
    static const QStringList families = [] {
        const QStringList wanted = {QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                                    QStringLiteral("IPAPGothic"),
                                    QStringLiteral("Noto Sans CJK JP")};
        const QStringList installed = QFontDatabase::families();
        QStringList found;
        for (const QString& family : wanted)
            if (installed.contains(family, Qt::CaseInsensitive))
                found << family;
        return found.isEmpty() ? wanted : found;
    }();
    return families;
}

// The program's Japanese UI font at a pixel size.
inline QFont UiFont(int pixelSize) {
    QFont f;
    f.setFamilies(UiFamilies());
    f.setPixelSize(pixelSize);
    return f;
}

} // namespace vorn
