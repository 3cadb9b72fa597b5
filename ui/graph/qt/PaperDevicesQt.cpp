// libvorn_paper.so: the SVG writer and the printer behind PaperDevices.

#include "ui/graph/qt/PaperDevices.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QSvgGenerator>

namespace vorn {
namespace {

class QtPaperDevices : public PaperDevices {
public:
    void writeSvg(QIODevice& out, const QSizeF& size, const QString& title,
                  const PaperDrawing& draw) override {
        QSvgGenerator svg;
        svg.setOutputDevice(&out);
        svg.setSize(size.toSize());
        svg.setViewBox(QRectF(QPointF(0, 0), size));
        svg.setResolution(kLayoutDpi);
        svg.setTitle(title);
        QPainter painter(&svg);
        draw(painter, size);
    }

    PrintOutcome print(QWidget* parent, const QString& title, const PaperDrawing& draw) override {
        QPrinter printer;
        printer.setDocName(title);
        // The chart is wider than high; the user may still choose portrait.
        printer.setPageOrientation(QPageLayout::Landscape);
        QPrintDialog dialog(&printer, parent);
        dialog.setObjectName(QStringLiteral("PrintDialog"));
        if (dialog.exec() != QDialog::Accepted)
            return PrintOutcome::Cancelled;
        return printOn(printer, draw) ? PrintOutcome::Printed : PrintOutcome::Failed;
    }

    bool printOn(QPrinter& printer, const PaperDrawing& draw) override {
        QPainter painter;
        if (!painter.begin(&printer))
            return false;
        // The page's printable area, laid out in CSS pixels and drawn at the
        // printer's resolution.
        const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
        const qreal scale = static_cast<qreal>(printer.resolution()) / kLayoutDpi;
        painter.scale(scale, scale);
        draw(painter, page.size() / scale);
        return true;
    }
};

} // namespace
} // namespace vorn

extern "C" Q_DECL_EXPORT vorn::PaperDevices* vorn_paper_devices() {
    static vorn::QtPaperDevices devices;
    return &devices;
}
