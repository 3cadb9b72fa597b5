#include "ui/graph/qt/ChartExport.h"

#include "ui/graph/qt/GraphChart.h"
#include "ui/graph/qt/PaperDevices.h"

#include <QBuffer>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include <cmath>

namespace vorn {
namespace {

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
    Paper().writeSvg(buffer, size, kChartDocumentTitle, DrawingOf(paper));
}

// A page of the chart's size.
void Pdf(GraphChart& paper, const QSizeF& size, QBuffer& buffer) {
    QPdfWriter pdf(&buffer);
    pdf.setTitle(kChartDocumentTitle);
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

PaperDrawing DrawingOf(GraphChart& paper) {
    return [&paper](QPainter& painter, const QSizeF& size) { paper.paint(painter, size); };
}

} // namespace vorn
