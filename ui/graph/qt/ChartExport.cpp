#include "ui/graph/qt/ChartExport.h"

#include "ui/graph/qt/GraphChart.h"

#include <QBuffer>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSvgGenerator>

#include <cmath>

namespace vorn {
namespace {

// A pixel of the layout is a CSS pixel.
constexpr int kLayoutDpi = 96;
const QString kDocumentTitle = QStringLiteral("種類別測定グラフ");

void Png(GraphChart& paper, const QSizeF& size, QBuffer& buffer) {
    const QSize pixels(static_cast<int>(std::lround(size.width() * kPngDensity)),
                       static_cast<int>(std::lround(size.height() * kPngDensity)));
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    {
        QPainter painter(&image);
        painter.scale(kPngDensity, kPngDensity);
        paper.paint(painter, size);
    }
    image.setDevicePixelRatio(kPngDensity);
    image.save(&buffer, "PNG");
}

void Svg(GraphChart& paper, const QSizeF& size, QBuffer& buffer) {
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(size.toSize());
    svg.setViewBox(QRectF(QPointF(0, 0), size));
    svg.setResolution(kLayoutDpi);
    svg.setTitle(kDocumentTitle);
    QPainter painter(&svg);
    paper.paint(painter, size);
}

// A page of the chart's size.
void Pdf(GraphChart& paper, const QSizeF& size, QBuffer& buffer) {
    QPdfWriter pdf(&buffer);
    pdf.setTitle(kDocumentTitle);
    pdf.setCreator(QStringLiteral("Vorn２"));
    pdf.setResolution(kLayoutDpi);
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setPageSize(QPageSize(size * 72.0 / kLayoutDpi, QPageSize::Point));
    QPainter painter(&pdf);
    paper.paint(painter, size);
}

} // namespace

std::string ChartBytes(GraphChart& paper, ChartFormat format, const QSizeF& size) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    switch (format) {
    case ChartFormat::Png:
        Png(paper, size, buffer);
        break;
    case ChartFormat::Svg:
        Svg(paper, size, buffer);
        break;
    case ChartFormat::Pdf:
        Pdf(paper, size, buffer);
        break;
    }
    return buffer.data().toStdString();
}

void PreparePrinter(QPrinter& printer) {
    printer.setDocName(kDocumentTitle);
    printer.setPageOrientation(QPageLayout::Landscape);
}

bool PrintChart(GraphChart& paper, QPrinter& printer) {
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    // The page's printable area, laid out in CSS pixels and drawn at the
    // printer's resolution.
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const qreal scale = static_cast<qreal>(printer.resolution()) / kLayoutDpi;
    painter.scale(scale, scale);
    paper.paint(painter, page.size() / scale);
    return true;
}

} // namespace vorn
