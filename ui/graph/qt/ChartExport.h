#pragma once

// The chart in a file, or on a printed page.

#include "ui/graph/ChartFormat.h"
#include "ui/graph/qt/PaperDevices.h"

#include <QSize>
#include <QSizeF>
#include <QString>

#include <string>

namespace vorn {

class GraphChart;

// The chart's size in the window as designed, and in the files of the
// command line.
inline constexpr QSize kDesignedChartSize(345, 281);

// The pixels of a picture to a pixel of its chart's layout: a PNG is drawn
// at twice the density of the screen, for print and high-density screens.
inline constexpr double kPngDensity = 2;

// The name of a file's or a page's document.
inline const QString kChartDocumentTitle = QStringLiteral("種類別測定グラフ");

// A chart for paper laid out at `size` (in the screen's pixels, a 96th of an
// inch each), as the bytes of a file of that type: a PNG of size times
// kPngDensity pixels, an SVG or a one-page PDF of that size.
std::string ChartBytes(GraphChart& paper, ChartFormat format, const QSizeF& size);

// A chart for paper, drawn on any painter and size.
PaperDrawing DrawingOf(GraphChart& paper);

} // namespace vorn
