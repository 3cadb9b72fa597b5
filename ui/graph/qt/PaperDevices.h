#pragma once

// The chart as an SVG file and on the printer. Both need Qt SVG and Qt Print
// Support, which the program loads with libvorn_paper.so when the first SVG
// is written or the print dialog opened, so that starting it does not.

#include <QSizeF>
#include <QString>

#include <functional>

class QIODevice;
class QPainter;
class QPrinter;
class QWidget;

namespace vorn {

// A pixel of a chart's layout on paper is a CSS pixel, a 96th of an inch.
inline constexpr int kLayoutDpi = 96;

// Draws on a painter whose layout is `size` pixels of kLayoutDpi.
using PaperDrawing = std::function<void(QPainter& painter, const QSizeF& size)>;

enum class PrintOutcome { Printed, Cancelled, Failed };

class PaperDevices {
public:
    virtual ~PaperDevices() = default;
    // The drawing as an SVG document of `size` into `out`.
    virtual void writeSvg(QIODevice& out, const QSizeF& size, const QString& title,
                          const PaperDrawing& draw) = 0;
    // The print dialog over `parent`, offering a landscape page named
    // `title`; once accepted, the drawing on one page. Failed when the
    // printer cannot start.
    virtual PrintOutcome print(QWidget* parent, const QString& title, const PaperDrawing& draw) = 0;
    // The drawing on one page of `printer`, filling its printable area; false
    // when the printer cannot start.
    virtual bool printOn(QPrinter& printer, const PaperDrawing& draw) = 0;
};

// The devices, from libvorn_paper.so beside the program or in
// ../lib/vorn/plugins from it, loaded once; a program that links the library uses it as linked.
// Throws a UserError that names the file when it cannot be loaded.
PaperDevices& Paper();

} // namespace vorn

// The library's one entry.
extern "C" vorn::PaperDevices* vorn_paper_devices();
