// Draws the program's SVG pictures at the sizes the windows ask for most,
// when the program is built, exactly as Qt's SVG icon engine draws them, into
// a C++ source of their pixels: so that the first window shows its toolbar
// without reading a picture (see SvgIcon.h and DrawnIcons.h).
//
//   vorn_draw_icons OUT.cpp PICTURE.svg:SIZE[,SIZE...]...

#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QStringList>
#include <QSvgRenderer>

#include <cstdio>

namespace {

// The picture fitted into a square of `side`, as QIcon(path).pixmap(side)
// draws it; a null image when the picture cannot be read.
QImage Draw(QSvgRenderer& svg, int side) {
    QSize fitted = svg.defaultSize();
    fitted.scale(QSize(side, side), Qt::KeepAspectRatio);
    if (fitted.isEmpty())
        return {};
    QImage image(fitted, QImage::Format_ARGB32_Premultiplied);
    image.fill(0);
    QPainter painter(&image);
    svg.render(&painter);
    return image;
}

// The drawings of one picture appended to `source` as arrays of pixels, and
// their entries to `table`.
bool DrawPicture(const QString& path, const QList<int>& sides, QString& source, QString& table) {
    QSvgRenderer svg(path);
    if (!svg.isValid()) {
        std::fprintf(stderr, "vorn_draw_icons: %s is no picture\n", qPrintable(path));
        return false;
    }
    const QString name = QFileInfo(path).completeBaseName();
    for (const int side : sides) {
        const QImage image = Draw(svg, side);
        if (image.isNull()) {
            std::fprintf(stderr, "vorn_draw_icons: %s draws nothing\n", qPrintable(path));
            return false;
        }
        const QString array = QStringLiteral("k_%1_%2").arg(name).arg(side);
        source += QStringLiteral("const quint32 %1[] = {").arg(array);
        for (int y = 0; y < image.height(); ++y) {
            const auto* row = reinterpret_cast<const quint32*>(image.constScanLine(y));
            source += QStringLiteral("\n   ");
            for (int x = 0; x < image.width(); ++x)
                source += QStringLiteral(" 0x%1,").arg(row[x], 8, 16, QLatin1Char('0'));
        }
        source += QStringLiteral("\n};\n");
        table += QStringLiteral("    {\"%1\", %2, %3, %4, %5},\n")
                     .arg(name)
                     .arg(side)
                     .arg(image.width())
                     .arg(image.height())
                     .arg(array);
    }
    return true;
}

// "16,32" as sides; empty when any is no positive number.
QList<int> Sides(const QString& list) {
    QList<int> sides;
    for (const QString& side : list.split(QLatin1Char(','))) {
        bool ok = false;
        sides << side.toInt(&ok);
        if (!ok || sides.last() < 1)
            return {};
    }
    return sides;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: vorn_draw_icons OUT.cpp PICTURE.svg:SIZE[,SIZE...]...\n");
        return 2;
    }
    QString source = QStringLiteral("// Made by vorn_draw_icons from the program's pictures.\n"
                                    "#include \"resources/DrawnIcons.h\"\n\n"
                                    "namespace vorn {\nnamespace {\n\n");
    QString table = QStringLiteral("const DrawnIcon kDrawings[] = {\n");
    for (int i = 2; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        const qsizetype colon = arg.lastIndexOf(QLatin1Char(':'));
        const QList<int> sides = Sides(arg.mid(colon + 1));
        if (colon < 0 || sides.isEmpty())
            return 2;
        if (!DrawPicture(arg.left(colon), sides, source, table))
            return 1;
    }
    source += table + QStringLiteral("};\n\n} // namespace\n\n"
                                     "std::span<const DrawnIcon> DrawnIcons() {\n"
                                     "    return kDrawings;\n}\n\n} // namespace vorn\n");
    QSaveFile out(QString::fromLocal8Bit(argv[1]));
    if (!out.open(QIODevice::WriteOnly) || out.write(source.toUtf8()) < 0 || !out.commit()) {
        std::fprintf(stderr, "vorn_draw_icons: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
